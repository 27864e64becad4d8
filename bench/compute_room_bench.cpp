// One whole calculation of a room, trace included: what every point of a study costs at
// least. The known test project over the shipped database.
#include <benchmark/benchmark.h>

#include <stdexcept>
#include <string>

#include "files/project_codec.h"
#include "model/compute_room.h"

namespace {

using namespace coldroom;

void BM_ComputeRoom(benchmark::State& state) {
    std::string error;
    const auto data = LoadReferenceData(std::string(COLDROOM_BIN_DIR) + "/Data.dtx", error);
    if (!data) throw std::runtime_error(error);
    RoomProject project;
    if (!ReadProject(std::string(COLDROOM_SOURCE_DIR) + "/tests/data/projects/known.cfg", *data, project, error))
        throw std::runtime_error(error);
    for (auto _ : state) benchmark::DoNotOptimize(ComputeRoom(project, *data));
}
BENCHMARK(BM_ComputeRoom);

}  // namespace
