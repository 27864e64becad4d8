#include "files/energy_files.h"

#include "io/file_errors.h"
#include "io/read_file.h"

namespace coldroom {

bool ReadCompressorCurvesFile(const std::string& path, CompressorCurves& curves, std::string& why) {
    std::string text, reason;
    if (int err = ReadRegularFile(path, 1 << 16, text)) {
        why = "Не удается прочитать файл коэффициентов «" + path + "»: " + FileErrorReason(err, false);
        return false;
    }
    if (!ParseCompressorCurves(text, curves, reason)) {
        why = "Файл коэффициентов «" + path + "»: " + reason;
        return false;
    }
    return true;
}

StoreEnergy ComputeStoreEnergyFromFiles(const Store& store, const std::vector<StoreRoomData>& rooms, const ReferenceData& data) {
    CompressorCurves curves;
    std::string why;
    const bool polynomial = store.plant.efficiency == EfficiencyModel::Polynomial;
    const bool read = polynomial && ReadCompressorCurvesFile(store.plant.polynomialFile, curves, why);
    StoreEnergy energy = ComputeStoreEnergy(store, rooms, data, read ? &curves : nullptr);
    if (polynomial && !read) energy.problems.insert(energy.problems.begin(), why);
    return energy;
}

InsulationStudy StudyInsulationFromFiles(const Store& store, const std::vector<StoreRoomData>& rooms,
                                         const ReferenceData& data, int room, double from, double to, double step) {
    CompressorCurves curves;
    std::string why;
    const bool polynomial = store.plant.efficiency == EfficiencyModel::Polynomial;
    const bool read = polynomial && ReadCompressorCurvesFile(store.plant.polynomialFile, curves, why);
    return StudyInsulation(store, rooms, data, read ? &curves : nullptr, room, from, to, step);
}

}  // namespace coldroom
