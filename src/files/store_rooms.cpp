#include "files/store_rooms.h"

#include <filesystem>
#include <set>
#include <system_error>

#include "files/project_codec.h"

namespace coldroom {

FileStamp StampOf(const std::string& path) {
    std::error_code ec;
    FileStamp stamp;
    const auto time = std::filesystem::last_write_time(path, ec);
    if (ec) return stamp;
    const auto size = std::filesystem::file_size(path, ec);
    stamp.exists = true;
    stamp.modified = static_cast<std::int64_t>(
        std::chrono::duration_cast<std::chrono::nanoseconds>(time.time_since_epoch()).count());
    stamp.size = ec ? 0 : size;
    return stamp;
}

StoreRoomData ReadStoreRoom(const std::string& path, const ReferenceData& data) {
    StoreRoomData room;
    std::string why;
    if (!ReadProject(path, data, room.project, why)) {
        room.problem = why.empty() ? "файл не прочитан" : why;
        return room;
    }
    room.read = true;
    room.result = ComputeRoom(room.project, data);
    return room;
}

bool StoreRooms::Update(const Store& store, const ReferenceData& data) {
    bool anyRead = false;
    std::set<std::string> wanted;
    for (const StoreRoom& room : store.rooms) {
        wanted.insert(room.path);
        // The stamp is taken before reading: a write while reading shows at the next update.
        const FileStamp stamp = StampOf(room.path);
        auto it = read_.find(room.path);
        if (it != read_.end() && it->second.stamp == stamp) continue;
        read_[room.path] = {stamp, ReadStoreRoom(room.path, data)};
        anyRead = true;
    }
    std::erase_if(read_, [&](const auto& entry) { return !wanted.count(entry.first); });
    rooms_.clear();
    for (const StoreRoom& room : store.rooms) rooms_.push_back(read_.at(room.path).data);
    loads_ = ComputeStoreLoads(store, rooms_);
    return anyRead;
}

void StoreRooms::Reload(const Store& store, const ReferenceData& data) {
    read_.clear();
    Update(store, data);
}

}  // namespace coldroom
