#include "core/envelope.h"

#include <algorithm>
#include <cmath>

#include "core/numtext.h"

namespace coldroom {
namespace {

const char* const kSurfaceNames[kSurfaceCount] = {
    "Стена «Север»", "Стена «Юг»", "Стена «Восток»", "Стена «Запад»", "Потолок", "Пол",
};

constexpr double kOuterAlpha = 23.3;        // outer wall or roof; also the solar divisor
constexpr float kInnerWallAlpha = 8.1f;     // kept in single precision, as the old tables had it
constexpr double kInnerCeilingAlpha = 5.8;  // slab under another room
constexpr double kFloorAboveRoomAlpha = 7;
constexpr double kSolarFactor = 0.75;
constexpr double kEastIntensity = 465, kWestIntensity = 558, kNorthIntensity = 150,
                 kRoofIntensity = 640;
constexpr double kZoneK[4] = {0.47, 0.23, 0.12, 0.07};  // W/(m²·K), zones I to IV
constexpr double kFrozenGroundLimit = -2;
constexpr double kHeatingFactor = 15.0 / 33.0;

double southIntensity(double latitude) {
    if (latitude <= 45) return 279;
    if (latitude <= 57) return 384;
    return 465;
}

// Layer resistances (thickness in mm / conductivity). A layer of zero thickness is simply
// not there, whatever material its list still shows.
struct Layers {
    std::array<double, 3> R{};
    std::string problem;
};

Layers readLayers(const SurfaceInput& s, int surface) {
    Layers out;
    for (int k = 0; k < 3; ++k) {
        const LayerInput& layer = s.layers[k];
        const std::string where =
            std::string(kSurfaceNames[surface]) + ", слой " + std::to_string(k + 1) + ": ";
        double mm = 0;
        if (!StrictNumber(layer.thicknessText, mm)) {
            out.problem = where + "толщина «" + layer.thicknessText + "» не является числом";
            return out;
        }
        if (mm == 0) continue;
        if (!(layer.conductivity > 0)) {
            out.problem = where + "теплопроводность материала должна быть больше 0";
            return out;
        }
        out.R[k] = mm / layer.conductivity;
    }
    return out;
}

LoadValue whole(double q, int surface) {
    if (!std::isfinite(q))
        return LoadValue::undefined(std::string(kSurfaceNames[surface]) +
                                    ": теплоприток не удаётся вычислить (проверьте размеры и слои)");
    return LoadValue::of(IntFloor(q));
}

}  // namespace

float SurfaceLoss(float dT, double alphaOut, double alphaIn, float area, const std::array<double, 3>& R) {
    const double sumR = R[0] + R[1] + R[2];
    const double q = static_cast<double>(dT) * static_cast<double>(area) /
                     (0.001 * sumR + 1 / alphaOut + 1 / alphaIn);
    return static_cast<float>(q);
}

std::array<double, 4> FloorZoneAreas(double length, double width) {
    const double a = std::max(length, width), b = std::min(length, width);
    std::array<double, 4> A{a * b, 0, 0, 0};
    if (b > 4) {
        A[0] = 2 * (2 * a + 2 * (b - 4));
        A[1] = a * b - A[0];
    }
    if (b > 8) {
        A[1] = 2 * (2 * (a - 4) + 2 * (b - 8));
        A[2] = a * b - A[0] - A[1];
    }
    if (b > 12) {
        A[2] = 2 * (2 * (a - 8) + 2 * (b - 12));
        A[3] = a * b - A[0] - A[1] - A[2];
    }
    return A;
}

EnvelopeResult computeEnvelope(const EnvelopeInputs& in) {
    EnvelopeResult res;
    const double v = in.velocity;
    const double alphaIn = -0.03 * v * v + 3.95 * v + 5.83;

    // Outer coefficient and solar excess temperature of the five sun-facing surfaces.
    double alphaOut[kSurfaceCount] = {};
    double solarDt[kSurfaceCount] = {};
    const double intensity[kSurfaceCount] = {kNorthIntensity, southIntensity(in.latitude),
                                             kEastIntensity,  kWestIntensity,
                                             kRoofIntensity,  0};
    for (int s : {kSouth, kEast, kWest, kNorth, kCeiling}) {
        const SurfaceInput& surf = in.surfaces[s];
        if (surf.outer) {
            alphaOut[s] = kOuterAlpha;
            solarDt[s] = surf.absorption * intensity[s] * kSolarFactor / kOuterAlpha;
        } else {
            alphaOut[s] = s == kCeiling ? kInnerCeilingAlpha : kInnerWallAlpha;
        }
    }
    const float northAlpha = static_cast<float>(alphaOut[kNorth]);
    alphaOut[kNorth] = northAlpha;

    auto slab = [&](int s, double area) {
        const Layers layers = readLayers(in.surfaces[s], s);
        if (!layers.problem.empty()) return LoadValue::undefined(layers.problem);
        const float dT = static_cast<float>((in.surfaces[s].sideTemperature + solarDt[s]) - in.tempIn);
        const float a = static_cast<float>(area);
        return whole(SurfaceLoss(dT, alphaOut[s], alphaIn, a, layers.R), s);
    };

    res.surfaces[kWest] = slab(kWest, in.width * in.height);
    res.surfaces[kEast] = slab(kEast, in.width * in.height);
    res.surfaces[kSouth] = slab(kSouth, in.length * in.height);
    res.surfaces[kNorth] = slab(kNorth, in.length * in.height);
    res.surfaces[kCeiling] = slab(kCeiling, in.length * in.width);

    const Layers floorLayers = readLayers(in.surfaces[kFloor], kFloor);
    if (!floorLayers.problem.empty()) {
        res.surfaces[kFloor] = LoadValue::undefined(floorLayers.problem);
    } else if (in.floorAboveRoom) {
        const float dT = static_cast<float>(in.surfaces[kFloor].sideTemperature - in.tempIn);
        const float area = static_cast<float>(in.length * in.width);
        res.surfaces[kFloor] =
            whole(SurfaceLoss(dT, kFloorAboveRoomAlpha, alphaIn, area, floorLayers.R), kFloor);
    } else {
        const double S = floorLayers.R[0] + floorLayers.R[1] + floorLayers.R[2];
        const std::array<double, 4> A = FloorZoneAreas(in.length, in.width);
        double G = 0;
        for (int z = 0; z < 4; ++z) G += A[z] * (kZoneK[z] / (1 + kZoneK[z] * 0.001 * S));
        // The ground under the room sits near the mean of the air around it.
        const float tg = static_cast<float>(
            0.25 * (in.surfaces[kWest].sideTemperature + in.surfaces[kEast].sideTemperature +
                    in.surfaces[kNorth].sideTemperature + in.surfaces[kSouth].sideTemperature));
        const double ti = in.tempIn;
        double q;
        if (ti >= kFrozenGroundLimit)
            q = G * (tg - ti);
        else if (in.floorHeated)
            q = G * (tg + 2) + (-2 - ti) * kHeatingFactor * in.length * in.width;
        else
            q = G * (tg + 2 + std::sqrt(-2 - ti));
        res.surfaces[kFloor] = whole(q, kFloor);
    }

    // Totals add the whole numbers shown, so they agree with the six figures on screen.
    auto add = [](LoadValue& sum, const LoadValue& part) {
        if (!sum.defined) return;
        if (!part.defined) sum = LoadValue::undefined(part.problem);
        else sum.watts += part.watts;
    };
    res.wallTotal = LoadValue::of(0);
    for (int s : {kNorth, kWest, kSouth, kEast}) add(res.wallTotal, res.surfaces[s]);
    res.total = res.wallTotal;
    add(res.total, res.surfaces[kCeiling]);
    add(res.total, res.surfaces[kFloor]);
    return res;
}

}  // namespace coldroom
