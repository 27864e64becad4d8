// A computed load in watts that may be undefined (a division by zero, a material without
// conductivity, a temperature outside a product's table). Undefined values are shown as a
// dash and carry the reason, never "inf" or "nan".
#pragma once

#include <string>

namespace coldroom {

inline constexpr const char* kUndefinedText = "\xE2\x80\x94";  // em dash

struct LoadValue {
    double watts = 0;
    bool defined = true;
    std::string problem;  // why it is undefined, in Russian; empty when defined

    static LoadValue of(double w) { return {w, true, {}}; }
    static LoadValue undefined(std::string why) { return {0, false, std::move(why)}; }
};

}  // namespace coldroom
