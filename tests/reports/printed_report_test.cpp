#include "reports/printed_report.h"
#include "reports/recording_canvas.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <optional>

#include "reports/report_fixture.h"

namespace coldroom {
namespace {

using testing::GoldenModel;
using Call = RecordingCanvas::Call;

// A cell as drawn: its box (absent for the two free marks), its text position and style.
struct Drawn {
    bool boxed;
    double x1, y1, x2, y2;
    double tx, ty;
    TextStyle style;
};

// The n-th drawing of `text` (a box directly before its text belongs to it).
std::optional<Drawn> find(const std::vector<Call>& calls, const std::string& text, int n = 0) {
    for (size_t i = 0; i < calls.size(); ++i) {
        const Call& c = calls[i];
        if (c.kind != Call::Kind::Text || c.text != text || n-- > 0) continue;
        Drawn d{false, 0, 0, 0, 0, c.x1, c.y1, c.style};
        if (i > 0 && calls[i - 1].kind == Call::Kind::Rectangle) {
            const Call& r = calls[i - 1];
            d = {true, r.x1, r.y1, r.x2, r.y2, c.x1, c.y1, c.style};
        }
        return d;
    }
    return std::nullopt;
}

std::vector<Call> draw(const ReportModel& in) {
    RecordingCanvas canvas;
    DrawPrintedReport(in, canvas);
    return canvas.calls();
}

struct Expected {
    const char* text;
    int nth;
    double x1, y1, x2, y2;  // x1 = x2 = -1: no box
    double tx, ty;
    TextStyle style;
};

const TextStyle kH{8, true, false}, kL{8, false, true}, kS{8, false, false},
    kV{8, true, false}, kM{8, false, true}, kT{8, false, false};

void check(const std::vector<Call>& calls, const Expected& e) {
    const auto d = find(calls, e.text, e.nth);
    ASSERT_TRUE(d.has_value()) << e.text;
    if (e.x1 < 0) {
        EXPECT_FALSE(d->boxed) << e.text;
    } else {
        ASSERT_TRUE(d->boxed) << e.text;
        EXPECT_EQ(d->x1, e.x1) << e.text;
        EXPECT_EQ(d->y1, e.y1) << e.text;
        EXPECT_EQ(d->x2, e.x2) << e.text;
        EXPECT_EQ(d->y2, e.y2) << e.text;
    }
    EXPECT_EQ(d->tx, e.tx) << e.text;
    EXPECT_EQ(d->ty, e.ty) << e.text;
    EXPECT_EQ(d->style, e.style) << e.text;
}

// Cells common to both door modes, above the door block and the signature.
const Expected kFixedCells[] = {
    {"Раcчет теплопотерь в холодильной камере", 0, 15, 1, 200, 8, 18, 2, {10, false, false}},
    {"Дата:  07.12.2024", 0, 160, 1, 200, 8, 162, 2, {10, false, true}},
    {"Камера хранения №1", 0, 15, 8, 200, 24, 35, 12, {11, true, false}},
    {"РАЗМЕРЫ КАМЕРЫ", 0, 15, 24, 200, 29, 17, 25, kH},
    {"Длина", 0, 15, 29, 200, 34, 19, 30, kL},
    {"12 м", 0, 100, 29, 200, 34, 102, 30, kV},
    {"324 куб.м", 0, 100, 44, 200, 49, 102, 45, kV},
    {"ТЕПЛОИЗОЛЯЦИЯ", 0, 15, 49, 200, 54, 17, 50, kH},
    {"СТЕНЫ", 0, 15, 54, 200, 59, 19, 55, kS},
    {"Юг", 0, 15, 59, 200, 74, 19, 60, kS},
    {"Пенополиуретан", 0, 40, 59, 90, 64, 42, 60, kM},
    {"Минеральная вата", 0, 40, 64, 90, 69, 42, 65, kM},
    {"...", 0, 40, 69, 90, 74, 42, 70, kM},   // South3, disabled
    {"30 мм", 0, 90, 69, 105, 74, 92, 70, kT},
    {"Север", 0, 105, 59, 200, 74, 109, 60, kS},
    {"Пенополистирол ПСБ-С", 0, 130, 59, 185, 64, 132, 60, kM},
    {"...", 1, 130, 64, 185, 69, 132, 65, kM},  // Nord2, disabled
    {"40 мм", 0, 185, 64, 200, 69, 187, 65, kT},
    {"Восток", 0, 15, 74, 200, 89, 19, 75, kS},
    {"Штукатурка", 0, 40, 84, 90, 89, 42, 85, kM},
    {"20 мм", 0, 90, 84, 105, 89, 92, 85, kT},
    {"Запад", 0, 105, 74, 200, 89, 109, 75, kS},
    {"Сэндвич-панель ППУ", 0, 130, 74, 185, 79, 132, 75, kM},
    {"ПОТОЛОК", 0, 15, 89, 200, 109, 19, 90, kS},
    {"- крыша", 0, -1, -1, -1, -1, 19, 99, {8, false, false}},
    {"Металл окрашенный", 0, 40, 89, 105, 94, 42, 90, kM},
    {"Железобетон", 0, 40, 99, 90, 104, 42, 100, kM},
    {"10 мм", 0, 90, 104, 105, 109, 92, 105, kT},
    {"ПОЛ", 0, 105, 89, 200, 109, 109, 90, kS},
    {"- с подогревом", 0, -1, -1, -1, -1, 109, 99, {8, false, false}},
    {"на грунте", 0, 130, 89, 200, 94, 132, 90, kM},
    {"Пеностекло", 0, 130, 94, 185, 99, 132, 95, kM},
    {"300 мм", 0, 185, 104, 200, 109, 187, 105, kT},
    {"ТЕМПЕРАТУРНЫЙ РЕЖИМ", 0, 15, 109, 200, 124, 17, 110, kH},
    {"В камере", 0, 15, 114, 200, 119, 19, 115, kL},
    {"-18 °С", 0, 80, 114, 100, 119, 82, 115, kV},
    {"Северная стена", 0, 100, 119, 200, 124, 104, 120, kL},
    {"20 °С", 0, 160, 119, 200, 124, 162, 120, kV},
    {"5 °С", 0, 160, 124, 200, 129, 162, 125, kV},
    {"Под полом", 0, 100, 129, 200, 134, 104, 130, kL},
    {"ПРОДУКТЫ В КАМЕРЕ", 0, 15, 134, 200, 139, 17, 135, kH},
    {"Говядина в полутушах", 0, 80, 139, 200, 144, 82, 140, kV},
    {"2.5 т", 0, 160, 144, 200, 149, 162, 145, kV},
    {"Начальная температура продукта", 0, 15, 149, 200, 154, 19, 150, kL},
    {"-18 °С", 1, 160, 149, 200, 154, 162, 150, kV},
    {"0.5 м/с", 0, 80, 154, 100, 159, 82, 155, kV},
    {"Картон", 0, 160, 154, 200, 159, 162, 155, kV},
    {"14.6 ч", 0, 160, 159, 200, 164, 162, 160, kV},
    {"ПАРАМЕТРЫ ЭКСПЛУАТАЦИИ", 0, 15, 164, 200, 169, 17, 165, kH},
    {"Место расположения камеры", 0, 15, 169, 200, 174, 19, 170, kL},
    {"Москва", 0, 80, 169, 200, 174, 82, 170, kV},
    {"Расчет сделан:", 0, 15, 250, 200, 255, 17, 251, {8, false, true}},
    {"Иванов И.И., ООО «Холод»", 0, 140, 250, 200, 255, 142, 251, {8, true, false}},
};

// Cells below the door block, at offset Y (179 with standard doors, 189 with special ones).
std::vector<Expected> lowerCells(double y) {
    return {
        {"Рабочий цикл агрегата", 0, 15, y, 200, y + 5, 19, y + 1, kL},
        {"70 %", 0, 80, y, 100, y + 5, 82, y + 1, kV},
        {"Кол-во работающих людей", 0, 100, y, 200, y + 5, 104, y + 1, kL},
        {"24 чел*час", 0, 175, y, 200, y + 5, 177, y + 1, kV},
        {"1.5 кВт час", 0, 80, y + 5, 100, y + 10, 82, y + 6, kV},
        {"Теплоприток от двигателей эл.погрузчиков", 0, 100, y + 5, 200, y + 10, 104, y + 6, kL},
        {"0.8 кВт час", 0, 175, y + 5, 200, y + 10, 177, y + 6, kV},
        {"Мощность электродвигателей вентиляторов воздухоохладителей", 0, 15, y + 10, 200,
         y + 15, 19, y + 11, kL},
        {"1200 Вт", 0, 125, y + 10, 200, y + 15, 127, y + 11, kV},
        {"ТЕПЛОПОТЕРИ, Вт", 0, 15, y + 15, 200, y + 20, 17, y + 16, kH},
        {"Термодиффузия через", 0, 15, y + 20, 200, y + 25, 19, y + 21, kL},
        {"СТЕНЫ", 1, 65, y + 20, 200, y + 25, 69, y + 21, kL},
        {"2173.5", 0, 85, y + 20, 100, y + 25, 87, y + 21, kV},
        {"ПОЛ", 1, 100, y + 20, 120, y + 25, 104, y + 21, kL},
        {"368", 0, 120, y + 20, 135, y + 25, 122, y + 21, kV},
        {"ПОТОЛОК", 1, 135, y + 20, 165, y + 25, 139, y + 21, kL},
        {"1047", 0, 165, y + 20, 200, y + 25, 167, y + 21, kV},
        {"2893", 0, 80, y + 25, 200, y + 30, 82, y + 26, kV},
        {"Охлаждение упаковки", 0, 110, y + 25, 200, y + 30, 114, y + 26, kL},
        {"142", 0, 160, y + 25, 200, y + 30, 162, y + 26, kV},
        {"3561", 0, 80, y + 30, 200, y + 35, 82, y + 31, kV},
        {"СУММАРНЫЕ ПОТЕРИ", 0, 15, y + 35, 200, y + 42, 17, y + 36, kH},
        {"10184 Вт", 0, 140, y + 35, 200, y + 42, 142, y + 36, {10, true, false}},
        {"ТРЕБУЕМАЯ ХОЛОДОПРОИЗВОДИТЕЛЬНОСТЬ", 0, 15, y + 42, 200, y + 49, 17, y + 43, kH},
        {"14549 Вт", 0, 140, y + 42, 200, y + 49, 142, y + 43, {10, true, false}},
    };
}

TEST(PrintedReport, StandardDoors) {
    const auto calls = draw(GoldenModel(true));
    for (const auto& e : kFixedCells) check(calls, e);
    check(calls, {"Тип камеры", 0, 15, 174, 200, 179, 19, 175, kL});
    check(calls, {"Камера низкотемпературная", 0, 80, 174, 200, 179, 82, 175, kV});
    for (const auto& e : lowerCells(179)) check(calls, e);
    EXPECT_FALSE(find(calls, "Полосовая завеса")) << "no curtain with standard doors";
    EXPECT_FALSE(find(calls, "Высота дверей"));
    const auto boxes = std::count_if(calls.begin(), calls.end(), [](const Call& c) {
        return c.kind == Call::Kind::Rectangle;
    });
    EXPECT_EQ(boxes, 127);
    EXPECT_EQ(calls.size(), 127u + 129u);
}

TEST(PrintedReport, SpecialDoorsMoveTheLowerRowsDown) {
    const auto calls = draw(GoldenModel(false));
    for (const auto& e : kFixedCells) check(calls, e);
    const Expected doors[] = {
        {"Высота дверей", 0, 15, 174, 200, 179, 19, 175, kL},
        {"2.2 м", 0, 80, 174, 100, 179, 82, 175, kV},
        {"Ширина дверей", 0, 100, 174, 200, 179, 104, 175, kL},
        {"1.5 м", 0, 175, 174, 200, 179, 177, 175, kV},
        {"2 ч/сут", 0, 80, 179, 100, 184, 82, 180, kV},
        {"Тип занавеси", 0, 100, 179, 200, 184, 104, 180, kL},
        {"Полосовая завеса", 0, 175, 179, 200, 184, 177, 180, kV},
        {"Внешняя температура", 0, 15, 184, 200, 189, 19, 185, kL},
        {"28°C", 0, 80, 184, 100, 189, 82, 185, kV},  // Latin C, no blank
        {"влажность", 0, 100, 184, 200, 189, 104, 185, kL},
        {"55 %", 0, 175, 184, 200, 189, 177, 185, kV},
    };
    for (const auto& e : doors) check(calls, e);
    for (const auto& e : lowerCells(189)) check(calls, e);
    EXPECT_FALSE(find(calls, "Камера низкотемпературная")) << "no chamber type";
    EXPECT_EQ(calls.size(), 137u + 139u);
}

TEST(PrintedReport, FloorMarkNeedsHeatingAndGround) {
    struct Case { bool heated, ground, ceilIns; const char* floor; const char* ceil; } cases[] = {
        {true, true, false, "- с подогревом", "- крыша"},
        {true, false, true, "- без подогрева", "- перекрытие"},
        {false, true, false, "- без подогрева", "- крыша"},
    };
    for (const auto& c : cases) {
        ReportModel in = GoldenModel(true);
        in.floorHeated = c.heated;
        in.floorOnGround = c.ground;
        in.ceilingIsSlab = c.ceilIns;
        const auto calls = draw(in);
        check(calls, {c.floor, 0, -1, -1, -1, -1, 109, 99, {8, false, false}});
        check(calls, {c.ceil, 0, -1, -1, -1, -1, 19, 99, {8, false, false}});
        check(calls, {c.ground ? "на грунте" : "над помещением", 0, 130, 89, 200, 94, 132, 90,
                      kM});
    }
}

TEST(PrintedReport, WallLossUndefinedShowsADash) {
    ReportModel in = GoldenModel(true);
    in.walls.value = "—";
    check(draw(in), {"—", 0, 85, 199, 100, 204, 87, 200, kV});
}

}  // namespace
}  // namespace coldroom

namespace coldroom {
namespace {

// A text's room ends where the next cell of its row begins, so a long name never prints over
// its neighbour: a label stops at its value, a material at its thickness.
TEST(PrintedReport, TextRoomEndsAtTheNextCellOfTheRow) {
    const auto calls = draw(GoldenModel(true));
    auto roomOf = [&](const std::string& text) {
        for (const Call& c : calls)
            if (c.kind == Call::Kind::Text && c.text == text) return c.maxWidth;
        return -1.0;
    };
    EXPECT_DOUBLE_EQ(roomOf("Длина"), 100 - 19 - 0.5);
    EXPECT_DOUBLE_EQ(roomOf("РАЗМЕРЫ КАМЕРЫ"), 200 - 17 - 0.5);
    EXPECT_DOUBLE_EQ(roomOf("Юг"), 40 - 19 - 0.5);
    EXPECT_DOUBLE_EQ(roomOf("Камера низкотемпературная"), 200 - 82 - 0.5);
    EXPECT_DOUBLE_EQ(roomOf("- крыша"), 0);  // a free mark has no box
}

}  // namespace
}  // namespace coldroom

namespace coldroom {
namespace {

// A long material name takes a second line in its cell before it is set smaller; the size
// never goes below 6 pt. Widths here: 0.2 mm per character and point.
TEST(PrintedReport, FitTextWrapsBeforeItShrinks) {
    const TextWidth width = [](const std::string& t, double pt) { return 0.2 * pt * static_cast<double>(t.size()); };
    const double twoLines = 0.8;  // mm of height per point for two lines: 6 pt take 4.8 mm
    struct Case {
        const char* text;
        double room, height;
        std::vector<std::string> lines;
        double minPt, maxPt;
    } cases[] = {
        {"Steel sheet", 20, 5, {"Steel sheet"}, 8, 8},                        // fits
        {"Polyurethane foam panel", 30, 5, {"Polyurethane", "foam panel"}, 6, 6.25},
        {"Polyurethane-foam-panel", 30, 5, {"Polyurethane-foam-panel"}, 6.5, 6.6},  // no blank
        {"Polyurethane foam panel", 30, 4, {"Polyurethane foam panel"}, 6.5, 6.6},  // too low
        {"A very long name of a sandwich panel with a polyurethane core", 30, 5,
         {"A very long name of a sandwich panel with a polyurethane core"}, 6, 6},  // cut later
    };
    for (const auto& c : cases) {
        const FittedText f = FitText(c.text, 8, c.room, c.height, twoLines, width);
        EXPECT_EQ(f.lines, c.lines) << c.text;
        EXPECT_GE(f.sizePt, c.minPt) << c.text;
        EXPECT_LE(f.sizePt, c.maxPt) << c.text;
    }
}

// Only the materials may wrap, between their own box's rows.
TEST(PrintedReport, MaterialCellsWrapWithinTheirBox) {
    ReportModel in = GoldenModel(true);
    in.surfaces[kSouth].material[0] = "Пенополиуретан (PUR) - утеплитель сэндвич-панелей";
    const auto calls = draw(in);
    int wrapping = 0;
    for (size_t i = 1; i < calls.size(); ++i) {
        const Call& c = calls[i];
        if (c.kind != Call::Kind::Text || c.bottom == 0) continue;
        ++wrapping;
        EXPECT_EQ(c.style, kM) << c.text;
        EXPECT_EQ(c.top, calls[i - 1].y1) << c.text;
        EXPECT_EQ(c.bottom, calls[i - 1].y2) << c.text;
    }
    EXPECT_EQ(wrapping, 4 * 3 + 2 * 3 + 2);  // walls, ceiling and floor layers, their surfaces
    check(calls, {"Пенополиуретан (PUR) - утеплитель сэндвич-панелей", 0, 40, 59, 90, 64, 42, 60, kM});
}

}  // namespace
}  // namespace coldroom
