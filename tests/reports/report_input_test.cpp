#include "reports/report_input.h"

#include <gtest/gtest.h>

#include <algorithm>

#include "reports/report_fixture.h"

namespace coldroom {
namespace {

TEST(ReportInput, LayerNamesShowDotsForDisabledLists) {
    const auto names = LayerMaterialNames(testing::GoldenInput(true));
    const std::array<std::string, 12> expected = {
        "Минеральная вата", "...", "...", "...",      // South2, South3, Nord2, Nord3
        "Кирпич", "Штукатурка", "...", "...",         // East2, East3, West2, West3
        "Железобетон", "...", "Бетон", "Керамзит"};  // Ceil2, Ceil3, Floor2, Floor3
    EXPECT_EQ(names, expected);
    EXPECT_EQ(LayerIndex("Nord", 3), 3);
    EXPECT_EQ(LayerIndex("Floor", 2), 10);
}

TEST(ReportInput, AListNotMentionedCountsAsEnabled) {
    ReportInput in;
    in.text["Ceil2_Mt_cmb"] = "Железобетон";
    EXPECT_EQ(LayerMaterialNames(in)[8], "Железобетон");
    in.enabled["Ceil2_Mt_cmb"] = false;
    EXPECT_EQ(LayerMaterialNames(in)[8], "...");
}

TEST(ReportInput, PeopleLoadMultipliesTheLeadingNumbers) {
    struct Case { const char* people; const char* hours; const char* load; } cases[] = {
        {"3", "8", "24"}, {"2.5", "4", "10"}, {"", "8", "0"}, {"3 чел", "8ч", "24"},
        {"1,5", "2", "2"}, {"0.1", "3", "0.3"}, {"-2", "8", "-16"},
    };
    for (const auto& c : cases) {
        ReportInput in;
        in.text = {{"NofPeople_txt", c.people}, {"TimePeople_txt", c.hours}};
        EXPECT_EQ(PeopleLoadText(in), c.load) << c.people << " x " << c.hours;
    }
}

TEST(ReportInput, WallLossIsGeneralTextOrADash) {
    ReportInput in;
    in.wallLossTotal = -1234.25;
    EXPECT_EQ(WallLossText(in), "-1234.25");
    in.wallLossDefined = false;
    EXPECT_EQ(WallLossText(in), "—");
}

TEST(ReportInput, TheDateIsDayMonthYearWhateverTheLocale) {
    const std::string date = ShortDateToday();
    ASSERT_EQ(date.size(), 10u) << date;
    for (size_t i = 0; i < date.size(); ++i)
        EXPECT_EQ(date[i] == '.', i == 2 || i == 5) << date;
}

TEST(ReportInput, TheFixtureSuppliesEveryField) {
    EXPECT_TRUE(MissingReportFields(testing::GoldenInput(true)).empty());
    const auto missing = MissingReportFields(ReportInput{});
    EXPECT_EQ(missing.size(), ReportFieldNames().text.size() + 4 + 12);
    EXPECT_NE(std::find(missing.begin(), missing.end(), "option:Door_Standard_opt"),
              missing.end());
}

}  // namespace
}  // namespace coldroom
