#include "model/task_derived.h"

#include <algorithm>
#include <cstdint>

#include "core/numtext.h"
#include "refdb/reference_columns.h"

namespace coldroom {
namespace {

// The one product list whose products breathe (ripening cheese).
constexpr const char* kRespirationReference = "27,28";

}  // namespace

int ChosenTaskRow(const TaskValues& t) {
    if (t.Task_cmb < 0 || t.Task_cmb >= static_cast<int>(t.OfferedTasks.size())) return 0;
    return WholeOr(t.OfferedTasks[t.Task_cmb], -1) - 1;
}

std::vector<double> TaskProductList(const TaskValues& t, const ReferenceData& d) {
    const int row = ChosenTaskRow(t);
    if (row >= 0 && row < static_cast<int>(d.taskProducts.size())) return d.taskProducts[row].values;
    return ParseNumberList(d.Task_array.text(TaskColumn::Reference, row), kTaskProductsInDialog).values;
}

bool TaskProductsBreathe(const TaskValues& t, const ReferenceData& d) {
    return CellText(d.Task_array, TaskColumn::Reference, ChosenTaskRow(t)) == kRespirationReference;
}

int ProductRowAt(const std::vector<double>& products, int position) {
    if (position < 0 || position >= static_cast<int>(products.size())) return 0;
    const int row = WholeOr(products[position], -1) - 1;
    return row >= INT16_MIN && row <= INT16_MAX ? row : -2;
}

std::string TurnoverTonnesText(const TaskValues& t) {
    const double load = LeadingNumber(t.Load_prod_txt);
    const double share = LeadingNumber(t.Oborot_Prod_txt);
    const double typed = LeadingNumber(t.Oborot_tonn_txt);
    const double typedShare = load != 0 ? typed / load * 100 : 0;
    if (LeadingNumber(FormatMask(typedShare, Mask::NoLeadZero)) == share) return t.Oborot_tonn_txt;
    return FormatMask(share / 100 * load, Mask::Fixed4);
}

DerivedTask DeriveTask(const TaskValues& t, const ReferenceData& d) {
    DerivedTask out;
    out.taskRow = ChosenTaskRow(t);
    out.products = TaskProductList(t, d);
    out.productRow = std::max(0, ProductRowAt(out.products, t.Produkt_cmb));
    out.respiration = TaskProductsBreathe(t, d);
    out.requestedHours = LeadingNumber(t.Real_time_txt);
    out.hours = static_cast<float>(out.requestedHours);
    out.turnoverTonnes = TurnoverTonnesText(t);
    out.dailyMassKg = static_cast<float>(LeadingNumber(out.turnoverTonnes) * 1000);
    return out;
}

}  // namespace coldroom
