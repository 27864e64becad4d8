#include "model/store_loads.h"

#include <cmath>

#include "core/load_breakdown.h"
#include "core/load_components.h"
#include "core/numtext.h"
#include "model/plant_cycle.h"

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

// A room's figure for `count` identical rooms.
LoadValue times(const LoadValue& v, int count) { return v.defined ? LoadValue::of(v.watts * count) : v; }

}  // namespace

std::string RoomFileName(const std::string& path) {
    const auto slash = path.find_last_of('/');
    return slash == std::string::npos ? path : path.substr(slash + 1);
}

std::string CountSuffix(int count) { return count == 1 ? std::string() : " × " + std::to_string(count); }

std::optional<double> RoomTemperature(const StoreRoomData& room) {
    if (!room.read) return std::nullopt;
    const double t = LeadingNumber(room.project.TempIn_txt);
    if (!std::isfinite(t)) return std::nullopt;
    return t;
}

RoomPlace PlaceRoom(const PlantSettings& plant, const StoreRoom& room, std::optional<double> temperature) {
    RoomPlace place;
    const int count = static_cast<int>(plant.levels.size());
    if (count == 0) return place;
    if (temperature) {
        place.coil = room.coilDifference > 0 ? room.coilDifference : DefaultCoilDifference(*temperature);
        place.wanted = *temperature - place.coil;
    }
    if (room.level >= 0 && room.level < count) {
        place.level = room.level;
        place.chosen = true;
    } else if (temperature) {
        const std::optional<int> level = LevelForRoom(plant.levels, *temperature, place.coil);
        place.level = level ? *level : ColdestLevel(plant.levels);
    }
    if (place.level && place.wanted)
        place.tooWarm = plant.levels[static_cast<size_t>(*place.level)].evaporating > *place.wanted;
    return place;
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
    // Whole watts by the capacity's own rule (the whole part), so that at a share of 100 % the
    // two are one figure; a level adds these up.
    return LoadValue::of(IntFloor(taken * 100 / cycle));
}

StoreLoads ComputeStoreLoads(const Store& store, const std::vector<StoreRoomData>& rooms) {
    StoreLoads out;
    const auto& levels = store.plant.levels;
    out.levels.resize(levels.size());
    for (size_t l = 0; l < levels.size(); ++l) out.levels[l].pipework = PipeworkFactor(store.plant, levels[l].evaporating);
    std::string unplaced;  // a room whose level is not known
    for (size_t i = 0; i < store.rooms.size(); ++i) {
        const StoreRoom& room = store.rooms[i];
        const StoreRoomData* data = i < rooms.size() ? &rooms[i] : nullptr;
        const std::string name = RoomFileName(room.path);
        StoreRowLoads& row = out.rows.emplace_back();
        row.place = PlaceRoom(store.plant, room, data ? RoomTemperature(*data) : std::nullopt);
        LoadValue capacity;
        if (!data || !data->read) {
            const std::string why = data ? data->problem : std::string("файл не прочитан");
            capacity = row.compressor = LoadValue::undefined(why);
        } else {
            capacity = data->result.loads.capacity;
            row.compressor = row.place.level
                                 ? CompressorPart(data->project, data->result.loads, levels[static_cast<size_t>(*row.place.level)].share)
                                 : LoadValue::undefined(levels.empty() ? "не задано ни одного уровня" : "уровень не известен");
        }
        if (row.place.level) {
            LevelLoads& sum = out.levels[static_cast<size_t>(*row.place.level)];
            sum.rooms += room.count;
            add(sum.capacity, times(capacity, room.count), name);
            add(sum.parts, times(row.compressor, room.count), name);
        } else if (unplaced.empty()) {
            unplaced = name;
        }
    }
    if (!unplaced.empty()) {
        const LoadValue unknown = LoadValue::undefined(
            levels.empty() ? "не задано ни одного уровня"
                           : "не известен уровень камеры «" + unplaced + "»: ее файл не прочитан");
        for (LevelLoads& sum : out.levels) {
            if (sum.capacity.defined) sum.capacity = unknown;
            if (sum.parts.defined) sum.parts = unknown;
        }
        if (levels.empty()) out.total.capacity = out.total.compressor = unknown;
    }
    // Whole watts, as every load is shown; the store's figures are the levels' as shown, added.
    for (const StoreRoom& room : store.rooms) out.total.rooms += room.count;
    for (LevelLoads& sum : out.levels) {
        sum.compressor = sum.parts.defined ? LoadValue::of(std::round(sum.pipework * sum.parts.watts)) : sum.parts;
        add(out.total.capacity, sum.capacity);
        add(out.total.parts, sum.parts);
        add(out.total.compressor, sum.compressor);
    }
    return out;
}

}  // namespace coldroom
