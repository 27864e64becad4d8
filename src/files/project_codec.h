// A project file's 87 items to and from a RoomProject. Reading applies the items in file
// order, as the windows would take them had the person entered them: the task chosen fills its
// values first and the stored ones follow, the walls come back as stored (not mirrored), and
// what the task dialog's confirmation leaves is settled at the end.
#pragma once

#include <string>
#include <vector>

#include "files/project_file.h"
#include "model/reference_data.h"
#include "model/room_project.h"
#include "model/task_edit.h"

namespace coldroom {

// The items a save writes.
std::vector<ConfigItem> ProjectItems(const RoomProject& project);

// Checks every item against the reference tables and applies them onto `project` (what a
// file does not hold, such as the product's size, follows from the task it names). On
// failure returns false with `why` (Russian, naming the line) and leaves `project` untouched.
bool ApplyProjectItems(const std::vector<ConfigItem>& items, const ReferenceData& data, RoomProject& project,
                       TaskDialogState& dialog, std::string& why);

// Whether a save of either project writes the same file.
bool SameFileContent(const RoomProject& a, const RoomProject& b);

}  // namespace coldroom
