#include "files/store_plant_file.h"

#include <cmath>
#include <sstream>

#include "core/numtext.h"
#include "files/store_file.h"
#include "model/plant_fields.h"

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

bool levels(std::string_view value, std::vector<PlantLevel>& out, std::string& what) {
    std::vector<PlantLevel> read;
    std::istringstream in{std::string(value)};
    for (std::string item; std::getline(in, item, ',');) {
        // "name:t0" or "name:t0:share"; the name before the first colon.
        const auto colon = item.find(':');
        if (colon == std::string::npos) return false;
        PlantLevel level{trim(item.substr(0, colon)), 0, kDefaultOperationShare};
        const std::string rest = item.substr(colon + 1);
        const auto second = rest.find(':');
        if (!number(trim(rest.substr(0, second)), -100, 20, level.evaporating)) return false;
        if (second != std::string::npos && !number(trim(rest.substr(second + 1)), 0, 100, level.share)) return false;
        if (!ValidLevelName(level.name, what)) return false;
        for (const PlantLevel& other : read)
            if (other.name == level.name) {
                what = "уровень «" + level.name + "» назван дважды";
                return false;
            }
        read.push_back(level);
    }
    if (read.empty() || read.size() > static_cast<size_t>(kMaxPlantLevels)) return false;
    out = read;
    return true;
}

}  // namespace

bool PlantValue(const std::string& key, std::string_view value, const std::string& folder, PlantSettings& p, std::string& why) {
    why.clear();
    const std::string v(value);
    auto bad = [&](const std::string& what) {
        why = "«" + key + " = " + v + "»: " + what;
        return true;
    };
    if (key == "plant_levels") {
        std::string what;
        if (!levels(value, p.levels, what))
            return bad(what.empty() ? "нужны «имя:t0:доля» через запятую (не больше " + std::to_string(kMaxPlantLevels) +
                                          "), t0 от −100 до 20 °C, доля от 0 до 100 %"
                                    : what);
    } else if (const PlantNumber* field = FindPlantNumber(key)) {
        std::string what;
        if (!SetPlantNumber(p, *field, v, what)) return bad(what.substr(what.find(": ") + 2));
    } else if (key == "condenser") {
        if (v != "air" && v != "water") return bad("нужно air или water");
        p.condenser = v == "air" ? CondenserKind::Air : CondenserKind::Water;
    } else if (key == "refrigerant") {
        if (v.empty()) return bad("не указан хладагент");
        p.refrigerant = v;
    } else if (key == "efficiency") {
        if (v != "carnot" && v != "polynomial") return bad("нужно carnot или polynomial");
        p.efficiency = v == "carnot" ? EfficiencyModel::Carnot : EfficiencyModel::Polynomial;
    } else if (key == "polynomial_file") {
        std::string file;
        if (!ReadStoreValue(v, file)) return bad("неверная запись в кавычках");
        p.polynomialFile = file.empty() ? file : AbsolutePath(file, folder);
    } else if (key == "fans") {
        if (v != "continuous" && v != "with_compressor") return bad("нужно continuous или with_compressor");
        p.fansContinuous = v == "continuous";
    } else if (key == "product_profile") {
        std::string what;
        if (!SetProductProfile(p, v, what)) return bad("нужно 12 чисел от 0 до 1000 %");
    } else if (key == "town") {
        if (!ReadStoreValue(v, p.town)) return bad("неверная запись в кавычках");
    } else {
        return false;
    }
    return true;
}

std::string PlantLevelsText(const std::vector<PlantLevel>& levels) {
    std::string text;
    for (const PlantLevel& l : levels)
        text += (text.empty() ? "" : ", ") + l.name + ":" + ExactText(l.evaporating) + ":" + ExactText(l.share);
    return text;
}

std::string PlantText(const PlantSettings& p, const std::string& folder) {
    const PlantSettings d;
    std::string t;
    auto line = [&](const char* key, const std::string& value) { t += std::string(key) + " = " + value + "\n"; };
    for (const PlantNumber& f : PlantNumbers())
        if (f.get(p) != f.get(d)) line(f.key, f.autoWhenEmpty && f.get(p) == 0 ? std::string("auto") : ExactText(f.get(p)));
    if (p.condenser != d.condenser) line("condenser", "water");
    if (p.refrigerant != d.refrigerant) line("refrigerant", p.refrigerant);
    if (p.efficiency != d.efficiency) line("efficiency", "polynomial");
    if (!p.polynomialFile.empty()) line("polynomial_file", StoreValueText(RelativePath(p.polynomialFile, folder)));
    if (p.fansContinuous != d.fansContinuous) line("fans", "with_compressor");
    if (p.productProfile != d.productProfile) line("product_profile", ProductProfileText(p));
    if (!p.town.empty()) line("town", StoreValueText(p.town));
    return t;
}

}  // namespace coldroom
