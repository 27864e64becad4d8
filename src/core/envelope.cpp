#include "core/envelope.h"

#include <algorithm>
#include <cmath>

#include "core/numtext.h"

namespace coldroom {
namespace {

const char* const kSurfaceNames[kSurfaceCount] = {
    "Стена «Север»", "Стена «Юг»", "Стена «Восток»", "Стена «Запад»", "Потолок", "Пол",
};

constexpr double kEastIntensity = 465, kWestIntensity = 558, kNorthIntensity = 150,
                 kRoofIntensity = 640;

// Layer resistances (thickness in mm / conductivity). A layer of zero thickness is simply
// not there, whatever material its list still shows.
struct Layers {
    std::array<double, 3> R{};
    std::string problem;
};

Layers readLayers(const SurfaceInput& s, int surface, SurfaceTrace& trace) {
    Layers out;
    for (int k = 0; k < 3; ++k) {
        const LayerInput& layer = s.layers[k];
        trace.layers[k].conductivity = layer.conductivity;
        const std::string where =
            std::string(kSurfaceNames[surface]) + ", слой " + std::to_string(k + 1) + ": ";
        double mm = 0;
        if (!StrictNumber(layer.thicknessText, mm)) {
            out.problem = where + "толщина «" + layer.thicknessText + "» не является числом";
            return out;
        }
        trace.layers[k].thicknessMm = mm;
        if (mm == 0) continue;
        if (!(layer.conductivity > 0)) {
            out.problem = where + "теплопроводность материала должна быть больше 0";
            return out;
        }
        out.R[k] = mm / layer.conductivity;
        trace.layers[k].resistance = 0.001 * out.R[k];
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

double SouthIntensity(double latitude) {
    if (latitude <= 45) return 279;
    if (latitude <= 57) return 384;
    return 465;
}

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
    EnvelopeTrace& trace = res.trace;
    const double v = in.velocity;
    const double alphaIn = -0.03 * v * v + 3.95 * v + 5.83;
    trace.velocity = v;
    trace.alphaIn = alphaIn;
    trace.latitude = in.latitude;

    // Outer coefficient and solar excess temperature of the five sun-facing surfaces.
    double alphaOut[kSurfaceCount] = {};
    double solarDt[kSurfaceCount] = {};
    const double intensity[kSurfaceCount] = {kNorthIntensity, SouthIntensity(in.latitude),
                                             kEastIntensity,  kWestIntensity,
                                             kRoofIntensity,  0};
    for (int s : {kSouth, kEast, kWest, kNorth, kCeiling}) {
        const SurfaceInput& surf = in.surfaces[s];
        if (surf.outer) {
            alphaOut[s] = kOuterAlpha;
            solarDt[s] = surf.absorption * intensity[s] * kSolarFactor / kOuterAlpha;
            trace.surfaces[s].absorption = surf.absorption;
            trace.surfaces[s].intensity = intensity[s];
            trace.surfaces[s].solarExcess = solarDt[s];
        } else {
            alphaOut[s] = s == kCeiling ? kInnerCeilingAlpha : kInnerWallAlpha;
        }
    }
    const float northAlpha = static_cast<float>(alphaOut[kNorth]);
    alphaOut[kNorth] = northAlpha;

    // A surface between two airs: its coefficients, resistance and gain.
    auto between = [&](int s, float dT, double aOut, float area, const Layers& layers) {
        SurfaceTrace& t = trace.surfaces[s];
        t.computed = true;
        t.area = area;
        t.alphaIn = alphaIn;
        t.alphaOut = aOut;
        t.resistance = 0.001 * (layers.R[0] + layers.R[1] + layers.R[2]) + 1 / aOut + 1 / alphaIn;
        t.transmittance = 1 / t.resistance;
        t.difference = dT;
        const float q = SurfaceLoss(dT, aOut, alphaIn, area, layers.R);
        t.gain = q;
        return whole(q, s);
    };
    auto slab = [&](int s, double area) {
        SurfaceTrace& t = trace.surfaces[s];
        t.outside = in.surfaces[s].sideTemperature;
        t.inside = in.tempIn;
        const Layers layers = readLayers(in.surfaces[s], s, t);
        if (!layers.problem.empty()) return LoadValue::undefined(layers.problem);
        const float dT = static_cast<float>((in.surfaces[s].sideTemperature + solarDt[s]) - in.tempIn);
        return between(s, dT, alphaOut[s], static_cast<float>(area), layers);
    };

    res.surfaces[kWest] = slab(kWest, in.width * in.height);
    res.surfaces[kEast] = slab(kEast, in.width * in.height);
    res.surfaces[kSouth] = slab(kSouth, in.length * in.height);
    res.surfaces[kNorth] = slab(kNorth, in.length * in.height);
    res.surfaces[kCeiling] = slab(kCeiling, in.length * in.width);

    SurfaceTrace& floor = trace.surfaces[kFloor];
    FloorTrace& ground = trace.floor;
    floor.inside = in.tempIn;
    floor.outside = in.surfaces[kFloor].sideTemperature;
    const Layers floorLayers = readLayers(in.surfaces[kFloor], kFloor, floor);
    if (!floorLayers.problem.empty()) {
        res.surfaces[kFloor] = LoadValue::undefined(floorLayers.problem);
    } else if (in.floorAboveRoom) {
        const float dT = static_cast<float>(in.surfaces[kFloor].sideTemperature - in.tempIn);
        const float area = static_cast<float>(in.length * in.width);
        res.surfaces[kFloor] = between(kFloor, dT, kFloorAboveRoomAlpha, area, floorLayers);
    } else {
        const double S = floorLayers.R[0] + floorLayers.R[1] + floorLayers.R[2];
        const std::array<double, 4> A = FloorZoneAreas(in.length, in.width);
        double G = 0;
        for (int z = 0; z < 4; ++z) {
            const double k = kFloorZoneK[z] / (1 + kFloorZoneK[z] * 0.001 * S);
            G += A[z] * k;
            ground.zoneTransmittance[z] = k;
        }
        // The ground under the room sits near the mean of the air around it.
        const float tg = static_cast<float>(
            0.25 * (in.surfaces[kWest].sideTemperature + in.surfaces[kEast].sideTemperature +
                    in.surfaces[kNorth].sideTemperature + in.surfaces[kSouth].sideTemperature));
        const double ti = in.tempIn;
        double q;
        if (ti >= kFrozenGroundLimit) {
            q = G * (tg - ti);
        } else if (in.floorHeated) {
            ground.heating = (-2 - ti) * kFloorHeatingFactor * in.length * in.width;
            q = G * (tg + 2) + ground.heating;
        } else {
            ground.frozenExcess = std::sqrt(-2 - ti);
            q = G * (tg + 2 + ground.frozenExcess);
        }
        ground.onGround = true;
        ground.zoneArea = A;
        ground.conductance = G;
        ground.groundTemperature = tg;
        ground.frozenGround = ti < kFrozenGroundLimit;
        ground.heated = in.floorHeated;
        floor.computed = true;
        floor.area = in.length * in.width;
        floor.outside = tg;
        floor.resistance = 0.001 * S;
        floor.gain = q;
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
