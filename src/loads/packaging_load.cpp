#include <cmath>

#include "core/numtext.h"
#include "loads/loads.h"

namespace coldroom {

namespace {
constexpr double kPackagingShare = 0.2;  // packaging mass per kg of product
}

LoadValue computePackagingLoad(const PackagingLoadInputs& in) {
    // No packaging, or no temperature change: nothing to cool, whatever the time.
    if (!in.packagingSelected || in.tIn == in.tEnd) return LoadValue::of(0);
    const float rTime = in.rTime;
    if (!(rTime > 0)) return LoadValue::undefined(kNoCoolingTime);
    const double mass = kPackagingShare * static_cast<double>(in.dailyMassKg);
    const double q = ((1000 * mass) * in.specificHeat) * (in.tIn - in.tEnd) /
                     (static_cast<double>(rTime) * 3600);
    if (!std::isfinite(q)) return LoadValue::undefined("Теплоприток от тары не удаётся вычислить");
    return LoadValue::of(IntFloor(q));
}

}  // namespace coldroom
