// Load components computed by a function of their own from the project, beside the ones the
// calculation composes as the method fixes them (envelope, product, packaging, operation). Each
// is a row of the component table (core/load_components.h) and an entry here; the calculation
// adds its value into the sum its row names, and every output that lists the components shows
// it. A component added this way needs no other change to the totals, the store, the chart,
// the study, the command line or the reports.
#pragma once

#include <vector>

#include "core/load_components.h"
#include "model/reference_data.h"
#include "model/room_project.h"
#include "model/task_derived.h"

namespace coldroom {

struct ComponentFunction {
    LoadId id;
    LoadValue (*compute)(const RoomProject& project, const ReferenceData& data, const DerivedTask& task);
};

const std::vector<ComponentFunction>& ComponentFunctions();

}  // namespace coldroom
