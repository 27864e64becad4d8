// The note's section on the envelope: every surface between two airs, the floor on the ground
// by its zones, and their sums.
#include <algorithm>

#include "core/numtext.h"
#include "reports/calculation_note_writer.h"

namespace coldroom::note {
namespace {

const char* const kSurfaceTitles[kSurfaceCount] = {"Стена «Север»", "Стена «Юг»", "Стена «Восток»",
                                                   "Стена «Запад»", "Потолок",    "Пол"};
const char* const kSideControls[kSurfaceCount] = {"TempNord_txt", "TempSouth_txt", "TempEast_txt",
                                                  "TempWest_txt", "TempCeil_txt",  "TempFloor_txt"};
const char* const kCoatingControls[5] = {"NorthSurf_cmb", "SouthSurf_cmb", "EastSurf_cmb", "WestSurf_cmb",
                                         "CeilSurf_cmb"};
const char* const kZones[4] = {"I", "II", "III", "IV"};

Expr sum(const std::vector<Figure*>& parts) {
    Expr e = parts.front();
    for (size_t i = 1; i < parts.size(); ++i) e = e + parts[i];
    return e;
}

}  // namespace

std::string Writer::coatingName(int s) const {
    // One list without a choice makes every coating read as its first row.
    bool anyUnset = p_.Location_cmb < 0;
    for (int c : p_.coating) anyUnset = anyUnset || c < 0;
    return list(kCoatingControls[s], FieldForm::Main, anyUnset ? 0 : p_.coating[s]);
}

// The layers' resistances, in mm of thickness over the conductivity, for the layers there are.
std::vector<Figure*> Writer::layers(int s) {
    const SurfaceTrace& t = r_.trace.envelope.surfaces[s];
    std::vector<Figure*> out;
    for (int l = 0; l < 3; ++l) {
        const LayerTrace& layer = t.layers[l];
        if (layer.thicknessMm == 0) continue;  // a layer of no thickness is not there
        const std::string control = std::string(kSurfacePrefixes[s]) + std::to_string(l + 1) + "_Mt_cmb";
        const int chosen = p_.material[s][l];
        // A list without a choice reads its first row's conductivity.
        const std::string material =
            chosen >= 0 ? list(control.c_str(), FieldForm::Main, chosen)
                        : "материал не выбран, принят «" + list(control.c_str(), FieldForm::Main, 0) + "»";
        Figure* r = computed(layer.resistance, 4);
        calc("Слой " + std::to_string(l + 1) + ": " + material, "R = 0.001 · δ / λ",
             Expr(constant(0.001, "0.001")) * exact(layer.thicknessMm) / exact(layer.conductivity), r, "м²·К/Вт");
        out.push_back(r);
    }
    return out;
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
    Figure* area = computed(t.area, 3, true);
    calc("Площадь", "F", Cross(entry(side), entry(other)), area, "м²");
    const std::vector<Figure*> resistances = layers(s);
    const char* outside = s == kFloor      ? "пол над помещением"
                          : s == kCeiling ? (outer ? "крыша" : "перекрытие")
                          : outer         ? "наружная стена"
                                          : "внутренняя стена";
    Figure* alphaOut = computed(t.alphaOut, 3, true);
    row("Коэффициент теплоотдачи снаружи", std::string("αн (") + outside + ")", alphaOut, "Вт/(м²·К)");
    Figure* one = constant(1, "1");
    Expr films = Expr(one) / alphaOut + Expr(one) / alphaIn_;
    Figure* resistance = computed(t.resistance, 4);
    calc("Термическое сопротивление", resistances.empty() ? "R = 1/αн + 1/αв" : "R = Σ δ/λ + 1/αн + 1/αв",
         resistances.empty() ? films : sum(resistances) + films, resistance, "м²·К/Вт");
    Figure* k = computed(t.transmittance, 4);
    calc("Коэффициент теплопередачи", "k = 1 / R", Expr(one) / resistance, k, "Вт/(м²·К)");
    Figure* tOut = exact(t.outside);
    Figure* tIn = exact(t.inside);
    row(FindField(kSideControls[s], FieldForm::Main)->caption, "tн", tOut, "°C");
    row("Температура в камере", "tв", tIn, "°C");
    Figure* difference = computed(t.difference, 3, true);
    if (outer) {
        Figure* a = exact(t.absorption);
        Figure* i = exact(t.intensity);
        row("Поглощение покрытия «" + coatingName(s) + "»", "A", a, "");
        row("Интенсивность солнечной радиации", "I", i, "Вт/м²");
        Figure* excess = computed(t.solarExcess, 3);
        calc("Избыток температуры от солнца", "Δtс = A · I · 0.75 / 23.3",
             Expr(a) * i * constant(kSolarFactor, "0.75") / constant(kOuterAlpha, "23.3"), excess, "К");
        calc("Расчётная разность температур", "Δt = tн + Δtс − tв", Expr(tOut) + excess - tIn, difference, "К");
    } else {
        calc("Расчётная разность температур", "Δt = tн − tв", Expr(tOut) - tIn, difference, "К");
    }
    whole("Теплоприток", "Q = k · F · Δt", Expr(k) * area * difference, beforeWhole(t.gain, true), q, c.jsonKey);
}

void Writer::groundFloor() {
    const SurfaceTrace& t = r_.trace.envelope.surfaces[kFloor];
    const FloorTrace& f = r_.trace.envelope.floor;
    subsection(std::string("Пол на грунте — ") + (f.heated ? "с обогревом" : "без обогрева"));
    text("Пол на грунте рассчитывается по зонам шириной 2 м от наружных стен (зоны I–IV, k = 0.47, 0.23, 0.12, "
         "0.07 Вт/(м²·К); a и b — большая и меньшая стороны пола); коэффициент теплопередачи зоны с изоляцией пола k′ = 1 / (1/k + Rиз). Температура "
         "грунта — средняя из температур за четырьмя стенами; при температуре в камере ниже −2 °C грунт "
         "считается промерзающим, а обогрев пола даёт 15/33 Вт/(м²·К) на каждый градус ниже −2 °C. Методика "
         "программы — справка, раздел 4.2 «Теплоприток через пол».");
    calc("Площадь", "F = L × B", Cross(entry(p_.Length_txt), entry(p_.Width_txt)), floorArea(), "м²");
    const std::vector<Figure*> resistances = layers(kFloor);
    Figure* insulation = resistances.empty() ? exact(0) : computed(t.resistance, 4);
    if (resistances.empty()) row("Сопротивление изоляции пола", "Rиз", insulation, "м²·К/Вт");
    else calc("Сопротивление изоляции пола", "Rиз = Σ δ/λ", sum(resistances), insulation, "м²·К/Вт");

    // The zones: the strips of 2 m along the longer side a and the shorter b, the rest inside.
    const double L = LeadingNumber(p_.Length_txt), B = LeadingNumber(p_.Width_txt);
    Figure* a = exact(std::max(L, B));
    Figure* b = exact(std::min(L, B));
    Figure* two = constant(2, "2");
    auto strip = [&](int inset, int zone) {  // 2 · (2 · (a − inset) + 2 · (b − 4·zone))
        const Expr along = inset == 0 ? Expr(a) : Expr(Group(Expr(a) - exact(inset)));
        return Expr(two) * Group(Expr(two) * along + Expr(two) * Group(Expr(b) - exact(4.0 * zone)));
    };
    std::vector<Figure*> zoneAreas, products;
    for (int z = 0; z < 4; ++z) {
        if (f.zoneArea[z] == 0) continue;
        const bool last = z == 3 || f.zoneArea[z + 1] == 0;
        Figure* area = computed(f.zoneArea[z], 3);
        const std::string name = std::string("зоны ") + kZones[z];
        if (last && zoneAreas.empty())
            calc("Площадь " + name, "F" + std::string(kZones[z]) + " = F", floorArea(), area, "м²");
        else if (last)
            calc("Площадь " + name, "F" + std::string(kZones[z]) + " = F − ΣFвнешних зон",
                 Expr(floorArea()) - Group(sum(zoneAreas)), area, "м²");
        else
            calc("Площадь " + name,
                 "F" + std::string(kZones[z]) + " = 2 · (2 · " + (z == 0 ? "a" : "(a − " + std::to_string(4 * z) + ")") +
                     " + 2 · (b − " + std::to_string(4 * (z + 1)) + "))",
                 strip(4 * z, z + 1), area, "м²");
        zoneAreas.push_back(area);
        Figure* k = computed(f.zoneTransmittance[z], 4);
        Figure* one = constant(1, "1");
        calc("Коэффициент теплопередачи " + name, "k′ = 1 / (1/k + Rиз)",
             Expr(one) / Group(Expr(one) / exact(kFloorZoneK[z]) + insulation), k, "Вт/(м²·К)");
        Figure* product = computed(f.zoneArea[z] * f.zoneTransmittance[z], 3);
        calc("Теплопроводность " + name, "F · k′", Expr(area) * k, product, "Вт/К");
        products.push_back(product);
    }
    Figure* G = computed(f.conductance, 3);
    // A floor without a zone of any area (a room of no size) conducts nothing.
    calc("Теплопроводность пола", "G = Σ F · k′", products.empty() ? Expr(constant(0, "0")) : sum(products), G, "Вт/К");
    const RoomProject& p = p_;
    Figure* ground = computed(f.groundTemperature, 2, true);
    calc("Температура грунта", "tгр = (tС + tЮ + tВ + tЗ) / 4",
         Group(Expr(entry(p.sideTemp[kNorth])) + entry(p.sideTemp[kSouth]) + entry(p.sideTemp[kEast]) +
               entry(p.sideTemp[kWest])) /
             constant(4, "4"),
         ground, "°C");
    Figure* tIn = exact(t.inside);
    row("Температура в камере", "tв", tIn, "°C");
    Figure* before = beforeWhole(t.gain);
    Figure* limit = constant(kFrozenGroundLimit, "-2");
    if (!f.frozenGround) {
        whole("Теплоприток", "Q = G · (tгр − tв)", Expr(G) * Group(Expr(ground) - tIn), before, r_.loads.surfaces[kFloor],
              "floor");
    } else if (f.heated) {
        Figure* heating = computed(f.heating, 2);
        calc("Обогрев пола", "Qоб = (−2 − tв) · 15/33 · F",
             Group(Expr(limit) - tIn) * Group(Expr(constant(15, "15")) / constant(33, "33")) * floorArea(), heating,
             "Вт");
        whole("Теплоприток", "Q = G · (tгр + 2) + Qоб", Expr(G) * Group(Expr(ground) + two) + heating, before,
              r_.loads.surfaces[kFloor], "floor");
    } else {
        Figure* excess = computed(f.frozenExcess, 4);
        calc("Промерзание грунта", "Δtпр = √(−2 − tв)", Sqrt(Expr(limit) - tIn), excess, "К");
        whole("Теплоприток", "Q = G · (tгр + 2 + Δtпр)", Expr(G) * Group(Expr(ground) + two + excess), before,
              r_.loads.surfaces[kFloor], "floor");
    }
}

void Writer::envelope() {
    const EnvelopeTrace& e = r_.trace.envelope;
    section("Теплопритоки через ограждения", LoadId::Envelope);
    text("Теплоприток через ограждение Q = k · F · Δt, где k = 1 / R — коэффициент теплопередачи, "
         "R = Σ δ/λ + 1/αн + 1/αв — термическое сопротивление слоёв и обеих поверхностей (δ — толщина слоя, мм), "
         "Δt = tн + Δtс − tв — разность температур, для наружных стен и крыши с избытком от солнечной радиации "
         "Δtс = A · I · 0.75 / 23.3. Теплоприток каждого ограждения берётся целым числом ватт (целая часть).");
    Figure* v = exact(e.velocity);
    alphaIn_ = computed(e.alphaIn, 3);
    calc("Коэффициент теплоотдачи в камере", "αв = 5.83 + 3.95 · v − 0.03 · v²",
         Expr(constant(5.83, "5.83")) + Expr(constant(3.95, "3.95")) * v - Expr(constant(0.03, "0.03")) * Square(v),
         alphaIn_, "Вт/(м²·К)");
    for (int s = 0; s < kSurfaceCount; ++s) {
        if (s == kFloor && p_.FloorGrunt_Opt) groundFloor();
        else surface(s);
    }
    subsection("Итого через ограждения");
    const LoadBreakdown& b = r_.loads;
    auto total = [&](const char* label, const char* symbols, std::vector<const LoadValue*> parts, const LoadValue& v,
                     const char* key) {
        if (!v.defined) {
            load(label, symbols, v, key);
            return;
        }
        std::vector<Figure*> figures;
        for (const LoadValue* part : parts) figures.push_back(watts(*part));
        calc(label, symbols, sum(figures), watts(v), "Вт", key);
    };
    total("Стены", "QС + QЮ + QВ + QЗ", {&b.surfaces[kNorth], &b.surfaces[kSouth], &b.surfaces[kEast], &b.surfaces[kWest]},
          r_.wallTotal, "walls");
    total("Через стены, пол и потолок", "Qогр = Qстены + Qпотолок + Qпол",
          {&r_.wallTotal, &b.surfaces[kCeiling], &b.surfaces[kFloor]}, b.envelope, "envelope");
}

}  // namespace coldroom::note
