// The load components besides the envelope: product, packaging, respiration, operation,
// and the product's cooling and freezing time. Pure functions of typed inputs.
#pragma once

#include <string>
#include <string_view>

#include "core/load_value.h"
#include "core/numtext.h"

namespace coldroom {

// Why a load that spreads over the cooling time cannot be computed without one.
inline constexpr const char* kNoCoolingTime = "Время охлаждения должно быть больше 0";

// ---- Product and packaging ------------------------------------------------------------

// How many entries of a product's temperature and enthalpy lists are read.
inline constexpr int kEnthalpyTableCapacity = 41;

struct ProductLoadInputs {
    double tIn = 0, tEnd = 0;       // product start and end temperature, °C
    float dailyMassKg = 0;          // Oborot_Kg
    double requestedHours = 0;      // value of Real_time_txt
    bool respiration = false;       // Cheese
    double volume = 0;              // room volume, m³
    std::string_view normaText;         // storage norm column as stored (normalised before reading)
    std::string_view temperaturesText;  // the product's temperature list
    std::string_view enthalpyText;      // the product's enthalpy list
    std::string_view productName;       // for messages
    // The two lists read already (they are read once per table load); null: read the texts.
    const NumberList* temperatures = nullptr;
    const NumberList* enthalpies = nullptr;
};

inline constexpr double kRespirationPerKg = 244;  // J/(kg·h) of the daily mass: over 3600 s it gives watts
inline constexpr double kPackagingShare = 0.2;    // packaging mass per kg of product

// The interval of the enthalpy table a temperature was read in.
struct EnthalpyReading {
    bool found = false;
    double t0 = 0, t1 = 0;  // °C, the table's entries around the temperature
    double h0 = 0, h1 = 0;  // kJ/kg, their enthalpies
    double h = 0;           // kJ/kg at the temperature, by linear interpolation
};

struct ProductTrace {
    double tIn = 0, tEnd = 0;   // °C
    double massKg = 0;          // daily mass
    double requestedHours = 0;
    int tablePoints = 0;        // entries of the enthalpy table used
    EnthalpyReading start, end;
    double enthalpyDifference = 0;  // kJ/kg
    double gain = 0;            // W before the whole number, respiration not included
    bool respirationCounted = false;
    double respiration = 0;     // W before the whole number
    double norm = 0;            // t/m³
    double volume = 0;          // m³
};

struct ProductLoadResult {
    LoadValue load;           // whole watts, respiration included
    double storageCapacity = 0;  // Norma_lbl, t
    double respiration = 0;      // BreathLoss_txt, whole watts
    std::string warning;         // a table inconsistency worth telling the person, or ""
    ProductTrace trace;
};

ProductLoadResult computeProductLoad(const ProductLoadInputs& in);

struct PackagingLoadInputs {
    double tIn = 0, tEnd = 0;
    float dailyMassKg = 0;
    bool packagingSelected = true;
    double specificHeat = 0;  // kJ/(kg·K) of the packaging material
    float rTime = 0;          // RTime, h
};

struct PackagingTrace {
    double massKg = 0;  // the packaging's share of the daily product mass
    double gain = 0;    // W before the whole number
};

LoadValue computePackagingLoad(const PackagingLoadInputs& in, PackagingTrace* trace = nullptr);

// ---- Operational gains ----------------------------------------------------------------

struct OperationalInputs {
    int roomType = 0;          // TypeOfCell_cmb position, -1 for none
    double tempIn = 0;         // room air, °C
    double length = 0, width = 0;
    double peopleHours = 0;    // TimePeople_txt
    double people = 0;         // NofPeople_txt
    double lifterKWh = 0;      // Lifter_txt
    double equipmentKWh = 0;   // Electro_txt
    double fanPower = 0;       // ElectroEva_txt, W
    bool fansManual = false;   // ManualEva_opt
    double cycle = 0;          // Cycle_txt, %
    int curtain = 0;           // TypeOfCurtain_cmb position, -1 for none
    double tempOut = 0, humidOut = 0, humidIn = 0;
    double doorHours = 0, doorHeight = 0, doorWidth = 0;
    bool doorStandard = true, doorSpecial = false;
    float rTime = 0;           // RTime, h
    float illumStore = 0, illumTechno = 0, attStrip = 0, attAir = 0;
};

// Each term in watts as the sum takes it (single precision), and what it was formed from.
struct OperationalTrace {
    double floorArea = 0;      // m²
    bool litAsStore = true;    // lit by the storage rooms' norm, else by the work rooms'
    float illumination = 0;    // W/m²
    float light = 0, lifts = 0, people = 0, equipment = 0, fans = 0, door = 0;
    float perPerson = 0;       // W per person at the room temperature
    // Doors under standard conditions: the gain per m² of floor.
    double doorRate = 0;
    // Doors under special conditions: the air exchanged and the states of both airs.
    float curtainFactor = 0;
    float perCycle = 0;        // 60 / cycle length
    double roomEnthalpy = 0, outsideEnthalpy = 0;  // kJ/kg
    double roomDensity = 0, outsideDensity = 0;    // kg/m³
    // The outside air is not warmer than the room's: the open door brings no heat.
    bool outsideNotWarmer = false;
    // The outside air is below 0 °C: its enthalpy from its moisture content over ice, not from the
    // fitted relation, which holds above freezing only.
    bool outsideBelowFreezing = false;
    float sum = 0;
};

// What the person is told when the open door brings no heat.
inline constexpr const char* kColdOutsideDoorNotice =
    "Наружный воздух у двери не теплее воздуха камеры: теплоприток через дверь принят равным 0";

struct OperationalResult {
    LoadValue total;  // whole watts
    LoadValue door;   // whole watts, for Door_Loss_txt
    OperationalTrace trace;
};

OperationalResult computeOperationalLoad(const OperationalInputs& in);

// ---- Cooling and freezing time --------------------------------------------------------

struct CoolingTimeInputs {
    double tIn = 0, tEnd = 0;  // from TempIn_lbl, TempEnd_lbl
    float tAir = 0;            // TempInCell in single precision
    double velocity = 0;       // Velocity_txt
    double sizeCm = 0;         // Dimens_txt
    int taskPosition = 0;      // TaskSelected_ind
    double requestedHours = 0; // value of Real_time_txt
    double cs = 0, water = 0, lambda = 0, lambdaFrozen = 0, shape = 0, density = 0, tCryo = 0, latent = 0;
};

struct CoolingTimeResult {
    enum class Status { Computed, SameTemperature, Error } status = Status::Computed;
    // Which stages the product goes through.
    enum class Path { CoolingOnly, FrozenOnly, ThroughFreezing } path = Path::CoolingOnly;
    double coolingHours = 0, freezingHours = 0, afterFreezingHours = 0, totalHours = 0;  // unrounded
    bool tooShort = false;  // the estimate exceeds the requested time: ask the person
    double alpha = 0;       // surface heat transfer coefficient used, W/(m²·K)
    // The terms of the stages (computed estimates only).
    double specificHeat = 0;  // J/(kg·K) of the unfrozen product
    double halfSize = 0;      // m
    double capacityTerm = 0;  // shape × R² × density × c
    double coolingRatio = 0, afterFreezingRatio = 0;  // the temperature ratios of stages 1 and 3
};

CoolingTimeResult computeCoolingTime(const CoolingTimeInputs& in);

// What the person is told when the estimate hits an arithmetic fault (Status::Error).
inline constexpr const char* kCoolingTimeErrorText = "Ошибка расчета времени охлаждения/замораживания! ";

}  // namespace coldroom
