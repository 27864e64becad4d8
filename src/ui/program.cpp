#include "ui/program.h"

#include "core/numtext.h"
#include "files/project_file.h"
#include "ui/project_io.h"

namespace coldroom {

namespace {

const char* kSaveChangesQuestion = "Сохранить изменения в проекте?";

}  // namespace

Program::Program(UserInterface& ui, std::string databasePath)
    : task(session, ui), main(session, ui), ui_(ui), databasePath_(std::move(databasePath)) {
    task.onConfirmed = [this] {
        beforeChange_.reset();
        ui_.showWindow(WindowId::MainWindow);
    };
    task.onCancel = [this] { RequestExit(); };
    main.onChangeTask = [this] {
        if (!beforeChange_) beforeChange_ = task.Keep();
        task.Show();
        ui_.showWindow(WindowId::TaskDialog);
    };
    main.onQuit = [this] { RequestExit(); };
    main.onTaskChanged = [this] { task.Show(); };
    const Handler note = [this] { NoteChange(); };
    task.controls().runAfterEveryHandler(note);
    main.controls().runAfterEveryHandler(note);
}

bool Program::Start(std::string& error) {
    savedDecimalSeparator_ = FixProcessDecimalSeparator();
    if (!task.Load(databasePath_, error)) return false;
    document.reset(session.project, {});
    return true;
}

void Program::NoteChange() { document.update(session.project); }

bool Program::ReloadTaskTables(const std::string& path, std::string& error) {
    auto data = std::make_shared<ReferenceData>(*session.data);
    if (!LoadTaskTables(path, *data, error)) return false;
    session.data = std::move(data);
    task.Show();
    main.Show();
    return true;
}

bool Program::ConfirmLeave() {
    NoteChange();
    return !document.modified() || AskToSave(ui_, kSaveChangesQuestion, [this] { return Save(); });
}

bool Program::Save() {
    return saveTo(document.path().empty() ? ui_.saveFileName(kConfigFilter) : document.path());
}

bool Program::SaveAs() { return saveTo(ui_.saveFileName(kConfigFilter)); }

bool Program::saveTo(const std::string& path) {
    if (!SaveProject(*this, ui_, path)) return false;
    document.reset(session.project, path);
    if (onFileUsed) onFileUsed(path);
    return true;
}

void Program::Opened(const std::string& path) {
    document.reset(session.project, path);
    if (onFileUsed) onFileUsed(path);
}

bool Program::RequestExit() {
    if (ended_) return ended_;
    if (commitPending) commitPending();
    const std::vector<std::string> putBack = main.PutBackRefused();
    if (!putBack.empty()) {
        if (showForms) showForms();
        std::string text = "Непринятое значение заменено прежним:";
        for (const std::string& caption : putBack) text += "\r\n" + caption;
        ui_.message(text, kAppTitle, MsgIcon::Information);
    }
    if (!ConfirmLeave()) return false;
    return Exit();
}

bool Program::NewProject() {
    if (ended_ || !ConfirmLeave()) return false;
    session.project = RoomProject{};
    session.dialog = TaskDialogState{};
    StartTask(session.project, session.dialog, *session.data);
    main.StartNew();
    task.Show();
    document.reset(session.project, {});
    beforeChange_.reset();
    newRoom_ = main.loaded();
    ui_.showWindow(WindowId::TaskDialog);
    return true;
}

void Program::TaskDialogEscape() {
    if (ended_ || !beforeChange_) return;
    task.Restore(*beforeChange_);
    beforeChange_.reset();
    // Back to the project as it was: no activation puts the task over the main window.
    quietReturn_ = true;
    ui_.hideWindow(WindowId::TaskDialog);
    ui_.showWindow(WindowId::MainWindow);
    quietReturn_ = false;
    NoteChange();
}

bool Program::RunCommand(const std::function<void()>& commitPending, const std::function<void()>& command) {
    const int refusedBefore = main.refusals + task.refusals;
    if (commitPending) commitPending();
    if (main.refusals + task.refusals != refusedBefore || ended_) return false;
    if (command) command();
    return true;
}

bool Program::EnsureMainLoaded(std::string& error) {
    if (main.loaded()) return true;
    return main.Load(databasePath_, error);
}

bool Program::Exit() {
    if (ended_) return ended_;
    RestoreProcessDecimalSeparator(savedDecimalSeparator_);
    ui_.hideWindow(WindowId::TaskDialog);
    ui_.hideWindow(WindowId::MainWindow);
    ended_ = true;
    if (onEnded) onEnded();
    return true;
}

bool Program::CountsForActivation(WindowId window) {
    switch (window) {
    case WindowId::TaskDialog:
    case WindowId::MainWindow:
    case WindowId::PrintOptions:
    case WindowId::Editor:
    case WindowId::About:
        return true;
    case WindowId::Help:
        return false;
    }
    return false;
}

bool Program::WindowShown(WindowId window, const std::function<void()>& present) {
    if (ended_) return false;
    const bool firstMain = window == WindowId::MainWindow && !main.loaded();
    if (window == WindowId::MainWindow) {
        std::string error;
        if (!EnsureMainLoaded(error)) {
            ui_.message(error, kAppTitle, MsgIcon::Critical);
            exitCode_ = 1;
            Exit();
            return false;
        }
    }
    // The dialog reopened over a loaded main window (the cooling-time question's Yes as well
    // as ИЗМЕНИТЬ): what it holds now is what Escape returns to.
    if (window == WindowId::TaskDialog && main.loaded() && !beforeChange_) beforeChange_ = task.Keep();
    if (present) present();
    if (CountsForActivation(window)) active_ = window;
    if (!quietReturn_) activate(window);
    // What the main window starts a project with is no work of the person's.
    if (firstMain || (window == WindowId::MainWindow && newRoom_)) {
        document.acceptRoom(session.project);
        newRoom_ = false;
    }
    return true;
}

bool Program::WindowActivated(WindowId window) {
    if (ended_ || !CountsForActivation(window) || active_ == window) return false;
    active_ = window;
    return activate(window);
}

bool Program::activate(WindowId window) {
    switch (window) {
    case WindowId::MainWindow:
        if (!main.loaded()) return false;
        main.Activate();
        // The activation may change what a save writes (the task's cycle over a typed one).
        NoteChange();
        return true;
    case WindowId::TaskDialog:
        task.Activate();
        return true;
    default:
        return false;
    }
}

}  // namespace coldroom
