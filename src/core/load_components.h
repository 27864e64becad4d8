// The load components in the order the results list them: which field shows each, its
// caption, its bar on the chart, and where its value is in a LoadBreakdown. The results
// frame, the chart, the command-line table and the reports all read this one table.
#pragma once

#include <array>
#include <string>
#include <vector>

#include "core/load_value.h"

namespace coldroom {

struct LoadBreakdown;

enum class LoadId {
    North, South, East, West, Ceiling, Floor,
    Envelope, Product, Respiration, Packaging, Operation, Door, Fans,
    Total, Capacity
};
inline constexpr int kLoadComponentCount = static_cast<int>(LoadId::Capacity) + 1;

enum class LoadRole {
    Surface,    // one surface of the envelope, shown on its own tab
    Component,  // one of the parts the total is summed from, shown in the results frame
    Part,       // a share of the component listed before it (respiration, door, fans)
    Sum,        // the total and the capacity, shown in the results frame
};

struct LoadComponent {
    LoadId id;
    LoadRole role;
    std::string control;     // the field showing it; "" when it has none of its own
    std::string caption;
    const char* chartLabel;  // its bar on the chart; nullptr when it has none
    const char* jsonKey;     // its name in the command line's JSON
    const LoadValue& (*value)(const LoadBreakdown&);
};

const std::array<LoadComponent, kLoadComponentCount>& LoadComponents();
const LoadComponent& LoadComponentOf(LoadId id);
inline const std::string& LoadControl(LoadId id) { return LoadComponentOf(id).control; }
inline const std::string& LoadCaption(LoadId id) { return LoadComponentOf(id).caption; }

// The chart's bars in order, in whole watts as the results show them. The fans' heat is part
// of the operation; drawn apart, it is taken out of the operation's bar. A value that cannot
// be shown as a number is missing.
struct ChartedLoad {
    LoadId id;
    const char* label;
    LoadValue value;
};
std::vector<ChartedLoad> ChartedLoads(const LoadBreakdown& b);

}  // namespace coldroom
