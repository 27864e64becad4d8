// The project file read the way the Open command reads it, the room recomputed, and saved:
// nothing may crash, and a file the program accepts must save to the same bytes after the
// next start opens and saves it (open -> save -> fresh start, open -> save is a fixed point).
// Its calculation note is UTF-8 text without control characters and shows the results' own
// figures; its reports are built whole.
#include <memory>
#include <string>

#include "core/design_margin.h"
#include "core/load_components.h"
#include "files/project_codec.h"
#include "fuzz_support.h"
#include "io/cp1251.h"
#include "reports/calculation_note.h"
#include "reports/csv_report.h"
#include "reports/html_report.h"
#include "reports/report_model.h"
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

// The note and the reports of what is open now.
void CheckNote(const Program& program) {
    const RoomProject& project = program.project();
    const RoomResult& result = program.session.result;
    const ReportHeading heading{project.Name_txt, project.ReportAuthor, "01.02.2025"};
    const CalculationNote note = BuildCalculationNote(project, result, program.data(), heading, kDefaultDesignMargin);
    const std::string page = CalculationNoteHtml(note);
    FUZZ_CHECK(WellFormedUtf8(page));
    for (const char c : page) FUZZ_CHECK(c == '\n' || static_cast<unsigned char>(c) >= 0x20);
    // Every figure the note shows is the results' own (a total left undefined ends the note's
    // sums early, so not every component has its row then).
    for (const LoadComponent& c : LoadComponents())
        if (const NoteRow* row = note.Find(c.jsonKey)) FUZZ_CHECK(row->value == LoadText(c.value(result.loads)));
    if (const NoteRow* walls = note.Find("walls")) FUZZ_CHECK(walls->value == LoadText(result.wallTotal));
    FUZZ_CHECK(note.Find("capacity") != nullptr);
    const ReportModel model = BuildReportModel(project, result, program.data(), heading);
    for (const auto& lines : {HtmlReportLines(model), CsvReportLines(model)})
        for (const std::string& line : lines) FUZZ_CHECK(WellFormedUtf8(line));
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    static Session session;
    const std::string& dir = fuzz::ScratchDir();
    const std::string input = dir + "/input.cfg", first = dir + "/first.cfg", second = dir + "/second.cfg";
    fuzz::WriteWhole(input, std::string_view(reinterpret_cast<const char*>(data), size));
    session.ui.messages.clear();
    const bool opened = session.open(input);
    if (opened) CheckNote(*session.program);
    if (opened && session.save(first)) {
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
