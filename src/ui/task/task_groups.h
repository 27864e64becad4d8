// The product groups of the task dialog: which group button offers a task. The predefined
// tasks are numbered by group; every task after them is a special one.
#pragma once

#include <string>
#include <vector>

namespace coldroom {

// The name of the group button whose list holds task number `task` (1 is the first task).
std::string TaskGroupButton(double task);

// The group button of the task chosen at `position` of the offered tasks; with no task
// chosen, the group of the first task offered.
std::string ChosenTaskGroup(const std::vector<double>& offered, int position);

}  // namespace coldroom
