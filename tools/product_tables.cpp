// product_tables PRODMEAT_CSV [--write]
//
// Forms the model-derived columns of the meat, poultry, sausage, fish and egg rows of
// ProdMeat.csv (rows 1-24) from each product's composition and initial freezing point: the
// enthalpy table, Wlaga, T_cryoscop, Q_freeze and SpecificHeat. Below freezing, a row that a
// column of the Russian enthalpy table covers follows that column: the frozen curve's two
// coefficients are fitted to it, and so is the dairy rows' frozen range.
// Without --write it compares them with the file and lists every cell that differs (exit 1),
// so a hand edit of a generated cell cannot go unnoticed; with --write it rewrites those
// cells and leaves every other cell as it is. data/SOURCES.md names the source of each input.
#include "csv_reader.h"

#include <cmath>
#include <cstdio>
#include <algorithm>
#include <limits>
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

// The Russian table «Энтальпия пищевых продуктов при различных температурах», kJ/kg with the
// zero at −20 °C, as read (data/SOURCES.md): the columns that rows follow below freezing.
// `zeroTo18` is the column's 0 → −18 °C difference where it was read, else 0.
constexpr int kTablePoints = 9;
const double kTableTemps[kTablePoints] = {-25, -20, -18, -16, -14, -12, -10, -8, -6};
struct Column {
    double h[kTablePoints];  // NaN where the column was not read (meat and fish at −6 °C)
    double zeroTo18;
};
constexpr double kUnread = std::numeric_limits<double>::quiet_NaN();
enum ColumnId { None = -1, BeefPoultry, Mutton, Pork, Offal, BonelessBeef, LeanFish, FattyFish, Fillet,
                EggsInShell, Melange, Butter, Milk, IceCreamMilk, IceCreamCream };
const Column kColumns[] = {
    {{-10.9, 0, 4.6, 10.1, 15.9, 22.2, 30.2, 39.4, kUnread}, 226.3},  // мясо говяжье, птица всех видов
    {{-10.9, 0, 4.6, 9.6, 15.5, 21.8, 29.7, 38.5, kUnread}, 219.1},   // баранина
    {{-10.5, 0, 4.6, 9.6, 15.1, 21.4, 28.9, 37.3, kUnread}, 207.0},   // свинина мясная
    {{-11.7, 0, 5.0, 10.9, 17.2, 24.3, 33.1, 43.2, kUnread}, 257.3},  // субпродукты мясные
    {{-11.3, 0, 5.0, 10.5, 16.8, 23.5, 31.4, 41.1, kUnread}, 0},      // мясо говяжье бескостное
    {{-12.2, 0, 5.0, 10.9, 17.6, 24.7, 33.5, 43.6, kUnread}, 260.8},  // рыба тощих пород
    {{-12.2, 0, 5.0, 10.9, 17.2, 24.3, 32.7, 42.3, kUnread}, 244.4},  // рыба жирных пород
    {{-12.6, 0, 5.4, 11.3, 18.0, 25.6, 34.8, 45.7, kUnread}, 0},      // рыбное филе
    {{-8.8, 0, 4.2, 8.4, 12.6, 17.6, 22.6, 28.5, kUnread}, 232.6},    // яйцо в скорлупе
    {{-9.6, 0, 4.6, 8.8, 13.8, 18.4, 24.3, 31.0, kUnread}, 0},        // яичный меланж
    {{-9.2, 0, 3.8, 8.0, 12.6, 17.6, 23.5, 29.3, 36.5}, 0},           // масло сливочное
    {{-12.6, 0, 5.4, 11.3, 17.6, 25.1, 32.7, 42.3, 54.5}, 0},         // молоко цельное
    {{-14.7, 0, 6.3, 13.4, 22.2, 33.1, 47.3, 65.4, 92.2}, 0},         // мороженое молочное
    {{-16.3, 0, 7.1, 15.5, 24.3, 34.8, 46.9, 62.4, 86.7}, 0},         // мороженое сливочное
};

struct Product {
    const char* name;  // must match the row, so that a moved row is caught
    Composition c;     // percent of the edible part (the egg contents for eggs)
    double shell;      // share of egg shell in the mass, 0 for other products
    double freezing;   // T_cryoscop, °C: the published initial freezing point the cooling time uses
    ColumnId column;   // the Russian column the frozen range follows, None for the composition model
    bool tablePoints;  // the column itself from −25 to −8 °C, where no fitted curve meets it within 5 %
};

// Rows 1-24 in file order. Sources per row in data/SOURCES.md ("Inputs of the enthalpy model").
const Product kProducts[] = {
    {"Говядина в полутушах", {69.2, 20.0, 9.8, 0, 1.0}, 0, -2.2, BeefPoultry, false},
    {"Говядина в четвертинах", {69.2, 20.0, 9.8, 0, 1.0}, 0, -2.2, BeefPoultry, false},
    {"Свинина в полутушах", {54.8, 16.4, 27.8, 0, 1.0}, 0, -2.0, Pork, false},
    {"Баранина в тушах", {67.3, 15.6, 16.3, 0, 0.8}, 0, -2.0, Mutton, false},
    {"Телятина в тушах", {78.0, 19.7, 1.2, 0, 1.1}, 0, -2.0, None, false},
    {"Мясо говяжье бескостное в блоках", {69.2, 20.0, 9.8, 0, 1.0}, 0, -1.7, BonelessBeef, false},
    {"Субпродукты мясные в блоках", {72.9, 17.9, 3.7, 4.2, 1.3}, 0, -1.25, Offal, false},
    {"Куры (тушки)", {69.1, 21.2, 8.2, 0.6, 0.9}, 0, -2.0, BeefPoultry, false},
    {"Индейка (тушки)", {57.3, 19.5, 22.0, 0, 0.9}, 0, -2.0, BeefPoultry, false},
    {"Утки и гуси (тушки)", {45.6, 15.8, 38.0, 0, 0.6}, 0, -2.0, BeefPoultry, false},
    {"Кролики (тушки)", {66.2, 21.2, 11.0, 0, 1.2}, 0, -2.0, None, false},
    {"Колбаса вареная", {60.8, 12.8, 22.2, 1.5, 2.7}, 0, -2.5, None, false},
    {"Сосиски и сардельки", {60.6, 11.0, 23.9, 1.6, 2.9}, 0, -2.5, None, false},
    {"Колбаса полукопченая", {42.0, 17.0, 36.5, 0, 4.5}, 0, -4.5, None, false},
    {"Колбаса варено-копченая", {40.0, 20.0, 35.5, 0, 4.5}, 0, -5.0, None, false},
    {"Колбаса ливерная", {53.0, 14.0, 28.5, 2.2, 2.3}, 0, -2.5, None, false},
    {"Треска и другая тощая морская рыба (целая)", {81.8, 16.4, 0.5, 0, 1.3}, 0, -2.2, LeanFish, false},
    {"Рыба пресноводная (судак, щука, карп)", {77.2, 19.0, 2.5, 0, 1.3}, 0, -2.2, LeanFish, false},
    {"Сельдь и другая жирная рыба (целая)", {68.6, 20.0, 10.0, 0, 1.4}, 0, -2.2, FattyFish, false},
    {"Скумбрия (целая)", {63.55, 18.60, 13.89, 0, 1.35}, 0, -2.2, FattyFish, false},
    {"Филе рыбное в блоках", {81.8, 16.4, 0.5, 0, 1.3}, 0, -2.2, Fillet, false},
    {"Рыба мелкая (мойва, салака) в блоках", {74.1, 18.8, 5.7, 0, 1.4}, 0, -2.2, FattyFish, false},
    {"Яйца куриные в скорлупе", {74.0, 12.7, 11.5, 0.7, 1.0}, 0.12, -0.5, EggsInShell, true},
    {"Меланж яичный", {74.0, 12.7, 11.5, 0.7, 1.0}, 0, -0.5, Melange, true},
};

// Dairy rows (their tables come from the additive model of SOURCES.md) whose frozen range up to
// −6 °C the tool fits to a column; the points above stay as they are.
const struct { int row; const char* name; ColumnId column; } kDairy[] = {
    {29, "Масло сливочное", Butter},
    {30, "Молоко цельное", Milk},
    {35, "Мороженое молочное", IceCreamMilk},
    {36, "Мороженое сливочное", IceCreamCream},
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

// A frozen curve of Chen's form, H = (t + 40)(a + b/t) kJ/kg, zero at −40 °C. Chen's equation
// is the case a = 1.55 + 1.26·x_s, b = (x_w − x_b)·L0·t_f/40 with x_b = 0.4·x_p.
struct FrozenCurve {
    double a, b;
    double operator()(double t) const { return (t - kReference) * (a + b / t); }
};

// The column's increment from −20 °C at t, linear between its read temperatures.
double ColumnAt(const Column& c, double t) {
    for (int k = 1; k < kTablePoints; ++k)
        if (kTableTemps[k - 1] <= t && t <= kTableTemps[k] && !std::isnan(c.h[k]))
            return c.h[k - 1] + (c.h[k] - c.h[k - 1]) * (t - kTableTemps[k - 1]) / (kTableTemps[k] - kTableTemps[k - 1]);
    return kUnread;
}

// The largest deviation of the curve's increments from −20 °C from the column's, as a share of
// the column's increment, over every temperature read.
double Deviation(const FrozenCurve& f, const Column& c) {
    double worst = 0;
    for (int k = 0; k < kTablePoints; ++k) {
        if (kTableTemps[k] == -20 || std::isnan(c.h[k])) continue;
        const double ours = f(kTableTemps[k]) - f(-20);
        worst = std::max(worst, std::abs(ours - c.h[k]) / std::abs(c.h[k]));
    }
    return worst;
}

// The curve whose largest deviation from the column is smallest: a coarse search, then a fine
// one around its best (the deviation is not smooth, so no gradient method).
FrozenCurve Fit(const Column& c) {
    FrozenCurve best{1.8, -5};
    double bestDeviation = Deviation(best, c);
    auto search = [&](double a0, double a1, double da, double b0, double b1, double db) {
        for (double a = a0; a <= a1; a += da)
            for (double b = b0; b <= b1; b += db)
                if (const double d = Deviation({a, b}, c); d < bestDeviation) best = {a, b}, bestDeviation = d;
    };
    search(1.2, 2.6, 0.01, -20, -0.5, 0.05);
    const FrozenCurve coarse = best;
    search(coarse.a - 0.02, coarse.a + 0.02, 0.0005, coarse.b - 0.1, coarse.b + 0.1, 0.002);
    return best;
}

// The frozen range of a row and where it ends. Without a column, Chen's equation from the
// composition up to T_cryoscop. With one, the curve fitted to it; its end t_f is where the
// column's 0 → −18 °C difference is met (the unfrozen water follows from b), or, where that was
// not read, where the composition's unfrozen water x_w − x_b gives b. Rounded as the file shows it.
struct Frozen {
    FrozenCurve curve;
    double end;
};

Frozen FrozenPart(const Product& p) {
    const Composition x = Whole(p);
    const double unfrozenWater = x.water - 0.4 * x.protein;
    if (p.column == None)
        return {{1.55 + 1.26 * (1 - x.water), unfrozenWater * kLatent * p.freezing / 40}, p.freezing};
    const Column& column = kColumns[p.column];
    const FrozenCurve f = Fit(column);
    double end = 40 * f.b / (unfrozenWater * kLatent);
    if (column.zeroTo18 > 0) {
        // 0 → −18 °C grows as the end nears 0 °C; bisection between −8 and −0.05 °C.
        auto difference = [&](double tf) { return f(tf) + UnfrozenHeat(p, 0) - UnfrozenHeat(p, tf) - f(-18); };
        double lo = -8, hi = -0.05;
        for (int i = 0; i < 60; ++i) (difference((lo + hi) / 2) < column.zeroTo18 ? lo : hi) = (lo + hi) / 2;
        end = (lo + hi) / 2;
    }
    return {f, std::round(end * 100) / 100};
}

// The frozen range where a row follows its column's own points, the fitted curve elsewhere.
double FrozenAt(const Frozen& frozen, ColumnId column, bool tablePoints, double t) {
    if (tablePoints && t >= -25 && t <= -8) return frozen.curve(-20) + ColumnAt(kColumns[column], t);
    return frozen.curve(t);
}

// The frozen range below its end, the component model above it.
double Enthalpy(const Product& p, const Frozen& frozen, double t) {
    if (t <= frozen.end) return FrozenAt(frozen, p.column, p.tablePoints, t);
    return frozen.curve(frozen.end) + UnfrozenHeat(p, t) - UnfrozenHeat(p, frozen.end);
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
    const Frozen frozen = FrozenPart(p);
    std::vector<double> temps;
    for (double t : kGrid) {
        if (!temps.empty() && temps.back() < frozen.end && frozen.end < t) temps.push_back(frozen.end);
        temps.push_back(t);
    }
    std::vector<std::string> t, h;
    for (double x : temps) {
        t.push_back(Text(x, 2));
        h.push_back(Text(Enthalpy(p, frozen, x), 1));
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

std::vector<double> Numbers(const std::string& list) {
    std::vector<double> out;
    std::stringstream in(list);
    for (std::string item; std::getline(in, item, ',');) out.push_back(std::stod(item));
    return out;
}

// A dairy row's enthalpy list with its points up to −6 °C (the highest temperature its column
// was read at) on the curve fitted to the column, measured from the row's own −20 °C point; the
// points above, the latent heat of the additive model, stay. Empty without a point at −20 °C.
std::string DairyEnthalpy(const std::string& temperatures, const std::string& enthalpy, ColumnId column) {
    const std::vector<double> t = Numbers(temperatures);
    std::vector<double> h = Numbers(enthalpy);
    const auto at = std::find(t.begin(), t.end(), -20.0);
    if (at == t.end() || t.size() != h.size()) return {};
    const double anchor = h[static_cast<size_t>(at - t.begin())];
    const FrozenCurve f = Fit(kColumns[column]);
    std::vector<std::string> out;
    for (size_t k = 0; k < t.size(); ++k)
        out.push_back(Text(t[k] <= kTableTemps[kTablePoints - 1] ? anchor + f(t[k]) - f(-20) : h[k], 1));
    return Join(out);
}

// Per row that follows a column: the fitted coefficients, the largest deviation from the
// column and where the frozen range ends — the figures data/SOURCES.md quotes.
int Report() {
    const char* names[] = {"мясо говяжье, птица", "баранина", "свинина мясная", "субпродукты мясные",
                           "мясо говяжье бескостное", "рыба тощих пород", "рыба жирных пород", "рыбное филе",
                           "яйцо в скорлупе", "яичный меланж", "масло сливочное", "молоко цельное",
                           "мороженое молочное", "мороженое сливочное"};
    for (int c = 0; c <= IceCreamCream; ++c) {
        const FrozenCurve f = Fit(kColumns[c]);
        std::printf("%-24s a %.4f b %.3f largest deviation %.1f %%\n", names[c], f.a, f.b, 100 * Deviation(f, kColumns[c]));
    }
    for (const Product& p : kProducts) {
        if (p.column == None) continue;
        const Frozen fr = FrozenPart(p);
        const Composition x = Whole(p);
        std::printf("%-44s end %.2f unfrozen water %.3f (composition %.3f) 0->-18 %.1f\n", p.name, fr.end,
                    40 * fr.curve.b / (kLatent * fr.end), x.water - 0.4 * x.protein,
                    Enthalpy(p, fr, 0) - Enthalpy(p, fr, -18));
    }
    return 0;
}

std::string CsvField(const std::string& s) {
    if (s.find_first_of(",\"\n") == std::string::npos) return s;
    std::string q = "\"";
    for (char ch : s) q += ch == '"' ? std::string("\"\"") : std::string(1, ch);
    return q + "\"";
}

}  // namespace

int main(int argc, char** argv) {
    const std::string mode = argc == 3 ? argv[2] : "";
    if (argc < 2 || argc > 3 || (argc == 3 && mode != "--write" && mode != "--report")) {
        std::cerr << "usage: product_tables PRODMEAT_CSV [--write | --report]\n";
        return 2;
    }
    const std::string path = argv[1];
    const bool write = mode == "--write";
    if (mode == "--report") return Report();
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
    for (const auto& d : kDairy) {
        auto& row = records.at(static_cast<size_t>(d.row)).fields;
        if (row.at(static_cast<size_t>(cName)) != d.name) {
            std::cerr << "row " << d.row << ": \"" << row[static_cast<size_t>(cName)] << "\", expected \"" << d.name
                      << "\"\n";
            return 2;
        }
        std::string& cell = row.at(static_cast<size_t>(cEnth));
        const std::string text = DairyEnthalpy(row[static_cast<size_t>(cTemps)], cell, d.column);
        if (text.empty()) {
            std::cerr << "row " << d.row << ": no point at -20 °C in its table\n";
            return 2;
        }
        if (cell == text) continue;
        ++differences;
        if (!write) std::cout << "row " << d.row << " Enthalpy: file \"" << cell << "\", model \"" << text << "\"\n";
        cell = text;
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
