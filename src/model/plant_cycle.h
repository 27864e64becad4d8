// The refrigerating cycle of one plant, reduced to what the annual energy needs: the
// evaporating temperature a room's coil asks for, the condensing temperature the outside air
// gives, the compressor's coefficient of performance and the pipework losses.
#pragma once

#include <array>
#include <optional>
#include <string>
#include <vector>

#include "model/plant_settings.h"

namespace coldroom {

inline constexpr double kKelvin = 273.15;

// The coil temperature difference a room gets when the store sets none: 10 K, the upper end
// of the 7–10 K of the Russian design texts; the larger difference, the lower t0 and the
// larger energy.
double DefaultCoilDifference(double roomCelsius);

// The level a room joins: the warmest whose t0 is at or below the room's air minus its coil
// difference. None when every level is warmer (the room needs a colder plant).
std::optional<int> LevelForRoom(const std::vector<PlantLevel>& levels, double roomCelsius, double coilDifference);
// The coldest level, where a room no level serves is put with a warning.
int ColdestLevel(const std::vector<PlantLevel>& levels);

// The pipework loss coefficient k of Q0 = k·ΣQ: 1.04 at t0 of −10 °C and above, 1.07 at
// −40 °C and below, straight between (direct expansion).
double DefaultPipeworkFactor(double evaporating);
// The plant's k at a level: the one set, else the default for its t0.
double PipeworkFactor(const PlantSettings& plant, double evaporating);

// Condensing temperature at an outside air temperature: air-cooled, the air plus the
// condenser difference, never below the lowest condensing temperature; water-cooled, fixed.
double CondensingTemperature(const PlantSettings& plant, double outside);

// COP of the reversed Carnot cycle between t0 and tk (°C): T0 / (Tk − T0). Undefined (0)
// when tk is not above t0.
double CarnotCop(double evaporating, double condensing);

// The ten-coefficient compressor polynomial of EN 12900 in evaporating (to) and condensing
// (tc) temperature, °C, in this order:
//   X = C1 + C2·to + C3·tc + C4·to² + C5·to·tc + C6·tc² + C7·to³ + C8·tc·to² + C9·to·tc² + C10·tc³
// AHRI 540 writes the same terms in °F; data sets in other orders must be reordered to this
// one before use (compare the terms, not only the numbering).
using Polynomial = std::array<double, 10>;
double EvaluatePolynomial(const Polynomial& c, double evaporating, double condensing);

// A manufacturer's data: the capacity (W) and power (W) polynomials of one compressor.
struct CompressorCurves {
    std::string name;
    Polynomial capacity{}, power{};
};

// Reads a coefficient file a person fills from a data sheet: lines "capacity = C1 … C10" and
// "power = C1 … C10" (blanks or semicolons between, either decimal mark), optional
// "name = …"; # starts a comment. False with the line and the reason in `why`.
bool ParseCompressorCurves(const std::string& text, CompressorCurves& curves, std::string& why);

// The plant's COP at t0 and tk: the Carnot fraction, or capacity over power of the curves.
// 0 when undefined.
double PlantCop(const PlantSettings& plant, const CompressorCurves* curves, double evaporating, double condensing);

}  // namespace coldroom
