// What a store knows about its refrigerating plant beyond the rooms' own projects: the
// plants (one per evaporating temperature), how they condense and how efficient their
// compressors are, and the prices the annual energy and the insulation study are costed at.
// Every default carries its source in the help page and in data/SOURCES.md.
#pragma once

#include <array>
#include <string>
#include <vector>

namespace coldroom {

// The share of a room's operational gains (lights, people, equipment, lift trucks, the door,
// the air coolers' fans) its level's compressors are sized for: not all of them occur in every
// room at once (50–75 % in the Russian course-design texts; the upper end for a store of few
// rooms). The envelope, product and packaging gains are taken whole.
inline constexpr double kDefaultOperationShare = 75;  // %

// A level is one plant: a name, its evaporating temperature t0 and the operational share its
// compressors are sized for. It serves the rooms whose coils evaporate at or above its t0.
struct PlantLevel {
    std::string name;
    double evaporating = 0;                     // t0, °C
    double share = kDefaultOperationShare;      // %
    bool operator==(const PlantLevel&) const = default;
};

// Russian design texts group compressors by evaporating temperature (about −10…−15 and
// −30…−35 °C). −15 °C takes the rooms down to −5 °C at the coil difference of 10 K;
// −35 °C the frozen-storage rooms down to −25 °C.
inline std::vector<PlantLevel> DefaultPlantLevels() {
    return {{"СТ", -15, kDefaultOperationShare}, {"НТ", -35, kDefaultOperationShare}};
}

enum class CondenserKind { Air, Water };
enum class EfficiencyModel { Carnot, Polynomial };

inline constexpr double kDefaultCoilDifference = 10;       // K, upper end of 7–10 K
inline constexpr int kMaxPlantLevels = 10;
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

// Whether a level's name can be written to the store file and told from its words; `why` in
// Russian when not.
bool ValidLevelName(const std::string& name, std::string& why);

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
