// Values the whole program shares, beside the two forms' own fields.
#pragma once

#include <string>
#include <vector>

namespace coldroom {

struct ProgramState {
    std::string ProjectTitle = "Название проекта";
    std::string ReportAuthor = "Исполнитель";
    std::vector<double> OfferedTasks{1, 2, 3, 4};  // task numbers (row + 1) offered in Task_cmb
    double WallLossTotal = 0;
    bool WallLossDefined = true;  // false while a wall's result is undefined
    std::vector<std::string> LayerMaterialNames = std::vector<std::string>(12);
    std::string SavedDecimalSeparator;  // what the process numeric locale was before start
};

}  // namespace coldroom
