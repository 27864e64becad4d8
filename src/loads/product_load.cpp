#include <algorithm>
#include <cmath>
#include <optional>
#include <string>
#include <vector>

#include "core/numtext.h"
#include "loads/loads.h"

namespace coldroom {
namespace {


constexpr double kRespirationPerKg = 244;  // per kg of daily mass; / 3600 gives watts

// Enthalpy at t by linear interpolation in the table. A later interval that also holds t
// wins, so a temperature equal to an inner entry takes exactly that entry's enthalpy.
// A zero-width interval defines nothing (it would divide by zero).
std::optional<double> enthalpyAt(double t, const std::vector<double>& T, const std::vector<double>& E,
                                 int n) {
    std::optional<double> h;
    for (int i = 0; i < n; ++i) {
        if (T[i] <= t && t <= T[i + 1] && T[i + 1] != T[i])
            h = E[i] + (E[i + 1] - E[i]) * (t - T[i]) / (T[i + 1] - T[i]);
    }
    return h;
}

std::string productLabel(const ProductLoadInputs& in) {
    return "продукта «" + std::string(in.productName) + "»";
}

}  // namespace

ProductLoadResult computeProductLoad(const ProductLoadInputs& in) {
    ProductLoadResult res;
    NumberList readTemps, readEnth;
    const NumberList& temps =
        in.temperatures ? *in.temperatures : (readTemps = ParseNumberList(in.temperaturesText, kEnthalpyTableCapacity));
    const NumberList& enth =
        in.enthalpies ? *in.enthalpies : (readEnth = ParseNumberList(in.enthalpyText, kEnthalpyTableCapacity));
    const int tLast = temps.lastIndex(), eLast = enth.lastIndex();
    const int n = std::min(tLast, eLast);
    if (tLast != eLast)
        res.warning = "Таблица энтальпий " + productLabel(in) + " несогласована: " +
                      std::to_string(tLast + 1) + " температур и " + std::to_string(eLast + 1) +
                      " значений энтальпии; используются первые " + std::to_string(n + 1) + ".";
    else if (temps.truncated || enth.truncated)
        res.warning = "Таблица энтальпий " + productLabel(in) + " длиннее " +
                      std::to_string(kEnthalpyTableCapacity) + " значений; лишние значения не учитываются.";

    res.storageCapacity = in.volume * LeadingNumber(NormalizeNumberText(in.normaText));

    const double M = in.dailyMassKg;
    const double r = in.respiration ? M * kRespirationPerKg / 3600 : 0;
    res.respiration = IntFloor(r);

    if (in.tEnd == in.tIn) {  // nothing to cool, and nothing stored to breathe on top of it
        res.load = LoadValue::of(0);
        return res;
    }
    if (!(in.requestedHours > 0)) {
        res.load = LoadValue::undefined(kNoCoolingTime);
        return res;
    }
    const auto hIn = enthalpyAt(in.tIn, temps.values, enth.values, n);
    const auto hEnd = enthalpyAt(in.tEnd, temps.values, enth.values, n);
    if (!hIn || !hEnd) {
        const double t = hIn ? in.tEnd : in.tIn;
        res.load = LoadValue::undefined("Температура " + GeneralText(t) +
                                        " °С вне таблицы энтальпий " + productLabel(in));
        return res;
    }
    const double q = (1000 * M) * (*hIn - *hEnd) / (in.requestedHours * 3600);
    if (!std::isfinite(q)) {
        res.load = LoadValue::undefined("Теплоприток от " + productLabel(in) + " не удаётся вычислить");
        return res;
    }
    res.load = LoadValue::of(IntFloor(q) + res.respiration);
    return res;
}

}  // namespace coldroom
