// The store note: how the plant and the annual energy were reached, every formula with the
// numbers put in, in the order of the calculation.
#include <cmath>

#include "core/numtext.h"
#include "reports/energy_report.h"
#include "reports/html_report.h"

namespace coldroom {
namespace {

std::string f(double v, int d = 2) { return FixedText(v, d); }
std::string p(const std::string& html) { return "<p>" + html + "</p>"; }
std::string e(const std::string& text) { return HtmlEscape(text); }

}  // namespace

std::vector<std::string> EnergyNoteLines(const Store& store, const StoreEnergy& en, const EnergySheet& sheet) {
    const PlantSettings& plant = store.plant;
    std::vector<std::string> out{
        "<!DOCTYPE html>", "<html lang=\"ru\"><head><meta charset=\"utf-8\"><title>" + e(sheet.title) + "</title>",
        "<style>body{font-family:serif;margin:1.5em;max-width:60em}table{border-collapse:collapse;margin:.5em 0 1em}"
        "th,td{border:1px solid #999;padding:2px 6px}td.n{text-align:right}.f{margin-left:2em}</style></head><body>",
        "<h1>Расчётная записка холодильника: " + e(sheet.title) + "</h1>", p("Дата: " + e(sheet.dateText))};
    out.push_back("<h2>1. Климат</h2>");
    if (!en.town.empty())
        out.push_back(p("Город " + e(en.town) + ": расчётная температура наружного воздуха t<sub>нар.р</sub> = " +
                        GeneralText(en.designOutside) + " °C (СП 131.13330.2020, табл. 4.1, обеспеченность 0,99); "
                        "среднемесячные температуры — табл. 5.1 того же свода правил."));
    out.push_back("<h2>2. Камеры и уровни кипения</h2>");
    out.push_back(p("Требуемая температура кипения камеры t<sub>0треб</sub> = t<sub>кам</sub> − Δt; камера относится к самому "
                    "тёплому уровню, у которого t<sub>0</sub> ≤ t<sub>0треб</sub>. Доля камеры в нагрузке на компрессоры "
                    "Q<sub>км</sub> = (Q<sub>сум</sub> − (1 − d/100)·Q<sub>экспл</sub>)·100/b, d — доля эксплуатационных "
                    "теплопритоков уровня камеры."));
    for (const std::string& l : HtmlTableLines(sheet.roomColumns, sheet.rooms, "rooms")) out.push_back(l);
    for (size_t i = 0; i < en.rooms.size(); ++i) {
        const RoomEnergy& r = en.rooms[i];
        if (!r.included) continue;
        out.push_back(p(e(RoomFileName(store.rooms[i].path)) + ": t<sub>0треб</sub> = " + GeneralText(r.roomTemperature) + " − " +
                        GeneralText(r.coil) + " = " + GeneralText(r.wantedEvaporating) + " °C → уровень «" +
                        e(plant.levels[static_cast<size_t>(r.level)].name) + "» (t<sub>0</sub> = " +
                        GeneralText(plant.levels[static_cast<size_t>(r.level)].evaporating) + " °C" +
                        (r.chosen ? ", задан" : "") + ", d = " + GeneralText(plant.levels[static_cast<size_t>(r.level)].share) +
                        " %); Q<sub>км</sub> = " + f(r.compressorPart, 0) + " Вт."));
    }
    out.push_back("<h2>3. Установка по уровням в расчётной точке</h2>");
    for (const LevelEnergy& l : en.levels) {
        if (l.rooms == 0) continue;
        const double t0 = l.level.evaporating, tk = l.designCondensing;
        out.push_back("<h3>Уровень «" + e(l.level.name) + "», t<sub>0</sub> = " + GeneralText(t0) + " °C</h3>");
        out.push_back(p("Q<sub>0</sub> = k · ΣQ<sub>км</sub> = " + f(l.pipework, 3) + " · " + f(l.sumParts, 0) + " = " +
                        f(l.capacity, 0) + " Вт."));
        out.push_back(p(plant.condenser == CondenserKind::Water
                            ? "t<sub>к</sub> = " + f(tk, 1) + " °C (водяное охлаждение)."
                            : "t<sub>к</sub> = max(" + GeneralText(plant.lowestCondensing) + "; " + GeneralText(en.designOutside) +
                                  " + " + GeneralText(plant.condenserDifference) + ") = " + f(tk, 1) + " °C."));
        if (plant.efficiency == EfficiencyModel::Carnot)
            out.push_back(p("COP = η · T<sub>0</sub> / (T<sub>к</sub> − T<sub>0</sub>) = " + GeneralText(plant.carnotFraction) +
                            " · " + f(t0 + kKelvin) + " / (" + f(tk + kKelvin) + " − " + f(t0 + kKelvin) + ") = " +
                            f(l.designCop, 3) + "."));
        else
            out.push_back(p("COP = Q(t<sub>0</sub>, t<sub>к</sub>) / N(t<sub>0</sub>, t<sub>к</sub>) по полиномам EN 12900 = " +
                            f(l.designCop, 3) + "."));
        out.push_back(p("N<sub>э</sub> = Q<sub>0</sub> / COP = " + f(l.capacity, 0) + " / " + f(l.designCop, 3) + " = " +
                        f(l.power, 0) + " Вт; теплота конденсатора Q<sub>к</sub> = Q<sub>0</sub> + N<sub>э</sub> = " +
                        f(l.condenserHeat, 0) + " Вт."));
    }
    for (const std::string& l : HtmlTableLines(sheet.levelColumns, sheet.levels, "levels")) out.push_back(l);
    out.push_back("<h2>4. Электроэнергия по месяцам</h2>");
    out.push_back(p("Для каждого месяца стены и покрытие, за которыми наружный воздух, и воздух у двери берутся при "
                    "среднемесячной температуре; пол, соседние помещения, продукт (по месячному профилю) — как в проекте; "
                    "эксплуатационные теплопритоки — с долей одновременности. Теплота месяца Q<sub>м</sub> = k · ΣQ<sub>кам</sub> · "
                    "τ<sub>м</sub> / 1000 кВт·ч, энергия компрессоров Э<sub>м</sub> = Q<sub>м</sub> / COP<sub>м</sub>, "
                    "время работы τ<sub>р</sub> = Q<sub>м</sub> · 1000 / Q<sub>0</sub> ч (не больше τ<sub>м</sub>)."));
    for (const LevelEnergy& l : en.levels) {
        if (l.rooms == 0) continue;
        out.push_back("<h3>Уровень «" + e(l.level.name) + "»</h3>");
        out.push_back("<table><tr><th>Месяц</th><th>tнар, °C</th><th>tк, °C</th><th>COP</th><th>Q, кВт·ч</th>"
                      "<th>Э компрессоров, кВт·ч</th><th>τр, ч</th><th>Э вентиляторов, кВт·ч</th></tr>");
        for (int m = 0; m < 12; ++m) {
            const MonthEnergy& x = l.months[static_cast<size_t>(m)];
            out.push_back(std::string("<tr><td>") + MonthNames()[static_cast<size_t>(m)] + "</td><td class=\"n\">" + f(x.outside, 1) +
                          "</td><td class=\"n\">" + f(x.condensing, 1) + "</td><td class=\"n\">" + f(x.cop, 3) +
                          "</td><td class=\"n\">" + f(x.heatKWh, 1) + "</td><td class=\"n\">" + f(x.heatKWh, 1) + " / " +
                          f(x.cop, 3) + " = " + f(x.compressorKWh, 1) + "</td><td class=\"n\">" + f(x.runHours, 0) +
                          "</td><td class=\"n\">" + f(x.fanKWh, 1) + "</td></tr>");
        }
        out.push_back("</table>");
        out.push_back(p("За год: компрессоры " + f(l.compressorKWh, 0) + " + вентиляторы " + f(l.fanKWh, 0) + " = " +
                        f(l.totalKWh, 0) + " кВт·ч; сезонный COP = " + f(l.heatKWh, 0) + " / " + f(l.compressorKWh, 0) + " = " +
                        f(l.seasonalCop, 2) + "; расчётная точка круглый год N<sub>э</sub> · 8760 = " + f(l.power, 0) +
                        " · 8760 / 1000 = " + f(l.designYearKWh, 0) + " кВт·ч."));
    }
    out.push_back("<h2>5. Итоги</h2>");
    for (const std::string& l : sheet.summary) out.push_back(p(e(l)));
    out.push_back("<h2>6. Принятые значения и источники</h2>");
    for (const std::string& l : LevelRuleSentences(store)) out.push_back(p(e(l)));
    for (const std::string& l : sheet.settings) out.push_back(p(e(l)));
    for (const std::string& n : sheet.notes) out.push_back(p("<b>Внимание:</b> " + e(n)));
    out.push_back("</body></html>");
    return out;
}

}  // namespace coldroom
