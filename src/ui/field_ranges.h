// The values each numeric input accepts, in one table: the typing checks of both forms refuse
// what lies outside, and opening a project lists the stored values that do (keeping them).
// Only plain bounds are here; checks that compare one field with another stay with them.
#pragma once

#include <limits>
#include <string>
#include <vector>

namespace coldroom {

class ControlRegistry;

struct FieldRange {
    const char* control;  // the control's name in its form
    bool taskForm;        // in the task dialog, else in the main window
    double low;
    double high = std::numeric_limits<double>::infinity();
    bool lowExcluded = false;  // the bound itself is refused too
    const char* what = "";     // the field as the person knows it
};

const std::vector<FieldRange>& FieldRanges();
// The range of a control, or null when its value is not bounded.
const FieldRange* FindFieldRange(const std::string& control, bool taskForm);
bool InFieldRange(const FieldRange& range, double value);

// The refusal of a negative value in a field whose only bound is 0.
std::string NegativeValueText(const FieldRange& range);

// "what: text" for each field of the main window whose value its range refuses.
std::vector<std::string> FieldsOutOfRange(const ControlRegistry& task, const ControlRegistry& main);

}  // namespace coldroom
