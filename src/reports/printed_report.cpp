#include "reports/printed_report.h"

#include <algorithm>


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
    explicit Page(const ReportModel& m) : m_(m) {}

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
    // A surface's name box, then its three layers: materials from mx1 to mx2, thicknesses
    // from mx2 to tx2.
    void layers(int surface, double mx1, double mx2, double tx2, double top) {
        const ReportSurface& s = m_.surfaces[surface];
        for (int i = 0; i < 3; ++i)
            cell(s.material[i], mx1, top + 5 * i, mx2, top + 5 * (i + 1), M);
        for (int i = 0; i < 3; ++i)
            cell(s.thickness[i] + " мм", mx2, top + 5 * i, tx2, top + 5 * (i + 1), T);
    }
    std::vector<PrintCell> take() { return std::move(cells_); }

private:
    const ReportModel& m_;
    std::vector<PrintCell> cells_;
};

}  // namespace

std::vector<PrintCell> PrintedReportCells(const ReportModel& m) {
    namespace rt = report_text;
    Page p(m);
    const auto& sides = m.surfaces;

    // Heading and dimensions.
    p.cell(kReportHeading, 15, 1, 200, 8, {3, 1, {10, false, false}});
    p.cell("Дата:  " + m.heading.date, 160, 1, 200, 8, {2, 1, {10, false, true}});
    p.cell(m.heading.title, 15, 8, 200, 24, {20, 4, {11, true, false}});
    p.cell(rt::kDimensions, 15, 24, 200, 29, H);
    double y = 29;
    for (const ReportLine* d : {&m.length, &m.width, &m.height, &m.volume}) {
        p.labelValue(d->label, 15, d->withUnit(), 100, 200, y);
        y += 5;
    }

    // Insulation.
    p.cell(rt::kInsulation, 15, 49, 200, 54, H);
    p.cell(rt::kWalls, 15, 54, 200, 59, S);
    p.cell(sides[kSouth].side, 15, 59, 200, 74, S);
    p.layers(kSouth, 40, 90, 105, 59);
    p.cell(sides[kNorth].side, 105, 59, 200, 74, S);
    p.layers(kNorth, 130, 185, 200, 59);
    p.cell(sides[kEast].side, 15, 74, 200, 89, S);
    p.layers(kEast, 40, 90, 105, 74);
    p.cell(sides[kWest].side, 105, 74, 200, 89, S);
    p.layers(kWest, 130, 185, 200, 74);
    p.cell(sides[kCeiling].side, 15, 89, 200, 109, S);
    p.mark(m.ceilingIsSlab ? "- перекрытие" : "- крыша", 19, 99);
    p.cell(m.ceilingCoating, 40, 89, 105, 94, M);
    p.layers(kCeiling, 40, 90, 105, 94);
    p.cell(sides[kFloor].side, 105, 89, 200, 109, S);
    // Unlike the files, the page calls a floor heated only when it lies on the ground.
    p.mark(m.floorHeated && m.floorOnGround ? "- с подогревом" : "- без подогрева", 109, 99);
    p.cell(m.floorOnGround ? "на грунте" : "над помещением", 130, 89, 200, 94, M);
    p.layers(kFloor, 130, 185, 200, 94);

    // Temperatures and products: left value 80-100, right label from 100, right value 160-200.
    auto pair = [&](double y, const ReportLine& left, const ReportLine& right, double rvx1 = 160) {
        p.labelValue(left.label, 15, left.withUnit(), 80, 100, y);
        p.labelValue(right.label, 100, right.withUnit(), rvx1, 200, y);
    };
    const auto& side = m.sideTemperature;
    p.cell(rt::kTemperatures, 15, 109, 200, 124, H);
    p.labelValue(m.roomTemperature.label, 15, m.roomTemperature.withUnit(), 80, 100, 114);
    pair(119, side[kSouth], side[kNorth]);
    pair(124, side[kEast], side[kWest]);
    pair(129, side[kCeiling], side[kFloor]);
    p.cell(rt::kProducts, 15, 134, 200, 139, H);
    p.labelValue(m.product.label, 15, m.product.value, 80, 200, 139);
    pair(144, m.loading, m.turnover);
    pair(149, m.productStart, m.productEnd);
    pair(154, m.airSpeed, m.packaging);
    pair(159, m.requestedTime, m.shortestTime);
    p.cell(rt::kOperation, 15, 164, 200, 169, H);
    p.labelValue(m.location.label, 15, m.location.value, 80, 200, 169);

    if (m.standardDoors) {
        p.labelValue(m.roomType.label, 15, m.roomType.value, 80, 200, 174);
        y = 179;
    } else {
        pair(174, m.doorHeight, m.doorWidth, 175);
        ReportLine perDay = m.doorOpen;
        perDay.unit = "ч/сут";
        pair(179, perDay, m.curtain, 175);
        // "°C" here has a Latin C and no blank, unlike the other temperatures.
        ReportLine outside = m.outsideTemperature;
        outside.value += outside.unit;
        outside.unit.clear();
        pair(184, outside, m.outsideHumidity, 175);
        y = 189;
    }
    pair(y, m.cycle, m.people, 175);
    // The page words the equipment, the lift trucks and the fans its own way.
    p.labelValue("Теплоприток от технологического оборуд.", 15, m.equipment.withUnit(), 80, 100, y + 5);
    p.labelValue("Теплоприток от двигателей эл.погрузчиков", 100, m.lifter.withUnit(), 175, 200, y + 5);
    p.labelValue("Мощность электродвигателей вентиляторов воздухоохладителей", 15, m.fanPower.withUnit(), 125, 200,
                 y + 10);
    p.cell(rt::kLosses, 15, y + 15, 200, y + 20, H);
    const double r = y + 20;
    p.cell(rt::kThrough, 15, r, 200, r + 5, L);
    p.cell(m.walls.label, 65, r, 200, r + 5, L);
    p.cell(m.walls.value, 85, r, 100, r + 5, V);
    p.cell(m.floor.label, 100, r, 120, r + 5, L);
    p.cell(m.floor.value, 120, r, 135, r + 5, V);
    p.cell(m.ceiling.label, 135, r, 165, r + 5, L);
    p.cell(m.ceiling.value, 165, r, 200, r + 5, V);
    p.labelValue(m.productLoad.label, 15, m.productLoad.value, 80, 200, y + 25);
    p.labelValue(m.packagingLoad.label, 110, m.packagingLoad.value, 160, 200, y + 25);
    p.labelValue(m.operation.label, 15, m.operation.value, 80, 200, y + 30);
    const Style total{2, 1, {10, true, false}};
    p.cell(m.total.label, 15, y + 35, 200, y + 42, H);
    p.cell(m.total.withUnit(), 140, y + 35, 200, y + 42, total);
    p.cell(m.capacity.label, 15, y + 42, 200, y + 49, H);
    p.cell(m.capacity.withUnit(), 140, y + 42, 200, y + 49, total);

    // What the person was told of the inputs, above the signature: never a figure silently.
    double warningY = 256 - 5.0 * static_cast<double>(m.warnings.size() + 1);
    for (const std::string& w : m.warnings) {
        p.mark("Внимание: " + w, 15, warningY);
        warningY += 5;
    }
    // The signature keeps its place whatever the door block took.
    p.cell(std::string(rt::kSignature) + ":", 15, 250, 200, 255, {2, 1, {8, false, true}});
    p.cell(m.heading.author, 140, 250, 200, 255, {2, 1, {8, true, false}});
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

void DrawPrintedReport(const ReportModel& model, ReportCanvas& canvas) {
    const std::vector<PrintCell> cells = PrintedReportCells(model);
    for (size_t i = 0; i < cells.size(); ++i) {
        const PrintCell& c = cells[i];
        if (c.boxed) canvas.Rectangle(c.x1, c.y1, c.x2, c.y2);
        if (c.wraps)
            canvas.WrappedText(c.x1 + c.dx, c.y1 + c.dy, c.text, c.style, TextRoom(cells, i), c.y1, c.y2);
        else
            canvas.Text(c.x1 + c.dx, c.y1 + c.dy, c.text, c.style, TextRoom(cells, i));
    }
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
