// The annual energy of a store's plants: each room's heat month by month at that month's mean
// outside temperature, each level's condensing temperature and COP for the month, the
// compressors' and the air coolers' fans' electricity, its cost, and the figures a reviewer
// compares: kWh per m³ a year beside the published range, the seasonal COP and the design
// point run all year.
#pragma once

#include <array>
#include <string>
#include <vector>

#include "model/plant_climate.h"
#include "model/plant_cycle.h"
#include "model/reference_data.h"
#include "model/store.h"
#include "model/store_loads.h"

namespace coldroom {

// The specific energy of cold stores the IIR gave (Duiven and Binard 2002, as cited by the
// ICE-E cold store survey, section 1): 30–50 kWh per m³ a year.
inline constexpr double kBenchmarkLow = 30, kBenchmarkHigh = 50;  // kWh/(m³·год)
inline constexpr const char* kBenchmarkSource =
    "МИХ (IIR), Duiven, Binard, 2002 — по обзору холодильников ICE-E (Evans и др.), раздел 1";

struct RoomEnergy {
    bool included = false;  // read, with every load defined
    std::string problem;    // why not
    int level = -1;         // the plant level it joins
    bool chosen = false;    // set by the person, not by its temperature
    bool tooWarm = false;   // its level evaporates above the t0 it needs
    double roomTemperature = 0, coil = 0, wantedEvaporating = 0;  // °C, K, °C
    // The figures below are the entry's: its count of identical rooms together.
    int count = 1;
    double volume = 0;              // m³
    double compressorPart = 0;      // W: Q_км, the room's part of the level's compressor load
    double fanPower = 0;            // W
    std::array<double, 12> heat{};  // W: mean heat to remove each month (never below 0)
    double annualKWh = 0;           // its part of the compressors' energy and its own fans
};

struct MonthEnergy {
    double outside = 0, condensing = 0, cop = 0;  // °C, °C
    double heatKWh = 0, compressorKWh = 0, fanKWh = 0, runHours = 0;
};

struct LevelEnergy {
    PlantLevel level;
    int rooms = 0;
    double pipework = 0;         // k
    double sumParts = 0;         // W: Σ Q_км of its rooms
    double capacity = 0;         // W: Q0 = k · Σ Q_км
    double designCondensing = 0, designCop = 0;
    double power = 0;            // W: Q0 / COP at the design point
    double condenserHeat = 0;    // W: Q0 + power
    std::array<MonthEnergy, 12> months{};
    double heatKWh = 0, compressorKWh = 0, fanKWh = 0, totalKWh = 0;
    double seasonalCop = 0;      // heat removed over the compressors' energy
    double designYearKWh = 0;    // the design power all 8 760 h
    double cost = 0;             // ₽ a year
};

struct StoreEnergy {
    bool defined = false;
    std::vector<std::string> problems;  // what kept a room or the whole out, in Russian
    std::vector<std::string> warnings;  // rooms on a level too warm for them
    std::string town;
    double designOutside = 0;           // °C: the town's design summer temperature
    std::array<double, 12> outside{};   // °C: the month's mean
    std::vector<RoomEnergy> rooms;      // one per room of the store
    std::vector<LevelEnergy> levels;    // one per plant level
    std::array<double, 12> monthKWh{};  // compressors and fans, all levels
    double heatKWh = 0, compressorKWh = 0, fanKWh = 0, totalKWh = 0, cost = 0;
    double volume = 0;          // m³ of the rooms counted
    double specificKWh = 0;     // kWh/(m³·год)
    double seasonalCop = 0;
    double designYearKWh = 0;
};

// The town of the store's climate and its row in the location table: the plant's setting,
// else the first read room's location. -1 when none is known.
int ClimateTownRow(const Store& store, const std::vector<StoreRoomData>& rooms, const ReferenceData& data);

// One room's mean heat in each month: the outside-facing walls and ceiling (outer, or beyond
// them the design outside air) and the door's air at the month's mean, the floor, the
// corridors and the product as designed (the product by the store's monthly profile), the
// operational gains at `sharePercent`.
bool RoomMonthlyHeat(const RoomProject& project, const RoomResult& design, const ReferenceData& data,
                     const std::array<double, 12>& outside, const std::array<double, 12>& productPercent,
                     double sharePercent, std::array<double, 12>& heat, std::string& why);

// `curves`: the compressor's data when the plant is set to the polynomial (null otherwise).
StoreEnergy ComputeStoreEnergy(const Store& store, const std::vector<StoreRoomData>& rooms, const ReferenceData& data,
                               const CompressorCurves* curves);

}  // namespace coldroom
