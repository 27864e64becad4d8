// What each value of the reference tables may hold. The forms compute with these numbers and
// turn some into list positions, so a value outside its range is refused where the table is
// read, with the file, table, row and column named, instead of being computed with. The
// parameter editor checks its fields against these very rules, so whatever it stores loads.
#include "refdb/reference_db.h"

#include "core/quantity_ranges.h"

#include <cmath>
#include <cstdint>

#include "core/numtext.h"
#include "io/cp1251.h"
#include "refdb/reference_columns.h"
#include "refdb/sqlite_support.h"

namespace coldroom {
namespace {

using Kind = ValueRule::Kind;

ValueRule name() { return {Kind::Name}; }
// low < v <= high, or low <= v <= high.
ValueRule above(double low, double high) { return {Kind::Number, {low, high, true}}; }
ValueRule between(double low, double high) { return {Kind::Number, {low, high}}; }
// A material or product property: 0 loads as well (see ValueRule::zeroLoads).
ValueRule property(double low, double high) { return {Kind::Number, {low, high, true}, true}; }
ValueRule listBetween(double low, double high, bool lowIncluded) { return {Kind::NumberList, {low, high, !lowIncluded}}; }
// A quantity the forms take too: the same range, from the one table of them.
ValueRule quantity(const QuantityRange& q) { return {Kind::Number, q}; }

// Rules by table, one per schema column in order. A task's temperatures and air velocity are
// the quantities the task dialog takes, with its ranges: a stored task can always be confirmed.
// Its humidity and cooling time are narrower than what may be typed (a typical task's values).
const std::vector<ValueRule>* RulesOf(std::string_view table) {
    static const std::vector<std::pair<const char*, std::vector<ValueRule>>> rules = {
        {"Tasks",
         {name(), quantity(Quantity::kRoomTemperature), quantity(Quantity::kProductStart),
          quantity(Quantity::kProductEnd), quantity(Quantity::kTaskHumidity), quantity(Quantity::kTaskCoolingTime),
          quantity(Quantity::kAirVelocity), {Kind::ProductList}}},
        {"ProdMeat",
         {name(), property(0, 1), property(0, 4.5), property(0, 4.5), listBetween(-100, 100, true),
          listBetween(0, 1000, false), property(0, 1), property(0, 4), property(0, 4), property(0, 1), {Kind::Shape},
          property(10, 1500), above(-10, 0), property(100, 400)}},
        {"Isolation", {name(), property(0, 4)}},
        {"Location", {name(), above(0, 80), between(10, 50), between(20, 100)}},
        {"Tara", {name(), between(0, 4)}},
        {"Upper", {name(), above(0, 1)}},
        {"Others", {{Kind::Free}, between(0, 1000)}},
    };
    for (const auto& [t, r] : rules)
        if (SameNameIgnoringCase(t, table)) return &r;
    return nullptr;
}

bool loads(const ValueRule& r, double v) { return r.accepts(v) || (r.zeroLoads && v == 0); }

std::string rangeText(const ValueRule& r) {
    return std::string(r.range.lowExcluded ? "больше " : "от ") + GeneralText(r.range.low) +
           (r.range.highExcluded ? " и меньше " : " до ") + GeneralText(r.range.high);
}

// "" when the value is good, else what is wrong with it.
std::string problem(const ValueRule& r, const std::string& text, int productRows) {
    double v = 0;
    switch (r.kind) {
    case Kind::Free: return {};
    case Kind::Name:
        return text.find_first_not_of(" \t") == std::string::npos ? "пустое название" : "";
    case Kind::Number:
        if (!StrictNumber(text, v)) return "не число";
        return loads(r, v) ? "" : "значение вне пределов (" + rangeText(r) + ")";
    case Kind::Shape:
        if (!StrictNumber(text, v)) return "не число";
        return r.accepts(v) ? "" : "коэффициент формы может быть 0.56, 1, 0.5 или 0.33";
    case Kind::NumberList:
    case Kind::ProductList: {
        size_t pos = 0;
        while (true) {
            const size_t comma = text.find(',', pos);
            const std::string element = text.substr(pos, comma == std::string::npos ? std::string::npos : comma - pos);
            // A task's empty product list is the one number 0, as the task dialog reads it.
            const bool empty = r.kind == Kind::ProductList && element.find_first_not_of(" \t") == std::string::npos;
            if (empty) v = 0;
            else if (!StrictNumber(element, v)) return "элемент списка не число";
            if (r.kind == Kind::NumberList && !r.accepts(v))
                return "элемент списка вне пределов (" + rangeText(r) + ")";
            if (r.kind == Kind::ProductList && (v != std::floor(v) || v < 0 || v > productRows))
                return "нет продукта с номером " + GeneralText(v);
            if (comma == std::string::npos) return {};
            pos = comma + 1;
        }
    }
    }
    return {};
}

}  // namespace

bool ValueRule::accepts(double v) const {
    if (kind == Kind::Shape) return v == 0.56 || v == 1.0 || v == 0.5 || v == 0.33;
    return range.contains(v);
}

const ValueRule* FindValueRule(std::string_view table, int column) {
    const std::vector<ValueRule>* rules = RulesOf(table);
    if (!rules || column < 0 || column >= static_cast<int>(rules->size())) return nullptr;
    return &(*rules)[static_cast<size_t>(column)];
}

namespace {

// A task's temperatures in the order the task dialog asks for (room ≤ end ≤ start), or why not:
// a task that loads can always be confirmed.
std::string taskOrder(const RefTable& table, int row) {
    const double cell = table.number(TaskColumn::TempCell, row), start = table.number(TaskColumn::TempIn, row),
                 end = table.number(TaskColumn::TempOut, row);
    switch (TemperatureOrderBroken(cell, end, start)) {
    case TemperatureOrder::None: return {};
    case TemperatureOrder::RoomAboveEnd: return "температура конца охлаждения ниже температуры в камере";
    // The room at or below the end and above the start: the end is above the start.
    case TemperatureOrder::RoomAboveStart:
    case TemperatureOrder::EndAboveStart: return "температура конца охлаждения выше температуры начала охлаждения";
    }
    return {};
}

}  // namespace

bool CheckTableValues(const RefTable& table, const std::string& file, int productRows, std::string& error) {
    const std::vector<ValueRule>* rules = RulesOf(table.name);
    if (!rules) return true;
    const bool tasks = SameNameIgnoringCase(table.name, "Tasks");
    for (int row = 0; row < table.rowCount(); ++row) {
        for (size_t c = 0; c < rules->size() && c < table.columns.size(); ++c) {
            const std::string& text = table.rows[static_cast<size_t>(row)][c];
            const std::string why = problem((*rules)[c], text, productRows);
            if (why.empty()) continue;
            error = "В таблице " + Quoted(table.name) + " базы данных " + Quoted(file) + ", строка " +
                    std::to_string(row + 1) + ", столбец " + Quoted(table.columns[c]) + ": " + why +
                    " (значение " + Quoted(PrintableText(text)) + ").";
            return false;
        }
        if (const std::string why = tasks ? taskOrder(table, row) : std::string(); !why.empty()) {
            error = "В таблице " + Quoted(table.name) + " базы данных " + Quoted(file) + ", строка " +
                    std::to_string(row + 1) + ": " + why + ".";
            return false;
        }
    }
    return true;
}

}  // namespace coldroom
