#include "core/load_breakdown.h"

#include <gtest/gtest.h>

#include <cmath>

#include "core/load_components.h"

namespace coldroom {
namespace {

// The totals as the results show them, in every branch of the driver.
TEST(LoadBreakdown, TotalsCapacityAndFans) {
    const LoadValue undefinedEnvelope = LoadValue::undefined("нет материала");
    struct Case {
        const char* what;
        LoadValue envelope;
        double operation, cycle;
        bool autoFans;
        double share, fanPower;
        const char *total, *capacity, *shownOperation, *shownFanPower;
        double fanHeat;
    } cases[] = {
        // 2000 + 1000 + 100 + 900 W over a 75 % cycle.
        {"manual", LoadValue::of(2000), 900, 75, false, 0, 1200, "4000", "5333", "900", "1200", 900},
        // A fraction of a watt stays in the total; the capacity is formed from the total shown.
        {"fraction", LoadValue::of(2000.5), 900, 75, false, 0, 1200, "4000.5", "5334", "900", "1200", 900},
        // Automatic fans, 0.05 W per watt of capacity at 50 %: 8000 W give 400 W of fans,
        // 200 W of heat, added once; the capacity follows the new total.
        {"auto", LoadValue::of(2900), 0, 50, true, 0.05, 0, "4200", "8400", "200", "400", 200},
        {"auto, no share", LoadValue::of(2900), 0, 50, true, 0, 0, "4000", "8000", "0", "0", 0},
        // The plant never runs: no capacity, automatic fans undefined, the total whole.
        {"cycle 0", LoadValue::of(2000.5), 900, 0, false, 0, 1200, "4000.5", "—", "900", "1200", 0},
        {"cycle 0, auto", LoadValue::of(2000.5), 900, 0, true, 0.05, 0, "4000", "—", "900", "—", -1},
        {"undefined part", undefinedEnvelope, 900, 75, true, 0.05, 0, "—", "—", "900", "—", -1},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        LoadBreakdown b;
        b.envelope = c.envelope;
        b.product = LoadValue::of(1000);
        b.packaging = LoadValue::of(100);
        b.operation = LoadValue::of(c.operation);
        TotalsInput in{c.cycle, c.autoFans, c.share, c.fanPower};
        FormTotals(b, in);
        EXPECT_EQ(LoadText(b.total), c.total);
        EXPECT_EQ(LoadText(b.capacity), c.capacity);
        EXPECT_EQ(b.operation.defined ? LoadText(b.operation) : b.operation.problem, c.shownOperation);
        EXPECT_EQ(LoadText(b.fanPower), c.shownFanPower);
        EXPECT_EQ(b.fans.defined ? b.fans.watts : -1, c.fanHeat);
        EXPECT_EQ(b.problem.empty(), b.capacity.defined);
    }
}

TEST(LoadBreakdown, ComponentTableAndChart) {
    const auto& table = LoadComponents();
    for (int i = 0; i < kLoadComponentCount; ++i) EXPECT_EQ(static_cast<int>(table[i].id), i);
    EXPECT_EQ(LoadControl(LoadId::Floor), "Floor_Poteri_txt");

    LoadBreakdown b;
    b.envelope = LoadValue::of(-640);
    b.product = LoadValue::undefined("нет таблицы");
    b.packaging = LoadValue::of(NAN);  // defined by mistake, still not drawable
    b.operation = LoadValue::of(1021);
    b.fans = LoadValue::of(184.9);
    b.surfaces[kCeiling] = LoadValue::of(7);
    EXPECT_EQ(&LoadComponentOf(LoadId::Ceiling).value(b), &b.surfaces[kCeiling]);

    const auto bars = ChartedLoads(b);
    ASSERT_EQ(bars.size(), 5u);
    // The fans' heat in whole watts as the fields have them (184, not 185), named for heat.
    const char* labels[] = {"Ограждения", "Продукты", "Упаковка", "Эксплуатация", "Теплота вентиляторов"};
    const bool defined[] = {true, false, false, true, true};
    const double watts[] = {-640, 0, 0, 1021 - 184, 184};
    for (int i = 0; i < 5; ++i) {
        EXPECT_STREQ(bars[i].label, labels[i]);
        EXPECT_EQ(bars[i].value.defined, defined[i]) << labels[i];
        if (defined[i]) {
            EXPECT_EQ(bars[i].value.watts, watts[i]) << labels[i];
        }
    }
    // Without their heat the fans take nothing out of the operation.
    b.fans = LoadValue::undefined("цикл 0");
    EXPECT_EQ(ChartedLoads(b)[3].value.watts, 1021);
}

}  // namespace
}  // namespace coldroom
