#include "model/plant_cycle.h"

#include <algorithm>
#include <cmath>
#include <sstream>

namespace coldroom {

double DefaultCoilDifference(double) { return kDefaultCoilDifference; }

std::optional<int> LevelForRoom(const std::vector<PlantLevel>& levels, double room, double coil) {
    std::optional<int> best;
    const double wanted = room - coil;
    for (int i = 0; i < static_cast<int>(levels.size()); ++i) {
        const double t0 = levels[static_cast<size_t>(i)].evaporating;
        if (t0 > wanted) continue;
        if (!best || t0 > levels[static_cast<size_t>(*best)].evaporating) best = i;
    }
    return best;
}

int ColdestLevel(const std::vector<PlantLevel>& levels) {
    int coldest = 0;
    for (int i = 1; i < static_cast<int>(levels.size()); ++i)
        if (levels[static_cast<size_t>(i)].evaporating < levels[static_cast<size_t>(coldest)].evaporating) coldest = i;
    return coldest;
}

double DefaultPipeworkFactor(double t0) {
    const double t = std::clamp(t0, -40.0, -10.0);
    return 1.04 + (-10 - t) / 30 * 0.03;
}

double PipeworkFactor(const PlantSettings& plant, double t0) {
    return plant.pipework > 0 ? plant.pipework : DefaultPipeworkFactor(t0);
}

double CondensingTemperature(const PlantSettings& plant, double outside) {
    if (plant.condenser == CondenserKind::Water) return plant.waterCondensing;
    return std::max(plant.lowestCondensing, outside + plant.condenserDifference);
}

double CarnotCop(double t0, double tk) {
    if (!(tk > t0)) return 0;
    return (t0 + kKelvin) / (tk - t0);
}

double EvaluatePolynomial(const Polynomial& c, double to, double tc) {
    return c[0] + c[1] * to + c[2] * tc + c[3] * to * to + c[4] * to * tc + c[5] * tc * tc + c[6] * to * to * to +
           c[7] * tc * to * to + c[8] * to * tc * tc + c[9] * tc * tc * tc;
}

namespace {

std::string trimmed(const std::string& s) {
    const auto a = s.find_first_not_of(" \t\r");
    if (a == std::string::npos) return {};
    return s.substr(a, s.find_last_not_of(" \t\r") - a + 1);
}

bool readTen(std::string text, Polynomial& out) {
    // Either decimal mark: a comma between digits is a decimal comma only when no blank or
    // semicolon separates the values; values are separated by blanks or semicolons.
    for (char& ch : text)
        if (ch == ';' || ch == '\t') ch = ' ';
    for (char& ch : text)
        if (ch == ',') ch = '.';
    std::istringstream in(text);
    in.imbue(std::locale::classic());
    int n = 0;
    std::string word;
    while (in >> word) {
        if (n == 10) return false;
        size_t used = 0;
        double v = 0;
        try {
            v = std::stod(word, &used);
        } catch (...) {
            return false;
        }
        if (used != word.size() || !std::isfinite(v)) return false;
        out[static_cast<size_t>(n++)] = v;
    }
    return n == 10;
}

}  // namespace

bool ParseCompressorCurves(const std::string& text, CompressorCurves& curves, std::string& why) {
    CompressorCurves read;
    bool capacity = false, power = false;
    std::istringstream in(text);
    std::string line;
    for (int n = 1; std::getline(in, line); ++n) {
        line = trimmed(line.substr(0, line.find('#')));
        if (line.empty()) continue;
        const auto eq = line.find('=');
        if (eq == std::string::npos) {
            why = "строка " + std::to_string(n) + ": ожидается «имя = значения»";
            return false;
        }
        const std::string key = trimmed(line.substr(0, eq)), value = trimmed(line.substr(eq + 1));
        if (key == "name") {
            read.name = value;
        } else if (key == "capacity" || key == "power") {
            if (!readTen(value, key == "capacity" ? read.capacity : read.power)) {
                why = "строка " + std::to_string(n) + ": нужно ровно 10 чисел C1…C10";
                return false;
            }
            (key == "capacity" ? capacity : power) = true;
        } else {
            why = "строка " + std::to_string(n) + ": неизвестное имя «" + key + "»";
            return false;
        }
    }
    if (!capacity || !power) {
        why = !capacity ? "нет строки «capacity = …»" : "нет строки «power = …»";
        return false;
    }
    curves = read;
    return true;
}

double PlantCop(const PlantSettings& plant, const CompressorCurves* curves, double t0, double tk) {
    if (plant.efficiency == EfficiencyModel::Polynomial) {
        if (!curves) return 0;
        const double q = EvaluatePolynomial(curves->capacity, t0, tk), p = EvaluatePolynomial(curves->power, t0, tk);
        return p > 0 && q > 0 ? q / p : 0;
    }
    return plant.carnotFraction * CarnotCop(t0, tk);
}

}  // namespace coldroom
