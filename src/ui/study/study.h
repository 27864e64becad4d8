// Parametric studies: one or two inputs stepped over a range, each point entered on a copy of
// the open project as a person would enter it, and computed. The open project never changes and
// no message reaches the person (a refused point carries its reason).
#pragma once

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "core/load_breakdown.h"
#include "model/entries.h"
#include "model/reference_data.h"
#include "model/room_project.h"
#include "model/task_edit.h"

namespace coldroom {

// One input stepped from `from` to `to` (both included when the steps meet it).
struct StudyAxis {
    std::string name;
    double from = 0, to = 0, step = 1;
    std::vector<double> values() const;
    // How many values the axis has, counted without building them.
    double count() const;
};

// "NAME=FROM:TO:STEP", the numbers with a point or a comma. False with a Russian `error`.
bool ParseAxis(const std::string& text, StudyAxis& axis, std::string& error);

// At most this many points in one study: a mistyped step must not run for hours.
inline constexpr std::size_t kMaxStudyPoints = 250000;

struct StudyPoint {
    std::vector<double> values;  // one per axis
    bool refused = false;        // a value its check refused, or a choice that cannot be made
    std::string message;         // why it was refused
    LoadBreakdown loads;
};

// The numeric inputs offered for a study, with their captions and units.
struct StudyParameter {
    std::string name;
    std::string caption;
};
const std::vector<StudyParameter>& StudyParameters();
// The caption of a study's input ("Температура в камере, °C"); the name itself when unknown.
std::string StudyCaption(const std::string& name);

class Study {
public:
    explicit Study(std::shared_ptr<const ReferenceData> data);

    // The study's base: the project as it stands now.
    void Begin(const RoomProject& project, const TaskDialogState& dialog);
    // The base project as it is, without any change (the current point of a chart).
    const LoadBreakdown& baseLoads() const { return baseLoads_; }

    // Checks the axes' names and the number of points; false with a Russian message.
    bool Check(const std::vector<StudyAxis>& axes, std::string& error) const;
    // Every point of the grid, the first axis outermost.
    std::vector<StudyPoint> Run(const std::vector<StudyAxis>& axes) const;
    // The same points handed to `each` one at a time as they are computed, none kept: a study
    // of any size in the memory of one point. `each` may keep the point by moving it away.
    void Each(const std::vector<StudyAxis>& axes, const std::function<void(StudyPoint&)>& each) const;
    // One point: the settings applied on the base.
    StudyPoint Point(const std::vector<Setting>& settings) const;

private:
    std::shared_ptr<const ReferenceData> data_;
    RoomProject base_;
    TaskDialogState dialog_;
    LoadBreakdown baseLoads_;
    // The copy each point is entered on: assigned from the base, it keeps its storage.
    mutable RoomProject work_;
    mutable TaskDialogState workDialog_;
};

// Every point of a grid over `axes`, the first axis outermost.
std::vector<std::vector<double>> StudyGrid(const std::vector<StudyAxis>& axes);

}  // namespace coldroom
