#include "ui/task/task_groups.h"

namespace coldroom {

std::string TaskGroupButton(double task) {
    struct Group {
        double last;  // the group's last task number
        const char* button;
    };
    static const Group groups[] = {{4, "btn_Meat"}, {6, "btn_Kolb"}, {9, "btn_Fish"}, {14, "btn_Milk"}, {17, "btn_Ice"}};
    for (const Group& g : groups)
        if (task <= g.last) return g.button;
    return "btn_Special";
}

std::string ChosenTaskGroup(const std::vector<double>& offered, int position) {
    if (offered.empty()) return "btn_Meat";
    const bool chosen = position >= 0 && position < static_cast<int>(offered.size());
    return TaskGroupButton(offered[chosen ? static_cast<size_t>(position) : 0]);
}

}  // namespace coldroom
