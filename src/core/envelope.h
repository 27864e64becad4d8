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

struct EnvelopeResult {
    std::array<LoadValue, kSurfaceCount> surfaces;  // whole watts (Int of the gain)
    LoadValue wallTotal;  // north + west + south + east
    LoadValue total;      // walls + ceiling + floor
};

EnvelopeResult computeEnvelope(const EnvelopeInputs& in);

// Floor on the ground: areas of the four 2 m zones (I to IV), m². Only the shorter side
// decides how many zones exist.
std::array<double, 4> FloorZoneAreas(double length, double width);

// Q = dT·area / (0.001·ΣR + 1/alphaOut + 1/alphaIn), R in mm·m·K/W; single-precision result.
float SurfaceLoss(float dT, double alphaOut, double alphaIn, float area, const std::array<double, 3>& R);

}  // namespace coldroom
