#include "model/plant_settings.h"

namespace coldroom {

std::vector<PlantLevel> DefaultPlantLevels() { return {{"СТ", -15}, {"НТ", -35}}; }

const std::vector<std::string>& Refrigerants() {
    static const std::vector<std::string> names = {"R404A", "R507A", "R448A", "R449A", "R134a", "R717", "R744"};
    return names;
}

}  // namespace coldroom
