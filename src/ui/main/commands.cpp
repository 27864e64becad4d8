#include "ui/main/commands.h"

#include "ui/user_interface.h"
#include "files/project_file.h"
#include "ui/program.h"
#include "ui/project_io.h"

namespace coldroom {

bool OpenCommand(Program& program, UserInterface& ui, std::string* detail) {
    if (!program.ConfirmLeave()) return false;
    return OpenFileCommand(program, ui, ui.openFileName(kConfigFilter), detail);
}

bool OpenFileCommand(Program& program, UserInterface& ui, const std::string& path, std::string* detail) {
    {
        // Problems met while the file is applied and the window recomputed are told once.
        MainForm::EventScope scope(program.main);
        // Nothing read, nothing to recompute: an activation here would only put the task's
        // work cycle and title over ones the user typed, so a failed open would change the
        // project.
        if (!OpenProject(program, ui, path, detail)) return false;
        program.main.Activate();
    }
    program.Opened(path);
    return true;
}

bool SaveCommand(Program& program, UserInterface&) { return program.Save(); }

bool SaveAsCommand(Program& program, UserInterface&) { return program.SaveAs(); }

}  // namespace coldroom
