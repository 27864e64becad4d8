#include "reports/html_report.h"

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

TEST(HtmlReport, MatchesTheGoldenFileInBothDoorModes) {
    const std::string golden = ReadBytes(GoldenPath("report.htm"));
    ASSERT_FALSE(golden.empty());
    for (bool standard : {true, false}) {
        TempDir dir;
        const std::string path = dir.file("report.htm");
        const ReportModel in = GoldenModel(standard);
        const auto lines = HtmlReportLines(in);
        EXPECT_EQ(lines.size(), 55u);
        // Browsers guess a wrong code page unless the head names it.
        EXPECT_EQ(lines[0], R"(<HTML><HEAD><META HTTP-EQUIV="Content-Type" )"
                            R"(CONTENT="text/html; charset=windows-1251">)");
        std::string error;
        ASSERT_TRUE(WriteHtmlReport(path, in, error)) << error;
        EXPECT_EQ(ReadBytes(path), golden) << "standard doors: " << standard;
    }
}

TEST(HtmlReport, CeilingAndFloorMarks) {
    struct Case { bool ceilIns, heated, ground; const char* l19; const char* l21; const char* l22; };
    const Case cases[] = {
        {true, false, false,
         R"(<TD ROWSPAN="4" VALIGN="TOP">ПОТОЛОК  <BR>-  <I> перекрытие</I></TD>)",
         R"(<TD ROWSPAN="4" VALIGN="TOP">ПОЛ <BR>- <I>без подогрева</I></TD>)",
         R"(<TD COLSPAN="2"><I>над помещением</I></TD>)"},
        // The file looks at the heating alone, even for a floor above a room.
        {false, true, false,
         R"(<TD ROWSPAN="4" VALIGN="TOP">ПОТОЛОК  <BR>-  <I> крыша</I></TD>)",
         R"(<TD ROWSPAN="4" VALIGN="TOP">ПОЛ <BR>- <I>c подогревом</I></TD>)",
         R"(<TD COLSPAN="2"><I>над помещением</I></TD>)"},
    };
    for (const auto& c : cases) {
        ReportModel in = GoldenModel(true);
        in.ceilingIsSlab = c.ceilIns;
        in.floorHeated = c.heated;
        in.floorOnGround = c.ground;
        const auto lines = HtmlReportLines(in);
        EXPECT_EQ(lines[18], c.l19);
        EXPECT_EQ(lines[20], c.l21);
        EXPECT_EQ(lines[21], c.l22);
    }
}

TEST(HtmlReport, EscapesValuesFromThePersonAndTheDatabase) {
    ReportModel in = GoldenModel(true);
    in.heading.title = R"(Склад <А&Б> "Север")";
    in.heading.author = "ООО <Холод>";
    in.surfaces[kSouth].material[0] = "ППУ <плотн. 40>";
    in.surfaces[kEast].material[1] = "Бетон & кирпич";
    const auto l = HtmlReportLines(in);
    const std::string title = "Склад &lt;А&amp;Б&gt; &quot;Север&quot;";
    EXPECT_EQ(l[1], "<TITLE>" + title + "</TITLE>");
    EXPECT_EQ(l[4], R"(<TH COLSPAN="2" BGCOLOR="#FFFFCC"><H2><CENTER>)" + title +
                        "</CENTER></H2></TH>");
    EXPECT_NE(l[10].find("<TD><I>ППУ &lt;плотн. 40&gt;</I></TD>"), std::string::npos);
    EXPECT_NE(l[16].find("<TD><I>Бетон &amp; кирпич</I></TD>"), std::string::npos);
    EXPECT_NE(l[54].find("<B>ООО &lt;Холод&gt;</B>"), std::string::npos);
    EXPECT_EQ(HtmlEscape("a&b<c>d\"e'f"), "a&amp;b&lt;c&gt;d&quot;e'f");
}

TEST(HtmlReport, WallLossNegativeOrUndefined) {
    ReportModel in = GoldenModel(true);
    in.walls.value = "-12.75";
    EXPECT_NE(HtmlReportLines(in)[46].find("<TD>СТЕНЫ</TD><TD BGCOLOR=\"#EBEBEB\"><B>-12.75</B>"),
              std::string::npos);
    in.walls.value = "—";
    EXPECT_NE(HtmlReportLines(in)[46].find("<B>—</B>"), std::string::npos);
}

TEST(HtmlReport, RefusesAnUnencodableValueAndKeepsTheOldFile) {
    TempDir dir;
    const std::string path = dir.file("report.htm");
    std::string error;
    ASSERT_TRUE(WriteHtmlReport(path, GoldenModel(true), error));
    const std::string before = ReadBytes(path);

    ReportModel in = GoldenModel(true);
    in.location.value = "Tromsø";
    EXPECT_FALSE(WriteHtmlReport(path, in, error));
    EXPECT_EQ(error, "Не удается записать файл «" + path +
                         "»: символ «ø» (U+00F8) нельзя записать в кодировке Windows-1251 "
                         "(значение «Tromsø»)");
    EXPECT_EQ(ReadBytes(path), before);

    in = GoldenModel(false);
    test::FailingFileSystem failing(test::FailingFileSystem::Step::Write);
    UseFileSystem use(failing);
    EXPECT_FALSE(WriteReportLines(path, HtmlReportLines(in), in.Values(), error));
    EXPECT_EQ(ReadBytes(path), before);
    EXPECT_EQ(dir.entries(), 1);
}

}  // namespace
}  // namespace coldroom
