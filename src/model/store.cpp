#include "model/store.h"

#include <cmath>

namespace coldroom {

TemperatureLevel LevelOfRoomTemperature(double celsius) {
    return celsius >= kColdestMediumRoom ? TemperatureLevel::Medium : TemperatureLevel::Low;
}

std::optional<TemperatureLevel> EffectiveLevel(LevelChoice choice, std::optional<double> roomTemperature) {
    switch (choice) {
    case LevelChoice::Medium:
        return TemperatureLevel::Medium;
    case LevelChoice::Low:
        return TemperatureLevel::Low;
    case LevelChoice::Auto:
        break;
    }
    if (!roomTemperature || !std::isfinite(*roomTemperature)) return std::nullopt;
    return LevelOfRoomTemperature(*roomTemperature);
}

const char* LevelName(TemperatureLevel level) {
    return level == TemperatureLevel::Medium ? "среднетемпературный" : "низкотемпературный";
}

const char* LevelShortName(TemperatureLevel level) { return level == TemperatureLevel::Medium ? "СТ" : "НТ"; }


bool ValidOperationShare(double percent) { return std::isfinite(percent) && percent >= 0 && percent <= 100; }

}  // namespace coldroom
