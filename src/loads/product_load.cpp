#include <algorithm>
#include <cmath>
#include <string>
#include <vector>

#include "core/numtext.h"
#include "loads/loads.h"

namespace coldroom {
namespace {

// Enthalpy at t by linear interpolation in the table. A later interval that also holds t
// wins, so a temperature equal to an inner entry takes exactly that entry's enthalpy.
// A zero-width interval defines nothing (it would divide by zero).
EnthalpyReading enthalpyAt(double t, const std::vector<double>& T, const std::vector<double>& E, int n) {
    EnthalpyReading r;
    for (int i = 0; i < n; ++i) {
        if (T[i] <= t && t <= T[i + 1] && T[i + 1] != T[i])
            r = {true, T[i], T[i + 1], E[i], E[i + 1], E[i] + (E[i + 1] - E[i]) * (t - T[i]) / (T[i + 1] - T[i])};
    }
    return r;
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

    ProductTrace& trace = res.trace;
    trace.norm = LeadingNumber(NormalizeNumberText(in.normaText));
    trace.volume = in.volume;
    res.storageCapacity = in.volume * trace.norm;

    const double M = in.dailyMassKg;
    const double r = in.respiration ? M * kRespirationPerKg / 3600 : 0;
    res.respiration = IntFloor(r);
    trace.tIn = in.tIn;
    trace.tEnd = in.tEnd;
    trace.massKg = M;
    trace.requestedHours = in.requestedHours;
    trace.tablePoints = n + 1;
    trace.respirationCounted = in.respiration;
    trace.respiration = r;

    if (in.tEnd == in.tIn) {  // nothing to cool, and nothing stored to breathe on top of it
        res.load = LoadValue::of(0);
        return res;
    }
    if (!(in.requestedHours > 0)) {
        res.load = LoadValue::undefined(kNoCoolingTime);
        return res;
    }
    trace.start = enthalpyAt(in.tIn, temps.values, enth.values, n);
    trace.end = enthalpyAt(in.tEnd, temps.values, enth.values, n);
    if (!trace.start.found || !trace.end.found) {
        const double t = trace.start.found ? in.tEnd : in.tIn;
        res.load = LoadValue::undefined("Температура " + GeneralText(t) +
                                        " °С вне таблицы энтальпий " + productLabel(in));
        return res;
    }
    trace.enthalpyDifference = trace.start.h - trace.end.h;
    const double q = (1000 * M) * trace.enthalpyDifference / (in.requestedHours * 3600);
    trace.gain = q;
    if (!std::isfinite(q)) {
        res.load = LoadValue::undefined("Теплоприток от " + productLabel(in) + " не удаётся вычислить");
        return res;
    }
    res.load = LoadValue::of(IntFloor(q) + res.respiration);
    return res;
}

}  // namespace coldroom
