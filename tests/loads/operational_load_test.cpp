#include "loads/loads.h"

#include <gtest/gtest.h>

#include <cmath>
#include <functional>

namespace coldroom {
namespace {

// A 10 × 5 m storage room at −20 °C with a 24 h cycle and nothing in use: every term 0
// except what a case switches on.
OperationalInputs quietRoom() {
    OperationalInputs in;
    in.roomType = 0;
    in.tempIn = -20;
    in.length = 10;
    in.width = 5;
    in.doorStandard = false;
    in.rTime = 24;
    in.illumStore = 5;
    in.illumTechno = 10;
    in.attStrip = 0.5f;
    in.attAir = 0.25f;
    return in;
}

// Special doors: 2 × 2 m, open 1 h a day, outside 32 °C and 70 %, no curtain.
void specialDoor(OperationalInputs& in) {
    in.doorSpecial = true;
    in.curtain = 0;
    in.tempOut = 32;
    in.humidOut = 70;
    in.humidIn = 50;  // ignored at −20 °C
    in.doorHours = 1;
    in.doorHeight = 2;
    in.doorWidth = 2;
}

TEST(OperationalLoad, Results) {
    using Edit = std::function<void(OperationalInputs&)>;
    auto standard = [](int type, double length, double width) {
        return [=](OperationalInputs& in) {
            in.doorStandard = true;
            in.roomType = type;
            in.length = length;
            in.width = width;
        };
    };
    struct Case { const char* what; Edit edit; double total, door; } cases[] = {
        {"nothing in use", [](OperationalInputs&) {}, 0, 0},
        {"standard door 50 m2: 9.0", standard(0, 10, 5), 450, 450},
        {"standard door 100 m2: 4.5", standard(0, 20, 5), 450, 450},
        {"standard door 150 m2: 4.5", standard(0, 15, 10), 675, 675},
        {"standard door 200 m2: 3.5", standard(0, 20, 10), 700, 700},
        {"standard door, kind 7, 200 m2: 11.6", standard(7, 20, 10), 2320, 2320},
        {"standard door, no kind of room", standard(-1, 10, 5), 0, 0},
        {"one person 1 h at -20: 16.25",
         [](OperationalInputs& in) { in.people = 1; in.peopleHours = 1; in.illumStore = 0; }, 16, 0},
        {"people and storage lighting: 16.25 + 10.4167",
         [](OperationalInputs& in) { in.people = 1; in.peopleHours = 1; }, 26, 0},
        {"unknown kind of room lit as a work room: 500",
         [](OperationalInputs& in) { in.roomType = -1; in.peopleHours = 24; }, 500, 0},
        {"machine room lit as a work room", [](OperationalInputs& in) { in.roomType = 4; in.peopleHours = 24; },
         500, 0},
        {"sausage drying room lit as storage", [](OperationalInputs& in) { in.roomType = 6; in.peopleHours = 24; },
         250, 0},
        {"lift trucks 2.4 kWh per 24 h", [](OperationalInputs& in) { in.lifterKWh = 2.4; }, 100, 0},
        {"equipment 1.2 kWh per 12 h",
         [](OperationalInputs& in) { in.equipmentKWh = 1.2; in.rTime = 12; }, 100, 0},
        {"fans 500 W at 75 %",
         [](OperationalInputs& in) { in.fansManual = true; in.fanPower = 500; in.cycle = 75; }, 375, 0},
        {"fans in automatic mode add nothing here",
         [](OperationalInputs& in) { in.fanPower = 500; in.cycle = 75; }, 0, 0},
        {"special door, room -20", specialDoor, 10102, 10102},
        {"special door, room 0 at 90 %",
         [](OperationalInputs& in) { specialDoor(in); in.tempIn = 0; in.humidIn = 90; }, 4915, 4915},
        {"special door with a strip curtain",
         [](OperationalInputs& in) { specialDoor(in); in.curtain = 1; }, 5051, 5051},
        {"special door, no curtain chosen",
         [](OperationalInputs& in) { specialDoor(in); in.curtain = -1; }, 0, 0},
        {"special door, outside colder than the room: no gain",
         [](OperationalInputs& in) {
             specialDoor(in);
             in.tempIn = 0;
             in.humidIn = 90;
             in.tempOut = -30;
             in.humidOut = 10;
         },
         0, 0},
        // Winter air at −5 °C and 90 %: its moisture over ice (0.55 kJ/kg), not the fitted
        // relation's 4.42 kJ/kg, which would give 1466 W.
        {"special door, outside below freezing and warmer than the room",
         [](OperationalInputs& in) {
             specialDoor(in);
             in.tempIn = -25;
             in.tempOut = -5;
             in.humidOut = 90;
         },
         1268, 1268},
        {"all terms: 10.42 + 100 + 16.25 + 375 + 10102.21",
         [](OperationalInputs& in) {
             specialDoor(in);
             in.people = 1;
             in.peopleHours = 1;
             in.lifterKWh = 2.4;
             in.fansManual = true;
             in.fanPower = 500;
             in.cycle = 75;
         },
         10603, 10102},
    };
    for (const auto& c : cases) {
        OperationalInputs in = quietRoom();
        c.edit(in);
        const OperationalResult r = computeOperationalLoad(in);
        ASSERT_TRUE(r.total.defined && r.door.defined) << c.what << ": " << r.total.problem;
        EXPECT_EQ(r.total.watts, c.total) << c.what;
        EXPECT_EQ(r.door.watts, c.door) << c.what;
    }
}

TEST(OperationalLoad, NoCycleTimeLeavesTheSumUndefined) {
    OperationalInputs in = quietRoom();
    in.rTime = 0;
    in.doorStandard = true;
    OperationalResult r = computeOperationalLoad(in);
    EXPECT_FALSE(r.total.defined);
    EXPECT_EQ(r.total.problem, "Время охлаждения должно быть больше 0");
    ASSERT_TRUE(r.door.defined);  // the standard door does not depend on the cycle
    EXPECT_EQ(r.door.watts, 450);

    in.doorStandard = false;
    specialDoor(in);
    r = computeOperationalLoad(in);
    EXPECT_FALSE(r.total.defined);
    EXPECT_FALSE(r.door.defined);
}

TEST(OperationalLoad, ColdOutsideNeverGivesNaN) {
    // Colder outside: the sign follows the enthalpy difference and the value stays finite.
    for (double out : {-40.0, -30.0, -20.5, -20.0}) {
        OperationalInputs in = quietRoom();
        specialDoor(in);
        in.tempOut = out;
        const OperationalResult r = computeOperationalLoad(in);
        ASSERT_TRUE(r.door.defined && r.total.defined) << out;
        EXPECT_TRUE(std::isfinite(r.door.watts)) << out;
    }
}

}  // namespace
}  // namespace coldroom
