// The whole calculation of one room: from what the person entered and the reference tables to
// every load, the totals, the storage norm, the cooling time and the problems met on the way.
// Pure: the same project and tables always give the same result.
#pragma once

#include <string>
#include <vector>

#include "core/load_breakdown.h"
#include "loads/loads.h"
#include "model/reference_data.h"
#include "model/room_project.h"
#include "model/task_derived.h"

namespace coldroom {

// Every intermediate value of the calculation, numbers only, for a note that shows how the
// result was reached. The inputs of the operation, packaging and cooling time are kept as
// they were passed; the envelope and the product keep what they read.
struct RoomTrace {
    EnvelopeTrace envelope;
    ProductTrace product;
    PackagingLoadInputs packagingInputs;
    PackagingTrace packaging;
    OperationalInputs operationInputs;
    OperationalTrace operation;
    CoolingTimeInputs coolingInputs;
    TotalsTrace totals;
};

struct RoomResult {
    DerivedTask task;             // what the task's inputs imply, as the loads read it
    LoadBreakdown loads;
    LoadValue wallTotal;          // the four walls together, as the reports print it
    double storageCapacity = 0;   // t: the volume times the product's storage norm
    CoolingTimeResult cooling;    // the product's cooling and freezing time

    // What went wrong, by component, in the order the calculation met it. The status line
    // shows loads.problem; a window tells those of the components an input recomputes.
    std::vector<std::string> envelopeProblems;
    std::string operationProblem;
    std::vector<std::string> productProblems;  // a table inconsistency first, then the load's own
    std::string packagingProblem;
    // What the person should know of figures that are defined but may surprise: a door with no
    // gain, more product than the room holds.
    std::vector<std::string> notices;

    RoomTrace trace;
};

RoomResult ComputeRoom(const RoomProject& project, const ReferenceData& data);

// The texts of the five time captions: requested, cooling, freezing, after-freezing, total.
struct CoolingTimeTexts {
    std::string requested, cooling, freezing, afterFreezing, total;
};
CoolingTimeTexts CoolingTimeCaptions(const RoomProject& project, const RoomResult& result);

// The temperature frame's colour: warm for a room at 0 °C or above, cold below.
std::array<int, 3> RoomTemperatureColour(const RoomProject& project);

}  // namespace coldroom
