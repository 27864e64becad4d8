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
static_assert(kLoadComponentCount <= 32, "LoadBreakdown::own holds 32 components");

enum class LoadRole {
    Surface,    // one surface of the envelope, shown on its own tab
    Component,  // one of the parts the total is summed from, shown in the results frame
    Part,       // a share of the component listed before it (respiration, door, fans)
    Sum,        // the total and the capacity, shown in the results frame
};

struct LoadComponent {
    LoadId id;
    LoadRole role;
    // The load this one is added into: a surface into the envelope, a component into the
    // total, a part into its component; the total into the capacity, the capacity into itself.
    LoadId sum;
    // Counted in a compressor's load at the store's share of operational gains, not whole.
    bool operationalShare;
    std::string control;     // the field showing it; "" when it has none of its own
    std::string caption;
    const char* chartLabel;  // its bar on the chart; nullptr when it has none
    const char* jsonKey;     // its name in the command line's JSON
    const char* symbol;      // its letter in the calculation note's formulas
    const char* mnemonic;    // the letter of its label the study window marks for Alt
    std::array<unsigned char, 3> colour;  // its bar and line (red, green, blue)
    double pageWidth;        // mm: its column on the store's printed page
    const char* pageHead;    // that column's head where the label is too long; nullptr: the label
    const LoadValue& (*value)(const LoadBreakdown&);

    // The label a table or a chart gives it: the chart's where it has one.
    std::string label() const { return chartLabel ? chartLabel : caption; }
};

const std::array<LoadComponent, kLoadComponentCount>& LoadComponents();
const LoadComponent& LoadComponentOf(LoadId id);
inline const std::string& LoadControl(LoadId id) { return LoadComponentOf(id).control; }
inline const std::string& LoadCaption(LoadId id) { return LoadComponentOf(id).caption; }
// The components a sum is made of, in the table's order.
std::vector<LoadId> PartsOf(LoadId sum);

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
