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

}  // namespace coldroom
