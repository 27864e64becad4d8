// Which panel thickness pays: the insulation's first layer of every surface stepped over a
// range, the annual energy and its cost at each thickness, the insulation's cost, the simple
// payback against the rooms as designed and the life-cycle cost over N years at a discount
// rate; the thickness with the lowest life-cycle cost marked.
#pragma once

#include <string>
#include <vector>

#include "model/energy_annual.h"

namespace coldroom {

// Σ 1/(1+r)^n for n = 1…N: what a yearly cost over N years is worth today.
double PresentWorthFactor(int years, double ratePercent);
double LifeCycleCost(double investment, double yearlyCost, int years, double ratePercent);

// The thickness δ (m) that makes the life-cycle cost of a plane wall least: the insulation
// costs c·A·δ, the wall passes A·ΔT/(R0 + δ/λ) for `hours` a year, removed at `cop` and paid
// at `tariff` per kWh; d LCC/dδ = 0 gives (R0 + δ/λ)² = PWF·ΔT·hours·tariff / (1000·cop·λ·c).
double PlaneWallOptimum(double r0, double lambda, double costPerM3, double deltaT, double hours, double cop,
                        double tariff, int years, double ratePercent);

struct ThicknessPoint {
    double mm = 0;
    bool defined = false;
    double insulationM3 = 0, insulationCost = 0;  // m³, ₽
    double annualKWh = 0, energyCost = 0;          // kWh, ₽ a year
    double payback = -1;                           // years against the design; -1: never pays
    double lifeCycleCost = 0;                      // ₽
};

struct InsulationStudy {
    std::string subject;  // "холодильник" or the room's file name
    double designKWh = 0, designInsulationCost = 0;  // the rooms as designed
    std::vector<ThicknessPoint> points;
    int best = -1;  // the point of the lowest life-cycle cost
};

// The thickness study's range when none is given, mm of the insulation's first layer.
inline constexpr double kStudyFromMm = 50, kStudyToMm = 250, kStudyStepMm = 25;

// Reads "FROM:TO:STEP" (mm, either decimal mark): FROM ≥ 0, TO ≥ FROM, STEP > 0, at most 1000
// steps. False with the reason in Russian.
bool ParseThicknessRange(const std::string& text, double& from, double& to, double& step, std::string& why);

// `room`: the index of the room whose panels change, or -1 for every room of the store.
// Rooms not read stay out. At most 1000 points.
InsulationStudy StudyInsulation(const Store& store, const std::vector<StoreRoomData>& rooms, const ReferenceData& data,
                                const CompressorCurves* curves, int room, double fromMm, double toMm, double stepMm);

}  // namespace coldroom
