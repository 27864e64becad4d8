// Opening a project file in a running program: the reader alone, and the Open command as the
// user sees it (reader and the activation that recomputes every load). Saving for comparison.
#include <benchmark/benchmark.h>

#include <cstdio>
#include <stdexcept>
#include <filesystem>
#include <string>

#include "ui/headless_ui.h"
#include "ui/main/commands.h"
#include "ui/program.h"
#include "ui/project_io.h"

namespace {

using namespace coldroom;

// A started program with the task dialog confirmed, and a varied project saved beside it.
struct Session {
    HeadlessUi ui;
    Program program{ui, COLDROOM_BIN_DIR "/Data.dtx"};
    std::string file = (std::filesystem::temp_directory_path() / "coldroom-bench.cfg").string();

    Session() {
        ui.attach(program);
        std::string error;
        if (!program.Start(error)) throw std::runtime_error(error);
        ui.showWindow(WindowId::TaskDialog);
        program.task.OK_btn.onClick();
        MainForm& m = program.main;
        m.optAll_as_one.setValue(0);
        m.Nord2_D_txt.text = "50";
        m.Nord2_D_txt.onEnter();
        m.Nord2_Mt_cmb.setIndex(5);
        m.SouthOut_opt.setValue(true);
        m.Location_cmb.setIndex(10);
        m.FloorGrunt_Opt.setValue(true);
        m.ManualEva_opt.setValue(true);
        m.ElectroEva_txt.text = "350";
        m.Door_Special_opt.setValue(true);
        m.optAll_as_one.setValue(1);
        if (!SaveProject(program, ui, file)) throw std::runtime_error("save failed");
    }
    ~Session() { std::remove(file.c_str()); }
};

Session& session() {
    static Session s;
    return s;
}

void BM_OpenProject_Reader(benchmark::State& state) {
    Session& s = session();
    for (auto _ : state) benchmark::DoNotOptimize(OpenProject(s.program, s.ui, s.file));
    s.ui.messages.clear();
}
BENCHMARK(BM_OpenProject_Reader)->Unit(benchmark::kMicrosecond);

void BM_OpenCommand_ReaderAndActivation(benchmark::State& state) {
    Session& s = session();
    for (auto _ : state) {
        s.ui.fileNames.push_back(s.file);
        benchmark::DoNotOptimize(OpenCommand(s.program, s.ui));
    }
    s.ui.messages.clear();
}
BENCHMARK(BM_OpenCommand_ReaderAndActivation)->Unit(benchmark::kMicrosecond);

void BM_SaveProject(benchmark::State& state) {
    Session& s = session();
    for (auto _ : state) benchmark::DoNotOptimize(SaveProject(s.program, s.ui, s.file));
}
BENCHMARK(BM_SaveProject)->Unit(benchmark::kMicrosecond);

}  // namespace
