// product_tables PRODMEAT_CSV [--write]
//
// Forms the model-derived columns of the meat, poultry, sausage, fish and egg rows of
// ProdMeat.csv (rows 1-24) from each product's water content, protein share and initial
// freezing point: the enthalpy table, Wlaga, T_cryoscop, Q_freeze and SpecificHeat.
// Without --write it compares them with the file and lists every cell that differs (exit 1),
// so a hand edit of a generated cell cannot go unnoticed; with --write it rewrites those
// cells and leaves every other cell as it is. data/SOURCES.md names the source of each input.
#include "csv_reader.h"

#include <cmath>
#include <cstdio>
#include <fstream>
#include <iostream>
#include <sstream>
#include <string>
#include <vector>

namespace {

struct Product {
    const char* name;  // must match the row, so that a moved row is caught
    double water;      // x_w, mass fraction
    double protein;    // x_p; bound water x_b = 0.4 x_p
    double freezing;   // t_f, °C
};

// Rows 1-24 in file order. Sources per row in data/SOURCES.md ("Inputs of the enthalpy model").
const Product kProducts[] = {
    {"Говядина в полутушах", 0.72, 0.20, -2.2},
    {"Говядина в четвертинах", 0.72, 0.20, -2.2},
    {"Свинина в полутушах", 0.60, 0.16, -2.0},
    {"Баранина в тушах", 0.70, 0.17, -2.0},
    {"Телятина в тушах", 0.774, 0.19, -2.0},
    {"Мясо говяжье бескостное в блоках", 0.72, 0.18, -1.7},
    {"Субпродукты мясные в блоках", 0.729, 0.18, -1.25},
    {"Куры (тушки)", 0.74, 0.18, -2.0},
    {"Индейка (тушки)", 0.573, 0.20, -2.0},
    {"Утки и гуси (тушки)", 0.46, 0.14, -2.0},
    {"Кролики (тушки)", 0.662, 0.21, -2.0},
    {"Колбаса вареная", 0.608, 0.13, -2.5},
    {"Сосиски и сардельки", 0.606, 0.11, -2.5},
    {"Колбаса полукопченая", 0.42, 0.17, -4.5},
    {"Колбаса варено-копченая", 0.40, 0.20, -5.0},
    {"Колбаса ливерная", 0.53, 0.14, -2.5},
    {"Треска и другая тощая морская рыба (целая)", 0.816, 0.164, -2.2},
    {"Рыба пресноводная (судак, щука, карп)", 0.788, 0.19, -2.2},
    {"Сельдь и другая жирная рыба (целая)", 0.686, 0.20, -2.2},
    {"Скумбрия (целая)", 0.635, 0.17, -2.2},
    {"Филе рыбное в блоках", 0.805, 0.18, -2.2},
    {"Рыба мелкая (мойва, салака) в блоках", 0.75, 0.13, -2.2},
    {"Яйца куриные в скорлупе", 0.74, 0.127, -3.0},
    {"Меланж яичный", 0.746, 0.12, -0.5},
};

constexpr double kReference = -40;  // H = 0 here, as in the tool's default table
constexpr double kLatent = 333.6;   // latent heat of ice, kJ/kg
// The grid of the tool's default table; the freezing point is inserted into it.
const double kGrid[] = {-30, -28, -26, -24, -22, -20, -18, -16, -14, -12, -10, -8, -6,
                        -4,  -3,  -2,  -1,  0,   1,   2,   3,   4,   6,   8,   10,  12,
                        14,  16,  18,  20,  22,  24,  26,  28,  30,  32,  34,  36};

// Specific heat of the unfrozen product (Siebel's rule), kJ/(kg K).
double UnfrozenHeat(const Product& p) { return 4.19 * p.water + 0.84 * (1 - p.water); }

// Chen's enthalpy below the initial freezing point, Siebel's specific heat above it.
double Enthalpy(const Product& p, double t) {
    const double solids = 1 - p.water, bound = 0.4 * p.protein;
    auto frozen = [&](double tt) {
        return (tt - kReference) *
               (1.55 + 1.26 * solids - (p.water - bound) * kLatent * p.freezing / (kReference * tt));
    };
    if (t <= p.freezing) return frozen(t);
    return frozen(p.freezing) + (t - p.freezing) * UnfrozenHeat(p);
}

// Shortest text of x rounded to `decimals` places: 0.720 -> "0.72", 20.0 -> "20".
std::string Text(double x, int decimals) {
    char buffer[32];
    std::snprintf(buffer, sizeof buffer, "%.*f", decimals, x);
    std::string s = buffer;
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
    c.water = Text(p.water, 3);
    c.freezing = Text(p.freezing, 2);
    c.latent = Text(kLatent * p.water, 0);
    // The cooling-time estimate forms c = 4.2 W + c_s (1 - W); c_s is chosen so that c equals
    // the model's unfrozen specific heat.
    c.dryHeat = Text((UnfrozenHeat(p) - 4.2 * p.water) / (1 - p.water), 2);
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
