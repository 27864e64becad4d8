// The trace of a calculation reproduces its figures: the intermediate values recorded for
// each component, put together by the method's formulas, give what the results show.
#include <gtest/gtest.h>

#include <cmath>
#include <filesystem>

#include "core/numtext.h"
#include "files/project_codec.h"
#include "model/compute_room.h"

namespace coldroom {
namespace {

TEST(RoomTrace, IntermediateValuesGiveEveryFigure) {
    std::string error;
    const auto data = LoadReferenceData(std::string(COLDROOM_BIN_DIR) + "/Data.dtx", error);
    ASSERT_TRUE(data) << error;
    std::vector<std::string> files{std::string(COLDROOM_TEST_DATA) + "/projects/known.cfg"};
    for (const auto& e : std::filesystem::directory_iterator(std::string(COLDROOM_TEST_DATA) + "/scenarios"))
        files.push_back((e.path() / "project.cfg").string());
    for (const std::string& file : files) {
        RoomProject p;
        ASSERT_TRUE(ReadProject(file, *data, p, error)) << error;
        const RoomResult r = ComputeRoom(p, *data);
        const RoomTrace& t = r.trace;
        for (int s = 0; s < kSurfaceCount; ++s) {
            const SurfaceTrace& st = t.envelope.surfaces[s];
            ASSERT_TRUE(st.computed) << file << " surface " << s;
            EXPECT_EQ(IntFloor(st.gain), r.loads.surfaces[s].watts) << file << " surface " << s;
            double layers = 0;
            for (const LayerTrace& l : st.layers) {
                if (l.thicknessMm > 0) {
                    EXPECT_NEAR(l.resistance, l.thicknessMm / 1000 / l.conductivity, 1e-12);
                }
                layers += l.resistance;
            }
            if (s == kFloor && t.envelope.floor.onGround) {
                const FloorTrace& f = t.envelope.floor;
                EXPECT_NEAR(f.zoneArea[0] + f.zoneArea[1] + f.zoneArea[2] + f.zoneArea[3], st.area, 1e-9) << file;
                double g = 0;
                for (int z = 0; z < 4; ++z) g += f.zoneArea[z] / (1 / kFloorZoneK[z] + layers);
                EXPECT_NEAR(g, f.conductance, 1e-9) << file;
                continue;
            }
            EXPECT_NEAR(st.resistance, layers + 1 / st.alphaOut + 1 / st.alphaIn, 1e-12) << file;
            EXPECT_NEAR(st.difference, st.outside + st.solarExcess - st.inside, 1e-4) << file;
            EXPECT_NEAR(st.transmittance * st.area * st.difference, st.gain, 1e-3 * (1 + std::fabs(st.gain))) << file;
        }

        const ProductTrace& pr = t.product;
        if (pr.start.found && pr.end.found) {
            EXPECT_NEAR(pr.enthalpyDifference, pr.start.h - pr.end.h, 1e-12);
            EXPECT_NEAR(pr.gain, pr.massKg * pr.enthalpyDifference / (pr.requestedHours * 3.6), 1e-6) << file;
            EXPECT_EQ(IntFloor(pr.gain) + IntFloor(pr.respiration), r.loads.product.watts) << file;
        }
        EXPECT_DOUBLE_EQ(pr.norm * pr.volume, r.storageCapacity) << file;
        EXPECT_EQ(IntFloor(t.packaging.gain), r.loads.packaging.watts) << file;

        const OperationalTrace& op = t.operation;
        EXPECT_FLOAT_EQ(op.light + op.lifts + op.people + op.equipment + op.fans + op.door, op.sum) << file;
        const bool fansAdded = t.totals.autoFans && r.loads.capacity.defined;
        EXPECT_EQ(fansAdded ? IntFloor(IntFloor(op.sum) + t.totals.fanHeat) : IntFloor(op.sum), r.loads.operation.watts)
            << file;
        EXPECT_EQ(IntFloor(op.door), r.loads.door.watts) << file;
        if (r.loads.capacity.defined) {
            EXPECT_EQ(IntFloor(AsShown(r.loads.total.watts) * 100 / t.totals.cycle), r.loads.capacity.watts) << file;
        }
    }
}

}  // namespace
}  // namespace coldroom
