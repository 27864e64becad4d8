#include "loads/loads.h"

#include <gtest/gtest.h>

#include <functional>

#include "core/numtext.h"

namespace coldroom {
namespace {

using Status = CoolingTimeResult::Status;

// c_s 1.6, W 0.7, λ 0.47, λf 1.4, slab, 1000 kg/m³, t_cr −1.5, L 230, D 10 cm; air −30 °C at
// 3 m/s; task position 5, so α = 8.5·3^0.7 ≈ 18.34.
CoolingTimeInputs baseTask() {
    CoolingTimeInputs in;
    in.tIn = 4;
    in.tEnd = -18;
    in.tAir = -30;
    in.velocity = 3;
    in.sizeCm = 10;
    in.taskPosition = 5;
    in.requestedHours = 24;
    in.cs = 1.6;
    in.water = 0.7;
    in.lambda = 0.47;
    in.lambdaFrozen = 1.4;
    in.shape = 1;
    in.density = 1000;
    in.tCryo = -1.5;
    in.latent = 230;
    return in;
}

TEST(CoolingTime, Stages) {
    using Edit = std::function<void(CoolingTimeInputs&)>;
    struct Case { const char* what; Edit edit; double alpha; const char* stages[4]; double total; } cases[] = {
        {"4 -> -18 through freezing", [](CoolingTimeInputs&) {}, 18.34, {"1.4", "8.1", "2.9", "12.4"}, 12.4105},
        {"-5 -> -18 frozen only", [](CoolingTimeInputs& in) { in.tIn = -5; }, 18.34,
         {"0.0", "0.0", "2.5", "2.5"}, 2.5086},
        {"4 -> 0 cooling only", [](CoolingTimeInputs& in) { in.tEnd = 0; }, 18.34,
         {"1.1", "0.0", "0.0", "1.1"}, 1.1355},
        {"position 0, 2 m/s: linear alpha",
         [](CoolingTimeInputs& in) { in.taskPosition = 0; in.velocity = 2; }, 20.8,
         {"1.3", "7.4", "2.7", "11.4"}, 11.3717},
        {"position 4, 2 m/s: power alpha",
         [](CoolingTimeInputs& in) { in.taskPosition = 4; in.velocity = 2; }, 13.81,
         {"1.5", "10.1", "3.7", "15.3"}, 15.2935},
        {"air not colder than t_cr: no freezing stage",
         [](CoolingTimeInputs& in) { in.tIn = -1.5; in.tEnd = -1.6; in.tAir = -1; }, 18.34,
         {"0.6", "0.0", "0.2", "0.8"}, 0.8100},
    };
    for (const auto& c : cases) {
        CoolingTimeInputs in = baseTask();
        c.edit(in);
        const CoolingTimeResult r = computeCoolingTime(in);
        ASSERT_EQ(r.status, Status::Computed) << c.what;
        EXPECT_NEAR(r.alpha, c.alpha, 0.005) << c.what;
        const double hours[4] = {r.coolingHours, r.freezingHours, r.afterFreezingHours, r.totalHours};
        for (int k = 0; k < 4; ++k) EXPECT_EQ(FormatMask(hours[k], Mask::Fixed4), c.stages[k]) << c.what << " " << k;
        EXPECT_NEAR(r.totalHours, c.total, 0.0001) << c.what;
    }
}

TEST(CoolingTime, ArithmeticFaultsAreErrors) {
    using Edit = std::function<void(CoolingTimeInputs&)>;
    struct Case { const char* what; Edit edit; } cases[] = {
        {"end more than 0.1 K below the air: negative ratio", [](CoolingTimeInputs& in) { in.tEnd = -35; }},
        {"air at t_cr while crossing it: division by zero", [](CoolingTimeInputs& in) { in.tAir = -1.5; }},
        {"air above t_cr while crossing it: negative ratio", [](CoolingTimeInputs& in) { in.tAir = -1; }},
        {"an end the air cannot reach: negative stage time",
         [](CoolingTimeInputs& in) { in.tIn = -1.5; in.tEnd = -3; in.tAir = -1; }},
        {"zero size", [](CoolingTimeInputs& in) { in.sizeCm = 0; }},
        {"zero conductivity", [](CoolingTimeInputs& in) { in.lambda = 0; }},
        {"still air with the power rule", [](CoolingTimeInputs& in) { in.velocity = 0; }},
        {"overflow", [](CoolingTimeInputs& in) { in.density = 1e307; }},
    };
    for (const auto& c : cases) {
        CoolingTimeInputs in = baseTask();
        c.edit(in);
        const CoolingTimeResult r = computeCoolingTime(in);
        EXPECT_EQ(r.status, Status::Error) << c.what;
        EXPECT_FALSE(r.tooShort) << c.what;
    }
}

TEST(CoolingTime, SameTemperatureStopsEarly) {
    CoolingTimeInputs in = baseTask();
    in.tEnd = in.tIn;
    in.requestedHours = 1;
    const CoolingTimeResult r = computeCoolingTime(in);
    EXPECT_EQ(r.status, Status::SameTemperature);
    EXPECT_EQ(r.totalHours, 0);
    EXPECT_FALSE(r.tooShort);
}

TEST(CoolingTime, TooShortComparesTheUnroundedEstimate) {
    struct Case { double requested; bool tooShort; } cases[] = {
        {10, true}, {12.4, true}, {12.41, true}, {12.42, false}, {24, false},
    };
    for (const auto& c : cases) {
        CoolingTimeInputs in = baseTask();
        in.requestedHours = c.requested;
        EXPECT_EQ(computeCoolingTime(in).tooShort, c.tooShort) << c.requested;
    }
}

}  // namespace
}  // namespace coldroom
