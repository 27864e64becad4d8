// What a store knows about its refrigerating plant beyond the rooms' own projects: the
// plants (one per evaporating temperature), how they condense and how efficient their
// compressors are, and the prices the annual energy and the insulation study are costed at.
// Every default carries its source in the help page and in data/SOURCES.md.
#pragma once

#include <array>
#include <string>
#include <vector>

namespace coldroom {

// A plant serving the rooms whose coils evaporate at or above its t0.
struct PlantLevel {
    std::string name;
    double evaporating = 0;  // t0, °C
    bool operator==(const PlantLevel&) const = default;
};

// Russian design texts group compressors by evaporating temperature (about −10…−15 and
// −30…−35 °C). −15 °C takes the rooms down to −5 °C at the coil difference of 10 K, as the
// store's grouping always has; −35 °C the frozen-storage rooms down to −25 °C.
std::vector<PlantLevel> DefaultPlantLevels();

enum class CondenserKind { Air, Water };
enum class EfficiencyModel { Carnot, Polynomial };

inline constexpr double kDefaultCoilDifference = 10;       // K, upper end of 7–10 K
inline constexpr double kDefaultCondenserDifference = 10;  // K above the outside air
inline constexpr double kDefaultLowestCondensing = 25;     // °C, head pressure held
inline constexpr double kDefaultWaterCondensing = 30;      // °C, water-cooled
inline constexpr double kDefaultCarnotFraction = 0.45;
inline constexpr double kDefaultTariff = 8;                // ₽/kWh, an example to replace
inline constexpr double kDefaultInsulationCost = 40000;    // ₽/m³, an example to replace
inline constexpr int kDefaultYears = 15;
inline constexpr double kDefaultDiscountRate = 10;         // %

// The refrigerants a person chooses from; the name goes into the note and names the
// polynomial's data.
const std::vector<std::string>& Refrigerants();

struct PlantSettings {
    std::vector<PlantLevel> levels = DefaultPlantLevels();
    double pipework = 0;  // the pipework loss coefficient; 0: by evaporating temperature
    CondenserKind condenser = CondenserKind::Air;
    double condenserDifference = kDefaultCondenserDifference;
    double lowestCondensing = kDefaultLowestCondensing;
    double waterCondensing = kDefaultWaterCondensing;
    std::string refrigerant = "R404A";
    EfficiencyModel efficiency = EfficiencyModel::Carnot;
    double carnotFraction = kDefaultCarnotFraction;
    std::string polynomialFile;  // absolute; read when the polynomial is chosen
    bool fansContinuous = true;  // the air coolers' fans run all hours, not only with the compressor
    std::array<double, 12> productProfile{100, 100, 100, 100, 100, 100, 100, 100, 100, 100, 100, 100};  // %
    std::string town;  // the climate's town; empty: the first room's
    double tariff = kDefaultTariff;
    double insulationCost = kDefaultInsulationCost;
    int years = kDefaultYears;
    double discountRate = kDefaultDiscountRate;
    bool operator==(const PlantSettings&) const = default;
};

}  // namespace coldroom
