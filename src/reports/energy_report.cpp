#include "reports/energy_report.h"

#include <charconv>
#include <cmath>

#include "core/json_text.h"
#include "core/numtext.h"
#include "io/file_errors.h"
#include "model/plant_fields.h"
#include "reports/html_report.h"

namespace coldroom {
namespace {

std::string kw(double watts) { return FixedText(watts / 1000, 2); }

StoreColumn col(std::string head, bool number, double pageWidth) {
    StoreColumn c{std::move(head), number};
    c.pageWidth = pageWidth;
    return c;
}

}  // namespace

std::string FixedText(double value, int decimals) {
    if (!std::isfinite(value)) return kUndefinedText;
    char buffer[400];  // the largest double written out in full, and its decimals
    const auto result = std::to_chars(buffer, buffer + sizeof buffer, value, std::chars_format::fixed, decimals);
    if (result.ec != std::errc()) return GeneralText(value);
    std::string text(buffer, result.ptr);
    if (text.find_first_not_of("-0.") == std::string::npos && text[0] == '-') text.erase(0, 1);  // no "-0.00"
    return text;
}

EnergySheet MakeEnergySheet(const Store& store, const StoreEnergy& e, const std::string& dateText) {
    EnergySheet s;
    s.title = store.title;
    s.dateText = dateText;
    s.monthKWh = e.monthKWh;
    s.levelColumns = {col("Уровень", false, 50),          col("t0, °C", true, 13),        col("Камер", true, 12),
                      col("k", true, 13),                  col("Q0, кВт", true, 16),       col("tк, °C", true, 14),
                      col("COP", true, 14),                col("Nэ, кВт", true, 16),       col("Qк, кВт", true, 16),
                      col("Э, кВт·ч/год", true, 24),       col("COP сезонный", true, 20), col("Nэ·8760 ч, кВт·ч", true, 26),
                      col("Стоимость, ₽/год", true, 26)};
    for (const LevelEnergy& l : e.levels) {
        if (l.rooms == 0) continue;
        s.levels.push_back({l.level.name, GeneralText(l.level.evaporating), std::to_string(l.rooms), FixedText(l.pipework, 3),
                            kw(l.capacity), FixedText(l.designCondensing, 1), FixedText(l.designCop, 2), kw(l.power),
                            kw(l.condenserHeat), FixedText(l.totalKWh, 0), FixedText(l.seasonalCop, 2),
                            FixedText(l.designYearKWh, 0), FixedText(l.cost, 0)});
    }
    int rooms = 0;
    for (const LevelEnergy& l : e.levels) rooms += l.rooms;
    s.levels.push_back({"Холодильник в целом (сумма разных машин)", "", std::to_string(rooms), "", "", "", "", "", "",
                        FixedText(e.totalKWh, 0), FixedText(e.seasonalCop, 2), FixedText(e.designYearKWh, 0),
                        FixedText(e.cost, 0)});

    s.monthColumns = {col("Уровень", false, 40)};
    for (const char* m : MonthShortNames()) s.monthColumns.push_back(col(std::string(m) + ", кВт·ч", true, 17));
    s.monthColumns.push_back(col("Год, кВт·ч", true, 22));
    for (const LevelEnergy& l : e.levels) {
        if (l.rooms == 0) continue;
        std::vector<std::string> row{l.level.name};
        for (const MonthEnergy& m : l.months) row.push_back(FixedText(m.compressorKWh + m.fanKWh, 0));
        row.push_back(FixedText(l.totalKWh, 0));
        s.months.push_back(row);
    }
    std::vector<std::string> total{"Холодильник"};
    for (double v : e.monthKWh) total.push_back(FixedText(v, 0));
    total.push_back(FixedText(e.totalKWh, 0));
    s.months.push_back(total);
    std::vector<std::string> outside{"tнар, °C"}, cops{};
    for (double t : e.outside) outside.push_back(FixedText(t, 1));
    outside.push_back("");
    s.months.push_back(outside);

    s.roomColumns = {col("Камера", false, 50),  col("tкам, °C", true, 16),      col("Δt, K", true, 14),
                     col("t0 треб., °C", true, 18), col("Уровень", false, 30), col("Qкм, Вт", true, 20),
                     col("Вентиляторы, Вт", true, 24), col("Э, кВт·ч/год", true, 26)};
    for (size_t i = 0; i < e.rooms.size(); ++i) {
        const RoomEnergy& r = e.rooms[i];
        const std::string name = RoomFileName(store.rooms[i].path) + CountSuffix(store.rooms[i].count);
        if (!r.included) {
            s.rooms.push_back({name, "", "", "", "", "", "", kUndefinedText});
            continue;
        }
        s.rooms.push_back({name, GeneralText(r.roomTemperature), GeneralText(r.coil), GeneralText(r.wantedEvaporating),
                           store.plant.levels[static_cast<size_t>(r.level)].name + (r.chosen ? " (задан)" : "") +
                               (r.tooWarm ? " (!)" : ""),
                           FixedText(r.compressorPart, 0), FixedText(r.fanPower, 0), FixedText(r.annualKWh, 0)});
    }

    if (e.defined) {
        s.summary.push_back("Город: " + e.town + "; расчётная температура наружного воздуха " + GeneralText(e.designOutside) +
                            " °C (СП 131.13330.2020, табл. 4.1), среднемесячные — табл. 5.1.");
        s.summary.push_back("Электроэнергия за год: " + FixedText(e.totalKWh, 0) + " кВт·ч (компрессоры " +
                            FixedText(e.compressorKWh, 0) + ", вентиляторы воздухоохладителей " + FixedText(e.fanKWh, 0) +
                            "), стоимость " + FixedText(e.cost, 0) + " ₽ по тарифу " + GeneralText(store.plant.tariff) + " ₽/(кВт·ч).");
        s.summary.push_back("Удельный расход: " + FixedText(e.specificKWh, 1) + " кВт·ч/(м³·год) на " + FixedText(e.volume, 0) +
                            " м³ камер; опубликованный диапазон для холодильников " + GeneralText(kBenchmarkLow) + "–" +
                            GeneralText(kBenchmarkHigh) + " кВт·ч/(м³·год) (" + kBenchmarkSource +
                            "); малые камеры обычно расходуют больше.");
        s.summary.push_back("Сезонный COP: " + FixedText(e.seasonalCop, 2) + " (отведённая теплота " + FixedText(e.heatKWh, 0) +
                            " кВт·ч / энергия компрессоров).");
        s.summary.push_back("Для сравнения: расчётная точка круглый год (Nэ × 8760 ч) — " + FixedText(e.designYearKWh, 0) +
                            " кВт·ч компрессоров, в " + FixedText(e.compressorKWh > 0 ? e.designYearKWh / e.compressorKWh : 0, 1) +
                            " раза больше помесячного расчёта.");
    }
    // Every setting with its value and where its default comes from, as the window's tooltips say.
    const PlantSettings& p = store.plant;
    for (const PlantChoice& c : PlantChoices()) {
        const std::vector<std::string> options = c.options(p);
        const int at = c.get(p);
        std::string value = at >= 0 && at < static_cast<int>(options.size()) ? options[static_cast<size_t>(at)] : "";
        if (std::string(c.key) == "town" && p.town.empty() && !e.town.empty()) value += " (" + e.town + ")";
        s.settings.push_back(std::string(c.caption) + ": " + value + ". " + c.tip);
    }
    if (p.efficiency == EfficiencyModel::Polynomial)
        s.settings.push_back("Файл коэффициентов компрессора: «" + p.polynomialFile + "». " + kPolynomialTip);
    for (const PlantNumber& n : PlantNumbers()) {
        const std::string value = PlantNumberText(p, n);
        s.settings.push_back(std::string(n.caption) + ": " + (value.empty() ? "по умолчанию" : value) + ". " + n.tip);
    }
    s.settings.push_back("Загрузка продуктом по месяцам, %: " + ProductProfileText(p) + ". " + kProfileTip);
    s.notes = e.problems;
    s.notes.insert(s.notes.end(), e.warnings.begin(), e.warnings.end());
    return s;
}

std::vector<SheetPart> EnergyParts(const EnergySheet& s) {
    std::vector<SheetPart> parts{
        {"Холодильная установка по уровням кипения", s.levelColumns, s.levels, true, {}},
        {"Электроэнергия по месяцам, кВт·ч", s.monthColumns, s.months, false, {}},
        {"Камеры: уровень и электроэнергия", s.roomColumns, s.rooms, false, {}},
        {"Годовой итог", {}, {}, false, s.summary},
        {"Установка: принятые значения и источники", {}, {}, false, s.settings}};
    for (const std::string& n : s.notes) parts.back().lines.push_back("Внимание: " + n);
    return parts;
}

std::string EnergyJson(const StoreEnergy& e) {
    auto num = [](double v) { return std::isfinite(v) ? GeneralText(v) : std::string("null"); };
    std::string t = "{\"defined\": " + std::string(e.defined ? "true" : "false") + ", \"town\": " + JsonString(e.town) +
                    ", \"totalKWh\": " + num(e.totalKWh) + ", \"compressorKWh\": " + num(e.compressorKWh) +
                    ", \"fanKWh\": " + num(e.fanKWh) + ", \"cost\": " + num(e.cost) + ", \"specificKWh\": " + num(e.specificKWh) +
                    ", \"benchmark\": [" + num(kBenchmarkLow) + ", " + num(kBenchmarkHigh) + "], \"seasonalCop\": " +
                    num(e.seasonalCop) + ", \"designYearKWh\": " + num(e.designYearKWh) + ", \"levels\": [";
    bool first = true;
    for (const LevelEnergy& l : e.levels) {
        t += std::string(first ? "" : ", ") + "{\"name\": " + JsonString(l.level.name) + ", \"evaporating\": " +
             num(l.level.evaporating) + ", \"rooms\": " + std::to_string(l.rooms) + ", \"pipework\": " + num(l.pipework) +
             ", \"capacity\": " + num(l.capacity) + ", \"condensing\": " + num(l.designCondensing) + ", \"cop\": " +
             num(l.designCop) + ", \"power\": " + num(l.power) + ", \"condenserHeat\": " + num(l.condenserHeat) +
             ", \"totalKWh\": " + num(l.totalKWh) + ", \"monthKWh\": [";
        for (int m = 0; m < 12; ++m)
            t += std::string(m ? ", " : "") + num(l.months[static_cast<size_t>(m)].compressorKWh + l.months[static_cast<size_t>(m)].fanKWh);
        t += "]}";
        first = false;
    }
    t += "], \"problems\": [";
    for (size_t i = 0; i < e.problems.size(); ++i) t += (i ? ", " : "") + JsonString(e.problems[i]);
    return t + "]}";
}

std::vector<StoreColumn> InsulationColumns() {
    return {col("Толщина, мм", true, 20),     col("Изоляция, м³", true, 24),     col("Изоляция, ₽", true, 28),
            col("Э, кВт·ч/год", true, 26),    col("Энергия, ₽/год", true, 28),   col("Окупаемость, лет", true, 26),
            col("LCC, ₽", true, 30),          col("", false, 30)};
}

std::vector<std::vector<std::string>> InsulationRows(const InsulationStudy& study) {
    std::vector<std::vector<std::string>> rows;
    for (size_t i = 0; i < study.points.size(); ++i) {
        const ThicknessPoint& p = study.points[i];
        if (!p.defined) {
            rows.push_back({GeneralText(p.mm), kUndefinedText, kUndefinedText, kUndefinedText, kUndefinedText, kUndefinedText,
                            kUndefinedText, ""});
            continue;
        }
        rows.push_back({GeneralText(p.mm), FixedText(p.insulationM3, 2), FixedText(p.insulationCost, 0), FixedText(p.annualKWh, 0),
                        FixedText(p.energyCost, 0), p.payback < 0 ? std::string("не окупается") : FixedText(p.payback, 1),
                        FixedText(p.lifeCycleCost, 0), static_cast<int>(i) == study.best ? "минимум LCC" : ""});
    }
    return rows;
}

SheetPart InsulationPart(const Store& store, const InsulationStudy& study) {
    const PlantSettings& p = store.plant;
    SheetPart part{"Толщина панелей: " + study.subject, InsulationColumns(), InsulationRows(study), false, {}};
    part.lines.push_back("Толщина первого слоя изоляции всех стен, потолка и пола; как в проектах: " +
                         FixedText(study.designKWh, 0) + " кВт·ч/год, изоляция " + FixedText(study.designInsulationCost, 0) +
                         " ₽. Изоляция " + GeneralText(p.insulationCost) + " ₽/м³, тариф " + GeneralText(p.tariff) +
                         " ₽/(кВт·ч), LCC = изоляция + энергия за год · (1 − (1 + r)^−N) / r при N = " +
                         std::to_string(p.years) + " лет, r = " + GeneralText(p.discountRate) +
                         " %; окупаемость — дополнительная изоляция / годовая экономия против проекта.");
    if (study.best >= 0) {
        const bool edge = study.points.size() > 1 && (study.best == 0 || study.best + 1 == static_cast<int>(study.points.size()));
        part.lines.push_back("Наименьшая LCC — при " + GeneralText(study.points[static_cast<size_t>(study.best)].mm) + " мм" +
                             (edge ? ", на краю диапазона: расширьте его, наименьшая может лежать за ним." : "."));
    }
    return part;
}

std::string InsulationJson(const InsulationStudy& study) {
    auto num = [](double v) { return std::isfinite(v) ? GeneralText(v) : std::string("null"); };
    std::string t = "{\"subject\": " + JsonString(study.subject) + ", \"designKWh\": " + num(study.designKWh) +
                    ", \"designInsulationCost\": " + num(study.designInsulationCost) + ", \"bestMm\": " +
                    (study.best >= 0 ? num(study.points[static_cast<size_t>(study.best)].mm) : std::string("null")) +
                    ", \"points\": [";
    for (size_t i = 0; i < study.points.size(); ++i) {
        const ThicknessPoint& p = study.points[i];
        t += std::string(i ? ", " : "") + "{\"mm\": " + num(p.mm);
        if (p.defined)
            t += ", \"insulationM3\": " + num(p.insulationM3) + ", \"insulationCost\": " + num(p.insulationCost) +
                 ", \"annualKWh\": " + num(p.annualKWh) + ", \"energyCost\": " + num(p.energyCost) + ", \"payback\": " +
                 (p.payback < 0 ? std::string("null") : num(p.payback)) + ", \"lifeCycleCost\": " + num(p.lifeCycleCost);
        t += "}";
    }
    return t + "]}";
}

bool WriteEnergyNote(const std::string& path, const Store& store, const StoreEnergy& energy, const EnergySheet& sheet,
                     std::string& error) {
    std::string text;
    for (const std::string& line : EnergyNoteLines(store, energy, sheet)) text += line + "\n";
    return WriteReportBytes(path, text, error);
}

}  // namespace coldroom
