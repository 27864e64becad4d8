// The full set of load routines as one activation of the main window runs them.
#include <benchmark/benchmark.h>

#include "core/envelope.h"
#include "loads/loads.h"

namespace {

using namespace coldroom;

// A typical project: a 12 × 8 × 4 m freezer at −20 °C on heated ground, outer south wall and
// roof, 150 mm panels, meat cooled from 4 °C to −18 °C in 24 h, special doors.
struct Project {
    EnvelopeInputs envelope;
    ProductLoadInputs product;
    PackagingLoadInputs packaging;
    OperationalInputs operation;
    CoolingTimeInputs cooling;

    Project() {
        envelope.velocity = 1;
        envelope.latitude = 55.75;
        envelope.tempIn = -20;
        envelope.length = 12;
        envelope.width = 8;
        envelope.height = 4;
        envelope.floorAboveRoom = false;
        envelope.floorHeated = true;
        for (auto& s : envelope.surfaces) {
            s.layers[0] = {"150", 0.023};
            s.layers[1] = {"0.5", 50};
            s.sideTemperature = 22;
        }
        for (Surface s : {kSouth, kCeiling}) {
            envelope.surfaces[s].outer = true;
            envelope.surfaces[s].absorption = 0.6;
            envelope.surfaces[s].sideTemperature = 29;
        }

        product.tIn = 4;
        product.tEnd = -18;
        product.dailyMassKg = 5000;
        product.requestedHours = 24;
        product.volume = 384;
        product.normaText = "0,35";
        product.temperaturesText =
            "-30,-28,-26,-24,-22,-20,-18,-16,-14,-12,-10,-8,-6,-4,-3,-2,-1,0,1,2,3,4,6,8,10,12,14,16,"
            "18,20,22,24,26,28,30,32,34,36";
        product.enthalpyText =
            "19.9,24.4,28.9,33.6,38.5,43.5,48.9,54.5,60.6,67.2,74.8,83.8,95.6,114.0,129.8,159.3,258.7,"
            "300.9,304.4,308,311.6,315.1,322.3,329.6,336.9,344.2,351.6,359,366.3,373.7,380.9,388.2,"
            "395.4,402.5,409.7,416.9,424.1,431.3";
        product.productName = "Говядина";

        packaging = {4, -18, 5000, true, 1.7, 24};

        // A 12 × 8 m freezer with special doors, a strip curtain, people, a lift truck and manual fans.
        operation = {1, -20, 12, 8, 2, 2, 3, 1, 1500, true, 75, 1, 29, 60, 90, 1.5, 2.2, 1.8, false, true, 24,
                     6, 12, 0.5f, 0.3f};

        cooling = {4, -18, -20, 1, 12, 5, 24, 3.2, 0.74, 0.5, 1.4, 1, 1050, -1.2, 232};
    }
};

void BM_AllLoads(benchmark::State& state) {
    const Project p;
    for (auto _ : state) {
        EnvelopeResult env = computeEnvelope(p.envelope);
        ProductLoadResult prod = computeProductLoad(p.product);
        LoadValue pack = computePackagingLoad(p.packaging);
        OperationalResult op = computeOperationalLoad(p.operation);
        CoolingTimeResult time = computeCoolingTime(p.cooling);
        benchmark::DoNotOptimize(env);
        benchmark::DoNotOptimize(prod);
        benchmark::DoNotOptimize(pack);
        benchmark::DoNotOptimize(op);
        benchmark::DoNotOptimize(time);
    }
}
BENCHMARK(BM_AllLoads);

void BM_Envelope(benchmark::State& state) {
    const Project p;
    for (auto _ : state) benchmark::DoNotOptimize(computeEnvelope(p.envelope));
}
BENCHMARK(BM_Envelope);

void BM_ProductLoad(benchmark::State& state) {
    const Project p;
    for (auto _ : state) benchmark::DoNotOptimize(computeProductLoad(p.product));
}
BENCHMARK(BM_ProductLoad);

}  // namespace
