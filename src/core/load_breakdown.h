// Every load component of one recalculation, as the results show it, and how the total and
// the capacity are formed from the components.
#pragma once

#include <array>
#include <string>

#include "core/envelope.h"
#include "core/load_value.h"

namespace coldroom {

struct LoadBreakdown {
    std::array<LoadValue, kSurfaceCount> surfaces;  // whole watts, north to floor
    LoadValue envelope;     // the six surfaces together
    LoadValue product;      // respiration included
    LoadValue respiration;
    LoadValue packaging;
    LoadValue operation;    // door and fans included
    LoadValue door;
    LoadValue fans;         // the heat the air coolers' fans give off over the cycle
    LoadValue total;
    LoadValue capacity;     // the refrigerating capacity the plant must deliver
    LoadValue fanPower;     // the fans' power: entered, or chosen from the capacity
    // Components computed by a function of their own (model/component_functions.h), by LoadId.
    std::array<LoadValue, 32> own{};
    std::string problem;    // why the total or the capacity is undefined; "" when both are defined
};

// The text a result field shows for a value: general number text, or the dash.
std::string LoadText(const LoadValue& value);

// A number as it reads back from its general text (15 significant digits). The totals are
// formed from what the results show, not from the unrounded values behind them.
double AsShown(double watts);

struct TotalsInput {
    double cycle = 100;      // %, the share of time the plant runs
    bool autoFans = true;    // the fans' power follows from the capacity
    double fanShare = 0;     // automatic fans: their power per watt of capacity
    double fanPower = 0;     // manual fans: their power as entered, W
};

// How the total and the capacity were formed.
struct TotalsTrace {
    double sum = 0;            // W: envelope, product, packaging and operation as shown (fans' heat only if entered)
    double cycle = 0;          // %
    double firstCapacity = 0;  // W: the capacity from that sum, before automatic fans
    bool autoFans = false;
    double fanShare = 0;       // automatic fans: their power per watt of capacity
    double fanPower = 0;       // W, before the whole number
    double fanHeat = 0;        // W over the cycle
};

// Forms total, capacity and the fans from the components in `b` (the operation as just
// computed, the fans' heat in it only if entered). Automatic fans add their heat once, to the
// operation shown and to the total, and the capacity follows.
void FormTotals(LoadBreakdown& b, const TotalsInput& in, TotalsTrace* trace = nullptr);

}  // namespace coldroom
