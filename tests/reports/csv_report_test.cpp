#include "reports/csv_report.h"
#include "files/project_codec.h"
#include "reports/html_report.h"
#include "reports/printed_report.h"
#include "refdb/test_db.h"

#include <gtest/gtest.h>

#include "io/failing_file_system.h"
#include "reports/report_file.h"
#include "reports/report_fixture.h"

namespace coldroom {
namespace {

using testing::GoldenModel;
using testing::GoldenPath;
using testing::ReadBytes;
using testing::TempDir;

TEST(CsvReport, MatchesTheGoldenFiles) {
    struct Case { bool standard; size_t lines; const char* golden; } cases[] = {
        {true, 50, "report_standard_doors.csv"},
        {false, 51, "report_special_doors.csv"},
    };
    for (const auto& c : cases) {
        const std::string golden = ReadBytes(GoldenPath(c.golden));
        ASSERT_FALSE(golden.empty()) << c.golden;
        TempDir dir;
        const std::string path = dir.file("report.csv");
        const ReportModel in = GoldenModel(c.standard);
        EXPECT_EQ(CsvReportLines(in).size(), c.lines);
        std::string error;
        ASSERT_TRUE(WriteCsvReport(path, in, error)) << error;
        EXPECT_EQ(ReadBytes(path), golden) << c.golden;
    }
}

TEST(CsvReport, QuotesOnlyCellsThatWouldSplit) {
    struct Case { const char* text; const char* cell; } cases[] = {
        {"Пенополиуретан", "Пенополиуретан"},
        {"ППУ; плотн. 40", "\"ППУ; плотн. 40\""},
        {"Панель \"Север\"", "\"Панель \"\"Север\"\"\""},
        {"две\nстроки", "\"две\nстроки\""},
        {" с подогревом", " с подогревом"},
        {"", ""},
    };
    for (const auto& c : cases) EXPECT_EQ(CsvCell(c.text), c.cell) << c.text;

    ReportModel in = GoldenModel(true);
    in.heading.title = "Склад; корпус 2";
    in.surfaces[kSouth].material[0] = "ППУ; 40 кг/м3";
    in.surfaces[kSouth].thickness[0] = "1;2";
    in.heading.author = "ООО \"Холод\"";
    const auto l = CsvReportLines(in);
    EXPECT_EQ(l[1], "\"Склад; корпус 2\";");
    EXPECT_EQ(l[10], "Юг;\"ППУ; 40 кг/м3\";;\"1;2 мм\";Север;Пенополистирол ПСБ-С;;110 мм");
    EXPECT_EQ(l[49], "\"Расчет сделан:              ООО \"\"Холод\"\"\"");
}

TEST(CsvReport, TextsASpreadsheetWouldRunGetAnApostrophe) {
    struct Case { const char* text; const char* cell; } cases[] = {
        {"=HYPERLINK(\"x\")", "\"'=HYPERLINK(\"\"x\"\")\""},
        {"+7-495-000", "'+7-495-000"},
        {"@SUM(A1)", "'@SUM(A1)"},
        {"-", "'-"},
        {"\tСклад", "'\tСклад"},
        {"\rСклад", "\"'\rСклад\""},
        {"-2+3+cmd|' /C calc'!A0", "'-2+3+cmd|' /C calc'!A0"},
        {"-20 °С", "-20 °С"},
        {"-40 ", "-40 "},
        {"-1.5E+3", "-1.5E+3"},
        {"+5", "+5"},
        {"Склад =1", "Склад =1"},
    };
    for (const auto& c : cases) EXPECT_EQ(CsvCell(c.text), c.cell) << c.text;

    ReportModel in = GoldenModel(true);
    in.heading.title = "=1+1";
    in.heading.author = "@Петров";
    in.roomTemperature.value = "-20";
    const auto l = CsvReportLines(in);
    EXPECT_EQ(l[1], "'=1+1;");
    EXPECT_EQ(l[22], "В камере;;-20 °С");
    EXPECT_EQ(l[49], "Расчет сделан:              @Петров") << "the author does not start the cell";
}

// The store's and the studies' tables: a figure goes with the decimal comma, so a spreadsheet set
// to Russian reads a number, not a date; anything else is guarded as the report's cells are.
TEST(CsvReport, FiguresWithTheDecimalComma) {
    struct Case { const char* text; const char* cell; } cases[] = {
        {"259.2", "259,2"}, {"-3.5", "-3,5"}, {" 3.82 ", "3,82"}, {"1.5E+20", "1,5E+20"}, {"3685", "3685"},
        {"-", "'-"},         {"3.82 кВт", "3.82 кВт"}, {"01.02.2026", "01.02.2026"}, {"a;b", "\"a;b\""},
    };
    for (const auto& c : cases) EXPECT_EQ(CsvFigureCell(c.text), c.cell) << c.text;
}

TEST(CsvReport, WallLossPrintForm) {
    struct Case { const char* value; bool belowZero; const char* line; } cases[] = {
        {"2173.5", false, "Термодиффузия через;;;;СТЕНЫ; 2173.5 ;ПОЛ;368;ПОТОЛОК;1047"},
        {"-40", true, "Термодиффузия через;;;;СТЕНЫ;-40 ;ПОЛ;368;ПОТОЛОК;1047"},
        {"0", false, "Термодиффузия через;;;;СТЕНЫ; 0 ;ПОЛ;368;ПОТОЛОК;1047"},
        {"—", false, "Термодиффузия через;;;;СТЕНЫ; — ;ПОЛ;368;ПОТОЛОК;1047"},
    };
    for (const auto& c : cases) {
        ReportModel in = GoldenModel(true);
        in.walls.value = c.value;
        in.wallsBelowZero = c.belowZero;
        EXPECT_EQ(CsvReportLines(in)[42], c.line);
    }
}

TEST(CsvReport, CeilingAndFloorMarks) {
    ReportModel in = GoldenModel(true);
    in.ceilingIsSlab = true;
    in.floorHeated = false;
    in.floorOnGround = false;
    const auto l = CsvReportLines(in);
    EXPECT_EQ(l[16], "ПОТОЛОК;Металл окрашенный;;;ПОЛ над помещением");
    EXPECT_EQ(l[17], "перекрытие;Пенополиуретан;;150 мм;;Пеностекло;;80 мм");
    EXPECT_EQ(l[18], ";Железобетон;;200 мм; без подогрева;Бетон;;150 мм");
}

TEST(CsvReport, SignatureStartsAtTheNextPrintZone) {
    ReportModel in = GoldenModel(true);
    in.heading.author = "";
    const std::string line = CsvReportLines(in).back();
    EXPECT_EQ(line, "Расчет сделан:" + std::string(14, ' '));
}

TEST(CsvReport, AFailedSaveKeepsTheOldFile) {
    TempDir dir;
    const std::string path = dir.file("report.csv");
    std::string error;
    ASSERT_TRUE(WriteCsvReport(path, GoldenModel(true), error));
    const std::string before = ReadBytes(path);
    const ReportModel in = GoldenModel(false);
    {
        test::FailingFileSystem failing(test::FailingFileSystem::Step::Rename);
        UseFileSystem use(failing);
        EXPECT_FALSE(WriteReportLines(path, CsvReportLines(in), in.Values(), error));
    }
    EXPECT_EQ(error, "Не удается записать файл «" + path + "»: нет прав на запись в папку «" + dir.path().string() + "»");
    EXPECT_EQ(ReadBytes(path), before);
    EXPECT_EQ(dir.entries(), 1);
}

}  // namespace
// Door hours kept from a file at -16 print a door gain of −16 million watts: every report that
// has room for a line says so, the printed page too.
TEST(Reports, AValueOutsideItsRangeIsToldWithTheFigures) {
    std::string error;
    const auto data = LoadReferenceData(test::ShippedDatabasePath(), error);
    ASSERT_TRUE(data) << error;
    RoomProject p = StartProject(*data);
    p.Door_Standard_opt = false;
    p.Door_Open_txt = "-16";
    const ReportModel model = BuildReportModel(p, ComputeRoom(p, *data), *data, {"Т", "А", "07.12.2026"});
    const std::string warning = "Время, когда дверь открыта: -16";
    std::string html, csv, page;
    for (const std::string& l : HtmlReportLines(model)) html += l;
    for (const std::string& l : CsvReportLines(model)) csv += l;
    for (const PrintCell& c : PrintedReportCells(model)) page += c.text + "\n";
    EXPECT_NE(html.find(warning), std::string::npos);
    EXPECT_NE(csv.find(warning), std::string::npos);
    EXPECT_NE(page.find(warning), std::string::npos);
}

}  // namespace coldroom
