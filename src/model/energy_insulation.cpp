#include "model/energy_insulation.h"

#include <cmath>
#include <sstream>

#include "core/numtext.h"

namespace coldroom {
namespace {

// The insulation's volume: every surface's area times the first layer's thickness.
double insulationVolume(const RoomProject& p, const RoomResult& r) {
    double m3 = 0;
    for (int s = 0; s < kSurfaceCount; ++s)
        m3 += r.trace.envelope.surfaces[static_cast<size_t>(s)].area * LeadingNumber(p.thickness[static_cast<size_t>(s)][0]) / 1000;
    return m3;
}

}  // namespace

double PresentWorthFactor(int years, double ratePercent) {
    if (years <= 0) return 0;
    const double r = ratePercent / 100;
    if (r == 0) return years;
    return (1 - std::pow(1 + r, -years)) / r;
}

double LifeCycleCost(double investment, double yearlyCost, int years, double ratePercent) {
    return investment + yearlyCost * PresentWorthFactor(years, ratePercent);
}

double PlaneWallOptimum(double r0, double lambda, double cost, double dT, double hours, double cop, double tariff,
                        int years, double rate) {
    const double k = PresentWorthFactor(years, rate) * dT * hours * tariff / (1000 * cop * lambda * cost);
    return lambda * (std::sqrt(k) - r0);
}

bool ParseThicknessRange(const std::string& text, double& from, double& to, double& step, std::string& why) {
    std::string plain = text;
    for (char& c : plain)
        if (c == ',') c = '.';
    std::istringstream in(plain);
    std::string parts[3];
    double values[3] = {};
    for (int k = 0; k < 3; ++k)
        if (!std::getline(in, parts[k], ':') || !StrictNumber(parts[k], values[k])) {
            why = "нужно ОТ:ДО:ШАГ в миллиметрах, например 50:250:25";
            return false;
        }
    if (std::string rest; std::getline(in, rest)) {
        why = "нужно ОТ:ДО:ШАГ в миллиметрах, например 50:250:25";
        return false;
    }
    if (!(values[0] >= 0) || !(values[1] >= values[0]) || !(values[2] > 0) || (values[1] - values[0]) / values[2] > 1000) {
        why = "нужно 0 ≤ ОТ ≤ ДО, ШАГ > 0 и не больше 1000 шагов";
        return false;
    }
    from = values[0], to = values[1], step = values[2];
    return true;
}

InsulationStudy StudyInsulation(const Store& store, const std::vector<StoreRoomData>& rooms, const ReferenceData& data,
                                const CompressorCurves* curves, int room, double from, double to, double step) {
    InsulationStudy study;
    study.subject = room >= 0 && room < static_cast<int>(store.rooms.size()) ? RoomFileName(store.rooms[static_cast<size_t>(room)].path) +
                                                                                    CountSuffix(store.rooms[static_cast<size_t>(room)].count)
                                                                              : std::string("холодильник");
    const auto changes = [&](size_t i) { return (room < 0 || static_cast<int>(i) == room) && i < rooms.size() && rooms[i].read; };
    const auto energyOf = [&](const StoreEnergy& e) {
        return room >= 0 && room < static_cast<int>(e.rooms.size()) ? e.rooms[static_cast<size_t>(room)].annualKWh : e.totalKWh;
    };
    const auto countOf = [&](size_t i) { return i < store.rooms.size() ? store.rooms[i].count : 1; };
    const StoreEnergy design = ComputeStoreEnergy(store, rooms, data, curves);
    study.designKWh = energyOf(design);
    for (size_t i = 0; i < rooms.size(); ++i)
        if (changes(i))
            study.designInsulationCost += insulationVolume(rooms[i].project, rooms[i].result) * countOf(i) * store.plant.insulationCost;
    const double designCost = study.designKWh * store.plant.tariff;

    if (!(step > 0) || !(to >= from) || (to - from) / step > 1000) return study;
    std::vector<StoreRoomData> varied = rooms;
    for (int n = 0; from + n * step <= to + step * 1e-9; ++n) {
        ThicknessPoint& point = study.points.emplace_back();
        point.mm = from + n * step;
        const std::string text = GeneralText(point.mm);
        for (size_t i = 0; i < rooms.size(); ++i) {
            if (!changes(i)) continue;
            RoomProject& p = varied[i].project;
            for (int s = 0; s < kSurfaceCount; ++s) p.thickness[static_cast<size_t>(s)][0] = text;
            varied[i].result = ComputeRoom(p, data);
            point.insulationM3 += insulationVolume(p, varied[i].result) * countOf(i);
        }
        const StoreEnergy e = ComputeStoreEnergy(store, varied, data, curves);
        if (!e.defined) continue;
        point.defined = true;
        point.insulationCost = point.insulationM3 * store.plant.insulationCost;
        point.annualKWh = energyOf(e);
        point.energyCost = point.annualKWh * store.plant.tariff;
        const double saving = designCost - point.energyCost, extra = point.insulationCost - study.designInsulationCost;
        if (saving > 0 && extra > 0) point.payback = extra / saving;
        else if (saving >= 0 && extra <= 0) point.payback = 0;
        point.lifeCycleCost = LifeCycleCost(point.insulationCost, point.energyCost, store.plant.years, store.plant.discountRate);
        if (study.best < 0 || point.lifeCycleCost < study.points[static_cast<size_t>(study.best)].lifeCycleCost)
            study.best = static_cast<int>(study.points.size()) - 1;
    }
    return study;
}

}  // namespace coldroom
