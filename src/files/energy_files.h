// The files the plant's settings name: the compressor's coefficient file.
#pragma once

#include <string>

#include "model/energy_insulation.h"

namespace coldroom {

// Reads a coefficient file (see ParseCompressorCurves). False with a Russian message naming it.
bool ReadCompressorCurvesFile(const std::string& path, CompressorCurves& curves, std::string& why);

// The store's annual energy with the compressor's file read when the plant asks for it; a file
// that cannot be read is among the result's problems.
StoreEnergy ComputeStoreEnergyFromFiles(const Store& store, const std::vector<StoreRoomData>& rooms, const ReferenceData& data);
// The thickness study likewise (`room` -1: every room); a file that cannot be read leaves it
// without points.
InsulationStudy StudyInsulationFromFiles(const Store& store, const std::vector<StoreRoomData>& rooms,
                                         const ReferenceData& data, int room, double fromMm, double toMm, double stepMm);

}  // namespace coldroom
