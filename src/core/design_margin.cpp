#include "core/design_margin.h"

#include <cmath>

#include "core/numtext.h"

namespace coldroom {

std::string DesignMarginLabel(int percent) { return "с запасом " + std::to_string(percent) + " %"; }

std::string DesignMarginKilowatts(const LoadValue& capacity, int percent) {
    if (!capacity.defined || !std::isfinite(capacity.watts)) return kUndefinedText;
    const double kw = capacity.watts * (1 + percent / 100.0) / 1000;
    return GeneralText(std::round(kw * 100) / 100);
}

std::string DesignMarginLine(const LoadValue& capacity, int percent) {
    if (percent == 0) return {};
    return DesignMarginLabel(percent) + ": " + DesignMarginKilowatts(capacity, percent) + " кВт";
}

}  // namespace coldroom
