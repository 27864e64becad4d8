#include "model/store_loads.h"

#include <cmath>

#include "core/load_breakdown.h"
#include "core/load_components.h"
#include "core/numtext.h"

namespace coldroom {
namespace {

// Adds a figure to a sum; the first undefined figure makes the sum undefined and its
// reason, naming the room it came from (when given), stays.
void add(LoadValue& sum, const LoadValue& part, const std::string& room = {}) {
    if (!sum.defined) return;
    if (!part.defined) {
        sum = room.empty() ? part : LoadValue::undefined("нет данных камеры «" + room + "»: " + part.problem);
        return;
    }
    sum.watts += part.watts;
}

void add(LevelLoads& sum, const LoadValue& capacity, const LoadValue& compressor, const std::string& room) {
    ++sum.rooms;
    add(sum.capacity, capacity, room);
    add(sum.compressor, compressor, room);
}

}  // namespace

std::string RoomFileName(const std::string& path) {
    const auto slash = path.find_last_of('/');
    return slash == std::string::npos ? path : path.substr(slash + 1);
}

std::optional<double> RoomTemperature(const StoreRoomData& room) {
    if (!room.read) return std::nullopt;
    return LeadingNumber(room.project.TempIn_txt);
}

LoadValue CompressorPart(const RoomProject& project, const LoadBreakdown& loads, double sharePercent) {
    if (!loads.capacity.defined) return LoadValue::undefined(loads.capacity.problem);
    // A defined capacity has a work cycle other than 0.
    const double cycle = LeadingNumber(project.Cycle_txt);
    // The components counted at the operational share (the operational gains), as shown.
    double operation = 0;
    for (LoadId id : PartsOf(LoadId::Total)) {
        const LoadComponent& c = LoadComponentOf(id);
        const LoadValue& v = c.value(loads);
        if (c.operationalShare && v.defined) operation += AsShown(v.watts);
    }
    const double taken = AsShown(loads.total.watts) - (1 - sharePercent / 100) * operation;
    // Whole watts, like every load the program shows; a level adds these up.
    return LoadValue::of(std::round(taken * 100 / cycle));
}

StoreLoads ComputeStoreLoads(const Store& store, const std::vector<StoreRoomData>& rooms) {
    StoreLoads out;
    std::string unplaced;  // a room whose level is not known
    for (size_t i = 0; i < store.rooms.size(); ++i) {
        const StoreRoom& room = store.rooms[i];
        const StoreRoomData* data = i < rooms.size() ? &rooms[i] : nullptr;
        const std::string name = RoomFileName(room.path);
        StoreRowLoads& row = out.rows.emplace_back();
        row.level = EffectiveLevel(room.level, data ? RoomTemperature(*data) : std::nullopt);
        LoadValue capacity;
        if (!data || !data->read) {
            const std::string why = data ? data->problem : std::string("файл не прочитан");
            capacity = row.compressor = LoadValue::undefined(why);
        } else {
            capacity = data->result.loads.capacity;
            row.compressor = row.level ? CompressorPart(data->project, data->result.loads, store.settings.share(*row.level))
                                       : LoadValue::undefined("уровень температуры не известен");
        }
        if (row.level)
            add(out.levels[static_cast<size_t>(*row.level)], capacity, row.compressor, name);
        else if (unplaced.empty())
            unplaced = name;
    }
    if (!unplaced.empty()) {
        const LoadValue unknown =
            LoadValue::undefined("не известен уровень температуры камеры «" + unplaced + "»: ее файл не прочитан");
        for (LevelLoads& sum : out.levels) {
            if (sum.capacity.defined) sum.capacity = unknown;
            if (sum.compressor.defined) sum.compressor = unknown;
        }
    }
    // The store's figures are the levels' figures as shown, added.
    out.total.rooms = static_cast<int>(store.rooms.size());
    for (const LevelLoads& sum : out.levels) {
        add(out.total.capacity, sum.capacity);
        add(out.total.compressor, sum.compressor);
    }
    return out;
}

}  // namespace coldroom
