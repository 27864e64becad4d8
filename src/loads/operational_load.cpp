#include <cmath>

#include "core/numtext.h"
#include "loads/loads.h"

namespace coldroom {
namespace {

constexpr int kRoomTypes = 8;

// Standard door gain, W per m² of floor, by kind of room and floor-area band
// (F ≤ 50, 50 < F ≤ 150, F > 150 m²).
constexpr double kStandardDoor[kRoomTypes][3] = {
    {9.0, 4.5, 3.5},    {7.0, 3.5, 2.5},    {14.0, 7.0, 6.0}, {32.6, 16.3, 8.1},
    {23.2, 11.6, 5.8},  {32.6, 16.3, 8.1},  {9.3, 4.6, 3.5},  {46.5, 23.2, 11.6},
};

// Storage rooms are lit by the storage norm, work rooms (and a room of unknown kind) by the
// process norm.
bool litAsStore(int roomType) {
    return roomType == 0 || roomType == 1 || roomType == 2 || roomType == 6;
}

double standardDoorRate(int roomType, double floorArea) {
    if (roomType < 0 || roomType >= kRoomTypes) return 0;
    const int band = floorArea <= 50 ? 0 : floorArea <= 150 ? 1 : 2;
    return kStandardDoor[roomType][band];
}

// Moist-air enthalpy, kJ/kg, from temperature and relative humidity in %.
double airEnthalpy(double t, double humidity) {
    return t + humidity * 0.000035 * (2501 + 1.93 * t) * (1 + 0.008 * t * t);
}

double airDensity(double t) { return 1.293 / (t / 273.15 + 1); }

// Moist air below freezing: moisture content from the saturation pressure over ice (Magnus
// form, WMO guide to instruments, 2008, annex 4.B) at normal pressure, enthalpy in the same form
// as above, kJ/kg.
double frozenAirEnthalpy(double t, double humidity) {
    const double saturation = 611.2 * std::exp(22.46 * t / (272.62 + t));  // Pa
    const double vapour = humidity / 100 * saturation;
    const double x = 0.622 * vapour / (101325 - vapour);  // kg per kg of dry air
    return t + x * (2501 + 1.93 * t);
}

// Air exchange through an open door. The square root takes the magnitude of the density
// difference: with the outside colder than the room the air still exchanges, and the sign of
// the gain follows the enthalpy difference.
float specialDoor(const OperationalInputs& in, float curtain, OperationalTrace& trace) {
    const double tr = in.tempIn, to = in.tempOut;
    const double hr = tr <= -11 ? tr + 0.1 * (2501 + 1.93 * tr) / ((tr + 8) * (tr + 8))
                                : airEnthalpy(tr, in.humidIn);
    // The fitted relation grows with t² on both sides of 0 °C: below freezing it would give
    // winter air the moisture of summer air.
    trace.outsideBelowFreezing = to < 0;
    const double ho = to < 0 ? frozenAirEnthalpy(to, in.humidOut) : airEnthalpy(to, in.humidOut);
    const double rhoR = airDensity(tr), rhoO = airDensity(to);
    const float perCycle = static_cast<float>(60 / static_cast<double>(in.rTime));
    trace.roomEnthalpy = hr;
    trace.outsideEnthalpy = ho;
    trace.roomDensity = rhoR;
    trace.outsideDensity = rhoO;
    trace.perCycle = perCycle;
    const double q = curtain * (8 + 0.067 * (to - tr)) * in.doorHours * perCycle * in.doorHeight *
                     in.doorWidth * (ho - hr) * rhoR *
                     std::sqrt(in.doorHeight * std::fabs(1 - rhoO / rhoR));
    return static_cast<float>(q);
}

}  // namespace

OperationalResult computeOperationalLoad(const OperationalInputs& in) {
    OperationalResult res;
    OperationalTrace& trace = res.trace;
    const double F = in.width * in.length;
    trace.floorArea = F;
    const double rTime = static_cast<double>(in.rTime);
    const bool timeOk = rTime > 0;

    // Door first: the standard gain does not depend on the cycle length.
    float door = 0;
    bool doorOk = true;
    if (in.doorStandard) {
        trace.doorRate = standardDoorRate(in.roomType, F);
        door = static_cast<float>(F * trace.doorRate);
    } else if (in.doorSpecial && in.curtain >= 0 && in.curtain <= 2) {  // no curtain chosen: 0
        const float curtain = in.curtain == 0 ? 1.0f : in.curtain == 1 ? in.attStrip : in.attAir;
        trace.curtainFactor = curtain;
        // Air no warmer than the room's takes no heat in through the door, whatever the
        // densities do.
        trace.outsideNotWarmer = !(in.tempOut > in.tempIn);
        if (!timeOk) doorOk = false;
        else if (!trace.outsideNotWarmer) door = specialDoor(in, curtain, trace);
    }
    trace.door = door;
    if (!doorOk) {
        res.door = LoadValue::undefined(kNoCoolingTime);
    } else if (!std::isfinite(door)) {
        res.door = LoadValue::undefined("Теплоприток через дверь не удаётся вычислить");
    } else {
        res.door = LoadValue::of(IntFloor(door));
    }

    if (!timeOk) {
        res.total = LoadValue::undefined(kNoCoolingTime);
        return res;
    }

    trace.litAsStore = litAsStore(in.roomType);
    const float illum = trace.litAsStore ? in.illumStore : in.illumTechno;
    const float light = static_cast<float>(F * illum * in.peopleHours / rTime);
    const float perPerson = static_cast<float>(270 - 6 * in.tempIn);
    const float people = static_cast<float>(perPerson * in.people * in.peopleHours / rTime);
    const float lifts = static_cast<float>(in.lifterKWh * 1000 / rTime);
    const float equipment = static_cast<float>(in.equipmentKWh * 1000 / rTime);
    const float fans = in.fansManual ? static_cast<float>(in.cycle * in.fanPower / 100) : 0.0f;
    trace.illumination = illum;
    trace.light = light;
    trace.perPerson = perPerson;
    trace.people = people;
    trace.lifts = lifts;
    trace.equipment = equipment;
    trace.fans = fans;

    if (!res.door.defined) {
        res.total = LoadValue::undefined(res.door.problem);
        return res;
    }
    const float sum = light + lifts + people + equipment + fans + door;
    trace.sum = sum;
    if (!std::isfinite(sum)) {
        res.total = LoadValue::undefined("Теплопритоки при эксплуатации не удаётся вычислить");
        return res;
    }
    res.total = LoadValue::of(IntFloor(sum));
    return res;
}

}  // namespace coldroom
