#include "model/store.h"

#include <cmath>

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

}  // namespace coldroom
