#include "loads/loads.h"

#include <gtest/gtest.h>

#include <functional>

namespace coldroom {
namespace {

// The table a new product starts with in the parameter editor.
const char* const kTemps =
    "-30,-28,-26,-24,-22,-20,-18,-16,-14,-12,-10,-8,-6,-4,-3,-2,-1,0,1,2,3,4,6,8,10,12,14,16,18,20,"
    "22,24,26,28,30,32,34,36";
const char* const kEnthalpy =
    "19.9,24.4,28.9,33.6,38.5,43.5,48.9,54.5,60.6,67.2,74.8,83.8,95.6,114.0,129.8,159.3,258.7,300.9,"
    "304.4,308,311.6,315.1,322.3,329.6,336.9,344.2,351.6,359,366.3,373.7,380.9,388.2,395.4,402.5,"
    "409.7,416.9,424.1,431.3";

ProductLoadInputs baseProduct() {
    ProductLoadInputs in;
    in.tIn = 20;
    in.tEnd = 0;
    in.dailyMassKg = 1000;
    in.requestedHours = 24;
    in.volume = 125;
    in.normaText = "0.35";
    in.temperaturesText = kTemps;
    in.enthalpyText = kEnthalpy;
    in.productName = "Говядина";
    return in;
}

TEST(ProductLoad, Results) {
    using Edit = std::function<void(ProductLoadInputs&)>;
    struct Case { const char* what; Edit edit; double load, respiration; } cases[] = {
        {"20 -> 0: 373.7 - 300.9", [](ProductLoadInputs&) {}, 842, 0},
        {"4 -> -18: 315.1 - 48.9, inner entries exact",
         [](ProductLoadInputs& in) { in.tIn = 4; in.tEnd = -18; }, 3081, 0},
        {"5 interpolated to 318.7", [](ProductLoadInputs& in) { in.tIn = 5; }, 206, 0},
        {"table ends: 36 -> -30", [](ProductLoadInputs& in) { in.tIn = 36; in.tEnd = -30; }, 4761, 0},
        {"respiration 5000 kg: 4212 + 338",
         [](ProductLoadInputs& in) { in.dailyMassKg = 5000; in.respiration = true; }, 4212 + 338, 338},
        {"no respiration without Cheese", [](ProductLoadInputs& in) { in.dailyMassKg = 5000; }, 4212, 0},
        {"start = end: 0, respiration shown but not added",
         [](ProductLoadInputs& in) { in.dailyMassKg = 5000; in.respiration = true; in.tEnd = 20; }, 0, 338},
        {"start = end outside the table is still 0",
         [](ProductLoadInputs& in) { in.tIn = in.tEnd = 50; }, 0, 0},
    };
    for (const auto& c : cases) {
        ProductLoadInputs in = baseProduct();
        c.edit(in);
        const ProductLoadResult r = computeProductLoad(in);
        ASSERT_TRUE(r.load.defined) << c.what << ": " << r.load.problem;
        EXPECT_EQ(r.load.watts, c.load) << c.what;
        EXPECT_EQ(r.respiration, c.respiration) << c.what;
        EXPECT_EQ(r.warning, "") << c.what;
    }
}

TEST(ProductLoad, StorageCapacityReadsADecimalComma) {
    for (const char* norma : {"0.35", "0,35"}) {
        ProductLoadInputs in = baseProduct();
        in.normaText = norma;
        EXPECT_DOUBLE_EQ(computeProductLoad(in).storageCapacity, 43.75) << norma;
    }
}

TEST(ProductLoad, UndefinedInsteadOfAWrongNumber) {
    using Edit = std::function<void(ProductLoadInputs&)>;
    struct Case { Edit edit; const char* problem; } cases[] = {
        {[](ProductLoadInputs& in) { in.tIn = 40; },
         "Температура 40 °С вне таблицы энтальпий продукта «Говядина»"},
        {[](ProductLoadInputs& in) { in.tEnd = -35; },
         "Температура -35 °С вне таблицы энтальпий продукта «Говядина»"},
        {[](ProductLoadInputs& in) { in.requestedHours = 0; }, "Время охлаждения должно быть больше 0"},
        {[](ProductLoadInputs& in) { in.requestedHours = -1; }, "Время охлаждения должно быть больше 0"},
        {[](ProductLoadInputs& in) { in.temperaturesText = "0,0"; in.enthalpyText = "1,2"; },
         "Температура 20 °С вне таблицы энтальпий продукта «Говядина»"},
    };
    for (const auto& c : cases) {
        ProductLoadInputs in = baseProduct();
        c.edit(in);
        const LoadValue v = computeProductLoad(in).load;
        EXPECT_FALSE(v.defined) << c.problem;
        EXPECT_EQ(v.problem, c.problem);
    }
}

TEST(ProductLoad, ListsOfDifferentLengthUseTheCommonPart) {
    ProductLoadInputs in = baseProduct();
    const std::string shorter = std::string(kEnthalpy).substr(0, std::string(kEnthalpy).rfind(','));  // 37 values
    in.enthalpyText = shorter;
    ProductLoadResult r = computeProductLoad(in);
    EXPECT_EQ(r.load.watts, 842);
    EXPECT_NE(r.warning.find("«Говядина»"), std::string::npos) << r.warning;
    in.tIn = 36;  // only the temperature list reaches it now
    r = computeProductLoad(in);
    EXPECT_FALSE(r.load.defined);
}

TEST(PackagingLoad, Results) {
    struct Case { const char* what; PackagingLoadInputs in; bool defined; double watts; } cases[] = {
        {"1.7 kJ/(kg K), 20 -> 0 in 24 h", {20, 0, 1000, true, 1.7, 24}, true, 78},
        {"2.5 kJ/(kg K), 4 -> -18 in 24 h", {4, -18, 1000, true, 2.5, 24}, true, 127},
        {"start = end", {4, 4, 1000, true, 2.5, 24}, true, 0},
        {"no packaging chosen", {20, 0, 1000, false, 0, 24}, true, 0},
        {"no packaging, no time", {20, 0, 1000, false, 0, 0}, true, 0},
        {"no time", {20, 0, 1000, true, 1.7, 0}, false, 0},
    };
    for (const auto& c : cases) {
        const LoadValue v = computePackagingLoad(c.in);
        EXPECT_EQ(v.defined, c.defined) << c.what;
        if (c.defined) EXPECT_EQ(v.watts, c.watts) << c.what;
        else EXPECT_EQ(v.problem, "Время охлаждения должно быть больше 0");
    }
}

}  // namespace
}  // namespace coldroom
