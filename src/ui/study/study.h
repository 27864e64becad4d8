// Parametric studies: one or two inputs stepped over a range, each point committed on a copy
// of the open project as a person would enter it, every load component collected. The copy
// is a second program without a screen started over the same database; before each point
// it takes the open project's state back from a snapshot, so the open project never
// changes and no message reaches the person (they are recorded with the point).
#pragma once

#include <memory>
#include <string>
#include <vector>

#include "core/load_breakdown.h"
#include "ui/study/settings.h"

namespace coldroom {

class Program;
class ProgramSnapshot;

// One input stepped from `from` to `to` (both included when the steps meet it).
struct StudyAxis {
    std::string name;
    double from = 0, to = 0, step = 1;
    std::vector<double> values() const;
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

// The numeric inputs offered for a study, with their captions.
struct StudyParameter {
    const char* name;
    const char* caption;
};
const std::vector<StudyParameter>& StudyParameters();

class Study {
public:
    explicit Study(std::string databasePath);
    ~Study();
    Study(const Study&) = delete;
    Study& operator=(const Study&) = delete;

    // Starts the copy's program (reads the database once). False with a Russian message.
    bool Start(std::string& error);

    // The study's base: the state of `source` as it stands now.
    void Begin(Program& source);
    // The base project as it is, without any change (the current point of a chart).
    const LoadBreakdown& baseLoads() const;

    // Checks the axes' names against the copy's controls; false with a Russian message.
    bool Check(const std::vector<StudyAxis>& axes, std::string& error);
    // Every point of the grid, the first axis outermost.
    std::vector<StudyPoint> Run(const std::vector<StudyAxis>& axes);
    // One point: the settings applied on the base.
    StudyPoint Point(const std::vector<Setting>& settings);

private:
    std::string databasePath_;
    std::unique_ptr<HeadlessUi> ui_;
    std::unique_ptr<Program> worker_;
    std::unique_ptr<ProgramSnapshot> base_;
};

// Every point of a grid over `axes`, the first axis outermost.
std::vector<std::vector<double>> StudyGrid(const std::vector<StudyAxis>& axes);

}  // namespace coldroom
