// The design margin: the required capacity with an allowance on top, as engineers choose a
// plant. A line beside the capacity; it changes none of the calculated figures.
#pragma once

#include <string>

#include "core/load_value.h"

namespace coldroom {

inline constexpr int kDefaultDesignMargin = 10;  // %, the usual allowance
inline constexpr int kMaxDesignMargin = 100;

// "с запасом 10 %".
std::string DesignMarginLabel(int percent);
// The capacity with the margin in kW, to two decimals ("3.32"), or the dash when the capacity
// is undefined.
std::string DesignMarginKilowatts(const LoadValue& capacity, int percent);
// "с запасом 10 %: 3.32 кВт"; empty for a margin of 0, which hides the line.
std::string DesignMarginLine(const LoadValue& capacity, int percent);

}  // namespace coldroom
