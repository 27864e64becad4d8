// One committed field on the main window: its normalisation, the recomputation it starts
// and UpdateAll, on the shipped database's start-up project.
#include <benchmark/benchmark.h>

#include <string>

#include "ui/headless_ui.h"
#include "ui/program.h"

namespace {

using namespace coldroom;

struct StartedProgram {
    HeadlessUi ui;
    Program program{ui, std::string(COLDROOM_BIN_DIR) + "/Data.dtx"};
    StartedProgram() {
        ui.attach(program);
        std::string error;
        if (!program.Start(error)) throw std::runtime_error(error);
        ui.showWindow(WindowId::TaskDialog);
        program.task.OK_btn.onClick();
    }
};

// Commits a field alternately with two values, so every commit changes something.
void CommitField(benchmark::State& state, const char* field, const char* a, const char* b) {
    StartedProgram p;
    TextBox& box = *p.program.main.controls().get<TextBox>(field);
    int i = 0;
    for (auto _ : state) {
        box.text = (i++ & 1) ? b : a;
        box.onEnter();
        benchmark::DoNotOptimize(p.program.main.Capacity_need.text);
    }
}
BENCHMARK_CAPTURE(CommitField, WallThickness, "Nord1_D_txt", "100", "150");
BENCHMARK_CAPTURE(CommitField, RoomLength, "Length_txt", "10", "12");

void BM_Activation(benchmark::State& state) {
    StartedProgram p;
    for (auto _ : state) {
        p.program.main.Activate();
        benchmark::DoNotOptimize(p.program.main.Capacity_need.text);
    }
}
BENCHMARK(BM_Activation);

}  // namespace
