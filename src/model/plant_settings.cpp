#include "model/plant_settings.h"

namespace coldroom {

const std::vector<std::string>& Refrigerants() {
    static const std::vector<std::string> names = {"R404A", "R507A", "R448A", "R449A", "R134a", "R717", "R744"};
    return names;
}

bool ValidLevelName(const std::string& name, std::string& why) {
    if (name.find_first_not_of(' ') == std::string::npos) {
        why = "у уровня нет названия";
        return false;
    }
    // The store file lists the levels as "name:t0:share, …" and names a room's level by it.
    if (name.find_first_of(",:=#;") != std::string::npos || name.front() == ' ' || name.back() == ' ') {
        why = "название уровня «" + name + "» — без запятых, двоеточий, знаков = # ; и пробелов по краям";
        return false;
    }
    if (name == "auto" || name == "medium" || name == "low") {
        why = "название уровня «" + name + "» занято";
        return false;
    }
    return true;
}

}  // namespace coldroom
