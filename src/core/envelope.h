// Heat entering the room through its envelope: four walls, ceiling and floor.
#pragma once

#include <array>
#include <string>

#include "core/load_value.h"

namespace coldroom {

// The surfaces in the order every table of them keeps: inputs, results, controls.
enum Surface { kNorth = 0, kSouth, kEast, kWest, kCeiling, kFloor, kSurfaceCount };

// How each surface's controls are named: "Nord1_D_txt", "Nord_Poteri_txt", ...
inline constexpr std::array<const char*, kSurfaceCount> kSurfacePrefixes = {"Nord", "South", "East",
                                                                            "West", "Ceil", "Floor"};

struct LayerInput {
    std::string thicknessText = "0";  // millimetres, read strictly (StrictNumber)
    double conductivity = 0;    // W/(m·K) of the chosen material
};

struct SurfaceInput {
    std::array<LayerInput, 3> layers;
    bool outer = false;       // outer wall or roof (sun and 23.3 outside); unused for the floor
    double absorption = 0;    // solar absorption of the outer coating; unused for the floor
    double sideTemperature = 0;  // °C beyond the surface (floor: used only above a room)
};

struct EnvelopeInputs {
    double velocity = 0;   // air velocity in the room, m/s
    double latitude = 0;   // the location's Longitude column, degrees north
    std::array<SurfaceInput, kSurfaceCount> surfaces;
    double tempIn = 0;
    double length = 0, width = 0, height = 0;
    bool floorAboveRoom = true;  // FloorAir_Opt; otherwise on the ground
    bool floorHeated = false;    // FloorHeat_Opt
};

// The constants of the method, for whoever explains a result.
inline constexpr double kOuterAlpha = 23.3;        // outer wall or roof; also the solar divisor
inline constexpr float kInnerWallAlpha = 8.1f;     // kept in single precision, as the old tables had it
inline constexpr double kInnerCeilingAlpha = 5.8;  // slab under another room
inline constexpr double kFloorAboveRoomAlpha = 7;
inline constexpr double kSolarFactor = 0.75;
inline constexpr double kFloorZoneK[4] = {0.47, 0.23, 0.12, 0.07};  // W/(m²·K), zones I to IV
inline constexpr double kFloorZoneWidth = 2;                        // m
inline constexpr double kFrozenGroundLimit = -2;                    // °C
inline constexpr double kFloorHeatingFactor = 15.0 / 33.0;          // W/(m²·K)

// How a surface's gain was reached: every number the calculation used, in its units.
struct LayerTrace {
    double thicknessMm = 0;
    double conductivity = 0;  // W/(m·K)
    double resistance = 0;    // m²·K/W (0 for a layer of no thickness)
};

struct SurfaceTrace {
    bool computed = false;    // false: a layer could not be read (the value says why)
    double area = 0;          // m², as the calculation holds it (single precision)
    std::array<LayerTrace, 3> layers;
    double alphaIn = 0, alphaOut = 0;  // W/(m²·K); the floor on the ground has neither
    double resistance = 0;    // m²·K/W: the layers, 1/αo and 1/αi
    double transmittance = 0; // W/(m²·K): 1 / resistance
    double outside = 0;       // °C beyond the surface
    double inside = 0;        // °C in the room
    double absorption = 0;    // of the outer coating (outer surfaces)
    double intensity = 0;     // W/m² of sun on that side (outer surfaces)
    double solarExcess = 0;   // K: absorption × intensity × 0.75 / 23.3
    double difference = 0;    // K: outside + solar excess - inside, single precision
    double gain = 0;          // W before the whole number is taken
};

// The floor on the ground, by the zones of 2 m along its edge.
struct FloorTrace {
    bool onGround = false;
    std::array<double, 4> zoneArea{};        // m², zones I to IV
    std::array<double, 4> zoneTransmittance{};  // W/(m²·K): each zone's k with the floor's insulation
    double conductance = 0;   // W/K: Σ area × k'
    double groundTemperature = 0;  // °C: a quarter of the four walls' outside temperatures
    bool frozenGround = false;     // the room below -2 °C
    bool heated = false;
    double frozenExcess = 0;  // K: √(-2 - room) for an unheated floor under a frozen room
    double heating = 0;       // W: (-2 - room) × 15/33 × floor area for a heated one
};

struct EnvelopeTrace {
    double velocity = 0;  // m/s, giving the inner coefficient
    double alphaIn = 0;
    double latitude = 0;
    std::array<SurfaceTrace, kSurfaceCount> surfaces;
    FloorTrace floor;
};

struct EnvelopeResult {
    std::array<LoadValue, kSurfaceCount> surfaces;  // whole watts (Int of the gain)
    LoadValue wallTotal;  // north + west + south + east
    LoadValue total;      // walls + ceiling + floor
    EnvelopeTrace trace;
};

EnvelopeResult computeEnvelope(const EnvelopeInputs& in);

// The south wall's solar intensity, W/m², at a latitude.
double SouthIntensity(double latitude);

// Floor on the ground: areas of the four 2 m zones (I to IV), m². Only the shorter side
// decides how many zones exist.
std::array<double, 4> FloorZoneAreas(double length, double width);

// Q = dT·area / (0.001·ΣR + 1/alphaOut + 1/alphaIn), R in mm·m·K/W; single-precision result.
float SurfaceLoss(float dT, double alphaOut, double alphaIn, float area, const std::array<double, 3>& R);

}  // namespace coldroom
