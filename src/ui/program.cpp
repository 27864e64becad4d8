#include "ui/program.h"

#include "core/numtext.h"

namespace coldroom {

Program::Program(UserInterface& ui, std::string databasePath)
    : task(state, ui), main(state, ui, task), ui_(ui), databasePath_(std::move(databasePath)) {
    task.onConfirmed = [this] { ui_.showWindow(WindowId::MainWindow); };
    task.onCancel = [this] { Exit(); };
    main.onChangeTask = [this] {
        // The dialog's activation fills the room temperature again from TempInCell.
        task.TempIn_txt.text.clear();
        ui_.showWindow(WindowId::TaskDialog);
    };
    main.onQuit = [this] { Exit(); };
}

bool Program::Start(std::string& error) {
    state.SavedDecimalSeparator = FixProcessDecimalSeparator();
    return task.Load(databasePath_, error);
}

bool Program::EnsureMainLoaded(std::string& error) {
    if (main.loaded()) return true;
    return main.Load(databasePath_, error);
}

bool Program::Exit() {
    if (main.loading() || ended_) return ended_;
    RestoreProcessDecimalSeparator(state.SavedDecimalSeparator);
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
    if (window == WindowId::MainWindow) {
        std::string error;
        if (!EnsureMainLoaded(error)) {
            ui_.message(error, kAppTitle, MsgIcon::Critical);
            exitCode_ = 1;
            Exit();
            return false;
        }
    }
    if (present) present();
    if (CountsForActivation(window)) active_ = window;
    activate(window);
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
        return true;
    case WindowId::TaskDialog:
        task.Activate();
        return true;
    default:
        return false;
    }
}

}  // namespace coldroom
