// The project file read the way the Open command reads it, the room recomputed, and saved:
// nothing may crash, and a file the program accepts must save to the same bytes after the
// next start opens and saves it (open -> save -> fresh start, open -> save is a fixed point).
#include <memory>
#include <string>

#include "files/project_codec.h"
#include "fuzz_support.h"
#include "ui/headless_ui.h"
#include "ui/main/commands.h"
#include "ui/program.h"

namespace {

using namespace coldroom;

struct Session {
    HeadlessUi ui;
    std::unique_ptr<Program> program;
    Session() {
        program = std::make_unique<Program>(ui, COLDROOM_DATABASE);
        ui.attach(*program);
        std::string error;
        if (!program->Start(error)) std::abort();
        ui.showWindow(WindowId::TaskDialog);
        program->task.OK_btn.onClick();
        if (!program->main.loaded()) std::abort();
    }
    bool open(const std::string& path) {
        ui.fileNames.push_back(path);
        return OpenCommand(*program, ui);
    }
    bool save(const std::string& path) {
        ui.fileNames.push_back(path);
        return SaveAsCommand(*program, ui);
    }
};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    static Session session;
    const std::string& dir = fuzz::ScratchDir();
    const std::string input = dir + "/input.cfg", first = dir + "/first.cfg", second = dir + "/second.cfg";
    fuzz::WriteWhole(input, std::string_view(reinterpret_cast<const char*>(data), size));
    session.ui.messages.clear();
    if (session.open(input) && session.save(first)) {
        // What a person does next: starts the program again and opens what was saved.
        RoomProject reopened;
        std::string why;
        FUZZ_CHECK(ReadProject(first, session.program->data(), reopened, why));
        FUZZ_CHECK(WriteConfigFile(second, ProjectItems(reopened), why));
        FUZZ_CHECK(fuzz::ReadWhole(first) == fuzz::ReadWhole(second));
    }
    session.ui.fileNames.clear();
    session.ui.answers.clear();
    return 0;
}
