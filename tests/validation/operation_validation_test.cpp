// The operational gains and the product load against the worked cold-store load calculation of
// Johnston, Nicholson, Roger, Stroud, «Freezing and refrigerated storage in fisheries», FAO
// Fisheries Technical Paper 340, 1994, section 8.1 (www.fao.org/3/v3630e/V3630E09.htm): a store
// 20 × 10 × 5 m at −30 °C, 35 °C outside air at 60 %; every figure there is in kcal/h.
// docs/validation.md, example 6.
#include <gtest/gtest.h>

#include <cmath>

#include "shipped_products.h"
#include "loads/loads.h"

namespace coldroom {
namespace {

constexpr double kWattsPerKcalH = 4186.8 / 3600;

// The store as a frozen-goods store whose people, lights and fans work all the cycle (the
// source adds each one to the hourly load in full): τ_p = τ_c = 24 h, fans 100 % of the cycle.
OperationalInputs FaoStore() {
    OperationalInputs in;
    in.roomType = 1;  // «Камера хранения мороженых продуктов»: lit by the storage norm
    in.tempIn = -30;
    in.length = 20;
    in.width = 10;
    in.rTime = 24;
    in.peopleHours = 24;
    in.doorStandard = false;  // the source's air changes are compared apart
    in.fansManual = true;
    in.cycle = 100;
    return in;
}

// Each term alone, then the three together. Lights: 1000 W installed over 200 m² of floor,
// entered as the storage norm 5 W/m² (the shipped norm, 2.3 W/m², gives 460 W). People: two
// men at −30 °C, 378 kcal/h each; the program's 270 − 6·t gives 450 W, +2.4 %. Fans: 3 × 250 W
// = 644 kcal/h (the source's rounding of 645). Tolerance 3 %.
TEST(Validation, FaoColdStoreOperationalGains) {
    const struct { const char* term; float illum; double people, fanPower, publishedKcalH; } cases[] = {
        {"освещение", 5, 0, 0, 860},
        {"люди", 0, 2, 0, 756},
        {"вентиляторы", 0, 0, 750, 644},
        {"всё вместе", 5, 2, 750, 860 + 756 + 644},
    };
    for (const auto& c : cases) {
        OperationalInputs in = FaoStore();
        in.illumStore = c.illum;
        in.people = c.people;
        in.fanPower = c.fanPower;
        const OperationalResult r = computeOperationalLoad(in);
        const double published = c.publishedKcalH * kWattsPerKcalH;
        ASSERT_TRUE(r.total.defined) << c.term;
        EXPECT_NEAR(r.trace.sum, published, 0.03 * published) << c.term;
        EXPECT_EQ(r.total.watts, std::floor(r.trace.sum)) << c.term;
    }
}

// The heat one cubic metre of the store's air takes when it is replaced by outside air:
// published 40 kcal/m³ (35 °C, 60 %). The program's air exchange through an open door carries
// (h_outside − h_room)·ρ_room per m³ of the room's air. Tolerance 7 %: the program's fitted
// enthalpy of the outside air is 3.5 % above the psychrometric one and the source rounds to
// whole kcal.
TEST(Validation, FaoColdStoreHeatPerCubicMetreOfAirChanged) {
    OperationalInputs in = FaoStore();
    in.doorSpecial = true;
    in.curtain = 0;
    in.tempOut = 35;
    in.humidOut = 60;
    in.humidIn = 90;
    in.doorHours = 1;
    in.doorHeight = 2;
    in.doorWidth = 2;
    const OperationalTrace t = computeOperationalLoad(in).trace;
    const double perCubicMetre = (t.outsideEnthalpy - t.roomEnthalpy) * t.roomDensity;  // kJ/m³
    EXPECT_NEAR(perCubicMetre / 4.1868, 40, 0.07 * 40);
}

// Product load: 35 000 kg of white fish a day entering at −20 °C, 5.5 kcal/kg removed,
// 35 000 × 5.5 / 24 = 8020 kcal/h (the source's table 31 confirms the interval: 10.03 kcal/kg
// at −20 °C, 4.6 at −30 °C). The program: the shipped lean-fish row, −20 → −30 °C over 24 h.
// Tolerance 5 %, as for example 5.
TEST(Validation, FaoColdStoreProductLoad) {
    const std::vector<csv::Record> records = test::ShippedProducts();
    ASSERT_GT(records.size(), 17u);
    const auto& row = records[17].fields;  // records[0] is the header
    ASSERT_NE(row.at(0).find("тощая"), std::string::npos);
    const ProductLoadInputs in = test::ShippedProductInputs(row, -20, -30, 35000);
    const ProductLoadResult r = computeProductLoad(in);
    const double published = 35000 * 5.5 / 24 * kWattsPerKcalH;
    EXPECT_NEAR(r.trace.gain, published, 0.05 * published);
}

}  // namespace
}  // namespace coldroom
