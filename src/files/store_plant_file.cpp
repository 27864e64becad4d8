#include "files/store_plant_file.h"

#include <cmath>
#include <sstream>

#include "core/numtext.h"
#include "files/store_file.h"

namespace coldroom {
namespace {

bool number(std::string_view value, double low, double high, double& out) {
    std::string text(value);
    for (char& c : text)
        if (c == ',') c = '.';
    double v = 0;
    if (!StrictNumber(text, v) || !(v >= low && v <= high)) return false;
    out = v;
    return true;
}

std::string trim(const std::string& s) {
    const auto a = s.find_first_not_of(" \t");
    return a == std::string::npos ? std::string() : s.substr(a, s.find_last_not_of(" \t") - a + 1);
}

bool levels(std::string_view value, std::vector<PlantLevel>& out) {
    std::vector<PlantLevel> read;
    std::istringstream in{std::string(value)};
    for (std::string item; std::getline(in, item, ',');) {
        const auto colon = item.rfind(':');
        if (colon == std::string::npos) return false;
        PlantLevel level{trim(item.substr(0, colon)), 0};
        std::string t = trim(item.substr(colon + 1));
        if (level.name.empty() || !StrictNumber(t, level.evaporating) || level.evaporating < -100 || level.evaporating > 20)
            return false;
        read.push_back(level);
    }
    if (read.empty() || read.size() > 10) return false;
    out = read;
    return true;
}

std::string levelsText(const std::vector<PlantLevel>& levels) {
    std::string text;
    for (const PlantLevel& l : levels) text += (text.empty() ? "" : ", ") + l.name + ":" + GeneralText(l.evaporating);
    return text;
}

}  // namespace

bool PlantValue(const std::string& key, std::string_view value, const std::string& folder, PlantSettings& p, std::string& why) {
    why.clear();
    const std::string v(value);
    auto bad = [&](const std::string& what) {
        why = "«" + key + " = " + v + "»: " + what;
        return true;
    };
    double x = 0;
    if (key == "plant_levels") {
        if (!levels(value, p.levels)) return bad("нужны «имя:t0» через запятую, t0 от −100 до 20 °C");
    } else if (key == "pipework") {
        if (v == "auto") p.pipework = 0;
        else if (number(value, 1, 1.5, x)) p.pipework = x;
        else return bad("нужно auto или число от 1 до 1,5");
    } else if (key == "condenser") {
        if (v != "air" && v != "water") return bad("нужно air или water");
        p.condenser = v == "air" ? CondenserKind::Air : CondenserKind::Water;
    } else if (key == "condenser_difference" || key == "condensing_min" || key == "water_condensing") {
        if (!number(value, key == "condenser_difference" ? 1 : -20, 70, x)) return bad("число вне допустимых пределов");
        (key == "condenser_difference" ? p.condenserDifference : key == "condensing_min" ? p.lowestCondensing : p.waterCondensing) = x;
    } else if (key == "refrigerant") {
        if (v.empty()) return bad("не указан хладагент");
        p.refrigerant = v;
    } else if (key == "efficiency") {
        if (v != "carnot" && v != "polynomial") return bad("нужно carnot или polynomial");
        p.efficiency = v == "carnot" ? EfficiencyModel::Carnot : EfficiencyModel::Polynomial;
    } else if (key == "carnot_fraction") {
        if (!number(value, 0.05, 1, x)) return bad("нужна доля от 0,05 до 1");
        p.carnotFraction = x;
    } else if (key == "polynomial_file") {
        std::string file;
        if (!ReadStoreValue(v, file)) return bad("неверная запись в кавычках");
        p.polynomialFile = file.empty() ? file : AbsolutePath(file, folder);
    } else if (key == "fans") {
        if (v != "continuous" && v != "with_compressor") return bad("нужно continuous или with_compressor");
        p.fansContinuous = v == "continuous";
    } else if (key == "product_profile") {
        std::istringstream in(v);
        std::array<double, 12> profile{};
        std::string word;
        int n = 0;
        while (in >> word) {
            if (n == 12 || !number(word, 0, 1000, profile[static_cast<size_t>(n)])) return bad("нужно 12 чисел, %");
            ++n;
        }
        if (n != 12) return bad("нужно 12 чисел, %");
        p.productProfile = profile;
    } else if (key == "town") {
        if (!ReadStoreValue(v, p.town)) return bad("неверная запись в кавычках");
    } else if (key == "tariff" || key == "insulation_cost" || key == "discount_rate") {
        if (!number(value, 0, key == "discount_rate" ? 100 : 1e9, x)) return bad("число вне допустимых пределов");
        (key == "tariff" ? p.tariff : key == "insulation_cost" ? p.insulationCost : p.discountRate) = x;
    } else if (key == "years") {
        if (!number(value, 1, 100, x) || x != std::floor(x)) return bad("нужно целое число от 1 до 100");
        p.years = static_cast<int>(x);
    } else {
        return false;
    }
    return true;
}

std::string PlantText(const PlantSettings& p, const std::string& folder) {
    const PlantSettings d;
    std::string t;
    auto line = [&](const char* key, const std::string& value) { t += std::string(key) + " = " + value + "\n"; };
    if (p.levels != d.levels) line("plant_levels", levelsText(p.levels));
    if (p.pipework != d.pipework) line("pipework", GeneralText(p.pipework));
    if (p.condenser != d.condenser) line("condenser", "water");
    if (p.condenserDifference != d.condenserDifference) line("condenser_difference", GeneralText(p.condenserDifference));
    if (p.lowestCondensing != d.lowestCondensing) line("condensing_min", GeneralText(p.lowestCondensing));
    if (p.waterCondensing != d.waterCondensing) line("water_condensing", GeneralText(p.waterCondensing));
    if (p.refrigerant != d.refrigerant) line("refrigerant", p.refrigerant);
    if (p.efficiency != d.efficiency) line("efficiency", "polynomial");
    if (p.carnotFraction != d.carnotFraction) line("carnot_fraction", GeneralText(p.carnotFraction));
    if (!p.polynomialFile.empty()) line("polynomial_file", StoreValueText(RelativePath(p.polynomialFile, folder)));
    if (p.fansContinuous != d.fansContinuous) line("fans", "with_compressor");
    if (p.productProfile != d.productProfile) {
        std::string profile;
        for (double v : p.productProfile) profile += (profile.empty() ? "" : " ") + GeneralText(v);
        line("product_profile", profile);
    }
    if (!p.town.empty()) line("town", StoreValueText(p.town));
    if (p.tariff != d.tariff) line("tariff", GeneralText(p.tariff));
    if (p.insulationCost != d.insulationCost) line("insulation_cost", GeneralText(p.insulationCost));
    if (p.years != d.years) line("years", std::to_string(p.years));
    if (p.discountRate != d.discountRate) line("discount_rate", GeneralText(p.discountRate));
    return t;
}

}  // namespace coldroom
