// The product load through the shipped tables against the hand calculation a reviewer makes from
// the Russian table «Энтальпия пищевых продуктов при различных температурах»: Q = G·(i1 − i2) /
// (τ·3600), i from the table's columns as read (data/SOURCES.md, "Frozen range"). No worked
// example with complete inputs for this load could be read; the table is the published figure.
// docs/validation.md, example 5.
#include <gtest/gtest.h>

#include <cmath>

#include "shipped_products.h"
#include "loads/loads.h"

namespace coldroom {
namespace {

using test::ShippedProducts;

// Daily intake G over τ = 24 h; the table's difference i1 − i2 (kJ/kg, its zero at −20 °C).
// Tolerance 5 % of the difference: the shipped tables follow the columns within 5 % of each
// increment from −20 °C (ShippedData.FrozenRangeFollowsTheRussianTable).
TEST(Validation, ProductLoadByEnthalpyDifference) {
    const auto products = ShippedProducts();
    const struct { int row; const char* column; double mass, tIn, tEnd, tableDifference; } cases[] = {
        {1, "мясо говяжье: −8 → −18 °C", 10000, -8, -18, 39.4 - 4.6},
        {3, "свинина: −10 → −25 °C", 8000, -10, -25, 28.9 + 10.5},
        {17, "рыба тощая: −12 → −20 °C", 5000, -12, -20, 24.7},
        {23, "яйцо в скорлупе: −8 → −18 °C", 3000, -8, -18, 28.5 - 4.2},
        {30, "молоко: −6 → −18 °C", 2000, -6, -18, 54.5 - 5.4},
    };
    ASSERT_GT(products.size(), 30u);
    for (const auto& c : cases) {
        const auto& row = products[static_cast<size_t>(c.row)].fields;  // records[0] is the header
        const ProductLoadInputs in = test::ShippedProductInputs(row, c.tIn, c.tEnd, c.mass);
        const ProductLoadResult r = computeProductLoad(in);
        const double published = c.mass * c.tableDifference * 1000 / (24 * 3600);
        EXPECT_NEAR(r.trace.gain, published, 0.05 * published) << c.column;
        EXPECT_EQ(r.load.watts, std::floor(r.trace.gain)) << c.column;
    }
}

}  // namespace
}  // namespace coldroom
