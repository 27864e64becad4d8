// The running program: the shared values, the task dialog and the main window, and what
// ties them together (start, the windows' life cycle, exit). The desktop program and the
// command-line tool drive the very same object; their toolkits only put windows on a screen
// and report which window became active.
#pragma once

#include <functional>
#include <optional>
#include <string>

#include "core/program_state.h"
#include "core/user_interface.h"
#include "ui/main/main_form.h"
#include "ui/task/task_form.h"

namespace coldroom {

class Program {
public:
    Program(UserInterface& ui, std::string databasePath);
    Program(const Program&) = delete;
    Program& operator=(const Program&) = delete;

    ProgramState state;
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

    // Called once the program has ended (the desktop program quits its event loop).
    std::function<void()> onEnded;

private:
    bool activate(WindowId window);

    UserInterface& ui_;
    std::string databasePath_;
    std::optional<WindowId> active_;
    bool ended_ = false;
    int exitCode_ = 0;
};

}  // namespace coldroom
