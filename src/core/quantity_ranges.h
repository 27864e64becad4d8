// The values each quantity the program takes may have, once: the forms' typing checks, the
// warning after an open, the reference editor's checks and the loader of the reference tables
// all read these, so a value one of them accepts is never refused by another.
#pragma once

#include <limits>

namespace coldroom {

struct QuantityRange {
    double low = 0;
    double high = std::numeric_limits<double>::infinity();
    bool lowExcluded = false;   // the lower bound itself is refused too
    bool highExcluded = false;  // the upper bound itself is refused too
    // Values outside these are taken but told as unusual (a typing slip is likely).
    double usualLow = -std::numeric_limits<double>::infinity();
    double usualHigh = std::numeric_limits<double>::infinity();

    bool contains(double v) const {
        return (lowExcluded ? v > low : v >= low) && (highExcluded ? v < high : v <= high);
    }
    bool usual(double v) const { return v >= usualLow && v <= usualHigh; }
};

namespace Quantity {
inline constexpr QuantityRange kRoomTemperature{-50, 20};
inline constexpr QuantityRange kProductStart{-20, 36};
inline constexpr QuantityRange kProductEnd{-40, 15};
inline constexpr QuantityRange kPercent{0, 100};
inline constexpr QuantityRange kAirVelocity{0, 20, true};
inline constexpr QuantityRange kCoolingTime{0, std::numeric_limits<double>::infinity(), true};
inline constexpr QuantityRange kNonNegative{0};
inline constexpr QuantityRange kPositive{0, std::numeric_limits<double>::infinity(), true};
// Air outside the room: what the moist-air relations of the door gain cover; beyond the usual
// band of Russian design climates a value is told as unusual.
inline constexpr QuantityRange kOutsideAir{-50, 50, false, false, -40, 45};
// Beyond a wall: a boiler room or a heated store is possible, a furnace is not.
inline constexpr QuantityRange kSideTemperature{-60, 100, false, false, -50, 50};
// Hours of a day.
inline constexpr QuantityRange kHoursPerDay{0, 24};
// A door, m: wider or higher than a lorry's is told.
inline constexpr QuantityRange kDoorSize{0, std::numeric_limits<double>::infinity(), false, false, 0, 6};
// An insulation layer, mm: over a metre is told.
inline constexpr QuantityRange kThickness{0, std::numeric_limits<double>::infinity(), false, false, 0, 1000};
// A product's size, cm: over a metre is told.
inline constexpr QuantityRange kProductSize{0, std::numeric_limits<double>::infinity(), false, false, 0, 100};
// A stored task's typical humidity and cooling time: within what the dialog takes.
inline constexpr QuantityRange kTaskHumidity{20, 100};
inline constexpr QuantityRange kTaskCoolingTime{0, 24, true};
}  // namespace Quantity

// A task's temperatures must go room ≤ end ≤ start: the product is cooled towards the room's air
// and no further. The first pair out of order, or None; a field's own check looks only at the
// pairs it is in (`of`). The task dialog, the reference editor and the loader of the reference
// tables all judge by this.
enum class TemperatureOrder { None, RoomAboveEnd, RoomAboveStart, EndAboveStart };
enum class TemperatureOf { All, Room, End, Start };
inline TemperatureOrder TemperatureOrderBroken(double room, double end, double start,
                                               TemperatureOf of = TemperatureOf::All) {
    using O = TemperatureOf;
    if (of != O::Start && room > end) return TemperatureOrder::RoomAboveEnd;
    if (of != O::End && room > start) return TemperatureOrder::RoomAboveStart;
    if (of != O::Room && end > start) return TemperatureOrder::EndAboveStart;
    return TemperatureOrder::None;
}

}  // namespace coldroom
