// The annual energy of a store of 100 rooms (budget 50 ms) and the panel-thickness study of
// 100 points for a store of 10 rooms (budget 100 ms): the example store's three rooms repeated.
#include <benchmark/benchmark.h>

#include <string>

#include "files/store_file.h"
#include "files/store_rooms.h"
#include "model/energy_insulation.h"

namespace {

using namespace coldroom;

struct Fixture {
    Store store;
    std::shared_ptr<const ReferenceData> data;
    StoreRooms rooms;
    explicit Fixture(int count) {
        std::string why;
        data = LoadReferenceData(std::string(COLDROOM_BIN_DIR) + "/Data.dtx", why);
        if (!data || !ReadStoreFile(std::string(COLDROOM_SOURCE_DIR) + "/docs/store/three_rooms.coldstore", store, why))
            throw std::runtime_error(why);
        const std::vector<StoreRoom> three = store.rooms;
        store.rooms.clear();
        for (int i = 0; i < count; ++i) store.rooms.push_back(three[static_cast<size_t>(i % 3)]);
        rooms.Update(store, *data);
    }
};

void BM_AnnualEnergy100Rooms(benchmark::State& state) {
    Fixture f(100);
    for (auto _ : state) benchmark::DoNotOptimize(ComputeStoreEnergy(f.store, f.rooms.rooms(), *f.data, nullptr));
}
BENCHMARK(BM_AnnualEnergy100Rooms)->Unit(benchmark::kMillisecond);

void BM_ThicknessStudy100Points10Rooms(benchmark::State& state) {
    Fixture f(10);
    for (auto _ : state)
        benchmark::DoNotOptimize(StudyInsulation(f.store, f.rooms.rooms(), *f.data, nullptr, -1, 50, 297.5, 2.5));
}
BENCHMARK(BM_ThicknessStudy100Points10Rooms)->Unit(benchmark::kMillisecond);

}  // namespace
