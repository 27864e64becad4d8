// The note's sum of the load components with the capacity the plant needs, and the product's
// cooling time.
#include "core/design_margin.h"
#include "core/numtext.h"
#include "reports/calculation_note_writer.h"

namespace coldroom::note {

void Writer::totals() {
    const LoadBreakdown& b = r_.loads;
    const TotalsTrace& t = r_.trace.totals;
    section("Суммарный теплоприток и требуемая холодопроизводительность");
    // The fans' heat joins the load it is part of once the capacity is known.
    const bool fansAdded = t.autoFans && b.capacity.defined;
    const LoadId withFans = LoadComponentOf(LoadId::Fans).sum;
    // Where a component was formed: the section recorded when it was written.
    auto where = [&](LoadId id) {
        const auto at = sectionOf_.find(id);
        return at == sectionOf_.end() ? std::string() : " (раздел " + std::to_string(at->second) + ")";
    };
    std::string symbols;
    std::vector<Figure*> parts;
    Figure* withoutFans = nullptr;
    for (LoadId id : PartsOf(LoadId::Total)) {
        const LoadComponent& c = LoadComponentOf(id);
        const bool apart = fansAdded && id == withFans;
        Figure* value = apart ? figures_.Fixed(IntFloor(r_.trace.operation.sum), WholeText(r_.trace.operation.sum))
                              : watts(c.value(b));
        if (apart) withoutFans = value;
        row(c.caption, c.symbol + std::string(apart ? "′" : "") + where(id) + (apart ? ", без вентиляторов" : ""),
            c.value(b).defined || apart ? Line(value) : Line(LoadText(c.value(b))), "Вт",
            apart || note.Find(c.jsonKey) ? "" : c.jsonKey);  // a key names one row: the first
        symbols += (symbols.empty() ? "" : " + ") + std::string(c.symbol) + (apart ? "′" : "");
        parts.push_back(value);
    }
    Expr sum = parts.front();
    for (size_t i = 1; i < parts.size(); ++i) sum = sum + parts[i];
    const std::string total = LoadComponentOf(LoadId::Total).symbol;
    const std::string capacity = LoadComponentOf(LoadId::Capacity).symbol;
    if (!b.problem.empty() && !b.total.defined) {
        load(LoadCaption(LoadId::Total), "", b.total, "total");
        load(LoadCaption(LoadId::Capacity), "", b.capacity, "capacity");
        return;
    }
    Figure* cycle = exact(t.cycle);
    row("Рабочий цикл агрегата", "b", cycle, "%");
    text("Рабочий цикл b задаёт технологическая задача при каждом подтверждении окна задачи: 100 %, для "
         "непрерывного режима 75 %; цикл, введённый в главном окне, действует до следующего подтверждения.");
    Figure* hundred = constant(100, "100");
    auto capacityRow = [&](const std::string& label, const std::string& sumSymbol, Figure* from, double watts,
                           const LoadValue& v, const std::string& key) {
        if (!v.defined) load(label, "", v, key);
        else whole(label, capacity + " = " + sumSymbol + " · 100 / b", Expr(from) * hundred / cycle,
                   beforeWhole(AsShown(watts) * 100 / t.cycle), v, key);
    };
    if (!fansAdded) {
        if (t.autoFans) row("Теплота вентиляторов за рабочий цикл агрегата", "", LoadText(b.fans), "Вт", "fans");
        else row("в т.ч. теплота вентиляторов за рабочий цикл агрегата", "Qв" + where(withFans), fans(), "Вт", "fans");
        Figure* sumFigure = watts(b.total);
        calc(LoadCaption(LoadId::Total), total + " = " + symbols, sum, sumFigure, "Вт", "total");
        capacityRow(LoadCaption(LoadId::Capacity), total, sumFigure, b.total.watts, b.capacity, "capacity");
    } else {
        Figure* sumWithout = figures_.Fixed(t.sum, GeneralText(t.sum));
        calc("Суммарные потери без вентиляторов", total + "′ = " + symbols, sum, sumWithout, "Вт");
        Figure* first = watts(LoadValue::of(t.firstCapacity));
        capacityRow("Холодопроизводительность без вентиляторов", total + "′", sumWithout, t.sum,
                    LoadValue::of(t.firstCapacity), "");
        Figure* share = exact(t.fanShare);
        row("Мощность двигателей вентиляторов на 1 Вт холодопроизводительности", "kв (справочник «Разное»)", share, "");
        Figure* power = beforeWhole(t.fanPower);
        whole("Мощность двигателей вентиляторов воздухоохладителей", "Pв = " + capacity + "′ · kв", Expr(first) * share,
              power, b.fanPower, "");
        calc("Теплота вентиляторов за рабочий цикл агрегата", "Qв = Pв · b / 100", Expr(power) * cycle / hundred, fans(),
             "Вт", "fans");
        const std::string operation = LoadComponentOf(withFans).symbol;
        whole(LoadCaption(withFans), operation + " = " + operation + "′ + Qв", Expr(withoutFans) + fans(),
              beforeWhole(IntFloor(r_.trace.operation.sum) + t.fanHeat), b.operation, "operation");
        whole(LoadCaption(LoadId::Total), total + " = " + total + "′ + Qв", Expr(sumWithout) + fans(),
              beforeWhole(t.sum + t.fanHeat), b.total, "total");
        capacityRow(LoadCaption(LoadId::Capacity), total, watts(b.total), b.total.watts, b.capacity, "capacity");
    }
    const int margin = o_.marginPercent;
    if (margin <= 0) return;
    const std::string label = "Требуемая холодопроизводительность " + DesignMarginLabel(margin);
    const std::string kw = DesignMarginKilowatts(b.capacity, margin);
    const std::string symbolsWithMargin = capacity + " · (1 + " + std::to_string(margin) + " / 100) / 1000";
    if (!b.capacity.defined) {
        row(label, symbolsWithMargin, kw, "кВт", "margin");
        return;
    }
    calc(label, symbolsWithMargin,
         Expr(watts(b.capacity)) * Group(Expr(constant(1, "1")) + Expr(exact(margin)) / hundred) /
             constant(1000, "1000"),
         figures_.Fixed(LeadingNumber(kw), kw), "кВт", "margin");
}

void Writer::coolingTime() {
    const CoolingTimeInputs& in = r_.trace.coolingInputs;
    const CoolingTimeResult& c = r_.cooling;
    const CoolingTimeTexts times = CoolingTimeCaptions(p_, r_);
    section("Время охлаждения продукта");
    text("Оценка наименьшего времени, за которое воздух камеры охлаждает продукт: охлаждение до криоскопической "
         "температуры, замораживание и домораживание. Время стадии τст = K / λ · (0.12 + (0.8 + 2.3 · λ / (α · R)) · "
         "lg(q)) / 3600 ч, K = A · R² · ρ · c; время замораживания по формуле Планка для пластины τ2 = 1000 · A · ρ · "
         "L · R / (tкр − tв) · (R / (2 · λз) + 1 / α) / 3600 ч.");
    Figure *cs = exact(in.cs), *water = exact(in.water), *lambda = exact(in.lambda), *frozen = exact(in.lambdaFrozen);
    Figure *shape = exact(in.shape), *density = exact(in.density), *cryo = exact(in.tCryo), *latent = exact(in.latent);
    Figure *size = exact(in.sizeCm), *air = figures_.Fixed(in.tAir, GeneralTextSingle(in.tAir));
    Figure *tIn = exact(in.tIn), *tEnd = exact(in.tEnd), *v = exact(in.velocity);
    row("Удельная теплоёмкость продукта (сухого вещества)", "cs", cs, "кДж/(кг·К)");
    row("Содержание влаги", "W", water, "");
    row("Теплопроводность до замораживания", "λ", lambda, "Вт/(м·К)");
    row("Теплопроводность после замораживания", "λз", frozen, "Вт/(м·К)");
    row("Коэффициент формы", "A", shape, "");
    row("Плотность", "ρ", density, "кг/м³");
    row("Криоскопическая температура", "tкр", cryo, "°C");
    row("Теплота замораживания", "L", latent, "кДж/кг");
    row("Характерный размер продукта", "D", size, "см");
    row("Температура воздуха", "tв", air, "°C");
    row("Начальная температура продукта", "tн", tIn, "°C");
    row("Конечная температура продукта", "tк", tEnd, "°C");
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
    case CoolingTimeResult::Status::Computed: break;
    }
    auto k = [&](double value, const char* text) { return Expr(constant(value, text)); };
    Figure* alpha = computed(c.alpha, 3);
    row("Скорость движения воздуха", "v", v, "м/с");
    if (in.taskPosition < 4)
        calc("Коэффициент теплоотдачи поверхности продукта", "α = 4.9 · v + 11", k(4.9, "4.9") * v + k(11, "11"),
             alpha, "Вт/(м²·К)");
    else
        calc("Коэффициент теплоотдачи поверхности продукта", "α = 8.5 · v^0.7", k(8.5, "8.5") * Pow(v, k(0.7, "0.7")),
             alpha, "Вт/(м²·К)");
    Figure* heat = computed(c.specificHeat, 1);
    calc("Удельная теплоёмкость продукта", "c = 1000 · (4.2 · W + cs · (1 − W))",
         k(1000, "1000") * Group(k(4.2, "4.2") * water + Expr(cs) * Group(k(1, "1") - water)), heat, "Дж/(кг·К)");
    Figure* R = computed(c.halfSize, 4);
    calc("Половина характерного размера", "R = 0.01 · D / 2", k(0.01, "0.01") * size / k(2, "2"), R, "м");
    Figure* K = computed(c.capacityTerm, 2);
    calc("Тепловой множитель", "K = A · R² · ρ · c", Expr(shape) * Square(R) * density * heat, K, "Дж/(м·К)");
    auto stage = [&](const char* label, const char* symbol, Figure* l, Figure* ratio, double hours, const char* key) {
        Figure* time = computed(hours, 1);
        calc(label, std::string(symbol) + " = K / λ · (0.12 + (0.8 + 2.3 · λ / (α · R)) · lg(q)) / 3600",
             Expr(K) / l * Group(k(0.12, "0.12") + Group(k(0.8, "0.8") + k(2.3, "2.3") * l / Group(Expr(alpha) * R)) * Lg(ratio)) /
                 k(3600, "3600"),
             time, "ч", key);
        return time;
    };
    auto ratio = [&](const char* label, const std::string& symbols, Expr e, double value) {
        Figure* q = computed(value, 4);
        calc(label, symbols, std::move(e), q, "");
        return q;
    };
    Figure* plusTenth = constant(0.1, "0.1");
    using Path = CoolingTimeResult::Path;
    std::vector<Figure*> stages;
    if (c.path != Path::FrozenOnly) {
        Figure* q1 = c.path == Path::CoolingOnly
                         ? ratio("Отношение температур охлаждения", "q = (tн − tв) / (tк − tв + 0.1)",
                                 Group(Expr(tIn) - air) / Group(Expr(tEnd) - air + plusTenth), c.coolingRatio)
                         : ratio("Отношение температур охлаждения", "q = (tн − tв) / (tкр − tв)",
                                 Group(Expr(tIn) - air) / Group(Expr(cryo) - air), c.coolingRatio);
        stages.push_back(stage("Охлаждение", "τ1", lambda, q1, c.coolingHours, "time.cooling"));
    }
    if (c.path == Path::ThroughFreezing) {
        Figure* freezing = computed(c.freezingHours, 1);
        if (c.freezingHours > 0)
            calc("Замораживание", "τ2 = 1000 · A · ρ · L · R / (tкр − tв) · (R / (2 · λз) + 1 / α) / 3600",
                 k(1000, "1000") * shape * density * latent * R / Group(Expr(cryo) - air) *
                     Group(Expr(R) / Group(k(2, "2") * frozen) + k(1, "1") / alpha) / k(3600, "3600"),
                 freezing, "ч", "time.freezing");
        else
            row("Замораживание", "τ2 (воздух не холоднее tкр)", freezing, "ч", "time.freezing");
        stages.push_back(freezing);
    }
    if (c.path != Path::CoolingOnly) {
        Figure* q3 = c.path == Path::FrozenOnly
                         ? ratio("Отношение температур домораживания", "q = (tн − tв) / (tк − tв + 0.1)",
                                 Group(Expr(tIn) - air) / Group(Expr(tEnd) - air + plusTenth), c.afterFreezingRatio)
                         : ratio("Отношение температур домораживания", "q = (tкр − tв) / (tк − tв + 0.1)",
                                 Group(Expr(cryo) - air) / Group(Expr(tEnd) - air + plusTenth), c.afterFreezingRatio);
        stages.push_back(stage("Домораживание", "τ3", frozen, q3, c.afterFreezingHours, "time.afterFreezing"));
    }
    Expr sum = stages.front();
    std::string symbols = c.path == Path::CoolingOnly   ? "τр = τ1"
                          : c.path == Path::FrozenOnly ? "τр = τ3"
                                                       : "τр = τ1 + τ2 + τ3";
    for (size_t i = 1; i < stages.size(); ++i) sum = sum + stages[i];
    calc("Общее время", symbols, sum, figures_.Fixed(c.totalHours, times.total), "ч", "time.total");
    row("Желаемое время", "", times.requested, "ч", "time.requested");
    if (c.tooShort)
        text("Желаемое время меньше расчётного: за " + times.requested + " ч продукт охладить невозможно.");
}

}  // namespace coldroom::note
