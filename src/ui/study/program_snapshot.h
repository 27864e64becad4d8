// Everything a person's entries leave in a program: every control of both windows (texts,
// lists with their entries and positions, options, enabled states), the shared values, the
// task's values and the main window's results. A study puts it back before each point so
// every point starts from the same project, without reading the database or a file again.
#pragma once

#include <array>
#include <string>
#include <vector>

#include "core/load_breakdown.h"
#include "core/program_state.h"

namespace coldroom {

class Program;

class ProgramSnapshot {
public:
    // Takes the state of `program`.
    explicit ProgramSnapshot(Program& program);
    // Puts it into `target`, the same program or another one started over the same
    // database. No handler runs and nothing is recomputed.
    void RestoreInto(Program& target) const;

    const LoadBreakdown& results() const { return results_; }

private:
    struct ControlState {
        std::string text;
        std::vector<std::string> items;
        int number = 0;  // list position, check or option value
        bool enabled = true;
    };
    struct TaskValues {
        double TempInCell = 0, Prod_in_list = 0;
        int TaskSelected_ind = 0, ProdSelected_ind = 0;
        bool Cheese = false;
        float Oborot_Kg = 0, RTime = 0, RabCoef = 100;
        std::vector<double> TaskProducts;
        std::string TaskReference;
        std::array<bool, 8> FieldError{};
        std::array<std::string, 8> FieldMessage{};
    };

    std::vector<ControlState> main_, task_;  // in the order of each form's registry
    ProgramState state_;
    TaskValues taskValues_;
    LoadBreakdown results_;
    std::string resultsProblem_;
    std::array<int, 3> tempShapeColour_{};
};

}  // namespace coldroom
