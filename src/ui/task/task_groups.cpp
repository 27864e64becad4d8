#include "ui/task/task_groups.h"

#include <algorithm>

#include "model/task_edit.h"

namespace coldroom {

std::string TaskGroupButton(double task) {
    struct Group {
        const std::vector<double>& (*tasks)();
        const char* button;
    };
    static const Group groups[] = {{MeatTasks, "btn_Meat"}, {SausageTasks, "btn_Kolb"}, {FishTasks, "btn_Fish"},
                                   {MilkTasks, "btn_Milk"}, {IceCreamTasks, "btn_Ice"}};
    for (const Group& g : groups)
        if (std::find(g.tasks().begin(), g.tasks().end(), task) != g.tasks().end()) return g.button;
    return "btn_Special";
}

std::string ChosenTaskGroup(const std::vector<double>& offered, int position) {
    if (offered.empty()) return "btn_Meat";
    const bool chosen = position >= 0 && position < static_cast<int>(offered.size());
    return TaskGroupButton(offered[chosen ? static_cast<size_t>(position) : 0]);
}

}  // namespace coldroom
