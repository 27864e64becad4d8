// The running program: the shared values, the task dialog and the main window, and what
// ties them together (start, showing the main window, exit). The desktop program and the
// command-line tool drive the very same object.
#pragma once

#include <functional>
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

    // Called once the program has ended (the desktop program quits its event loop).
    std::function<void()> onEnded;

private:
    UserInterface& ui_;
    std::string databasePath_;
    bool ended_ = false;
};

}  // namespace coldroom
