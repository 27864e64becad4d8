// What each value of the reference tables may hold. The forms compute with these numbers and
// turn some into list positions, so a value outside its range is refused where the table is
// read, with the file, table, row and column named, instead of being computed with. The ranges
// are those the parameter editor enforces, so every table it wrote passes; a material or
// product property of 0 is let through, as the loads show it undefined rather than wrong.
#include "refdb/reference_db.h"

#include <cmath>
#include <cstdint>

#include "core/numtext.h"
#include "io/cp1251.h"
#include "refdb/sqlite_support.h"

namespace coldroom {
namespace {

enum class Kind { Free, Name, Number, NumberList, ProductList, Shape };

struct Rule {
    Kind kind = Kind::Free;
    double low = 0, high = 0;
    bool lowIncluded = true;
};

Rule name() { return {Kind::Name}; }
// low < v <= high, or low <= v <= high.
Rule above(double low, double high) { return {Kind::Number, low, high, false}; }
Rule between(double low, double high) { return {Kind::Number, low, high, true}; }
Rule listBetween(double low, double high, bool lowIncluded) { return {Kind::NumberList, low, high, lowIncluded}; }

// Rules by table, one per schema column in order.
const std::vector<Rule>* RulesOf(const std::string& table) {
    static const std::vector<std::pair<const char*, std::vector<Rule>>> rules = {
        {"Tasks",
         {name(), between(-50, 20), between(-20, 40), between(-40, 15), between(20, 100), above(0, 24),
          above(0, 20), {Kind::ProductList}}},
        {"ProdMeat",
         {name(), between(0, 1), between(0, 4.5), between(0, 4.5), listBetween(-100, 100, true),
          listBetween(0, 1000, false), between(0, 1), between(0, 4), between(0, 4), between(0, 1), {Kind::Shape},
          between(0, 1500), between(-10, 0), between(0, 400)}},
        {"Isolation", {name(), between(0, 4)}},
        {"Location", {name(), above(0, 80), between(10, 50), between(20, 100)}},
        {"Tara", {name(), between(0, 4)}},
        {"Upper", {name(), above(0, 1)}},
        {"Others", {{Kind::Free}, between(0, 1000)}},
    };
    for (const auto& [t, r] : rules)
        if (SameNameIgnoringCase(t, table)) return &r;
    return nullptr;
}

bool inRange(const Rule& r, double v) {
    return (r.lowIncluded ? v >= r.low : v > r.low) && v <= r.high;
}

std::string rangeText(const Rule& r) {
    return std::string(r.lowIncluded ? "от " : "больше ") + GeneralText(r.low) + " до " + GeneralText(r.high);
}

// "" when the value is good, else what is wrong with it.
std::string problem(const Rule& r, const std::string& text, int productRows) {
    double v = 0;
    switch (r.kind) {
    case Kind::Free: return {};
    case Kind::Name:
        return text.find_first_not_of(" \t") == std::string::npos ? "пустое название" : "";
    case Kind::Number:
        if (!StrictNumber(text, v)) return "не число";
        return inRange(r, v) ? "" : "значение вне пределов (" + rangeText(r) + ")";
    case Kind::Shape:
        if (!StrictNumber(text, v)) return "не число";
        for (double allowed : {0.56, 1.0, 0.5, 0.33})
            if (v == allowed) return {};
        return "коэффициент формы может быть 0.56, 1, 0.5 или 0.33";
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
            if (r.kind == Kind::NumberList && !inRange(r, v))
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

bool CheckTableValues(const RefTable& table, const std::string& file, int productRows, std::string& error) {
    const std::vector<Rule>* rules = RulesOf(table.name);
    if (!rules) return true;
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
    }
    return true;
}

}  // namespace coldroom
