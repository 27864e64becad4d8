// The plant's settings in the [store] section of a store file, each line written only when it
// differs from its default:
//
//     plant_levels = СТ:-15:75, НТ:-35:75   (name:t0:operational share %; the share may be left out)
//     pipework = auto
//     condenser = air            (or water)
//     condenser_difference = 10
//     condensing_min = 25
//     water_condensing = 30
//     refrigerant = R404A
//     efficiency = carnot        (or polynomial)
//     carnot_fraction = 0.45
//     polynomial_file = compressor.txt   (relative to the store's folder)
//     fans = continuous          (or with_compressor)
//     product_profile = 100 100 100 100 100 100 100 100 100 100 100 100
//     town = Москва
//     tariff = 8
//     insulation_cost = 40000
//     years = 15
//     discount_rate = 10
#pragma once

#include <string>
#include <string_view>

#include "model/plant_settings.h"

namespace coldroom {

// Whether `key` is one of the plant's; when it is, reads `value` into `plant`, leaving `why`
// empty, or names what is wrong in `why`.
bool PlantValue(const std::string& key, std::string_view value, const std::string& folder, PlantSettings& plant,
                std::string& why);

// The lines of the settings that differ from their defaults ("" when none do); the levels are
// the store file's to write.
std::string PlantText(const PlantSettings& plant, const std::string& folder);
// The value of the plant_levels line.
std::string PlantLevelsText(const std::vector<PlantLevel>& levels);

}  // namespace coldroom
