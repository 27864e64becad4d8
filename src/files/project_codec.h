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

// A new project as the program starts it: the task dialog's first task confirmed, the main
// window loaded and activated.
RoomProject StartProject(const ReferenceData& data);

// Reads the project file `path` as the program shows it once opened and its window activated.
// False with `why` (Russian). `notices` receives what the person would be told (a heated floor
// refused for a warm room, values kept outside their ranges).
bool ReadProject(const std::string& path, const ReferenceData& data, RoomProject& project, std::string& why,
                 std::vector<std::string>* notices = nullptr);

// Whether a save of either project writes the same file.
bool SameFileContent(const RoomProject& a, const RoomProject& b);

}  // namespace coldroom
