#include "model/energy_annual.h"

#include <algorithm>
#include <cmath>

#include "core/numtext.h"
#include "refdb/reference_columns.h"

namespace coldroom {
namespace {

int townRow(const ReferenceData& d, const std::string& town) {
    for (int row = 0; row < d.Loc_array.rowCount(); ++row)
        if (CellText(d.Loc_array, LocationColumn::City, row) == town) return row;
    return -1;
}

double value(const LoadValue& v) { return v.defined ? v.watts : 0; }

}  // namespace

int ClimateTownRow(const Store& store, const std::vector<StoreRoomData>& rooms, const ReferenceData& data) {
    if (!store.plant.town.empty()) return townRow(data, store.plant.town);
    for (const StoreRoomData& room : rooms)
        if (room.read) return std::max(0, room.project.Location_cmb);
    return -1;
}

bool RoomMonthlyHeat(const RoomProject& project, const RoomResult& design, const ReferenceData& data,
                     const std::array<double, 12>& outside, const std::array<double, 12>& productPercent,
                     double share, std::array<double, 12>& heat, std::string& why) {
    const LoadBreakdown& b = design.loads;
    if (!b.total.defined) {
        why = b.problem.empty() ? "суммарные потери не определены" : b.problem;
        return false;
    }
    const double designOutside = LeadingNumber(project.TempOut_txt);
    const double product = value(b.product) + value(b.packaging);
    RoomProject month = project;
    for (int m = 0; m < 12; ++m) {
        const std::string t = GeneralText(outside[static_cast<size_t>(m)]);
        for (int s = 0; s < kFloor; ++s)
            if (project.outer[static_cast<size_t>(s)] || LeadingNumber(project.sideTemp[static_cast<size_t>(s)]) == designOutside)
                month.sideTemp[static_cast<size_t>(s)] = t;
        month.TempOut_txt = t;
        const RoomResult r = ComputeRoom(month, data);
        double envelope = value(b.surfaces[kFloor]);  // the ground keeps its design temperature
        for (int s = 0; s < kFloor; ++s) {
            if (!r.loads.surfaces[static_cast<size_t>(s)].defined) {
                why = r.loads.surfaces[static_cast<size_t>(s)].problem;
                return false;
            }
            envelope += r.loads.surfaces[static_cast<size_t>(s)].watts;
        }
        if (!r.loads.operation.defined) {
            why = r.loads.operation.problem;
            return false;
        }
        const double q = envelope + product * productPercent[static_cast<size_t>(m)] / 100 + share / 100 * r.loads.operation.watts;
        // A room colder outside than in loses heat: the plant then stands, it does not heat.
        heat[static_cast<size_t>(m)] = std::max(0.0, q);
    }
    return true;
}

StoreEnergy ComputeStoreEnergy(const Store& store, const std::vector<StoreRoomData>& rooms, const ReferenceData& data,
                               const CompressorCurves* curves) {
    StoreEnergy out;
    const PlantSettings& plant = store.plant;
    const int row = ClimateTownRow(store, rooms, data);
    if (row < 0) {
        out.problems.push_back(store.plant.town.empty() ? "нет ни одной прочитанной камеры — не известен город"
                                                        : "город «" + store.plant.town + "» не найден в справочнике");
        return out;
    }
    out.town = CellText(data.Loc_array, LocationColumn::City, row);
    out.designOutside = data.locations.at(LocationColumn::Temperature, row);
    const TownClimate* climate = FindTownClimate(out.town);
    if (!climate) {
        out.problems.push_back("для города «" + out.town + "» нет среднемесячных температур");
        return out;
    }
    out.outside = climate->months;
    if (plant.levels.empty()) {
        out.problems.push_back("не задано ни одного уровня температуры кипения");
        return out;
    }
    if (plant.efficiency == EfficiencyModel::Polynomial && !curves) {
        out.problems.push_back("не прочитан файл коэффициентов компрессора");
        return out;
    }

    for (const PlantLevel& level : plant.levels) {
        LevelEnergy& e = out.levels.emplace_back();
        e.level = level;
        e.pipework = PipeworkFactor(plant, level.evaporating);
        e.designCondensing = CondensingTemperature(plant, out.designOutside);
        e.designCop = PlantCop(plant, curves, level.evaporating, e.designCondensing);
    }

    for (size_t i = 0; i < store.rooms.size(); ++i) {
        RoomEnergy& re = out.rooms.emplace_back();
        const std::string name = RoomFileName(store.rooms[i].path);
        if (i >= rooms.size() || !rooms[i].read) {
            re.problem = "камера «" + name + "»: " + (i < rooms.size() ? rooms[i].problem : std::string("файл не прочитан"));
            out.problems.push_back(re.problem);
            continue;
        }
        const StoreRoomData& room = rooms[i];
        re.roomTemperature = LeadingNumber(room.project.TempIn_txt);
        const RoomPlace place = PlaceRoom(plant, store.rooms[i], RoomTemperature(room));
        if (!place.level) {
            re.problem = "камера «" + name + "»: температура в камере не известна";
            out.problems.push_back(re.problem);
            continue;
        }
        re.coil = place.coil;
        re.wantedEvaporating = place.wanted.value_or(re.roomTemperature);
        re.level = *place.level;
        re.chosen = place.chosen;
        re.tooWarm = place.tooWarm;
        const PlantLevel& level = plant.levels[static_cast<size_t>(re.level)];
        if (re.tooWarm)
            out.warnings.push_back("камера «" + name + "» требует кипения при " + GeneralText(re.wantedEvaporating) +
                                   " °C или ниже, а уровень «" + level.name + "» кипит при " +
                                   GeneralText(level.evaporating) + " °C");
        // The operational share of the room's level, as the compressor load of the store takes it.
        const double share = level.share;
        const LoadValue part = CompressorPart(room.project, room.result.loads, share);
        std::string why;
        if (!part.defined || !RoomMonthlyHeat(room.project, room.result, data, out.outside, plant.productProfile, share,
                                              re.heat, why)) {
            re.problem = "камера «" + name + "»: " + (part.defined ? why : part.problem);
            out.problems.push_back(re.problem);
            continue;
        }
        re.included = true;
        re.count = store.rooms[i].count;
        re.compressorPart = part.watts * re.count;
        re.fanPower = value(room.result.loads.fanPower) * re.count;
        re.volume = LeadingNumber(room.project.Volume_txt) * re.count;
        for (double& heat : re.heat) heat *= re.count;
        LevelEnergy& e = out.levels[static_cast<size_t>(re.level)];
        e.rooms += re.count;
        e.sumParts += re.compressorPart;
        out.volume += re.volume;
    }

    for (LevelEnergy& e : out.levels) {
        e.capacity = e.pipework * e.sumParts;
        e.power = e.designCop > 0 ? e.capacity / e.designCop : 0;
        e.condenserHeat = e.capacity + e.power;
        e.designYearKWh = e.power * kYearHours / 1000;
    }
    for (RoomEnergy& re : out.rooms) {
        if (!re.included) continue;
        LevelEnergy& e = out.levels[static_cast<size_t>(re.level)];
        for (int m = 0; m < 12; ++m) e.months[static_cast<size_t>(m)].heatKWh += e.pipework * re.heat[static_cast<size_t>(m)] * kMonthHours[static_cast<size_t>(m)] / 1000;
    }
    for (LevelEnergy& e : out.levels) {
        for (int m = 0; m < 12; ++m) {
            MonthEnergy& month = e.months[static_cast<size_t>(m)];
            const double hours = kMonthHours[static_cast<size_t>(m)];
            month.outside = out.outside[static_cast<size_t>(m)];
            month.condensing = CondensingTemperature(plant, month.outside);
            month.cop = PlantCop(plant, curves, e.level.evaporating, month.condensing);
            month.compressorKWh = month.cop > 0 ? month.heatKWh / month.cop : 0;
            month.runHours = e.capacity > 0 ? std::min(hours, month.heatKWh * 1000 / e.capacity) : 0;
        }
    }
    // The fans: continuously, or while their level's compressors run.
    for (RoomEnergy& re : out.rooms) {
        if (!re.included) continue;
        LevelEnergy& e = out.levels[static_cast<size_t>(re.level)];
        for (int m = 0; m < 12; ++m) {
            MonthEnergy& month = e.months[static_cast<size_t>(m)];
            const double hours = plant.fansContinuous ? kMonthHours[static_cast<size_t>(m)] : month.runHours;
            const double fan = re.fanPower * hours / 1000;
            month.fanKWh += fan;
            re.annualKWh += fan;
        }
        // The room's part of its compressors' energy, month by month in proportion to its heat.
        for (int m = 0; m < 12; ++m) {
            const MonthEnergy& month = e.months[static_cast<size_t>(m)];
            const double roomMonth = e.pipework * re.heat[static_cast<size_t>(m)] * kMonthHours[static_cast<size_t>(m)] / 1000;
            if (month.heatKWh > 0) re.annualKWh += month.compressorKWh * roomMonth / month.heatKWh;
        }
    }
    bool allCops = true;
    for (LevelEnergy& e : out.levels) {
        for (int m = 0; m < 12; ++m) {
            const MonthEnergy& month = e.months[static_cast<size_t>(m)];
            if (e.rooms > 0 && month.cop <= 0) allCops = false;
            e.heatKWh += month.heatKWh;
            e.compressorKWh += month.compressorKWh;
            e.fanKWh += month.fanKWh;
            out.monthKWh[static_cast<size_t>(m)] += month.compressorKWh + month.fanKWh;
        }
        e.totalKWh = e.compressorKWh + e.fanKWh;
        e.seasonalCop = e.compressorKWh > 0 ? e.heatKWh / e.compressorKWh : 0;
        e.cost = e.totalKWh * plant.tariff;
        out.heatKWh += e.heatKWh;
        out.compressorKWh += e.compressorKWh;
        out.fanKWh += e.fanKWh;
        out.designYearKWh += e.designYearKWh;
    }
    if (!allCops) out.problems.push_back("КПД компрессора не определён: температура конденсации не выше температуры кипения");
    out.totalKWh = out.compressorKWh + out.fanKWh;
    out.cost = out.totalKWh * plant.tariff;
    out.specificKWh = out.volume > 0 ? out.totalKWh / out.volume : 0;
    out.seasonalCop = out.compressorKWh > 0 ? out.heatKWh / out.compressorKWh : 0;
    out.defined = out.problems.empty();
    return out;
}

}  // namespace coldroom
