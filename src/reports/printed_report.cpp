#include "reports/printed_report.h"

#include <algorithm>

#include "core/load_components.h"

namespace coldroom {
namespace {

struct Style {
    double dx, dy;
    TextStyle text;
    bool wraps = false;
};

// The page's cell styles: heading, label, side name, value, material, thickness.
const Style H{2, 1, {8, true, false}};
const Style L{4, 1, {8, false, true}};
const Style S{4, 1, {8, false, false}};
const Style V{2, 1, {8, true, false}};
const Style M{2, 1, {8, false, true}, true};  // material names are the page's long texts
const Style T{2, 1, {8, false, false}};

class Page {
public:
    explicit Page(const ReportInput& in) : in_(in), layers_(LayerMaterialNames(in)) {}

    void cell(const std::string& text, double x1, double y1, double x2, double y2,
              const Style& s) {
        cells_.push_back({text, x1, y1, x2, y2, s.dx, s.dy, s.text, true, s.wraps});
    }
    void mark(const std::string& text, double x, double y) {
        cells_.push_back({text, x, y, x, y, 0, 0, {8, false, false}, false});
    }
    // A label box across the page from `x` and a value box inside it, one row of 5.
    void labelValue(const std::string& label, double labelX, const std::string& value,
                    double valueX1, double valueX2, double y) {
        cell(label, labelX, y, 200, y + 5, L);
        cell(value, valueX1, y, valueX2, y + 5, V);
    }
    // A surface's three layers: materials from mx1 to mx2, thicknesses from mx2 to tx2.
    void layers(const char* surface, double mx1, double mx2, double tx2, double top) {
        const std::string s = surface;
        const std::string materials[3] = {
            v(s + "1_Mt_cmb"), layers_[static_cast<size_t>(LayerIndex(s, 2))],
            layers_[static_cast<size_t>(LayerIndex(s, 3))]};
        for (int i = 0; i < 3; ++i)
            cell(materials[i], mx1, top + 5 * i, mx2, top + 5 * (i + 1), M);
        for (int i = 0; i < 3; ++i)
            cell(v(s + std::to_string(i + 1) + "_D_txt") + " мм", mx2, top + 5 * i, tx2,
                 top + 5 * (i + 1), T);
    }
    std::string v(const std::string& name) const { return in_.Text(name); }
    std::vector<PrintCell> take() { return std::move(cells_); }

private:
    const ReportInput& in_;
    std::array<std::string, 12> layers_;
    std::vector<PrintCell> cells_;
};

}  // namespace

std::vector<PrintCell> PrintedReportCells(const ReportInput& in) {
    Page p(in);
    auto v = [&](const char* name) { return in.Text(name); };
    auto load = [&](LoadId id) { return in.Text(LoadControl(id)); };

    // Heading and dimensions. "Раcчет" carries a Latin "c", as the page always had it.
    p.cell("Раcчет теплопотерь в холодильной камере", 15, 1, 200, 8, {3, 1, {10, false, false}});
    p.cell("Дата:  " + in.dateText, 160, 1, 200, 8, {2, 1, {10, false, true}});
    p.cell(in.projectTitle, 15, 8, 200, 24, {20, 4, {11, true, false}});
    p.cell("РАЗМЕРЫ КАМЕРЫ", 15, 24, 200, 29, H);
    p.labelValue("Длина", 15, v("Length_txt") + " м", 100, 200, 29);
    p.labelValue("Ширина", 15, v("Width_txt") + " м", 100, 200, 34);
    p.labelValue("Высота", 15, v("Height_txt") + " м", 100, 200, 39);
    p.labelValue("Объем", 15, v("Volume_txt") + " куб.м", 100, 200, 44);

    // Insulation.
    p.cell("ТЕПЛОИЗОЛЯЦИЯ", 15, 49, 200, 54, H);
    p.cell("СТЕНЫ", 15, 54, 200, 59, S);
    p.cell("Юг", 15, 59, 200, 74, S);
    p.layers("South", 40, 90, 105, 59);
    p.cell("Север", 105, 59, 200, 74, S);
    p.layers("Nord", 130, 185, 200, 59);
    p.cell("Восток", 15, 74, 200, 89, S);
    p.layers("East", 40, 90, 105, 74);
    p.cell("Запад", 105, 74, 200, 89, S);
    p.layers("West", 130, 185, 200, 74);
    p.cell("ПОТОЛОК", 15, 89, 200, 109, S);
    p.mark(in.Option("CeilIns_opt") ? "- перекрытие" : "- крыша", 19, 99);
    p.cell(v("CeilSurf_cmb"), 40, 89, 105, 94, M);
    p.layers("Ceil", 40, 90, 105, 94);
    p.cell("ПОЛ", 105, 89, 200, 109, S);
    // Unlike the files, the page calls a floor heated only when it lies on the ground.
    p.mark(in.Option("FloorHeat_Opt") && in.Option("FloorGrunt_Opt") ? "- с подогревом"
                                                                     : "- без подогрева",
           109, 99);
    p.cell(in.Option("FloorGrunt_Opt") ? "на грунте" : "над помещением", 130, 89, 200, 94, M);
    p.layers("Floor", 130, 185, 200, 94);

    // Temperatures and products: left value 80-100, right label from 100, right value 160-200.
    auto pair = [&](double y, const std::string& ll, const std::string& lv,
                    const std::string& rl, const std::string& rv, double rvx1 = 160) {
        p.labelValue(ll, 15, lv, 80, 100, y);
        p.labelValue(rl, 100, rv, rvx1, 200, y);
    };
    auto deg = [&](const char* field) { return in.Text(field) + " °С"; };
    p.cell("ТЕМПЕРАТУРНЫЙ РЕЖИМ", 15, 109, 200, 124, H);
    p.labelValue("В камере", 15, deg("TempIn_txt"), 80, 100, 114);
    pair(119, "Южная стена", deg("TempSouth_txt"), "Северная стена", deg("TempNord_txt"));
    pair(124, "Восточная стена", deg("TempEast_txt"), "Западная стена", deg("TempWest_txt"));
    pair(129, "Над потолком", deg("TempCeil_txt"), "Под полом", deg("TempFloor_txt"));
    p.cell("ПРОДУКТЫ В КАМЕРЕ", 15, 134, 200, 139, H);
    p.labelValue("Тип продукта", 15, v("TypeOfProduct_lbl"), 80, 200, 139);
    pair(144, "Загрузка камеры", v("Loading_lbl") + " т", "Масса охлаждаемой продукции",
         v("Oborot_lbl") + " т");
    pair(149, "Начальная температура продукта", deg("TempIn_lbl"),
         "Конечная температура продукта", deg("TempEnd_lbl"));
    pair(154, "Скорость циркуляции воздуха", v("AirSpeed_lbl") + " м/с", "Упаковка продукта",
         v("Tara_lbl"));
    pair(159, "Длительность охлаждения", v("TimeReal_lbl") + " ч", "при минимально возможной",
         v("TimeMin_lbl") + " ч");
    p.cell("ПАРАМЕТРЫ ЭКСПЛУАТАЦИИ", 15, 164, 200, 169, H);
    p.labelValue("Место расположения камеры", 15, v("Location_cmb"), 80, 200, 169);

    double y = 0;
    if (in.Option("Door_Standard_opt")) {
        p.labelValue("Тип камеры", 15, v("TypeOfCell_cmb"), 80, 200, 174);
        y = 179;
    } else {
        pair(174, "Высота дверей", v("Door_H_txt") + " м", "Ширина дверей",
             v("Door_W_txt") + " м", 175);
        pair(179, "Двери открыты", v("Door_Open_txt") + " ч/сут", "Тип занавеси",
             v("TypeOfCurtain_cmb"), 175);
        // "°C" here has a Latin C and no blank, unlike the other temperatures.
        pair(184, "Внешняя температура", v("TempOut_txt") + "°C", "влажность",
             v("HumidOut_txt") + " %", 175);
        y = 189;
    }
    pair(y, "Рабочий цикл агрегата", v("Cycle_txt") + " %", "Кол-во работающих людей",
         PeopleLoadText(in) + " чел*час", 175);
    pair(y + 5, "Теплоприток от технологического оборуд.", v("Electro_txt") + " кВт час",
         "Теплоприток от двигателей эл.погрузчиков", v("Lifter_txt") + " кВт час", 175);
    p.labelValue("Мощность электродвигателей вентиляторов воздухоохладителей", 15,
                 v("ElectroEva_txt") + " Вт", 125, 200, y + 10);
    p.cell("ТЕПЛОПОТЕРИ, Вт", 15, y + 15, 200, y + 20, H);
    const double r = y + 20;
    p.cell("Термодиффузия через", 15, r, 200, r + 5, L);
    p.cell("СТЕНЫ", 65, r, 200, r + 5, L);
    p.cell(WallLossText(in), 85, r, 100, r + 5, V);
    p.cell("ПОЛ", 100, r, 120, r + 5, L);
    p.cell(load(LoadId::Floor), 120, r, 135, r + 5, V);
    p.cell("ПОТОЛОК", 135, r, 165, r + 5, L);
    p.cell(load(LoadId::Ceiling), 165, r, 200, r + 5, V);
    p.labelValue(LoadCaption(LoadId::Product), 15, load(LoadId::Product), 80, 200, y + 25);
    p.labelValue(LoadCaption(LoadId::Packaging), 110, load(LoadId::Packaging), 160, 200, y + 25);
    p.labelValue(LoadCaption(LoadId::Operation), 15, load(LoadId::Operation), 80, 200, y + 30);
    const Style total{2, 1, {10, true, false}};
    p.cell("СУММАРНЫЕ ПОТЕРИ", 15, y + 35, 200, y + 42, H);
    p.cell(load(LoadId::Total) + " Вт", 140, y + 35, 200, y + 42, total);
    p.cell("ТРЕБУЕМАЯ ХОЛОДОПРОИЗВОДИТЕЛЬНОСТЬ", 15, y + 42, 200, y + 49, H);
    p.cell(load(LoadId::Capacity) + " Вт", 140, y + 42, 200, y + 49, total);

    // The signature keeps its place whatever the door block took.
    p.cell("Расчет сделан:", 15, 250, 200, 255, {2, 1, {8, false, true}});
    p.cell(in.author, 140, 250, 200, 255, {2, 1, {8, true, false}});
    return p.take();
}

double TextRoom(const std::vector<PrintCell>& cells, size_t index) {
    const PrintCell& c = cells[index];
    if (!c.boxed) return 0;
    const double start = c.x1 + c.dx;
    double end = c.x2;
    for (size_t k = index + 1; k < cells.size(); ++k) {
        const PrintCell& later = cells[k];
        bool sameRow = later.boxed && later.y1 < c.y2 && later.y2 > c.y1;
        if (sameRow && later.x1 > start && later.x1 < end) end = later.x1;
    }
    return std::max(0.0, end - start - 0.5);  // half a millimetre clear of the next line
}

void DrawPrintedReport(const ReportInput& input, ReportCanvas& canvas) {
    const std::vector<PrintCell> cells = PrintedReportCells(input);
    for (size_t i = 0; i < cells.size(); ++i) {
        const PrintCell& c = cells[i];
        if (c.boxed) canvas.Rectangle(c.x1, c.y1, c.x2, c.y2);
        if (c.wraps)
            canvas.WrappedText(c.x1 + c.dx, c.y1 + c.dy, c.text, c.style, TextRoom(cells, i), c.y1, c.y2);
        else
            canvas.Text(c.x1 + c.dx, c.y1 + c.dy, c.text, c.style, TextRoom(cells, i));
    }
}

void RecordingCanvas::Rectangle(double x1, double y1, double x2, double y2) {
    calls_.push_back({Call::Kind::Rectangle, x1, y1, x2, y2, 0, 0, 0, {}, {}});
}

void RecordingCanvas::Text(double x, double y, const std::string& text, const TextStyle& style, double maxWidth) {
    calls_.push_back({Call::Kind::Text, x, y, x, y, maxWidth, 0, 0, text, style});
}

void RecordingCanvas::WrappedText(double x, double y, const std::string& text, const TextStyle& style,
                                  double maxWidth, double top, double bottom) {
    calls_.push_back({Call::Kind::Text, x, y, x, y, maxWidth, top, bottom, text, style});
}

FittedText FitText(const std::string& text, double sizePt, double width, double height,
                   double twoLinesMmPerPt, const TextWidth& measure) {
    const double full = measure(text, sizePt);
    if (width <= 0 || full <= width) return {{text}, sizePt};
    // The blank that makes the wider of the two lines narrowest.
    std::string first, second;
    double wider = 0;
    const size_t firstBlank = height > 0 ? text.find(' ') : std::string::npos;
    for (size_t at = firstBlank; at != std::string::npos; at = text.find(' ', at + 1)) {
        const size_t from = text.find_first_not_of(' ', at);
        const size_t to = text.find_last_not_of(' ', at);
        if (from == std::string::npos || to == std::string::npos) continue;
        std::string a = text.substr(0, to + 1), b = text.substr(from);
        const double w = std::max(measure(a, sizePt), measure(b, sizePt));
        if (first.empty() || w < wider) first = std::move(a), second = std::move(b), wider = w;
    }
    if (!first.empty() && twoLinesMmPerPt > 0) {
        double size = std::min({sizePt, height / twoLinesMmPerPt, sizePt * width / wider});
        // Widths need not scale exactly with the size: step down until both lines fit.
        while (size >= kSmallestTextPt &&
               std::max(measure(first, size), measure(second, size)) > width)
            size -= 0.1;
        if (size >= kSmallestTextPt) return {{first, second}, size};
    }
    return {{text}, std::max(kSmallestTextPt, std::min(sizePt, sizePt * width / full))};
}

}  // namespace coldroom
