// The running program: the shared values, the task dialog and the main window, and what
// ties them together (start, the windows' life cycle, exit). The desktop program and the
// command-line tool drive the very same object; their toolkits only put windows on a screen
// and report which window became active.
#pragma once

#include <functional>
#include <optional>
#include <string>

#include "ui/user_interface.h"
#include "ui/main/main_form.h"
#include "ui/project_document.h"
#include "ui/room_session.h"
#include "ui/task/task_form.h"

namespace coldroom {

class Program {
public:
    Program(UserInterface& ui, std::string databasePath);
    Program(const Program&) = delete;
    Program& operator=(const Program&) = delete;

    // The open project, its result and the reference tables; the two forms show it.
    RoomSession session;
    RoomProject& project() { return session.project; }
    const RoomProject& project() const { return session.project; }
    const ReferenceData& data() const { return *session.data; }
    TaskForm task;
    MainForm main;

    const std::string& databasePath() const { return databasePath_; }

    // Fixes the process decimal separator and loads the task dialog. On failure returns
    // false with a Russian message; the caller shows it and ends.
    bool Start(std::string& error);
    // Loads the main window the first time it is about to be shown.
    bool EnsureMainLoaded(std::string& error);
    // Restores the decimal separator and closes both windows (not while the main window
    // is loading). Returns whether the program is ending.
    bool Exit();
    bool ended() const { return ended_; }
    // 0 after Exit or Cancel, 1 when the program ended because the main window could not load.
    int exitCode() const { return exitCode_; }

    // ---- The windows' life cycle ------------------------------------------------------
    // Whether becoming active coming from this window activates another window of the
    // program. Message boxes and file dialogs are no windows here (the window they return to
    // was never left), and neither is the help window, which the person reads beside the
    // work: coming back from it must not put the task's values over what was typed.
    static bool CountsForActivation(WindowId window);
    // A window of the program is shown: the main window loads on its first showing (a load
    // that fails is told and ends the program), `present` puts the window on the screen,
    // and the window shown is activated. Returns false when the program ended instead.
    bool WindowShown(WindowId window, const std::function<void()>& present = {});
    // `window` became the active window. It is activated when it counts and comes from
    // another window that counts. Returns whether a form's activation ran.
    bool WindowActivated(WindowId window);
    std::optional<WindowId> activeWindow() const { return active_; }

    // ---- The project as a document -------------------------------------------------------
    ProjectDocument document;
    // Compares the project with its saved state (after every handler of either form).
    void NoteChange();
    // Reads the task dialog's tables again from `path` after the reference editor changed them
    // there: the dialog offers what the file holds now.
    bool ReloadTaskTables(const std::string& path, std::string& error);
    // Before the project is left (exit, another project opened): with unsaved changes asks
    // whether to save them. Yes saves (asking for a file when the project has none) and goes
    // on only when that worked; No goes on; Cancel stays. Returns whether to go on.
    bool ConfirmLeave();
    // Writes the project to its file, or asks for one when it has none.
    bool Save();
    // Asks for a file and writes the project there.
    bool SaveAs();
    // The project was read from `path` and shown: it is the saved state now.
    void Opened(const std::string& path);
    // Exit, ВЫХОД, the window's close and the task dialog's Отмена: the field being edited is
    // committed; one whose value is refused is put back to the project's value (the person is
    // told), so no refused entry keeps anyone in; then Exit once ConfirmLeave agrees. Returns
    // whether the program is ending.
    bool RequestExit();
    // Commits the field being edited as leaving it would (set by the desktop program).
    std::function<void()> commitPending;
    // Puts the forms' state on the screen now (set by the desktop program): a message that
    // tells of a change comes when the change is in sight.
    std::function<void()> showForms;
    // «Новый проект»: after the question about unsaved changes, the project starts again as
    // the program starts: the task dialog for the new project, then the main window. Returns
    // whether the new project was started.
    bool NewProject();
    // Escape in the task dialog: nothing at the start; after ИЗМЕНИТЬ the dialog's edits are
    // dropped and the main window comes back with the project as it was.
    void TaskDialogEscape();
    // A command of the menus, toolbar or shortcuts: `commitPending` commits the field being
    // edited as leaving it would; when that refused the value, `command` does not run.
    // Returns whether the command ran.
    bool RunCommand(const std::function<void()>& commitPending, const std::function<void()>& command);

    // A project file was opened or saved (for the list of recent projects).
    std::function<void(const std::string& path)> onFileUsed;

    // Called once the program has ended (the desktop program quits its event loop).
    std::function<void()> onEnded;

private:
    bool activate(WindowId window);
    bool saveTo(const std::string& path);

    UserInterface& ui_;
    std::string databasePath_;
    std::string savedDecimalSeparator_;
    std::optional<WindowId> active_;
    std::optional<TaskForm::Kept> beforeChange_;  // the dialog as ИЗМЕНИТЬ found it
    bool quietReturn_ = false;                    // showing the main window without activation
    bool newRoom_ = false;                        // the main window settles a new project's room
    bool ended_ = false;
    int exitCode_ = 0;
};

}  // namespace coldroom
