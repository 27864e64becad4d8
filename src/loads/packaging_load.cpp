#include <cmath>

#include "core/numtext.h"
#include "loads/loads.h"

namespace coldroom {

LoadValue computePackagingLoad(const PackagingLoadInputs& in, PackagingTrace* trace) {
    const double mass = kPackagingShare * static_cast<double>(in.dailyMassKg);
    if (trace) trace->massKg = mass;
    // No packaging, or no temperature change: nothing to cool, whatever the time.
    if (!in.packagingSelected || in.tIn == in.tEnd) return LoadValue::of(0);
    const float rTime = in.rTime;
    if (!(rTime > 0)) return LoadValue::undefined(kNoCoolingTime);
    const double q = ((1000 * mass) * in.specificHeat) * (in.tIn - in.tEnd) /
                     (static_cast<double>(rTime) * 3600);
    if (trace) trace->gain = q;
    if (!std::isfinite(q)) return LoadValue::undefined("Теплоприток от тары не удаётся вычислить");
    return LoadValue::of(IntFloor(q));
}

}  // namespace coldroom
