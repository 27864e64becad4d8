// A cold store: several rooms, each an ordinary project file of its own, grouped by the
// temperature level of the plant that serves them. The store holds only where its rooms are
// and how they are grouped; every figure comes from the rooms' own projects.
#pragma once

#include <optional>
#include <string>
#include <vector>

#include "model/plant_settings.h"

namespace coldroom {

// The plants of a store are grouped by evaporating temperature. Air coolers evaporate some
// 7–10 K below the room air, so a room at −5 °C or warmer is served by a medium-temperature
// plant (evaporating down to about −15 °C) and a colder one by a low-temperature plant.
enum class TemperatureLevel { Medium, Low };
inline constexpr int kTemperatureLevelCount = 2;
inline constexpr double kColdestMediumRoom = -5;  // °C

// Where a room belongs: by its temperature, or set by the person.
enum class LevelChoice { Auto, Medium, Low };

TemperatureLevel LevelOfRoomTemperature(double celsius);
// The level a room is on: the one chosen, else the one its temperature gives; none when it is
// left to a temperature that is not known (a room whose file could not be read).
std::optional<TemperatureLevel> EffectiveLevel(LevelChoice choice, std::optional<double> roomTemperature);

// "среднетемпературный", "низкотемпературный".
const char* LevelName(TemperatureLevel level);
// "СТ", "НТ": the level in a table's narrow column.
const char* LevelShortName(TemperatureLevel level);
// The texts a person chooses a room's level by: "по температуре", "СТ", "НТ".
const char* LevelChoiceName(LevelChoice choice);

struct StoreRoom {
    std::string path;  // the project file, absolute
    LevelChoice level = LevelChoice::Auto;
    double coilDifference = 0;  // K between the room's air and its coil's evaporation; 0: the default
    bool operator==(const StoreRoom&) const = default;
};

// The share of a room's operational gains (lights, people, equipment, lift trucks, the door,
// the air coolers' fans) the compressors of its level are sized for: not all of them occur in
// every room at once. The envelope, product and packaging gains are taken whole.
inline constexpr double kDefaultOperationShare = 75;  // %

struct StoreSettings {
    double operationShare[kTemperatureLevelCount] = {kDefaultOperationShare, kDefaultOperationShare};
    double share(TemperatureLevel level) const { return operationShare[static_cast<int>(level)]; }
    bool operator==(const StoreSettings&) const = default;
};

inline constexpr const char* kNewStoreTitle = "Холодильник";

struct Store {
    std::string title = kNewStoreTitle;
    std::vector<StoreRoom> rooms;
    StoreSettings settings;
    PlantSettings plant;
    bool operator==(const Store&) const = default;
};

// Whether a share is one the store accepts: a number from 0 to 100 %.
bool ValidOperationShare(double percent);

}  // namespace coldroom
