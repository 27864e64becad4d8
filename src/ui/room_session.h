// The open project as the windows share it: what the person entered, the task dialog's own
// state, the result computed from both, and the reference tables they refer to.
#pragma once

#include <memory>

#include "model/compute_room.h"
#include "model/reference_data.h"
#include "model/room_project.h"
#include "model/task_edit.h"

namespace coldroom {

struct RoomSession {
    RoomProject project;
    TaskDialogState dialog;
    RoomResult result;
    // Filled in two steps: the task dialog's tables at the start, the main window's when it
    // first comes up.
    std::shared_ptr<ReferenceData> data = std::make_shared<ReferenceData>();

    void Recompute() { result = ComputeRoom(project, *data); }
};

}  // namespace coldroom
