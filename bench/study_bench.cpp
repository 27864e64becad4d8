// Parametric studies on the shipped database's start-up project: 1 000 points of one input
// and a 50 × 50 grid, each point restored from the base and committed as a person would.
#include <benchmark/benchmark.h>

#include <string>

#include "ui/headless_ui.h"
#include "ui/program.h"
#include "ui/study/study.h"

namespace {

using namespace coldroom;

void RunStudy(benchmark::State& state, std::vector<StudyAxis> axes) {
    const std::string db = std::string(COLDROOM_BIN_DIR) + "/Data.dtx";
    HeadlessUi ui;
    Program program(ui, db);
    ui.attach(program);
    std::string error;
    if (!program.Start(error)) throw std::runtime_error(error);
    ui.showWindow(WindowId::TaskDialog);
    program.task.OK_btn.onClick();
    Study study(program.session.data);
    study.Begin(program.project(), program.session.dialog);
    std::size_t points = 0;
    for (auto _ : state) {
        auto result = study.Run(axes);
        points = result.size();
        benchmark::DoNotOptimize(result);
    }
    state.counters["points"] = static_cast<double>(points);
}

BENCHMARK_CAPTURE(RunStudy, Panels1000, std::vector<StudyAxis>{{"Panels_D", 50, 249.8, 0.2}})
    ->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(RunStudy, RoomTemperature1000, std::vector<StudyAxis>{{"TempIn_txt", -40, -0.04, 0.04}})
    ->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(RunStudy, Grid50x50,
                  std::vector<StudyAxis>{{"Nord1_D_txt", 50, 295, 5}, {"TempOut_txt", 20, 44.5, 0.5}})
    ->Unit(benchmark::kMillisecond);

}  // namespace

