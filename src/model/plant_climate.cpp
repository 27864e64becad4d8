#include "model/plant_climate.h"

#include <sstream>

#include "core/numtext.h"

namespace coldroom {
namespace {

// The CSV as shipped, put in by the build (see src/CMakeLists.txt).
const char* const kClimateCsv =
#include "monthly_temperature.inc"
    ;

}  // namespace

bool ParseMonthlyClimate(const std::string& text, std::vector<TownClimate>& towns, std::string& why) {
    std::istringstream in(text);
    std::string line;
    std::vector<TownClimate> read;
    for (int n = 1; std::getline(in, line); ++n) {
        if (!line.empty() && line.back() == '\r') line.pop_back();
        if (n == 1 || line.empty()) continue;
        std::vector<std::string> cells;
        std::istringstream row(line);
        for (std::string cell; std::getline(row, cell, ',');) cells.push_back(cell);
        if (cells.size() != 14) {
            why = "строка " + std::to_string(n) + ": нужно 14 столбцов";
            return false;
        }
        TownClimate town;
        town.town = cells[0];
        for (int i = 0; i < 13; ++i) {
            double v = 0;
            if (!StrictNumber(cells[static_cast<size_t>(i + 1)], v)) {
                why = "строка " + std::to_string(n) + ": «" + cells[static_cast<size_t>(i + 1)] + "» — не число";
                return false;
            }
            (i < 12 ? town.months[static_cast<size_t>(i)] : town.year) = v;
        }
        read.push_back(town);
    }
    towns = std::move(read);
    return true;
}

const std::vector<TownClimate>& MonthlyClimate() {
    static const std::vector<TownClimate> towns = [] {
        std::vector<TownClimate> t;
        std::string why;
        ParseMonthlyClimate(kClimateCsv, t, why);
        return t;
    }();
    return towns;
}

const TownClimate* FindTownClimate(const std::string& town) {
    for (const TownClimate& c : MonthlyClimate())
        if (c.town == town) return &c;
    return nullptr;
}

const std::array<const char*, 12>& MonthNames() {
    static const std::array<const char*, 12> names = {"январь", "февраль", "март",     "апрель",  "май",    "июнь",
                                                      "июль",   "август",  "сентябрь", "октябрь", "ноябрь", "декабрь"};
    return names;
}

const std::array<const char*, 12>& MonthShortNames() {
    static const std::array<const char*, 12> names = {"янв", "фев", "мар", "апр", "май", "июн",
                                                      "июл", "авг", "сен", "окт", "ноя", "дек"};
    return names;
}

}  // namespace coldroom
