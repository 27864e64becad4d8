// Monthly mean outside air temperatures of the shipped towns, СП 131.13330.2020 table 5.1
// (data/MonthlyTemperature.csv, built into the program), and the hours of each month.
#pragma once

#include <array>
#include <string>
#include <vector>

namespace coldroom {

struct TownClimate {
    std::string town;
    std::array<double, 12> months{};  // °C, January to December
    double year = 0;                  // the annual mean of the table
};

// Every town of the table, in its order.
const std::vector<TownClimate>& MonthlyClimate();
// The town of that name; null when the table has none.
const TownClimate* FindTownClimate(const std::string& town);

// Hours in each month of a common year; 8 760 together.
inline constexpr std::array<int, 12> kMonthHours = {744, 672, 744, 720, 744, 720, 744, 744, 720, 744, 720, 744};
inline constexpr int kYearHours = 8760;

// "январь" …; "янв" … for narrow columns.
const std::array<const char*, 12>& MonthNames();
const std::array<const char*, 12>& MonthShortNames();

// Reads the table's CSV text (header, then "town,12 months,year"); false with the line.
bool ParseMonthlyClimate(const std::string& text, std::vector<TownClimate>& towns, std::string& why);

}  // namespace coldroom
