// The loads of a cold store: each room as its own project computes it, the level that serves
// it, and per level the sum of the rooms' required capacities (the air coolers are sized room
// by room) and the load of the level's compressors: Q0 = k · ΣQкм, each room's part taking its
// operational gains only at the level's share, k the losses in the pipework.
#pragma once

#include <optional>
#include <string>
#include <vector>

#include "core/load_value.h"
#include "model/compute_room.h"
#include "model/room_project.h"
#include "model/store.h"

namespace coldroom {

// One room as its file gave it: the project as the program shows it once opened and its
// result, or why the file could not be read.
struct StoreRoomData {
    bool read = false;
    std::string problem;  // why not, in Russian; empty when read
    RoomProject project;
    RoomResult result;
};

// Where a room belongs.
struct RoomPlace {
    std::optional<int> level;  // none: left to a temperature that is not known, or no levels
    bool chosen = false;       // set by the person
    bool tooWarm = false;      // its level evaporates above the t0 the room needs
    double coil = 0;           // K: the coil difference taken
    std::optional<double> wanted;  // °C: the t0 the room needs, room air − coil difference
};

// The level `room` is on: the one chosen, else the warmest whose t0 is at or below the
// room's air less its coil difference, else (none is cold enough) the coldest.
RoomPlace PlaceRoom(const PlantSettings& plant, const StoreRoom& room, std::optional<double> roomTemperature);

struct StoreRowLoads {
    RoomPlace place;
    LoadValue compressor;  // Qкм: one room's part of its level's compressor load, W (not times its count)
};

struct LevelLoads {
    int rooms = 0;                            // rooms, each entry counted as often as it stands for
    double pipework = 0;                      // k; 0 for the store's total
    LoadValue capacity = LoadValue::of(0);    // the rooms' required capacities together, W
    LoadValue parts = LoadValue::of(0);       // ΣQкм, W
    LoadValue compressor = LoadValue::of(0);  // Q0 = k · ΣQкм, W
};

struct StoreLoads {
    std::vector<StoreRowLoads> rows;  // one per room of the store, in its order
    std::vector<LevelLoads> levels;   // one per plant level, in the plant's order
    LevelLoads total;                 // the whole store: different machines added
};

// The room's temperature as its project gives it; none for a room not read.
std::optional<double> RoomTemperature(const StoreRoomData& room);

// A room's part of the compressor load: its total with only `sharePercent` of the operation,
// over the room's work cycle, as its required capacity is formed from the whole total.
LoadValue CompressorPart(const RoomProject& project, const LoadBreakdown& loads, double sharePercent);

// `rooms` holds one entry per room of `store`, in its order. A level whose room could not be
// read or has no capacity is undefined, with the room named in the reason; so is every level
// while a room's level is not known.
StoreLoads ComputeStoreLoads(const Store& store, const std::vector<StoreRoomData>& rooms);

// The file name of a room without its folder, as messages name it.
std::string RoomFileName(const std::string& path);
// " × N" after the name of an entry that stands for N identical rooms; nothing for one.
std::string CountSuffix(int count);

}  // namespace coldroom
