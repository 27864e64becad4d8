#include "ui/task/task_groups.h"

#include <gtest/gtest.h>

namespace coldroom {
namespace {

// The group button of the chosen task, not of the button last clicked.
TEST(TaskGroups, TheChosenTaskNamesItsGroup) {
    struct Case {
        std::vector<double> offered;
        int position;
        const char* button;
    } cases[] = {
        {{1, 2, 3, 4}, 2, "btn_Meat"},    {{5, 6}, 1, "btn_Kolb"},         {{7, 8, 9}, 0, "btn_Fish"},
        {{10, 11, 12, 13, 14}, 4, "btn_Milk"}, {{15, 16, 17}, 2, "btn_Ice"}, {{18, 19}, 1, "btn_Special"},
        {{3, 18}, 1, "btn_Special"},      {{3, 18}, 0, "btn_Meat"},        // a list read from a file may mix groups
        {{7, 8, 9}, -1, "btn_Fish"},      {{7, 8, 9}, 5, "btn_Fish"},      // no task chosen: the list's group
        {{}, -1, "btn_Meat"},
    };
    for (const Case& c : cases) EXPECT_EQ(ChosenTaskGroup(c.offered, c.position), c.button) << c.position;
}

}  // namespace
}  // namespace coldroom
