#include "model/plant_fields.h"

#include <cmath>
#include <sstream>

#include "core/numtext.h"
#include "model/plant_climate.h"

namespace coldroom {
namespace {

using P = PlantSettings;

std::string pointed(std::string text) {
    for (char& c : text)
        if (c == ',') c = '.';
    return text;
}

std::string rangeText(const PlantNumber& f) {
    return "число от " + GeneralText(f.low) + " до " + GeneralText(f.high) + (f.whole ? ", целое" : "");
}

}  // namespace

const std::vector<PlantNumber>& PlantNumbers() {
    static const std::vector<PlantNumber> fields = {
        {"pipework", "Коэффициент потерь k",
         "k в Q0 = k · ΣQкм — потери холода в трубопроводах и аппаратах. Пусто — по температуре кипения уровня: "
         "1,04 при t0 = −10 °C … 1,07 при −40 °C (непосредственное охлаждение; для рассольных систем до 1,12). "
         "Источник: Явнель Б. К. «Курсовое и дипломное проектирование холодильных установок и систем "
         "кондиционирования воздуха», 1989; Курылев Е. С. и др. «Холодильные установки» (страницы не проверены).",
         1, 1.5, false, true, [](const P& p) { return p.pipework; }, [](P& p, double v) { p.pipework = v; }},
        {"condenser_difference", "Воздушный конденсатор: tк − tнар, K",
         "Воздушный конденсатор: температура конденсации tк = tнар + эта разность. По умолчанию 10 K — оценка "
         "без источника (обычно 10–15 K): задайте по данным конденсатора.",
         1, 40, false, false, [](const P& p) { return p.condenserDifference; },
         [](P& p, double v) { p.condenserDifference = v; }},
        {"condensing_min", "Наименьшая tк, °C",
         "Регулятор давления конденсации не даёт tк опуститься ниже этой температуры зимой. По умолчанию 25 °C — "
         "оценка без источника: задайте уставку регулятора.",
         -20, 70, false, false, [](const P& p) { return p.lowestCondensing; },
         [](P& p, double v) { p.lowestCondensing = v; }},
        {"water_condensing", "Водяной конденсатор: tк, °C",
         "Водяной конденсатор: постоянная температура конденсации круглый год. По умолчанию 30 °C — оценка без "
         "источника.",
         -20, 70, false, false, [](const P& p) { return p.waterCondensing; },
         [](P& p, double v) { p.waterCondensing = v; }},
        {"carnot_fraction", "Доля цикла Карно η",
         "COP = η · T0 / (Tк − T0). По умолчанию 0,45 — оценка без источника для полугерметичных поршневых "
         "компрессоров; точнее — полиномы EN 12900 изготовителя (файл коэффициентов).",
         0.05, 1, false, false, [](const P& p) { return p.carnotFraction; },
         [](P& p, double v) { p.carnotFraction = v; }},
        {"tariff", "Тариф, ₽/(кВт·ч)",
         "Цена электроэнергии. 8 ₽/(кВт·ч) — пример без источника: задайте тариф своего предприятия.", 0, 1e9,
         false, false, [](const P& p) { return p.tariff; }, [](P& p, double v) { p.tariff = v; }},
        {"insulation_cost", "Изоляция, ₽/м³",
         "Цена теплоизоляции панелей за кубометр — для исследования толщины. 40 000 ₽/м³ — пример без источника: "
         "задайте цену поставщика.",
         0, 1e9, false, false, [](const P& p) { return p.insulationCost; },
         [](P& p, double v) { p.insulationCost = v; }},
        {"years", "Срок N, лет",
         "Срок расчёта стоимости жизненного цикла LCC. 15 лет — пример без источника.", 1, 100, true, false,
         [](const P& p) { return static_cast<double>(p.years); }, [](P& p, double v) { p.years = static_cast<int>(v); }},
        {"discount_rate", "Ставка дисконтирования r, %",
         "LCC = стоимость изоляции + стоимость энергии за год · (1 − (1 + r)^−N) / r. 10 % — пример без источника.",
         0, 100, false, false, [](const P& p) { return p.discountRate; }, [](P& p, double v) { p.discountRate = v; }},
    };
    return fields;
}

const std::vector<PlantChoice>& PlantChoices() {
    static const std::vector<PlantChoice> fields = {
        {"town", "Город климата",
         "Расчётная летняя температура (СП 131.13330.2020, табл. 4.1, как в проектах камер) и среднемесячные "
         "температуры (табл. 5.1). По умолчанию — город первой прочитанной камеры.",
         [](const P&) {
             std::vector<std::string> towns{"по первой камере"};
             for (const TownClimate& c : MonthlyClimate()) towns.push_back(c.town);
             return towns;
         },
         [](const P& p) {
             const auto& towns = MonthlyClimate();
             for (size_t i = 0; i < towns.size(); ++i)
                 if (towns[i].town == p.town) return static_cast<int>(i) + 1;
             return 0;
         },
         [](P& p, int i) { p.town = i > 0 ? MonthlyClimate()[static_cast<size_t>(i - 1)].town : std::string(); }},
        {"condenser", "Конденсатор",
         "Воздушный — tк по наружному воздуху каждого месяца (tнар + разность, не ниже наименьшей tк); водяной — "
         "постоянная tк.",
         [](const P&) { return std::vector<std::string>{"воздушный", "водяной"}; },
         [](const P& p) { return p.condenser == CondenserKind::Water ? 1 : 0; },
         [](P& p, int i) { p.condenser = i == 1 ? CondenserKind::Water : CondenserKind::Air; }},
        {"refrigerant", "Хладагент",
         "Называет данные компрессора и попадает в записку; COP по доле цикла Карно от хладагента не зависит.",
         [](const P& p) {
             std::vector<std::string> names = Refrigerants();
             bool listed = false;
             for (const std::string& n : names) listed = listed || n == p.refrigerant;
             if (!listed) names.push_back(p.refrigerant);  // as the store file names it
             return names;
         },
         [](const P& p) {
             const auto& names = Refrigerants();
             for (size_t i = 0; i < names.size(); ++i)
                 if (names[i] == p.refrigerant) return static_cast<int>(i);
             return static_cast<int>(names.size());
         },
         [](P& p, int i) {
             if (i >= 0 && i < static_cast<int>(Refrigerants().size())) p.refrigerant = Refrigerants()[static_cast<size_t>(i)];
         }},
        {"efficiency", "КПД компрессора",
         "Доля цикла Карно — COP = η · T0 / (Tк − T0); полиномы EN 12900 — COP = Q(t0, tк) / N(t0, tк) по "
         "коэффициентам изготовителя из файла.",
         [](const P&) { return std::vector<std::string>{"доля цикла Карно", "полиномы EN 12900 (файл)"}; },
         [](const P& p) { return p.efficiency == EfficiencyModel::Polynomial ? 1 : 0; },
         [](P& p, int i) { p.efficiency = i == 1 ? EfficiencyModel::Polynomial : EfficiencyModel::Carnot; }},
        {"fans", "Вентиляторы воздухоохладителей",
         "Круглосуточно (по умолчанию — в сторону большего расхода) или только пока работают компрессоры уровня.",
         [](const P&) { return std::vector<std::string>{"круглосуточно", "вместе с компрессором"}; },
         [](const P& p) { return p.fansContinuous ? 0 : 1; }, [](P& p, int i) { p.fansContinuous = i != 1; }},
    };
    return fields;
}

const PlantNumber* FindPlantNumber(const std::string& key) {
    for (const PlantNumber& f : PlantNumbers())
        if (key == f.key) return &f;
    return nullptr;
}

std::string PlantNumberText(const PlantSettings& plant, const PlantNumber& field) {
    const double v = field.get(plant);
    return field.autoWhenEmpty && v == 0 ? std::string() : GeneralText(v);
}

bool SetPlantNumber(PlantSettings& plant, const PlantNumber& field, const std::string& text, std::string& why) {
    const std::string plain = pointed(text);
    if (field.autoWhenEmpty && (plain.find_first_not_of(' ') == std::string::npos || plain == "auto")) {
        field.set(plant, 0);
        return true;
    }
    double v = 0;
    if (!StrictNumber(plain, v) || !(v >= field.low && v <= field.high) || (field.whole && v != std::floor(v))) {
        why = std::string(field.caption) + ": нужно " + rangeText(field) + (field.autoWhenEmpty ? " или пусто (по умолчанию)" : "");
        return false;
    }
    field.set(plant, v);
    return true;
}

std::string ProductProfileText(const PlantSettings& plant) {
    std::string text;
    for (double v : plant.productProfile) text += (text.empty() ? "" : " ") + GeneralText(v);
    return text;
}

bool SetProductProfile(PlantSettings& plant, const std::string& text, std::string& why) {
    std::istringstream in(pointed(text));
    std::array<double, 12> profile{};
    int n = 0;
    for (std::string word; in >> word; ++n)
        if (n == 12 || !StrictNumber(word, profile[static_cast<size_t>(n)]) || !(profile[static_cast<size_t>(n)] >= 0) ||
            profile[static_cast<size_t>(n)] > 1000) {
            n = -1;
            break;
        }
    if (n != 12) {
        why = "Профиль загрузки продуктом: нужно 12 чисел от 0 до 1000 %, через пробел";
        return false;
    }
    plant.productProfile = profile;
    return true;
}

}  // namespace coldroom
