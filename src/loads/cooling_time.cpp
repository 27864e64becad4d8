#include <cmath>

#include "loads/loads.h"

namespace coldroom {
namespace {

// Any step that would divide by zero, take the logarithm of a non-positive ratio or leave
// the finite numbers ends the estimate as a calculation error. So does a negative stage
// time: it comes from an end temperature the air cannot reach, never from a real product.
struct ArithmeticFault {};

double checked(double x) {
    if (!std::isfinite(x)) throw ArithmeticFault{};
    return x;
}

double notNegative(double seconds) {
    if (!(checked(seconds) >= 0)) throw ArithmeticFault{};
    return seconds;
}

double divide(double a, double b) {
    if (b == 0) throw ArithmeticFault{};
    return checked(a / b);
}

double log10Of(double ratio) {
    if (!(ratio > 0)) throw ArithmeticFault{};
    return checked(std::log10(ratio));
}

}  // namespace

CoolingTimeResult computeCoolingTime(const CoolingTimeInputs& in) {
    CoolingTimeResult res;
    try {
        const double v = in.velocity;
        // Forced air over the first four tasks' products follows the linear rule.
        const double alpha = in.taskPosition < 4 ? checked(4.9 * v + 11) : checked(8.5 * std::pow(v, 0.7));

        res.alpha = alpha;

        const double tIn = in.tIn, tEnd = in.tEnd, ta = in.tAir, tcr = in.tCryo;
        if (tEnd == tIn) {
            res.status = CoolingTimeResult::Status::SameTemperature;
            return res;
        }

        const double c = 1000 * (4.2 * in.water + in.cs * (1 - in.water));
        const double R = in.sizeCm * 0.01 / 2;
        const double K = checked(in.shape * R * R * in.density * c);
        res.specificHeat = c;
        res.halfSize = R;
        res.capacityTerm = K;

        // Time of one stage, s, for conductivity lambda and temperature ratio q.
        auto stage = [&](double lambda, double q) {
            const double biot = divide(2.3 * lambda, alpha * R);
            return notNegative(divide(K, lambda) * (0.12 + (0.8 + biot) * log10Of(q)));
        };

        double t1 = 0, t2 = 0, t3 = 0;
        using Path = CoolingTimeResult::Path;
        if (tIn > tcr && tEnd >= tcr) {
            res.path = Path::CoolingOnly;
            res.coolingRatio = divide(tIn - ta, tEnd - ta + 0.1);
            t1 = stage(in.lambda, res.coolingRatio);
        } else if (tIn < tcr && tEnd <= tcr) {
            res.path = Path::FrozenOnly;
            res.afterFreezingRatio = divide(tIn - ta, tEnd - ta + 0.1);
            t3 = stage(in.lambdaFrozen, res.afterFreezingRatio);
        } else {
            res.path = Path::ThroughFreezing;
            res.coolingRatio = divide(tIn - ta, tcr - ta);
            t1 = stage(in.lambda, res.coolingRatio);
            res.afterFreezingRatio = divide(tcr - ta, tEnd - ta + 0.1);
            t3 = stage(in.lambdaFrozen, res.afterFreezingRatio);
            if (ta < tcr) {
                // Plank's plate freezing time, scaled by the shape; 1000 turns kJ/kg into J/kg.
                const double lead = divide(1000 * in.shape * in.density * in.latent * R, tcr - ta);
                t2 = notNegative(lead * (divide(R, 2 * in.lambdaFrozen) + divide(1, alpha)));
            }
        }
        const double total = checked((t1 + t3) + t2);

        res.coolingHours = t1 / 3600;
        res.freezingHours = t2 / 3600;
        res.afterFreezingHours = t3 / 3600;
        res.totalHours = total / 3600;
        res.tooShort = res.totalHours > in.requestedHours;
    } catch (const ArithmeticFault&) {
        res = CoolingTimeResult{};
        res.status = CoolingTimeResult::Status::Error;
    }
    return res;
}

}  // namespace coldroom
