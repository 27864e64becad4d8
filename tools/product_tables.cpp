// product_tables PRODMEAT_CSV [--write]
//
// Forms the model-derived columns of the meat, poultry, sausage, fish and egg rows of
// ProdMeat.csv (rows 1-24) from each product's composition and initial freezing point: the
// enthalpy table, Wlaga, T_cryoscop, Q_freeze and SpecificHeat.
// Without --write it compares them with the file and lists every cell that differs (exit 1),
// so a hand edit of a generated cell cannot go unnoticed; with --write it rewrites those
// cells and leaves every other cell as it is. data/SOURCES.md names the source of each input.
#include "csv_reader.h"

#include <cmath>
#include <cstdio>
#include <fstream>
#include <iostream>
#include <sstream>
#include <stdexcept>
#include <string>
#include <vector>

namespace {

// Mass fractions as the food composition table gives them (they need not add up to exactly 1;
// the specific heat is summed over them as the component method does). For eggs in shell the
// contents are scaled by 1 - shell and the shell is counted apart.
struct Composition {
    double water, protein, fat, carbohydrate, ash;
};

struct Product {
    const char* name;  // must match the row, so that a moved row is caught
    Composition c;     // percent of the edible part (the egg contents for eggs)
    double shell;      // share of egg shell in the mass, 0 for other products
    double freezing;   // t_f, °C
};

// Rows 1-24 in file order. Sources per row in data/SOURCES.md ("Inputs of the enthalpy model").
const Product kProducts[] = {
    {"Говядина в полутушах", {69.2, 20.0, 9.8, 0, 1.0}, 0, -2.2},
    {"Говядина в четвертинах", {69.2, 20.0, 9.8, 0, 1.0}, 0, -2.2},
    {"Свинина в полутушах", {54.8, 16.4, 27.8, 0, 1.0}, 0, -2.0},
    {"Баранина в тушах", {67.3, 15.6, 16.3, 0, 0.8}, 0, -2.0},
    {"Телятина в тушах", {78.0, 19.7, 1.2, 0, 1.1}, 0, -2.0},
    {"Мясо говяжье бескостное в блоках", {69.2, 20.0, 9.8, 0, 1.0}, 0, -1.7},
    {"Субпродукты мясные в блоках", {72.9, 17.9, 3.7, 4.2, 1.3}, 0, -1.25},
    {"Куры (тушки)", {69.1, 21.2, 8.2, 0.6, 0.9}, 0, -2.0},
    {"Индейка (тушки)", {57.3, 19.5, 22.0, 0, 0.9}, 0, -2.0},
    {"Утки и гуси (тушки)", {45.6, 15.8, 38.0, 0, 0.6}, 0, -2.0},
    {"Кролики (тушки)", {66.2, 21.2, 11.0, 0, 1.2}, 0, -2.0},
    {"Колбаса вареная", {60.8, 12.8, 22.2, 1.5, 2.7}, 0, -2.5},
    {"Сосиски и сардельки", {60.6, 11.0, 23.9, 1.6, 2.9}, 0, -2.5},
    {"Колбаса полукопченая", {42.0, 17.0, 36.5, 0, 4.5}, 0, -4.5},
    {"Колбаса варено-копченая", {40.0, 20.0, 35.5, 0, 4.5}, 0, -5.0},
    {"Колбаса ливерная", {53.0, 14.0, 28.5, 2.2, 2.3}, 0, -2.5},
    {"Треска и другая тощая морская рыба (целая)", {81.8, 16.4, 0.5, 0, 1.3}, 0, -2.2},
    {"Рыба пресноводная (судак, щука, карп)", {77.2, 19.0, 2.5, 0, 1.3}, 0, -2.2},
    {"Сельдь и другая жирная рыба (целая)", {68.6, 20.0, 10.0, 0, 1.4}, 0, -2.2},
    {"Скумбрия (целая)", {63.55, 18.60, 13.89, 0, 1.35}, 0, -2.2},
    {"Филе рыбное в блоках", {81.8, 16.4, 0.5, 0, 1.3}, 0, -2.2},
    {"Рыба мелкая (мойва, салака) в блоках", {74.1, 18.8, 5.7, 0, 1.4}, 0, -2.2},
    {"Яйца куриные в скорлупе", {74.0, 12.7, 11.5, 0.7, 1.0}, 0.12, -0.5},
    {"Меланж яичный", {74.0, 12.7, 11.5, 0.7, 1.0}, 0, -0.5},
};

constexpr double kReference = -40;  // H = 0 here, as in the tool's default table
constexpr double kLatent = 333.6;   // latent heat of ice, kJ/kg
constexpr double kShellHeat = 0.82;  // calcium carbonate of the egg shell, kJ/(kg K)
// The grid of the tool's default table; the freezing point is inserted into it.
const double kGrid[] = {-30, -28, -26, -24, -22, -20, -18, -16, -14, -12, -10, -8, -6,
                        -4,  -3,  -2,  -1,  0,   1,   2,   3,   4,   6,   8,   10,  12,
                        14,  16,  18,  20,  22,  24,  26,  28,  30,  32,  34,  36};

// Mass fractions of the whole product.
Composition Whole(const Product& p) {
    const double k = (1 - p.shell) / 100;
    return {p.c.water * k, p.c.protein * k, p.c.fat * k, p.c.carbohydrate * k, p.c.ash * k};
}

// Choi and Okos (1986) specific heats of the food components above freezing, c = a + b t + d t²
// kJ/(kg K); Integral() is the heat taken up from 0 °C to t, kJ/kg.
struct Component {
    double a, b, d;
    double Integral(double t) const { return t * (a + t * (b / 2 + t * d / 3)); }
};
constexpr Component kWater{4.1762, -9.0864e-5, 5.4731e-6};
constexpr Component kProtein{2.0082, 1.2089e-3, -1.3129e-6};
constexpr Component kFat{1.9842, 1.4733e-3, -4.8008e-6};
constexpr Component kCarbohydrate{1.5488, 1.9625e-3, -5.9399e-6};
constexpr Component kAsh{1.0926, 1.8896e-3, -3.6817e-6};

// Sensible heat of the unfrozen product from 0 °C to t, kJ/kg.
double UnfrozenHeat(const Product& p, double t) {
    const Composition x = Whole(p);
    return x.water * kWater.Integral(t) + x.protein * kProtein.Integral(t) + x.fat * kFat.Integral(t) +
           x.carbohydrate * kCarbohydrate.Integral(t) + x.ash * kAsh.Integral(t) + p.shell * kShellHeat * t;
}

// Chen's enthalpy below the initial freezing point, the component model above it.
double Enthalpy(const Product& p, double t) {
    const Composition x = Whole(p);
    const double solids = 1 - x.water, bound = 0.4 * x.protein;
    auto frozen = [&](double tt) {
        return (tt - kReference) *
               (1.55 + 1.26 * solids - (x.water - bound) * kLatent * p.freezing / (kReference * tt));
    };
    if (t <= p.freezing) return frozen(t);
    return frozen(p.freezing) + UnfrozenHeat(p, t) - UnfrozenHeat(p, p.freezing);
}

// Shortest text of x rounded to `decimals` places: 0.720 -> "0.72", 20.0 -> "20".
std::string Text(double x, int decimals) {
    char buffer[400];  // the largest double written out in full
    const int n = std::snprintf(buffer, sizeof buffer, "%.*f", decimals, x);
    if (n < 0 || n >= static_cast<int>(sizeof buffer)) throw std::runtime_error("number too long to write");
    std::string s(buffer, static_cast<std::size_t>(n));
    if (s.find('.') != std::string::npos) {
        while (s.back() == '0') s.pop_back();
        if (s.back() == '.') s.pop_back();
    }
    if (s == "-0") s = "0";
    return s;
}

std::string Join(const std::vector<std::string>& items) {
    std::string out;
    for (size_t i = 0; i < items.size(); ++i) out += (i ? "," : "") + items[i];
    return out;
}

struct Cells {
    std::string temperatures, enthalpy, water, freezing, latent, dryHeat;
};

Cells Generate(const Product& p) {
    std::vector<double> temps;
    for (double t : kGrid) {
        if (!temps.empty() && temps.back() < p.freezing && p.freezing < t) temps.push_back(p.freezing);
        temps.push_back(t);
    }
    std::vector<std::string> t, h;
    for (double x : temps) {
        t.push_back(Text(x, 2));
        h.push_back(Text(Enthalpy(p, x), 1));
    }
    Cells c;
    c.temperatures = Join(t);
    c.enthalpy = Join(h);
    const double water = Whole(p).water;
    c.water = Text(water, 3);
    c.freezing = Text(p.freezing, 2);
    c.latent = Text(kLatent * water, 0);
    // The cooling-time estimate forms c = 4.2 W + c_s (1 - W); c_s is chosen so that c equals
    // the model's mean unfrozen specific heat between 0 and 20 °C.
    const double mean = UnfrozenHeat(p, 20) / 20;
    c.dryHeat = Text((mean - 4.2 * water) / (1 - water), 2);
    return c;
}

std::string CsvField(const std::string& s) {
    if (s.find_first_of(",\"\n") == std::string::npos) return s;
    std::string q = "\"";
    for (char ch : s) q += ch == '"' ? std::string("\"\"") : std::string(1, ch);
    return q + "\"";
}

}  // namespace

int main(int argc, char** argv) {
    if (argc < 2 || argc > 3 || (argc == 3 && std::string(argv[2]) != "--write")) {
        std::cerr << "usage: product_tables PRODMEAT_CSV [--write]\n";
        return 2;
    }
    const std::string path = argv[1];
    const bool write = argc == 3;
    std::ifstream in(path, std::ios::binary);
    std::stringstream buffer;
    buffer << in.rdbuf();
    std::vector<coldroom::csv::Record> records;
    std::string error;
    if (!in || !coldroom::csv::Parse(buffer.str(), records, error)) {
        std::cerr << path << ": " << (error.empty() ? "cannot read the file" : error) << "\n";
        return 2;
    }
    const auto& header = records.at(0).fields;
    auto column = [&](const char* name) {
        for (size_t c = 0; c < header.size(); ++c)
            if (header[c] == name) return static_cast<int>(c);
        std::cerr << path << ": no column " << name << "\n";
        std::exit(2);
    };
    const int cName = column("Name"), cTemps = column("Temperatures"), cEnth = column("Enthalpy"),
              cWater = column("Wlaga"), cFreeze = column("T_cryoscop"), cLatent = column("Q_freeze"),
              cDry = column("SpecificHeat");
    const size_t count = sizeof kProducts / sizeof kProducts[0];
    if (records.size() <= count) {
        std::cerr << path << ": fewer than " << count << " products\n";
        return 2;
    }

    int differences = 0;
    for (size_t i = 0; i < count; ++i) {
        auto& row = records[i + 1].fields;
        const Product& p = kProducts[i];
        if (row.at(static_cast<size_t>(cName)) != p.name) {
            std::cerr << "row " << i + 1 << ": \"" << row[static_cast<size_t>(cName)] << "\", expected \""
                      << p.name << "\"\n";
            return 2;
        }
        // Analyses rarely add up to exactly 100 %; more than 3 % off is a typing error.
        const double sum = p.c.water + p.c.protein + p.c.fat + p.c.carbohydrate + p.c.ash;
        if (std::abs(sum - 100) > 3) {
            std::cerr << "row " << i + 1 << ": composition adds up to " << sum << " %\n";
            return 2;
        }
        const Cells cells = Generate(p);
        const std::pair<int, const std::string*> generated[] = {
            {cTemps, &cells.temperatures}, {cEnth, &cells.enthalpy}, {cWater, &cells.water},
            {cFreeze, &cells.freezing},    {cLatent, &cells.latent}, {cDry, &cells.dryHeat}};
        for (const auto& [c, text] : generated) {
            std::string& cell = row.at(static_cast<size_t>(c));
            if (cell == *text) continue;
            ++differences;
            if (!write)
                std::cout << "row " << i + 1 << " " << header[static_cast<size_t>(c)] << ": file \"" << cell
                          << "\", model \"" << *text << "\"\n";
            cell = *text;
        }
    }
    if (!write) return differences ? 1 : 0;

    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    for (const auto& record : records) {
        std::vector<std::string> fields;
        for (const auto& f : record.fields) fields.push_back(CsvField(f));
        out << Join(fields) << "\n";
    }
    std::cout << differences << " cells rewritten\n";
    return out ? 0 : 2;
}
