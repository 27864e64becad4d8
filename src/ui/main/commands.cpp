#include "ui/main/commands.h"

#include "core/user_interface.h"
#include "files/project_file.h"
#include "ui/program.h"
#include "ui/project_io.h"

namespace coldroom {

bool OpenCommand(Program& program, UserInterface& ui, std::string* detail) {
    const std::string path = ui.openFileName(kConfigFilter);
    // Problems met while the file is applied and the window recomputed are told once.
    MainForm::EventScope scope(program.main);
    const bool read = OpenProject(program, ui, path, detail);
    // Nothing read, nothing to recompute: an activation here would only put the task's work
    // cycle and title over ones the user typed, so a failed open would change the project.
    if (read) program.main.Activate();
    return read;
}

bool SaveCommand(Program& program, UserInterface& ui) {
    return SaveProject(program, ui, ui.saveFileName(kConfigFilter));
}

}  // namespace coldroom
