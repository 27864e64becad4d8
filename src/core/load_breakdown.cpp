#include "core/load_breakdown.h"

#include "core/load_components.h"
#include "core/numtext.h"

namespace coldroom {
namespace {

const char* kNoRunningTime = "Рабочий цикл агрегата равен 0 %: требуемая холодопроизводительность не определена";

double shownWatts(const LoadValue& v) { return v.defined ? AsShown(v.watts) : 0; }

}  // namespace

std::string LoadText(const LoadValue& value) {
    return value.defined ? GeneralText(value.watts) : kUndefinedText;
}

double AsShown(double watts) { return LeadingNumber(GeneralText(watts)); }

void FormTotals(LoadBreakdown& b, const TotalsInput& in, TotalsTrace* trace) {
    const LoadValue E = b.operation;
    // The total is its components as shown; each is whole watts, so their order does not matter.
    const std::vector<LoadId> components = PartsOf(LoadId::Total);
    double T = 0;
    for (LoadId id : components) T += shownWatts(LoadComponentOf(id).value(b));
    const double C = in.cycle;
    TotalsTrace ignored;
    TotalsTrace& t = trace ? *trace : ignored;
    t = {T, C, 0, in.autoFans, in.fanShare, 0, 0};
    if (!in.autoFans) {
        b.fanPower = LoadValue::of(in.fanPower);
        b.fans = LoadValue::of(in.fanPower * C / 100);
        t.fanPower = in.fanPower;
        t.fanHeat = b.fans.watts;
    }

    b.problem.clear();
    for (LoadId id : components) {
        const LoadValue& part = LoadComponentOf(id).value(b);
        if (!part.defined && b.problem.empty()) b.problem = part.problem;
    }
    if (!b.problem.empty()) {
        b.total = b.capacity = LoadValue::undefined(b.problem);
        if (in.autoFans) b.fanPower = b.fans = LoadValue::undefined(b.problem);
        return;
    }

    b.total = LoadValue::of(T);
    if (C == 0) {
        // No running time at all: the plant cannot remove any heat.
        b.problem = kNoRunningTime;
        b.capacity = LoadValue::undefined(b.problem);
        if (in.autoFans) {
            b.fanPower = b.fans = LoadValue::undefined(b.problem);
            b.operation = LoadValue::of(IntFloor(E.watts));
            b.total = LoadValue::of(IntFloor(T));
        }
        return;
    }
    b.capacity = LoadValue::of(IntFloor(AsShown(T) * 100 / C));
    t.firstCapacity = b.capacity.watts;
    if (in.autoFans) {
        const double F = AsShown(b.capacity.watts) * in.fanShare;
        const double fanHeat = F * C / 100;
        t.fanPower = F;
        t.fanHeat = fanHeat;
        b.fanPower = LoadValue::of(IntFloor(F));
        b.fans = LoadValue::of(fanHeat);
        b.operation = LoadValue::of(IntFloor(E.watts + fanHeat));
        b.total = LoadValue::of(IntFloor(T + fanHeat));
        b.capacity = LoadValue::of(IntFloor(AsShown(b.total.watts) * 100 / C));
    }
}

}  // namespace coldroom
