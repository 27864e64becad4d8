#include "model/store.h"

#include <cmath>
#include <unordered_map>

namespace coldroom {

bool ValidOperationShare(double percent) { return std::isfinite(percent) && percent >= 0 && percent <= 100; }

void RemovePlantLevel(Store& store, int index) {
    auto& levels = store.plant.levels;
    if (index < 0 || index >= static_cast<int>(levels.size())) return;
    levels.erase(levels.begin() + index);
    for (StoreRoom& room : store.rooms) {
        if (room.level == index) room.level = kAutoLevel;
        else if (room.level > index) --room.level;
    }
}

std::vector<std::pair<std::string, int>> RepeatedRoomFiles(const Store& store) {
    std::vector<std::pair<std::string, int>> files;
    std::unordered_map<std::string, std::size_t> at;  // a file's place in `files`
    for (const StoreRoom& room : store.rooms) {
        const auto [it, first] = at.emplace(room.path, files.size());
        if (first) files.emplace_back(room.path, 1);
        else ++files[it->second].second;
    }
    std::erase_if(files, [](const auto& file) { return file.second < 2; });
    return files;
}

}  // namespace coldroom
