// A store with its rooms read: each room's project file opened as the program opens it and
// computed, and the store's loads formed from them. A room file is read again only when it
// changed on disk (its time or size), so a store of many rooms stays quick to refresh.
#pragma once

#include <cstdint>
#include <map>
#include <string>
#include <vector>

#include "model/reference_data.h"
#include "model/store.h"
#include "model/store_loads.h"

namespace coldroom {

// What a file looked like when it was read: a changed time or size means it changed.
struct FileStamp {
    bool exists = false;
    std::int64_t modified = 0;  // nanoseconds of the file clock
    std::uintmax_t size = 0;
    bool operator==(const FileStamp&) const = default;
};
FileStamp StampOf(const std::string& path);

// Reads one room: the project as the program shows it once opened, and its result.
StoreRoomData ReadStoreRoom(const std::string& path, const ReferenceData& data);

class StoreRooms {
public:
    // Reads the rooms of `store` that are new or changed since they were last read (all the
    // first time), forgets those no longer in it and forms the loads. Returns whether any room
    // was read.
    bool Update(const Store& store, const ReferenceData& data);
    // Reads every room again (the reference data changed).
    void Reload(const Store& store, const ReferenceData& data);

    // One entry per room of the store last given, in its order.
    const std::vector<StoreRoomData>& rooms() const { return rooms_; }
    const StoreLoads& loads() const { return loads_; }

private:
    struct Read {
        FileStamp stamp;
        StoreRoomData data;
    };
    std::map<std::string, Read> read_;  // by path
    std::vector<StoreRoomData> rooms_;
    StoreLoads loads_;
};

}  // namespace coldroom
