// A cold store: several rooms, each an ordinary project file of its own, served by the
// store's plant levels (model/plant_settings.h). The store holds only where its rooms are and
// which level serves each; every figure comes from the rooms' own projects.
#pragma once

#include <string>
#include <vector>

#include "model/plant_settings.h"

namespace coldroom {

// The level a room is on when the person has not chosen one: the one its temperature and
// coil difference give (LevelForRoom).
inline constexpr int kAutoLevel = -1;

struct StoreRoom {
    std::string path;           // the project file, absolute
    int level = kAutoLevel;     // an index into the plant's levels, or kAutoLevel
    double coilDifference = 0;  // K between the room's air and its coil's evaporation; 0: the default
    int count = 1;              // identical rooms this entry stands for: each sum takes it this often
    bool operator==(const StoreRoom&) const = default;
};

inline constexpr const char* kNewStoreTitle = "Холодильник";

struct Store {
    std::string title = kNewStoreTitle;
    std::vector<StoreRoom> rooms;
    PlantSettings plant;
    bool operator==(const Store&) const = default;
};

// The most identical rooms one entry may stand for.
inline constexpr int kMaxRoomCount = 1000;

// Whether a share is one the store accepts: a number from 0 to 100 %.
bool ValidOperationShare(double percent);

// Takes the level `index` out of the store: rooms set to it go back to their temperature's
// level, rooms set to a later one keep theirs.
void RemovePlantLevel(Store& store, int index);

// The files the store lists more than once, each with how often, in the order of their first
// entry: each entry is counted as a room of its own, which is seldom what was meant.
std::vector<std::pair<std::string, int>> RepeatedRoomFiles(const Store& store);

}  // namespace coldroom
