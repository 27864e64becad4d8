#include "core/envelope.h"

#include <gtest/gtest.h>

#include <functional>

namespace coldroom {
namespace {

// Room 10 × 5 × 2.5 m at −20 °C, 27 °C on every side, still air, every surface inner and
// insulated with 100 mm of a 0.04 W/(m·K) material (the other two layers 0 mm, no material).
EnvelopeInputs baseRoom() {
    EnvelopeInputs in;
    in.tempIn = -20;
    in.length = 10;
    in.width = 5;
    in.height = 2.5;
    for (auto& s : in.surfaces) {
        s.layers[0] = {"100", 0.04};
        s.sideTemperature = 27;
    }
    return in;
}

TEST(Envelope, SurfaceResults) {
    using Edit = std::function<void(EnvelopeInputs&)>;
    auto outer = [](Surface s, double absorption) {
        return [=](EnvelopeInputs& in) { in.surfaces[s].outer = true; in.surfaces[s].absorption = absorption; };
    };
    auto southOuterAt = [](double latitude) {
        return [=](EnvelopeInputs& in) {
            in.latitude = latitude;
            in.surfaces[kSouth].outer = true;
            in.surfaces[kSouth].absorption = 0.7;
        };
    };
    auto onGround = [](double tempIn, bool heated) {
        return [=](EnvelopeInputs& in) {
            in.tempIn = tempIn;
            in.floorAboveRoom = false;
            in.floorHeated = heated;
            in.surfaces[kFloor].layers[0] = {"0", 0};  // bare floor: G = 44·0.47 + 6·0.23
            in.surfaces[kFloor].sideTemperature = 100;  // not used on the ground
        };
    };
    struct Case { const char* what; Edit edit; Surface surface; double watts; } cases[] = {
        {"north wall worked example 420.4", [](EnvelopeInputs&) {}, kNorth, 420},
        {"inner wall ignores its coating", [](EnvelopeInputs& in) { in.surfaces[kSouth].absorption = 0.9; },
         kSouth, 420},
        {"outer wall, absorption 0: 23.3 outside, no sun", outer(kSouth, 0), kSouth, 432},
        {"south at latitude 45: 279", southOuterAt(45), kSouth, 490},
        {"south just above 45: 384", southOuterAt(45.01), kSouth, 512},
        {"south at latitude 57: 384", southOuterAt(57), kSouth, 512},
        {"south just above 57: 465", southOuterAt(57.01), kSouth, 529},
        {"east outer: 465", outer(kEast, 0.7), kEast, 264},
        {"west outer: 558", outer(kWest, 0.7), kWest, 274},
        {"north outer: 150, 23.3 in single precision", outer(kNorth, 0.7), kNorth, 463},
        {"ceiling outer: 640", outer(kCeiling, 0.7), kCeiling, 1131},
        {"ceiling inner: 5.8", [](EnvelopeInputs&) {}, kCeiling, 826},
        {"floor above a room: 7", [](EnvelopeInputs&) {}, kFloor, 834},
        {"air velocity 3 m/s", [](EnvelopeInputs& in) { in.velocity = 3; }, kNorth, 438},
        {"insulation split over two layers",
         [](EnvelopeInputs& in) {
             in.surfaces[kNorth].layers[0] = {"50", 0.04};
             in.surfaces[kNorth].layers[2] = {"50", 0.04};
         },
         kNorth, 420},
        {"zero-thickness layer of a material without conductivity",
         [](EnvelopeInputs& in) { in.surfaces[kNorth].layers[1] = {"0", 0}; }, kNorth, 420},
        {"negative gain floored: -3.58 -> -4",
         [](EnvelopeInputs& in) { in.surfaces[kNorth].sideTemperature = -20.4; }, kNorth, -4},
        {"ground floor at -2: Tg - Ti", onGround(-2, false), kFloor, 639},
        {"ground floor at -2.5: Tg + 2 + sqrt(0.5)", onGround(-2.5, false), kFloor, 655},
        {"ground floor at -2.5, heated", onGround(-2.5, true), kFloor, 651},
        {"insulated ground floor at -20", [&](EnvelopeInputs& in) {
             onGround(-20, false)(in);
             in.surfaces[kFloor].layers[0] = {"100", 0.04};
         }, kFloor, 345},
    };
    for (const auto& c : cases) {
        EnvelopeInputs in = baseRoom();
        c.edit(in);
        const EnvelopeResult r = computeEnvelope(in);
        ASSERT_TRUE(r.surfaces[c.surface].defined) << c.what << ": " << r.surfaces[c.surface].problem;
        EXPECT_EQ(r.surfaces[c.surface].watts, c.watts) << c.what;
    }
}

TEST(Envelope, FloorZoneAreas) {
    struct Case { double length, width; std::array<double, 4> areas; } cases[] = {
        {10, 5, {44, 6, 0, 0}},   {5, 10, {44, 6, 0, 0}},   {13, 13, {88, 56, 24, 1}},
        {4, 3, {12, 0, 0, 0}},    {20, 9, {100, 68, 12, 0}},
    };
    for (const auto& c : cases) EXPECT_EQ(FloorZoneAreas(c.length, c.width), c.areas) << c.length << "x" << c.width;
}

TEST(Envelope, TotalsAddTheShownWholeNumbers) {
    EnvelopeInputs in = baseRoom();
    in.surfaces[kEast].sideTemperature = -20.4;  // a negative wall: -2
    in.surfaces[kWest].outer = true;
    in.surfaces[kWest].absorption = 0.7;
    const EnvelopeResult r = computeEnvelope(in);
    const double n = r.surfaces[kNorth].watts, s = r.surfaces[kSouth].watts,
                 e = r.surfaces[kEast].watts, w = r.surfaces[kWest].watts;
    EXPECT_EQ(e, -2);
    ASSERT_TRUE(r.wallTotal.defined && r.total.defined);
    EXPECT_EQ(r.wallTotal.watts, n + w + s + e);
    EXPECT_EQ(r.total.watts, n + w + s + e + r.surfaces[kCeiling].watts + r.surfaces[kFloor].watts);
    EXPECT_EQ(r.total.watts, 420 + 274 + 420 - 2 + 826 + 834);
}

TEST(Envelope, UnusableLayerLeavesTheSurfaceUndefined) {
    struct Case { Surface surface; int layer; const char* thickness; double conductivity; const char* problem; } cases[] = {
        {kNorth, 1, "abc", 0.04, "Стена «Север», слой 2: толщина «abc» не является числом"},
        {kWest, 0, "50", 0, "Стена «Запад», слой 1: теплопроводность материала должна быть больше 0"},
        {kSouth, 2, "12abc", 0.04, "Стена «Юг», слой 3: толщина «12abc» не является числом"},
        {kCeiling, 2, "", 0.04, "Потолок, слой 3: толщина «» не является числом"},
        {kFloor, 0, "100", -1, "Пол, слой 1: теплопроводность материала должна быть больше 0"},
    };
    for (const auto& c : cases) {
        EnvelopeInputs in = baseRoom();
        in.surfaces[c.surface].layers[c.layer] = {c.thickness, c.conductivity};
        const EnvelopeResult r = computeEnvelope(in);
        const bool wall = c.surface <= kWest;
        EXPECT_FALSE(r.surfaces[c.surface].defined) << c.problem;
        EXPECT_EQ(r.surfaces[c.surface].problem, c.problem);
        for (int s = 0; s < kSurfaceCount; ++s)
            if (s != c.surface) {
                EXPECT_TRUE(r.surfaces[s].defined) << c.problem << " / " << s;
            }
        EXPECT_EQ(r.wallTotal.defined, !wall) << c.problem;
        EXPECT_FALSE(r.total.defined) << c.problem;
        EXPECT_EQ(r.total.problem, c.problem);
    }
}

}  // namespace
}  // namespace coldroom
