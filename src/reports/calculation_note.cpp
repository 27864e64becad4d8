#include "reports/calculation_note.h"

#include <algorithm>
#include <charconv>
#include <cmath>

#include "core/design_margin.h"
#include "core/load_components.h"
#include "core/numtext.h"
#include "model/field_catalogue.h"
#include "model/task_edit.h"

namespace coldroom {
namespace {

// ---- Numbers ------------------------------------------------------------------------------

// A number rounded to `decimals` places, trailing zeros dropped, a point before the fraction,
// whatever the locale.
std::string num(double v, int decimals = 3) {
    if (!std::isfinite(v)) return kUndefinedText;
    char buf[400];  // the largest double written out in full (309 digits) and its decimals
    const auto r = std::to_chars(buf, buf + sizeof buf, v, std::chars_format::fixed, decimals);
    if (r.ec != std::errc()) return GeneralText(v);
    std::string s(buf, r.ptr);
    if (s.find('.') != std::string::npos) {
        while (s.back() == '0') s.pop_back();
        if (s.back() == '.') s.pop_back();
    }
    return s == "-0" ? "0" : s;
}

// A value in a formula: negative numbers in brackets, so that "− (−20)" reads right.
std::string term(double v, int decimals = 3) {
    const std::string s = num(v, decimals);
    return s[0] == '-' ? "(" + s + ")" : s;
}

std::string whole(const LoadValue& v) { return LoadText(v); }

const char* const kSurfaceTitles[kSurfaceCount] = {"Стена «Север»", "Стена «Юг»", "Стена «Восток»",
                                                   "Стена «Запад»", "Потолок",    "Пол"};
const char* const kSideControls[kSurfaceCount] = {"TempNord_txt", "TempSouth_txt", "TempEast_txt",
                                                  "TempWest_txt", "TempCeil_txt",  "TempFloor_txt"};
const char* const kCoatingControls[5] = {"NorthSurf_cmb", "SouthSurf_cmb", "EastSurf_cmb", "WestSurf_cmb",
                                         "CeilSurf_cmb"};
const char* const kZones[4] = {"I", "II", "III", "IV"};

// ---- Building ---------------------------------------------------------------------------

class Writer {
public:
    Writer(const RoomProject& p, const RoomResult& r, const ReferenceData& d) : p_(p), r_(r), d_(d) {}

    void section(const std::string& text) {
        note.blocks.push_back({NoteBlock::Kind::Section, std::to_string(++section_) + ". " + text, {}});
        subsection_ = 0;
    }
    void subsection(const std::string& text) {
        note.blocks.push_back(
            {NoteBlock::Kind::Subsection, std::to_string(section_) + "." + std::to_string(++subsection_) + ". " + text, {}});
    }
    void text(const std::string& text) { note.blocks.push_back({NoteBlock::Kind::Text, text, {}}); }
    void row(std::string label, std::string formula, std::string value, std::string unit, std::string key = {}) {
        if (note.blocks.empty() || note.blocks.back().kind != NoteBlock::Kind::Rows)
            note.blocks.push_back({NoteBlock::Kind::Rows, {}, {}});
        note.blocks.back().rows.push_back(
            {std::move(label), std::move(formula), std::move(value), std::move(unit), std::move(key)});
    }
    // A load component's value as the results show it, with its reason when undefined.
    void load(std::string label, std::string formula, const LoadValue& v, const std::string& key) {
        row(std::move(label), std::move(formula), whole(v), "Вт", key);
        if (!v.defined) text("Не определено: " + v.problem);
    }
    std::string list(const char* control, FieldForm form, int position) const {
        return ListText(*FindField(control, form), p_, d_, position);
    }

    void inputs();
    void envelope();
    void product();
    void packaging();
    void operation();
    void totals(int marginPercent);
    void coolingTime();
    void problems();

    CalculationNote note;

private:
    void surface(int s);
    void groundFloor();
    void layers(int s);
    std::string coatingName(int s) const;

    const RoomProject& p_;
    const RoomResult& r_;
    const ReferenceData& d_;
    int section_ = 0, subsection_ = 0;
};

void Writer::inputs() {
    const TaskValues& t = p_.task;
    section("Исходные данные");
    row("Технологическая задача", "", TaskListText(p_, d_), "");
    row("Длина камеры", "", p_.Length_txt, "м");
    row("Ширина камеры", "", p_.Width_txt, "м");
    row("Высота камеры", "", p_.Height_txt, "м");
    row("Объём камеры", "", p_.Volume_txt, "м³");
    row("Площадь пола", "F = длина × ширина", num(r_.trace.operation.floorArea, 2), "м²");
    row("Температура в камере", "tв", p_.TempIn_txt, "°C");
    row("Относительная влажность в камере", "φв", t.HumidIn_txt, "%");
    row("Скорость движения воздуха в камере", "v", t.Velocity_txt, "м/с");
    row("Место расположения камеры", "", list("Location_cmb", FieldForm::Main, p_.Location_cmb), "");
    row("Широта места", "", num(r_.trace.envelope.latitude, 2), "°");
    row("Рабочий цикл агрегата", "b", p_.Cycle_txt, "%");
    row("Продукт", "", list("Produkt_cmb", FieldForm::Task, t.Produkt_cmb), "");
    row("Упаковка", "", list("Packing_cmb", FieldForm::Task, t.Packing_cmb), "");
}

std::string Writer::coatingName(int s) const {
    // One list without a choice makes every coating read as its first row.
    bool anyUnset = p_.Location_cmb < 0;
    for (int c : p_.coating) anyUnset = anyUnset || c < 0;
    return list(kCoatingControls[s], FieldForm::Main, anyUnset ? 0 : p_.coating[s]);
}

void Writer::layers(int s) {
    const SurfaceTrace& t = r_.trace.envelope.surfaces[s];
    for (int l = 0; l < 3; ++l) {
        const LayerTrace& layer = t.layers[l];
        if (layer.thicknessMm == 0) continue;  // a layer of no thickness is not there
        const std::string control = std::string(kSurfacePrefixes[s]) + std::to_string(l + 1) + "_Mt_cmb";
        row("Слой " + std::to_string(l + 1) + ": " + list(control.c_str(), FieldForm::Main, p_.material[s][l]),
            "R = δ / λ = " + num(layer.thicknessMm / 1000, 4) + " / " + num(layer.conductivity, 4), num(layer.resistance, 4),
            "м²·К/Вт");
    }
}

void Writer::surface(int s) {
    const SurfaceTrace& t = r_.trace.envelope.surfaces[s];
    const LoadValue& q = r_.loads.surfaces[s];
    const LoadComponent& c = LoadComponents()[s];
    const bool outer = s < 5 && p_.outer[s];
    std::string title = kSurfaceTitles[s];
    if (s == kFloor) title += " над помещением";
    else if (s == kCeiling) title += outer ? " — крыша" : " — перекрытие";
    else title += outer ? " — наружная" : " — внутренняя";
    subsection(title);
    if (!t.computed) {
        load("Теплоприток", "", q, c.jsonKey);
        return;
    }
    const std::string& side = s == kEast || s == kWest ? p_.Width_txt : p_.Length_txt;
    const std::string& other = s == kCeiling || s == kFloor ? p_.Width_txt : p_.Height_txt;
    row("Площадь", "F = " + side + " × " + other, num(t.area, 3), "м²");
    layers(s);
    const char* outside = s == kFloor      ? "пол над помещением"
                          : s == kCeiling ? (outer ? "крыша" : "перекрытие")
                          : outer         ? "наружная стена"
                                          : "внутренняя стена";
    row("Коэффициент теплоотдачи снаружи", std::string("αн (") + outside + ")", num(t.alphaOut, 3), "Вт/(м²·К)");
    row("Коэффициент теплоотдачи в камере", "αв", num(t.alphaIn, 4), "Вт/(м²·К)");
    double layerSum = 0;
    for (const LayerTrace& l : t.layers) layerSum += l.resistance;
    row("Термическое сопротивление", "R = Σ δ/λ + 1/αн + 1/αв = " + num(layerSum, 4) + " + " + num(1 / t.alphaOut, 4) +
                                         " + " + num(1 / t.alphaIn, 4),
        num(t.resistance, 4), "м²·К/Вт");
    row("Коэффициент теплопередачи", "k = 1 / R", num(t.transmittance, 4), "Вт/(м²·К)");
    row(FindField(kSideControls[s], FieldForm::Main)->caption, "tн", num(t.outside, 2), "°C");
    row("Температура в камере", "tв", num(t.inside, 2), "°C");
    if (outer) {
        row("Поглощение покрытия «" + coatingName(s) + "»", "A", num(t.absorption, 3), "");
        row("Интенсивность солнечной радиации", "I", num(t.intensity, 0), "Вт/м²");
        row("Избыток температуры от солнца",
            "Δtс = A · I · " + num(kSolarFactor) + " / " + num(kOuterAlpha) + " = " + num(t.absorption, 3) + " · " +
                num(t.intensity, 0) + " · " + num(kSolarFactor) + " / " + num(kOuterAlpha),
            num(t.solarExcess, 3), "К");
    }
    row("Расчётная разность температур",
        "Δt = tн" + std::string(outer ? " + Δtс" : "") + " − tв = " + num(t.outside, 2) +
            (outer ? " + " + num(t.solarExcess, 3) : "") + " − " + term(t.inside, 2),
        num(t.difference, 3), "К");
    load("Теплоприток",
         "Q = k · F · Δt = " + num(t.transmittance, 4) + " · " + num(t.area, 3) + " · " + term(t.difference, 3) + " = " +
             num(t.gain, 2) + "; целая часть",
         q, c.jsonKey);
}

void Writer::groundFloor() {
    const SurfaceTrace& t = r_.trace.envelope.surfaces[kFloor];
    const FloorTrace& f = r_.trace.envelope.floor;
    const LoadValue& q = r_.loads.surfaces[kFloor];
    subsection(std::string("Пол на грунте — ") + (f.heated ? "с обогревом" : "без обогрева"));
    text("Пол на грунте рассчитывается по зонам шириной " + num(kFloorZoneWidth) +
         " м от наружных стен; коэффициент теплопередачи зоны с изоляцией пола k' = 1 / (1/k + Rиз).");
    row("Площадь", "F = " + p_.Length_txt + " × " + p_.Width_txt, num(t.area, 3), "м²");
    layers(kFloor);
    row("Сопротивление изоляции пола", "Rиз = Σ δ/λ", num(t.resistance, 4), "м²·К/Вт");
    for (int z = 0; z < 4; ++z) {
        if (f.zoneArea[z] == 0) continue;
        row("Зона " + std::string(kZones[z]),
            "F = " + num(f.zoneArea[z], 3) + " м², k = " + num(kFloorZoneK[z]) + ", k' = 1 / (1/" + num(kFloorZoneK[z]) +
                " + " + num(t.resistance, 4) + ") = " + num(f.zoneTransmittance[z], 4) + "; F · k'",
            num(f.zoneArea[z] * f.zoneTransmittance[z], 3), "Вт/К");
    }
    row("Теплопроводность пола", "G = Σ F · k'", num(f.conductance, 3), "Вт/К");
    const RoomProject& p = p_;
    row("Температура грунта", "tгр = (tС + tЮ + tВ + tЗ) / 4 = (" + p.sideTemp[kNorth] + " + " + p.sideTemp[kSouth] +
                                  " + " + p.sideTemp[kEast] + " + " + p.sideTemp[kWest] + ") / 4",
        num(f.groundTemperature, 2), "°C");
    row("Температура в камере", "tв", num(t.inside, 2), "°C");
    const std::string G = num(f.conductance, 3), tg = term(f.groundTemperature, 2), ti = term(t.inside, 2);
    std::string formula;
    if (!f.frozenGround) {
        formula = "Q = G · (tгр − tв) = " + G + " · (" + tg + " − " + ti + ")";
    } else if (f.heated) {
        row("Обогрев пола", "(−2 − tв) · 15/33 · F = (−2 − " + ti + ") · " + num(kFloorHeatingFactor, 4) + " · " +
                                num(t.area, 3),
            num(f.heating, 2), "Вт");
        formula = "Q = G · (tгр + 2) + обогрев = " + G + " · (" + tg + " + 2) + " + num(f.heating, 2);
    } else {
        row("Промерзание грунта", "√(−2 − tв)", num(f.frozenExcess, 4), "К");
        formula = "Q = G · (tгр + 2 + √(−2 − tв)) = " + G + " · (" + tg + " + 2 + " + num(f.frozenExcess, 4) + ")";
    }
    load("Теплоприток", formula + " = " + num(t.gain, 2) + "; целая часть", q, "floor");
}

void Writer::envelope() {
    const EnvelopeTrace& e = r_.trace.envelope;
    section("Теплопритоки через ограждения");
    text("Теплоприток через ограждение Q = k · F · Δt, где k = 1 / R — коэффициент теплопередачи, "
         "R = Σ δ/λ + 1/αн + 1/αв — термическое сопротивление слоёв и обеих поверхностей, "
         "Δt = tн + Δtс − tв — разность температур, для наружных стен и крыши с избытком от солнечной радиации "
         "Δtс = A · I · 0.75 / 23.3. Теплоприток каждого ограждения берётся целым числом ватт (целая часть).");
    row("Коэффициент теплоотдачи в камере",
        "αв = −0.03 · v² + 3.95 · v + 5.83 при v = " + num(e.velocity, 3) + " м/с", num(e.alphaIn, 4), "Вт/(м²·К)");
    for (int s = 0; s < kSurfaceCount; ++s) {
        if (s == kFloor && p_.FloorGrunt_Opt) groundFloor();
        else surface(s);
    }
    subsection("Итого через ограждения");
    const LoadBreakdown& b = r_.loads;
    load("Стены", "QС + QЮ + QВ + QЗ = " + whole(b.surfaces[kNorth]) + " + " + whole(b.surfaces[kSouth]) + " + " +
                      whole(b.surfaces[kEast]) + " + " + whole(b.surfaces[kWest]),
         r_.wallTotal, "walls");
    load("Через стены, пол и потолок",
         "Qстены + Qпотолок + Qпол = " + whole(r_.wallTotal) + " + " + whole(b.surfaces[kCeiling]) + " + " +
             whole(b.surfaces[kFloor]),
         b.envelope, "envelope");
}

void Writer::product() {
    const ProductTrace& t = r_.trace.product;
    section("Теплоприток от продукта");
    text("Теплоприток от охлаждения продукта Q = 1000 · M · Δh / (3600 · τ), где Δh = hн − hк — разность "
         "энтальпий продукта при начальной и конечной температурах по таблице продукта (линейная интерполяция), "
         "M — масса продукта за сутки, τ — желаемое время охлаждения.");
    row("Продукт", "", list("Produkt_cmb", FieldForm::Task, p_.task.Produkt_cmb), "");
    row("Масса охлаждаемой продукции за сутки", "M", num(t.massKg, 2), "кг");
    row("Начальная температура продукта", "tн", num(t.tIn, 2), "°C");
    row("Конечная температура продукта", "tк", num(t.tEnd, 2), "°C");
    row("Желаемое время охлаждения", "τ", num(t.requestedHours, 3), "ч");
    auto reading = [&](const char* label, const char* symbol, const EnthalpyReading& e) {
        if (!e.found) {
            row(label, std::string(symbol) + ": вне таблицы продукта", kUndefinedText, "кДж/кг");
            return;
        }
        row(label,
            std::string(symbol) + " между " + num(e.t0, 2) + " °C (" + num(e.h0, 2) + ") и " + num(e.t1, 2) + " °C (" +
                num(e.h1, 2) + ")",
            num(e.h, 3), "кДж/кг");
    };
    const bool cooled = t.tIn != t.tEnd && t.requestedHours > 0;
    if (cooled) {
        reading("Энтальпия при начальной температуре", "hн", t.start);
        reading("Энтальпия при конечной температуре", "hк", t.end);
    }
    if (cooled && t.start.found && t.end.found) {
        row("Разность энтальпий", "Δh = hн − hк = " + num(t.start.h, 3) + " − " + num(t.end.h, 3),
            num(t.enthalpyDifference, 3), "кДж/кг");
        row("Теплоприток от охлаждения",
            "Q = 1000 · " + num(t.massKg, 2) + " · " + num(t.enthalpyDifference, 3) + " / (3600 · " +
                num(t.requestedHours, 3) + ") = " + num(t.gain, 2) + "; целая часть",
            num(IntFloor(t.gain), 0), "Вт");
    } else if (t.tIn == t.tEnd) {
        text("Начальная и конечная температуры продукта равны: охлаждать нечего, теплоприток от продукта 0 "
             "(теплота дыхания не добавляется).");
    }
    if (t.respirationCounted)
        load("Теплота дыхания", "Qдых = M · " + num(kRespirationPerKg) + " / 3600 = " + num(t.respiration, 2) +
                                    "; целая часть",
             r_.loads.respiration, "respiration");
    load("Теплоприток от продукта", t.respirationCounted ? "Q + Qдых" : "Q", r_.loads.product, "product");
    row("Норма загрузки продукта", "N", num(t.norm, 4), "т/м³");
    row("Вместимость камеры", "V · N = " + num(t.volume, 3) + " · " + num(t.norm, 4),
        GeneralText(r_.storageCapacity), "т", "storage");
}

void Writer::packaging() {
    const PackagingLoadInputs& in = r_.trace.packagingInputs;
    const PackagingTrace& t = r_.trace.packaging;
    section("Теплоприток от упаковки");
    row("Упаковка", "", list("Packing_cmb", FieldForm::Task, p_.task.Packing_cmb), "");
    row("Удельная теплоёмкость упаковки", "c", num(in.specificHeat, 3), "кДж/(кг·К)");
    row("Масса упаковки", "mу = " + num(kPackagingShare) + " · M = " + num(kPackagingShare) + " · " +
                              num(in.dailyMassKg, 2),
        num(t.massKg, 2), "кг");
    row("Время охлаждения", "τ", GeneralTextSingle(in.rTime), "ч");
    load("Теплоприток от упаковки",
         "Q = 1000 · mу · c · (tн − tк) / (3600 · τ) = 1000 · " + num(t.massKg, 2) + " · " + num(in.specificHeat, 3) +
             " · (" + num(in.tIn, 2) + " − " + term(in.tEnd, 2) + ") / (3600 · " + GeneralTextSingle(in.rTime) +
             ") = " + num(t.gain, 2) + "; целая часть",
         r_.loads.packaging, "packaging");
}

void Writer::operation() {
    const OperationalInputs& in = r_.trace.operationInputs;
    const OperationalTrace& t = r_.trace.operation;
    const std::string tau = GeneralTextSingle(in.rTime);
    section("Эксплуатационные теплопритоки");
    text("Теплопритоки от освещения, людей, электропогрузчиков и оборудования распределяются на рабочий цикл "
         "τц = " + tau + " ч (желаемое время охлаждения).");
    row("Тип камеры", "", list("TypeOfCell_cmb", FieldForm::Main, p_.TypeOfCell_cmb), "");
    row("Удельная мощность освещения", t.litAsStore ? "qосв (камеры хранения)" : "qосв (производственные помещения)",
        GeneralTextSingle(t.illumination), "Вт/м²");
    row("Время пребывания людей (и освещения)", "τл", num(in.peopleHours, 3), "ч");
    row("Освещение", "Qосв = F · qосв · τл / τц = " + num(t.floorArea, 2) + " · " + GeneralTextSingle(t.illumination) +
                         " · " + num(in.peopleHours, 3) + " / " + tau,
        num(t.light, 2), "Вт");
    row("Число людей", "n", num(in.people, 3), "");
    row("Тепловыделение одного человека", "qл = 270 − 6 · tв = 270 − 6 · " + term(in.tempIn, 2),
        GeneralTextSingle(t.perPerson), "Вт");
    row("Люди", "Qл = n · qл · τл / τц = " + num(in.people, 3) + " · " + GeneralTextSingle(t.perPerson) + " · " +
                    num(in.peopleHours, 3) + " / " + tau,
        num(t.people, 2), "Вт");
    row("Электропогрузчики", "Qп = 1000 · Eп / τц = 1000 · " + num(in.lifterKWh, 3) + " / " + tau, num(t.lifts, 2),
        "Вт");
    row("Технологическое оборудование", "Qо = 1000 · Eо / τц = 1000 · " + num(in.equipmentKWh, 3) + " / " + tau,
        num(t.equipment, 2), "Вт");
    if (in.fansManual)
        row("Вентиляторы воздухоохладителей (мощность задана)",
            "Qв = Pв · b / 100 = " + num(in.fanPower, 2) + " · " + num(in.cycle, 2) + " / 100", num(t.fans, 2), "Вт");
    else
        text("Мощность вентиляторов воздухоохладителей учитывается автоматически по требуемой "
             "холодопроизводительности (раздел " + std::to_string(section_ + 1) + ").");
    if (in.doorStandard) {
        row("Теплоприток через двери (стандартные условия)",
            "Qдв = qдв · F = " + num(t.doorRate, 2) + " · " + num(t.floorArea, 2) +
                "; qдв по типу камеры и площади пола",
            num(t.door, 2), "Вт");
    } else {
        row("Высота и ширина двери", "H × W", p_.Door_H_txt + " × " + p_.Door_W_txt, "м");
        row("Дверь открыта", "τд", num(in.doorHours, 3), "ч/сут");
        row("Занавесь «" + list("TypeOfCurtain_cmb", FieldForm::Main, p_.TypeOfCurtain_cmb) + "»", "kз",
            GeneralTextSingle(t.curtainFactor), "");
        row("Наружная температура и влажность", "tн, φн", num(in.tempOut, 2) + " °C, " + num(in.humidOut, 2) + " %", "");
        if (in.tempIn <= -11)
            row("Энтальпия воздуха в камере", "hв = tв + 0.1 · (2501 + 1.93 · tв) / (tв + 8)²", num(t.roomEnthalpy, 3),
                "кДж/кг");
        else
            row("Энтальпия воздуха в камере",
                "hв = tв + φв · 0.000035 · (2501 + 1.93 · tв) · (1 + 0.008 · tв²), φв = " + num(in.humidIn, 2) + " %",
                num(t.roomEnthalpy, 3), "кДж/кг");
        row("Энтальпия наружного воздуха", "hн = tн + φн · 0.000035 · (2501 + 1.93 · tн) · (1 + 0.008 · tн²)",
            num(t.outsideEnthalpy, 3), "кДж/кг");
        row("Плотность воздуха в камере", "ρв = 1.293 / (1 + tв / 273.15)", num(t.roomDensity, 4), "кг/м³");
        row("Плотность наружного воздуха", "ρн = 1.293 / (1 + tн / 273.15)", num(t.outsideDensity, 4), "кг/м³");
        row("Теплоприток через двери (специальные условия)",
            "Qдв = kз · (8 + 0.067 · (tн − tв)) · τд · 60/τц · H · W · (hн − hв) · ρв · √(H · |1 − ρн/ρв|) = " +
                GeneralTextSingle(t.curtainFactor) + " · (8 + 0.067 · (" + num(in.tempOut, 2) + " − " +
                term(in.tempIn, 2) + ")) · " + num(in.doorHours, 3) + " · " + GeneralTextSingle(t.perCycle) + " · " +
                num(in.doorHeight, 3) + " · " + num(in.doorWidth, 3) + " · (" + num(t.outsideEnthalpy, 3) + " − " +
                term(t.roomEnthalpy, 3) + ") · " + num(t.roomDensity, 4) + " · √(" + num(in.doorHeight, 3) +
                " · |1 − " + num(t.outsideDensity, 4) + "/" + num(t.roomDensity, 4) + "|)",
            num(t.door, 2), "Вт");
    }
    load("в т.ч. через дверь", "целая часть Qдв", r_.loads.door, "door");
    const LoadValue before = r_.loads.operation.defined && !in.fansManual
                                 ? LoadValue::of(IntFloor(t.sum))
                                 : r_.loads.operation;
    load(in.fansManual ? LoadCaption(LoadId::Operation) : "Эксплуатационные теплопритоки без вентиляторов",
         "Qосв + Qп + Qл + Qо" + std::string(in.fansManual ? " + Qв" : "") + " + Qдв = " + num(t.sum, 2) +
             "; целая часть",
         before, "");
}

void Writer::totals(int marginPercent) {
    const LoadBreakdown& b = r_.loads;
    const TotalsTrace& t = r_.trace.totals;
    section("Суммарный теплоприток и требуемая холодопроизводительность");
    const std::string operation =
        t.autoFans && b.capacity.defined ? WholeText(r_.trace.operation.sum) : whole(b.operation);
    const std::string from = " (раздел ";
    row("Через стены, пол и потолок", "Qогр" + from + std::to_string(section_ - 4) + ")", whole(b.envelope), "Вт");
    row(LoadCaption(LoadId::Product), "Qпр" + from + std::to_string(section_ - 3) + ")", whole(b.product), "Вт");
    row(LoadCaption(LoadId::Packaging), "Qуп" + from + std::to_string(section_ - 2) + ")", whole(b.packaging), "Вт");
    const bool fansAdded = t.autoFans && b.capacity.defined;
    row(LoadCaption(LoadId::Operation),
        "Qэкспл" + from + std::to_string(section_ - 1) + (fansAdded ? "), без вентиляторов" : ")"), operation, "Вт",
        fansAdded ? "" : "operation");
    if (!b.problem.empty() && !b.total.defined) {
        load(LoadCaption(LoadId::Total), "", b.total, "total");
        load(LoadCaption(LoadId::Capacity), "", b.capacity, "capacity");
        return;
    }
    const std::string parts = whole(b.envelope) + " + " + whole(b.product) + " + " + whole(b.packaging) + " + " + operation;
    row("Рабочий цикл агрегата", "b", num(t.cycle, 3), "%");
    if (!t.autoFans || !b.capacity.defined) {
        if (t.autoFans) row("Вентиляторы воздухоохладителей", "", whole(b.fans), "Вт", "fans");
        else row("в т.ч. вентиляторы воздухоохладителей", "Qв (раздел " + std::to_string(section_ - 1) + ")",
                 whole(b.fans), "Вт", "fans");
        load(LoadCaption(LoadId::Total), "Qсум = Qогр + Qпр + Qуп + Qэкспл = " + parts, b.total, "total");
        load(LoadCaption(LoadId::Capacity), "Q0 = Qсум · 100 / b = " + whole(b.total) + " · 100 / " + num(t.cycle, 3) +
                                                "; целая часть",
             b.capacity, "capacity");
    } else {
        row("Суммарные потери без вентиляторов", "Qсум' = Qогр + Qпр + Qуп + Qэкспл = " + parts, GeneralText(t.sum),
            "Вт");
        row("Холодопроизводительность без вентиляторов",
            "Q0' = Qсум' · 100 / b = " + GeneralText(t.sum) + " · 100 / " + num(t.cycle, 3) + "; целая часть",
            GeneralText(t.firstCapacity), "Вт");
        row("Мощность вентиляторов на ватт холодопроизводительности", "kв", num(t.fanShare, 4), "");
        row("Мощность вентиляторов воздухоохладителей",
            "Pв = Q0' · kв = " + GeneralText(t.firstCapacity) + " · " + num(t.fanShare, 4) + " = " + num(t.fanPower, 2) +
                "; целая часть",
            whole(b.fanPower), "Вт");
        row("Теплота вентиляторов за цикл", "Qв = Pв · b / 100 = " + num(t.fanPower, 2) + " · " + num(t.cycle, 3) + " / 100",
            whole(b.fans), "Вт", "fans");
        load(LoadCaption(LoadId::Operation), "Qэкспл + Qв = " + operation + " + " + num(t.fanHeat, 2) + "; целая часть",
             b.operation, "operation");
        load(LoadCaption(LoadId::Total), "Qсум = Qсум' + Qв = " + GeneralText(t.sum) + " + " + num(t.fanHeat, 2) +
                                             "; целая часть",
             b.total, "total");
        load(LoadCaption(LoadId::Capacity), "Q0 = Qсум · 100 / b = " + whole(b.total) + " · 100 / " + num(t.cycle, 3) +
                                                "; целая часть",
             b.capacity, "capacity");
    }
    if (marginPercent > 0)
        row("Требуемая холодопроизводительность " + DesignMarginLabel(marginPercent),
            "Q0 · (1 + " + std::to_string(marginPercent) + " / 100) / 1000",
            DesignMarginKilowatts(b.capacity, marginPercent), "кВт", "margin");
}

void Writer::coolingTime() {
    const CoolingTimeInputs& in = r_.trace.coolingInputs;
    const CoolingTimeResult& c = r_.cooling;
    const CoolingTimeTexts times = CoolingTimeCaptions(p_, r_);
    section("Время охлаждения продукта");
    text("Оценка наименьшего времени, за которое воздух камеры охлаждает продукт: охлаждение до криоскопической "
         "температуры, замораживание и домораживание. Время стадии τ = K/λ · (0.12 + (0.8 + 2.3 · λ / (α · R)) · lg q), "
         "K = A · R² · ρ · c; время замораживания по формуле Планка для пластины τ2 = 1000 · A · ρ · L · R / "
         "(tкр − tв) · (R / (2 · λз) + 1/α).");
    row("Удельная теплоёмкость продукта (сухого вещества)", "cs", num(in.cs, 3), "кДж/(кг·К)");
    row("Содержание влаги", "W", num(in.water, 3), "");
    row("Теплопроводность до замораживания", "λ", num(in.lambda, 3), "Вт/(м·К)");
    row("Теплопроводность после замораживания", "λз", num(in.lambdaFrozen, 3), "Вт/(м·К)");
    row("Коэффициент формы", "A", num(in.shape, 3), "");
    row("Плотность", "ρ", num(in.density, 2), "кг/м³");
    row("Криоскопическая температура", "tкр", num(in.tCryo, 2), "°C");
    row("Теплота замораживания", "L", num(in.latent, 2), "кДж/кг");
    row("Характерный размер продукта", "D", num(in.sizeCm, 3), "см");
    row("Температура воздуха", "tв", num(in.tAir, 2), "°C");
    row("Начальная и конечная температуры продукта", "tн, tк", num(in.tIn, 2) + ", " + num(in.tEnd, 2), "°C");
    switch (c.status) {
    case CoolingTimeResult::Status::SameTemperature:
        text("Начальная и конечная температуры равны: охлаждения не требуется.");
        row("Общее время", "", times.total, "ч", "time.total");
        return;
    case CoolingTimeResult::Status::Error:
        row("Общее время", "", times.total, "ч", "time.total");
        text(std::string("Не определено: ") + kCoolingTimeErrorText +
             "(отношение температур не положительно, деление на 0 или переполнение: проверьте температуры, размер и "
             "свойства продукта).");
        return;
    case CoolingTimeResult::Status::Computed:
        break;
    }
    row("Коэффициент теплоотдачи поверхности продукта",
        in.taskPosition < 4 ? "α = 4.9 · v + 11 при v = " + num(in.velocity, 3) + " м/с"
                            : "α = 8.5 · v^0.7 при v = " + num(in.velocity, 3) + " м/с",
        num(c.alpha, 3), "Вт/(м²·К)");
    row("Удельная теплоёмкость продукта", "c = 1000 · (4.2 · W + cs · (1 − W))", num(c.specificHeat, 1), "Дж/(кг·К)");
    row("Половина характерного размера", "R = D / 2", num(c.halfSize, 4), "м");
    row("Тепловой множитель", "K = A · R² · ρ · c", num(c.capacityTerm, 2), "Дж/(м·К)");
    using Path = CoolingTimeResult::Path;
    if (c.path != Path::FrozenOnly)
        row("Охлаждение", c.path == Path::CoolingOnly ? "q1 = (tн − tв) / (tк − tв + 0.1) = " + num(c.coolingRatio, 4)
                                                     : "q1 = (tн − tв) / (tкр − tв) = " + num(c.coolingRatio, 4),
            times.cooling, "ч", "time.cooling");
    if (c.path == Path::ThroughFreezing)
        row("Замораживание", c.freezingHours > 0 ? "τ2 по формуле Планка" : "воздух не холоднее tкр: 0",
            times.freezing, "ч", "time.freezing");
    if (c.path != Path::CoolingOnly)
        row("Домораживание", c.path == Path::FrozenOnly ? "q3 = (tн − tв) / (tк − tв + 0.1) = " + num(c.afterFreezingRatio, 4)
                                                       : "q3 = (tкр − tв) / (tк − tв + 0.1) = " + num(c.afterFreezingRatio, 4),
            times.afterFreezing, "ч", "time.afterFreezing");
    row("Общее время", "τ = τ1 + τ2 + τ3", times.total, "ч", "time.total");
    row("Желаемое время", "", times.requested, "ч", "time.requested");
    if (c.tooShort)
        text("Желаемое время меньше расчётного: за " + times.requested + " ч продукт охладить невозможно.");
}

void Writer::problems() {
    section("Предупреждения");
    std::vector<std::string> all;
    auto add = [&](const std::string& s) {
        if (!s.empty() && std::find(all.begin(), all.end(), s) == all.end()) all.push_back(s);
    };
    for (const std::string& s : r_.envelopeProblems) add(s);
    add(r_.operationProblem);
    for (const std::string& s : r_.productProblems) add(s);
    add(r_.packagingProblem);
    add(r_.loads.problem);
    if (r_.cooling.status == CoolingTimeResult::Status::Error) add(kCoolingTimeErrorText);
    if (r_.cooling.tooShort) add("Желаемое время охлаждения меньше расчётного.");
    for (const std::string& s : FieldsOutOfRange(p_)) add("Значение вне допустимых пределов: " + s);
    if (all.empty()) text("Нет.");
    for (const std::string& s : all) text("— " + s);
}

}  // namespace

const NoteRow* CalculationNote::Find(const std::string& key) const {
    for (const NoteBlock& b : blocks)
        for (const NoteRow& r : b.rows)
            if (r.key == key) return &r;
    return nullptr;
}

CalculationNote BuildCalculationNote(const RoomProject& project, const RoomResult& result, const ReferenceData& data,
                                     const ReportHeading& heading, int marginPercent) {
    Writer w(project, result, data);
    w.note.title = heading.title;
    w.note.heading = {"Расчёт теплопритоков в холодильную камеру и требуемой холодопроизводительности",
                      "Дата: " + heading.date, "Расчёт выполнил: " + heading.author};
    w.inputs();
    w.envelope();
    w.product();
    w.packaging();
    w.operation();
    w.totals(marginPercent);
    w.coolingTime();
    w.problems();
    return w.note;
}

std::string NotePageFooter(int page, int pages) {
    return "Лист " + std::to_string(page) + " из " + std::to_string(pages);
}

}  // namespace coldroom
