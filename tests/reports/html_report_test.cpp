#include "reports/html_report.h"

#include <gtest/gtest.h>

#include "io/failing_file_system.h"
#include "reports/report_file.h"
#include "reports/report_fixture.h"

namespace coldroom {
namespace {

using testing::GoldenInput;
using testing::GoldenPath;
using testing::ReadBytes;
using testing::TempDir;

TEST(HtmlReport, MatchesTheGoldenFileInBothDoorModes) {
    const std::string golden = ReadBytes(GoldenPath("report.htm"));
    ASSERT_FALSE(golden.empty());
    for (bool standard : {true, false}) {
        TempDir dir;
        const std::string path = dir.file("report.htm");
        const ReportInput in = GoldenInput(standard);
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
        ReportInput in = GoldenInput(true);
        in.option["CeilIns_opt"] = c.ceilIns;
        in.option["FloorHeat_Opt"] = c.heated;
        in.option["FloorGrunt_Opt"] = c.ground;
        const auto lines = HtmlReportLines(in);
        EXPECT_EQ(lines[18], c.l19);
        EXPECT_EQ(lines[20], c.l21);
        EXPECT_EQ(lines[21], c.l22);
    }
}

TEST(HtmlReport, EscapesValuesFromThePersonAndTheDatabase) {
    ReportInput in = GoldenInput(true);
    in.projectTitle = R"(Склад <А&Б> "Север")";
    in.author = "ООО <Холод>";
    in.text["South1_Mt_cmb"] = "ППУ <плотн. 40>";
    in.text["East2_Mt_cmb"] = "Бетон & кирпич";
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
    ReportInput in = GoldenInput(true);
    in.wallLossTotal = -12.75;
    EXPECT_NE(HtmlReportLines(in)[46].find("<TD>СТЕНЫ</TD><TD BGCOLOR=\"#EBEBEB\"><B>-12.75</B>"),
              std::string::npos);
    in.wallLossDefined = false;
    EXPECT_NE(HtmlReportLines(in)[46].find("<B>—</B>"), std::string::npos);
}

TEST(HtmlReport, RefusesAnUnencodableValueAndKeepsTheOldFile) {
    TempDir dir;
    const std::string path = dir.file("report.htm");
    std::string error;
    ASSERT_TRUE(WriteHtmlReport(path, GoldenInput(true), error));
    const std::string before = ReadBytes(path);

    ReportInput in = GoldenInput(true);
    in.text["Location_cmb"] = "Tromsø";
    EXPECT_FALSE(WriteHtmlReport(path, in, error));
    EXPECT_EQ(error, "Не удается записать файл «" + path +
                         "»: символ «ø» (U+00F8) нельзя записать в кодировке Windows-1251 "
                         "(значение «Tromsø»)");
    EXPECT_EQ(ReadBytes(path), before);

    in = GoldenInput(false);
    test::FailingFileSystem failing(test::FailingFileSystem::Step::Write);
    UseFileSystem use(failing);
    EXPECT_FALSE(WriteReportLines(path, HtmlReportLines(in), in, error));
    EXPECT_EQ(ReadBytes(path), before);
    EXPECT_EQ(dir.entries(), 1);
}

}  // namespace
}  // namespace coldroom
