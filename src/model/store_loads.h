// The loads of a cold store: each room as its own project computes it, and per temperature
// level the sum of the rooms' required capacities (the air coolers are sized room by room)
// and the load of the level's compressors, which take the operational gains only at the
// store's share.
#pragma once

#include <array>
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

struct StoreRowLoads {
    std::optional<TemperatureLevel> level;  // none: left to a temperature that is not known
    LoadValue compressor;                   // this room's part of its level's compressor load, W
};

struct LevelLoads {
    int rooms = 0;
    LoadValue capacity = LoadValue::of(0);    // the rooms' required capacities together, W
    LoadValue compressor = LoadValue::of(0);  // the compressors' load, W
};

struct StoreLoads {
    std::vector<StoreRowLoads> rows;  // one per room of the store, in its order
    std::array<LevelLoads, kTemperatureLevelCount> levels;
    LevelLoads total;  // the whole store
    const LevelLoads& level(TemperatureLevel l) const { return levels[static_cast<size_t>(l)]; }
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

}  // namespace coldroom
