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

    bool contains(double v) const {
        return (lowExcluded ? v > low : v >= low) && (highExcluded ? v < high : v <= high);
    }
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
// A stored task's typical humidity and cooling time: within what the dialog takes.
inline constexpr QuantityRange kTaskHumidity{20, 100};
inline constexpr QuantityRange kTaskCoolingTime{0, 24, true};
}  // namespace Quantity

}  // namespace coldroom
