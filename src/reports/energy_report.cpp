#include "reports/energy_report.h"

#include <charconv>
#include <cmath>

#include "core/numtext.h"
#include "io/cp1251.h"
#include "io/file_errors.h"
#include "reports/html_report.h"

namespace coldroom {
namespace {

std::string kw(double watts) { return FixedText(watts / 1000, 2); }

std::string jsonQuoted(const std::string& text) {
    std::string out = "\"";
    for (char c : text) {
        if (c == '"' || c == '\\') out += '\\';
        if (static_cast<unsigned char>(c) < 0x20) {
            out += ' ';
            continue;
        }
        out += c;
    }
    return out + "\"";
}

// Windows-1251 has neither ³ nor ₽ nor the Greek letters: the CSV spells them out.
std::string cp1251Safe(std::string text) {
    const std::pair<const char*, const char*> swaps[] = {{"м³", "м3"}, {"₽", "руб."}, {"·", "*"}, {"Δ", "d"},
                                                         {"δ", "толщина"}, {"≤", "<="}, {"×", "x"}, {"Σ", "сумма "}};
    for (const auto& [from, to] : swaps)
        for (size_t at = text.find(from); at != std::string::npos; at = text.find(from, at + std::string(to).size()))
            text.replace(at, std::string(from).size(), to);
    return text;
}

// A cell of the CSV: the decimal point of a figure becomes the decimal comma.
std::string csvCell(const std::string& cell, bool number) {
    if (!number) return cell;
    std::string out = cell;
    for (char& c : out)
        if (c == '.') c = ',';
    return out;
}

void csvTable(const std::vector<StoreColumn>& columns, const std::vector<std::vector<std::string>>& rows,
              std::vector<std::string>& out) {
    std::vector<std::string> head;
    for (const StoreColumn& c : columns) head.push_back(c.head);
    out.push_back(CsvRowText(head));
    for (const auto& row : rows) {
        std::vector<std::string> cells;
        for (size_t c = 0; c < columns.size(); ++c) cells.push_back(csvCell(row[c], columns[c].number));
        out.push_back(CsvRowText(cells));
    }
}

std::string condenserText(const PlantSettings& p) {
    if (p.condenser == CondenserKind::Water) return "водяного охлаждения, tк = " + GeneralText(p.waterCondensing) + " °C";
    return "воздушного охлаждения, tк = tнар + " + GeneralText(p.condenserDifference) + " K, не ниже " +
           GeneralText(p.lowestCondensing) + " °C";
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
    s.levelColumns = {{"Уровень"},          {"t0, °C", true},         {"Камер", true},         {"k", true},
                      {"Q0, кВт", true},    {"tк, °C", true},         {"COP", true},           {"Nэ, кВт", true},
                      {"Qк, кВт", true},    {"Э, кВт·ч/год", true},   {"COP сезонный", true},  {"Nэ·8760 ч, кВт·ч", true},
                      {"Стоимость, ₽/год", true}};
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

    s.monthColumns = {{"Уровень"}};
    for (const char* m : MonthShortNames()) s.monthColumns.push_back({std::string(m) + ", кВт·ч", true});
    s.monthColumns.push_back({"Год, кВт·ч", true});
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

    s.roomColumns = {{"Камера"},          {"tкам, °C", true},        {"Δt, K", true},       {"t0 треб., °C", true},
                     {"Уровень"},         {"Qкм, Вт", true},         {"Вентиляторы, Вт", true}, {"Э, кВт·ч/год", true}};
    for (size_t i = 0; i < e.rooms.size(); ++i) {
        const RoomEnergy& r = e.rooms[i];
        const std::string name = RoomFileName(store.rooms[i].path);
        if (!r.included) {
            s.rooms.push_back({name, "", "", "", "", "", "", kUndefinedText});
            continue;
        }
        s.rooms.push_back({name, GeneralText(r.roomTemperature), GeneralText(r.coil), GeneralText(r.wantedEvaporating),
                           store.plant.levels[static_cast<size_t>(r.level)].name + (r.tooCold ? " (!)" : ""),
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
    const PlantSettings& p = store.plant;
    s.settings.push_back("Камера относится к самому тёплому уровню, у которого t0 ≤ tкам − Δt; Δt по умолчанию " +
                         GeneralText(kDefaultCoilDifference) + " K (7–10 K: Явнель Б. К. «Курсовое и дипломное проектирование "
                         "холодильных установок и систем кондиционирования воздуха», 1989).");
    s.settings.push_back("Нагрузка на компрессоры уровня: Q0 = k · Σ Qкм; k — потери в трубопроводах и аппаратах, " +
                         (p.pipework > 0 ? "задан " + GeneralText(p.pipework)
                                         : std::string("1.04 при t0 = −10 °C … 1.07 при −40 °C (непосредственное охлаждение)")) +
                         " (Явнель, 1989; Курылев Е. С. и др. «Холодильные установки»).");
    s.settings.push_back("Конденсатор " + condenserText(p) + "; хладагент " + p.refrigerant + ".");
    s.settings.push_back(p.efficiency == EfficiencyModel::Carnot
                             ? "КПД компрессора: COP = η · T0 / (Tк − T0), η = " + GeneralText(p.carnotFraction) +
                                   " (доля цикла Карно; оценка по данным полугерметичных компрессоров, замените данными изготовителя)."
                             : "КПД компрессора: COP = Q(t0, tк) / N(t0, tк), полиномы EN 12900 из файла «" + p.polynomialFile + "».");
    s.settings.push_back(std::string("Вентиляторы воздухоохладителей работают ") +
                         (p.fansContinuous ? "круглосуточно." : "вместе с компрессором."));
    s.notes = e.problems;
    s.notes.insert(s.notes.end(), e.warnings.begin(), e.warnings.end());
    return s;
}

std::vector<std::string> EnergyTextLines(const EnergySheet& s) {
    std::vector<std::string> out{"Холодильная установка по уровням:"};
    for (const std::string& l : AlignedTableLines(s.levelColumns, s.levels)) out.push_back(l);
    out.push_back("");
    out.push_back("Электроэнергия по месяцам, кВт·ч:");
    for (const std::string& l : AlignedTableLines(s.monthColumns, s.months)) out.push_back(l);
    out.push_back("");
    for (const std::string& l : AlignedTableLines(s.roomColumns, s.rooms)) out.push_back(l);
    out.push_back("");
    out.insert(out.end(), s.summary.begin(), s.summary.end());
    out.insert(out.end(), s.settings.begin(), s.settings.end());
    for (const std::string& n : s.notes) out.push_back("Внимание: " + n);
    return out;
}

std::vector<std::string> EnergyCsvLines(const EnergySheet& s) {
    std::vector<std::string> out{CsvRowText({"Холодильник", s.title, "Дата", s.dateText}), "", CsvRowText({"УСТАНОВКА ПО УРОВНЯМ"})};
    csvTable(s.levelColumns, s.levels, out);
    out.push_back("");
    out.push_back(CsvRowText({"ЭЛЕКТРОЭНЕРГИЯ ПО МЕСЯЦАМ"}));
    csvTable(s.monthColumns, s.months, out);
    out.push_back("");
    out.push_back(CsvRowText({"КАМЕРЫ"}));
    csvTable(s.roomColumns, s.rooms, out);
    out.push_back("");
    for (const std::string& l : s.summary) out.push_back(CsvRowText({l}));
    for (const std::string& l : s.settings) out.push_back(CsvRowText({l}));
    for (const std::string& n : s.notes) out.push_back(CsvRowText({"Внимание: " + n}));
    return out;
}

std::string EnergyJson(const StoreEnergy& e) {
    auto num = [](double v) { return std::isfinite(v) ? GeneralText(v) : std::string("null"); };
    std::string t = "{\"defined\": " + std::string(e.defined ? "true" : "false") + ", \"town\": " + jsonQuoted(e.town) +
                    ", \"totalKWh\": " + num(e.totalKWh) + ", \"compressorKWh\": " + num(e.compressorKWh) +
                    ", \"fanKWh\": " + num(e.fanKWh) + ", \"cost\": " + num(e.cost) + ", \"specificKWh\": " + num(e.specificKWh) +
                    ", \"benchmark\": [" + num(kBenchmarkLow) + ", " + num(kBenchmarkHigh) + "], \"seasonalCop\": " +
                    num(e.seasonalCop) + ", \"designYearKWh\": " + num(e.designYearKWh) + ", \"levels\": [";
    bool first = true;
    for (const LevelEnergy& l : e.levels) {
        t += std::string(first ? "" : ", ") + "{\"name\": " + jsonQuoted(l.level.name) + ", \"evaporating\": " +
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
    for (size_t i = 0; i < e.problems.size(); ++i) t += (i ? ", " : "") + jsonQuoted(e.problems[i]);
    return t + "]}";
}

std::vector<StoreColumn> InsulationColumns() {
    return {{"δ, мм", true},        {"Изоляция, м³", true},     {"Изоляция, ₽", true}, {"Э, кВт·ч/год", true},
            {"Энергия, ₽/год", true}, {"Окупаемость, лет", true}, {"LCC, ₽", true},      {""}};
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

std::vector<std::string> InsulationCsvLines(const InsulationStudy& study) {
    std::vector<std::string> out{CsvRowText({"Толщина панелей", study.subject})};
    csvTable(InsulationColumns(), InsulationRows(study), out);
    return out;
}

bool WriteEnergyCsv(const std::string& path, const EnergySheet& sheet, std::string& error) {
    std::string bytes, why;
    if (!Utf8ToCp1251(cp1251Safe(JoinCrLf(EnergyCsvLines(sheet))), bytes, why)) {
        error = FileWriteError(path, why);
        return false;
    }
    return WriteReportBytes(path, bytes, error);
}

bool WriteEnergyNote(const std::string& path, const Store& store, const StoreEnergy& energy, const EnergySheet& sheet,
                     std::string& error) {
    std::string text;
    for (const std::string& line : EnergyNoteLines(store, energy, sheet)) text += line + "\n";
    return WriteReportBytes(path, text, error);
}

}  // namespace coldroom
