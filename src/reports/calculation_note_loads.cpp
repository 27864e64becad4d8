// The note's sections on the product, its packaging and the operation of the room.
#include "core/numtext.h"
#include "model/component_functions.h"
#include "reports/calculation_note_writer.h"

namespace coldroom::note {

void Writer::product() {
    const ProductTrace& t = r_.trace.product;
    section("Теплоприток от продукта", LoadId::Product);
    text("Теплоприток от охлаждения продукта Q = 1000 · M · Δh / (3600 · τ), где Δh = hн − hк — разность "
         "энтальпий продукта при начальной и конечной температурах по таблице продукта (линейная интерполяция), "
         "M — масса продукта за сутки, τ — время охлаждения.");
    row("Продукт", "", list("Produkt_cmb", FieldForm::Task, p_.task.Produkt_cmb), "");
    dailyMass_ = computed(t.massKg, 2, true);
    calc("Масса охлаждаемой продукции за сутки", "M = 1000 · Mсут",
         Expr(constant(1000, "1000")) * entry(r_.task.turnoverTonnes), dailyMass_, "кг");
    Figure* tIn = exact(t.tIn);
    Figure* tEnd = exact(t.tEnd);
    Figure* hours = exact(t.requestedHours);
    row("Начальная температура продукта", "tн", tIn, "°C");
    row("Конечная температура продукта", "tк", tEnd, "°C");
    row("Время охлаждения", "τ", hours, "ч");
    auto reading = [&](const char* label, const char* symbol, Figure* at, const EnthalpyReading& e) -> Figure* {
        if (!e.found) {
            row(label, std::string(symbol) + ": вне таблицы продукта", kUndefinedText, "кДж/кг");
            return nullptr;
        }
        Figure *t0 = exact(e.t0), *t1 = exact(e.t1), *h0 = exact(e.h0), *h1 = exact(e.h1);
        Figure* h = computed(e.h, 3);
        calc(std::string(label) + " (по таблице продукта между " + Num(e.t0, 6) + " и " + Num(e.t1, 6) + " °C)",
             std::string(symbol) + " = h₀ + (h₁ − h₀) · (t − t₀) / (t₁ − t₀)",
             Expr(h0) + Group(Expr(h1) - h0) * Group(Expr(at) - t0) / Group(Expr(t1) - t0), h, "кДж/кг");
        return h;
    };
    const bool cooled = t.tIn != t.tEnd && t.requestedHours > 0;
    Figure *hIn = nullptr, *hEnd = nullptr;
    if (cooled) {
        hIn = reading("Энтальпия при начальной температуре", "hн", tIn, t.start);
        hEnd = reading("Энтальпия при конечной температуре", "hк", tEnd, t.end);
    }
    const LoadValue cooling = LoadValue::of(IntFloor(t.gain));
    Figure* q = nullptr;
    if (hIn && hEnd) {
        Figure* dh = computed(t.enthalpyDifference, 3);
        calc("Разность энтальпий", "Δh = hн − hк", Expr(hIn) - hEnd, dh, "кДж/кг");
        whole("Теплоприток от охлаждения", "Q = 1000 · M · Δh / (3600 · τ)",
              Expr(constant(1000, "1000")) * dailyMass_ * dh / Group(Expr(constant(3600, "3600")) * hours),
              beforeWhole(t.gain), cooling, "");
        q = watts(cooling);
    } else if (t.tIn == t.tEnd) {
        text("Начальная и конечная температуры продукта равны: охлаждать нечего, теплоприток от продукта 0 "
             "(теплота дыхания не добавляется).");
    }
    if (t.respirationCounted)
        whole("Теплота дыхания", "Qдых = M · 244 / 3600",
              Expr(dailyMass_) * constant(kRespirationPerKg, "244") / constant(3600, "3600"), beforeWhole(t.respiration),
              r_.loads.respiration, "respiration");
    const LoadValue& total = r_.loads.product;
    if (q && total.defined && t.respirationCounted)
        calc("Теплоприток от продукта", "Qпр = Q + Qдых", Expr(q) + watts(r_.loads.respiration), watts(total), "Вт",
             "product");
    else if (q && total.defined)
        calc("Теплоприток от продукта", "Qпр = Q", q, watts(total), "Вт", "product");
    else
        load("Теплоприток от продукта", "Qпр", total, "product");
    Figure* norm = exact(t.norm);
    row("Норма загрузки продукта", "N", norm, "т/м³");
    calc("Вместимость камеры", "V · N", Expr(exact(t.volume)) * norm,
         figures_.Fixed(r_.storageCapacity, GeneralText(r_.storageCapacity)), "т", "storage");
}

void Writer::packaging() {
    const PackagingLoadInputs& in = r_.trace.packagingInputs;
    const PackagingTrace& t = r_.trace.packaging;
    const LoadValue& q = r_.loads.packaging;
    section("Теплоприток от упаковки", LoadId::Packaging);
    row("Упаковка", "", list("Packing_cmb", FieldForm::Task, p_.task.Packing_cmb), "");
    Figure* c = exact(in.specificHeat);
    row("Удельная теплоёмкость упаковки", "c", c, "кДж/(кг·К)");
    Figure* mass = computed(t.massKg, 2);
    calc("Масса упаковки", "mу = 0.2 · M", Expr(constant(kPackagingShare, "0.2")) * dailyMass_, mass, "кг");
    Figure* tau = figures_.Fixed(in.rTime, GeneralTextSingle(in.rTime));
    row("Время охлаждения", "τ", tau, "ч");
    if (!in.packagingSelected || in.tIn == in.tEnd || !q.defined) {
        if (q.defined)
            text(in.packagingSelected ? "Начальная и конечная температуры продукта равны: теплоприток от упаковки 0."
                                      : "Упаковка не выбрана: теплоприток от упаковки 0.");
        load("Теплоприток от упаковки", "Qуп", q, "packaging");
        return;
    }
    whole("Теплоприток от упаковки", "Qуп = 1000 · mу · c · (tн − tк) / (3600 · τ)",
          Expr(constant(1000, "1000")) * mass * c * Group(Expr(exact(in.tIn)) - exact(in.tEnd)) /
              Group(Expr(constant(3600, "3600")) * tau),
          beforeWhole(t.gain), q, "packaging");
}

Figure* Writer::fans() {
    if (!fans_) fans_ = watts(r_.loads.fans);
    return fans_;
}

Figure* Writer::standardDoor() {
    const OperationalTrace& t = r_.trace.operation;
    const double F = t.floorArea;
    const char* band = F <= 50 ? "F ≤ 50 м²" : F <= 150 ? "50 < F ≤ 150 м²" : "F > 150 м²";
    text("Удельные теплопритоки через двери в стандартных условиях — по типу камеры и площади пола, таблица методики "
         "программы (справка, раздел 4.6 «Теплопритоки при эксплуатации»).");
    Figure* rate = exact(t.doorRate);
    row("Удельный теплоприток через двери", std::string("qдв (") + band + ")", rate, "Вт/м²");
    Figure* door = computed(t.door, 2, true);
    calc("Теплоприток через двери (стандартные условия)", "Qдв = qдв · F", Expr(rate) * floorArea(), door, "Вт");
    return door;
}

Figure* Writer::specialDoor(Figure* tau) {
    const OperationalInputs& in = r_.trace.operationInputs;
    const OperationalTrace& t = r_.trace.operation;
    if (p_.TypeOfCurtain_cmb < 0 || p_.TypeOfCurtain_cmb > 2) {
        text("Занавесь у двери не выбрана: теплоприток через двери не учитывается (0).");
        return exact(0);
    }
    Figure *H = entry(p_.Door_H_txt), *W = entry(p_.Door_W_txt), *open = exact(in.doorHours);
    row("Высота двери", "H", H, "м");
    row("Ширина двери", "W", W, "м");
    row("Дверь открыта", "τд", open, "ч/сут");
    Figure* curtain = figures_.Fixed(t.curtainFactor, GeneralTextSingle(t.curtainFactor));
    row("Занавесь «" + list("TypeOfCurtain_cmb", FieldForm::Main, p_.TypeOfCurtain_cmb) + "»", "kз", curtain, "");
    Figure *tOut = exact(in.tempOut), *hOut = exact(in.humidOut), *tIn = exact(in.tempIn);
    row("Наружная температура (у двери)", "tн", tOut, "°C");
    row("Относительная влажность снаружи", "φн", hOut, "%");
    row("Температура в камере", "tв", tIn, "°C");
    if (t.outsideNotWarmer) {
        text(std::string(kColdOutsideDoorNotice) + " (tн ≤ tв).");
        return exact(0);
    }
    auto c = [&](double v, const char* s) { return Expr(constant(v, s)); };
    auto moist = [&](Figure* temp, Figure* humidity) {
        return Expr(temp) + Expr(humidity) * c(0.000035, "0.000035") * Group(c(2501, "2501") + c(1.93, "1.93") * temp) *
                                Group(c(1, "1") + c(0.008, "0.008") * Square(temp));
    };
    Figure* hRoom = computed(t.roomEnthalpy, 3);
    if (in.tempIn <= -11) {
        calc("Энтальпия воздуха в камере", "hв = tв + 0.1 · (2501 + 1.93 · tв) / (tв + 8)²",
             Expr(tIn) + c(0.1, "0.1") * Group(c(2501, "2501") + c(1.93, "1.93") * tIn) / Square(Group(Expr(tIn) + c(8, "8"))),
             hRoom, "кДж/кг");
    } else {
        Figure* humidity = exact(in.humidIn);
        row("Относительная влажность в камере", "φв", humidity, "%");
        calc("Энтальпия воздуха в камере", "hв = tв + φв · 0.000035 · (2501 + 1.93 · tв) · (1 + 0.008 · tв²)",
             moist(tIn, humidity), hRoom, "кДж/кг");
    }
    Figure* hOutside = computed(t.outsideEnthalpy, 3);
    if (t.outsideBelowFreezing)
        row("Энтальпия наружного воздуха (ниже 0 °C: hн = tн + x · (2501 + 1.93 · tн), влагосодержание x по "
            "давлению насыщения надо льдом)",
            "hн", hOutside, "кДж/кг");
    else
        calc("Энтальпия наружного воздуха", "hн = tн + φн · 0.000035 · (2501 + 1.93 · tн) · (1 + 0.008 · tн²)",
             moist(tOut, hOut), hOutside, "кДж/кг");
    Figure *rhoRoom = computed(t.roomDensity, 4), *rhoOut = computed(t.outsideDensity, 4);
    auto density = [&](Figure* temp) { return c(1.293, "1.293") / Group(c(1, "1") + Expr(temp) / constant(273.15, "273.15")); };
    calc("Плотность воздуха в камере", "ρв = 1.293 / (1 + tв / 273.15)", density(tIn), rhoRoom, "кг/м³");
    calc("Плотность наружного воздуха", "ρн = 1.293 / (1 + tн / 273.15)", density(tOut), rhoOut, "кг/м³");
    Figure* perHour = computed(t.perCycle, 4, true);
    calc("Множитель времени охлаждения", "m = 60 / τ", c(60, "60") / tau, perHour, "");
    Figure* door = computed(t.door, 2, true);
    calc("Теплоприток через двери (специальные условия)",
         "Qдв = kз · (8 + 0.067 · (tн − tв)) · τд · m · H · W · (hн − hв) · ρв · √(H · |1 − ρн/ρв|)",
         Expr(curtain) * Group(c(8, "8") + c(0.067, "0.067") * Group(Expr(tOut) - tIn)) * open * perHour * H * W *
             Group(Expr(hOutside) - hRoom) * rhoRoom * Sqrt(Expr(H) * Abs(c(1, "1") - Expr(rhoOut) / rhoRoom)),
         door, "Вт");
    return door;
}

void Writer::operation() {
    const OperationalInputs& in = r_.trace.operationInputs;
    const OperationalTrace& t = r_.trace.operation;
    section("Эксплуатационные теплопритоки", LoadId::Operation);
    Figure* tau = figures_.Fixed(in.rTime, GeneralTextSingle(in.rTime));
    text("Теплопритоки от освещения, людей, электропогрузчиков и оборудования распределяются на время охлаждения "
         "τ = " + tau->text() + " ч (из задачи). Методика — справка, раздел 4.6 «Теплопритоки при эксплуатации»; "
         "тепловыделение человека qл = 270 − 6 · tв — по той же методике.");
    row("Тип камеры", "", list("TypeOfCell_cmb", FieldForm::Main, p_.TypeOfCell_cmb), "");
    row("Время охлаждения", "τ", tau, "ч");
    if (!(in.rTime > 0)) {
        load(LoadCaption(LoadId::Operation), "", r_.loads.operation, "");
        load("в т.ч. через дверь", "", r_.loads.door, "door");
        return;
    }
    Figure* illumination = figures_.Fixed(t.illumination, GeneralTextSingle(t.illumination));
    row("Удельная мощность освещения", t.litAsStore ? "qосв (камеры хранения)" : "qосв (производственные помещения)",
        illumination, "Вт/м²");
    Figure* hours = exact(in.peopleHours);
    row("Время пребывания людей (и освещения)", "τл", hours, "ч");
    std::vector<Figure*> terms;
    auto term = [&](Figure* f) {
        terms.push_back(f);
        return f;
    };
    calc("Освещение", "Qосв = F · qосв · τл / τ", Expr(floorArea()) * illumination * hours / tau,
         term(computed(t.light, 2, true)), "Вт");
    Figure* people = exact(in.people);
    row("Число людей", "n", people, "");
    Figure* perPerson = computed(t.perPerson, 2, true);
    calc("Тепловыделение одного человека", "qл = 270 − 6 · tв",
         Expr(constant(270, "270")) - Expr(constant(6, "6")) * exact(in.tempIn), perPerson, "Вт");
    Figure* heat = computed(t.people, 2, true);
    calc("Люди", "Qл = n · qл · τл / τ", Expr(people) * perPerson * hours / tau, heat, "Вт");
    Figure* thousand = constant(1000, "1000");
    Figure* lifts = computed(t.lifts, 2, true);
    calc("Электропогрузчики", "Qп = 1000 · Eп / τ", Expr(thousand) * exact(in.lifterKWh) / tau, lifts, "Вт");
    terms.push_back(lifts);
    terms.push_back(heat);
    calc("Технологическое оборудование", "Qо = 1000 · Eо / τ", Expr(thousand) * exact(in.equipmentKWh) / tau,
         term(computed(t.equipment, 2, true)), "Вт");
    if (in.fansManual) {
        Figure* power = exact(in.fanPower);
        row("Мощность двигателей вентиляторов воздухоохладителей (задана)", "Pв", power, "Вт");
        calc("Теплота вентиляторов за рабочий цикл агрегата", "Qв = Pв · b / 100",
             Expr(power) * exact(in.cycle) / constant(100, "100"), term(fans()), "Вт");
    } else {
        text("Мощность двигателей вентиляторов воздухоохладителей учитывается автоматически по требуемой "
             "холодопроизводительности (раздел «Суммарный теплоприток и требуемая холодопроизводительность»).");
    }
    terms.push_back(in.doorStandard ? standardDoor() : specialDoor(tau));
    load("в т.ч. через дверь", "целая часть Qдв", r_.loads.door, "door");
    // Parts computed by a function of their own are whole watts, added to the sum's whole part.
    std::string own, ownValues;
    for (const ComponentFunction& f : ComponentFunctions()) {
        const LoadComponent& c = LoadComponentOf(f.id);
        if (c.sum != LoadId::Operation) continue;
        const LoadValue& v = c.value(r_.loads);
        load(c.caption, c.symbol, v, c.jsonKey);
        own += std::string(" + ") + c.symbol;
        ownValues += " + " + (v.defined && v.watts < 0 ? "(" + LoadText(v) + ")" : LoadText(v));
    }
    const bool alone = in.fansManual && own.empty();
    const LoadValue before = r_.loads.operation.defined && !alone ? LoadValue::of(IntFloor(t.sum)) : r_.loads.operation;
    Expr total = terms.front();
    for (size_t i = 1; i < terms.size(); ++i) total = total + terms[i];
    whole(alone         ? LoadCaption(LoadId::Operation)
          : own.empty() ? "Эксплуатационные теплопритоки без вентиляторов"
                        : "Эксплуатационные теплопритоки по методике",
          std::string(alone ? "Qэкспл = " : "Qэкспл′ = ") + "Qосв + Qп + Qл + Qо" + (in.fansManual ? " + Qв" : "") +
              " + Qдв",
          total, beforeWhole(t.sum, true), before, "");
    if (!own.empty() && in.fansManual)
        load(LoadCaption(LoadId::Operation), "Qэкспл = Qэкспл′" + own + " = " + LoadText(before) + ownValues,
             r_.loads.operation, "");
}

}  // namespace coldroom::note
