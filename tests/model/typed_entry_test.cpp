// A typed entry becomes a number only when its whole text is one; a value with a physical
// meaning stays within what is physically possible, and an unusual one is told. The command
// line's --set goes through the same checks as the windows.
#include <gtest/gtest.h>

#include "model/entries.h"
#include "files/project_codec.h"
#include "refdb/test_db.h"
#include "ui/program_harness.h"

namespace coldroom::test {
namespace {

class Told : public EntrySink {
public:
    void notice(const Notice& n) override { texts.push_back(n.text); }
    void taskNotice(const TaskNotice& n) override { texts.push_back(n.text); }
    std::vector<std::string> texts;
};

TEST(TypedEntry, OnlyAWholeNumberWithinItsPhysicalRangeIsTaken) {
    std::string error;
    const auto data = LoadReferenceData(ShippedDatabasePath(), error);
    ASSERT_TRUE(data) << error;
    const struct Case {
        std::vector<Setting> settings;
        SetStatus status;
        const char* told;      // a part of what the person is told ("" for nothing)
        const char* field;     // a field and the text it holds afterwards
        const char* holds;
    } cases[] = {
        {{{"Nord1_D_txt", "1O0"}}, SetStatus::Refused, "«1O0» — не число", "Nord1_D_txt", "100"},
        {{{"Width_txt", "4,5x"}}, SetStatus::Refused, "«4,5x» — не число", "Width_txt", "5"},
        {{{"Nord1_D_txt", "abc"}}, SetStatus::Refused, "не число", "East1_D_txt", "100"},
        {{{"Nord1_D_txt", " 150 "}}, SetStatus::Done, "", "East1_D_txt", "150"},
        {{{"Door_Special_opt", "1"}, {"HumidOut_txt", "500"}}, SetStatus::Refused, "от 0 до 100", "HumidOut_txt", ""},
        {{{"Door_Special_opt", "1"}, {"TempOut_txt", "90"}}, SetStatus::Refused, "от -50 до 50", "TempOut_txt", ""},
        {{{"Door_Special_opt", "1"}, {"Door_Open_txt", "25"}}, SetStatus::Refused, "от 0 до 24", "Door_Open_txt", "1"},
        {{{"Door_Special_opt", "1"}, {"TempOut_txt", "47"}}, SetStatus::Done, "необычное значение", "TempOut_txt", "47"},
        {{{"Produkt.Dimens_txt", "2,5"}}, SetStatus::Done, "", "Produkt.Dimens_txt", "2.5"},
        {{{"Produkt.Tin_Prod_txt", "1O"}}, SetStatus::Refused, "«1O» — не число", "Produkt.Tin_Prod_txt", ""},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.settings.back().name + "=" + c.settings.back().text);
        RoomProject p = StartProject(*data);
        const std::string before = c.holds[0] ? c.holds : FindFieldBySetName(c.field)->textOf(p);
        TaskDialogState dialog;
        Told told;
        const SetResult r = ApplySettings(p, dialog, *data, c.settings, &told);
        EXPECT_EQ(r.status, c.status) << r.message;
        std::string all;
        for (const std::string& t : told.texts) all += t + "\n";
        if (c.told[0]) {
            EXPECT_NE(all.find(c.told), std::string::npos) << all;
        } else {
            EXPECT_EQ(all, "");
        }
        EXPECT_EQ(FindFieldBySetName(c.field)->textOf(p), before);
    }
}

// A slip leaves the field showing what it held, in the main window and in the task dialog.
TEST(TypedEntry, TheFieldShowsItsValueAgainAfterASlip) {
    ProgramHarness h{ProgramHarness::Shipped{}};
    ProgramHarness::enter(h.task().Tin_Prod_txt, "2x");
    EXPECT_EQ(h.task().Tin_Prod_txt.text, "35");
    EXPECT_NE(h.lastMessage().text.find("«2x» — не число"), std::string::npos);
    h.confirm();
    EXPECT_TRUE(h.main().loaded());
    const std::string capacity = h.main().Capacity_need.text;
    ProgramHarness::enter(h.main().Nord1_D_txt, "1O0");
    EXPECT_EQ(h.main().Nord1_D_txt.text, "100");
    EXPECT_EQ(h.main().South1_D_txt.text, "100");
    EXPECT_EQ(h.main().Capacity_need.text, capacity);
}

// A refusal at «Далее >>» names what is wrong as the fields stand: a room temperature refused
// against an end temperature that was corrected since no longer holds the dialog back.
TEST(TypedEntry, ARefusalEndsWithItsCause) {
    std::string error;
    const auto data = LoadReferenceData(ShippedDatabasePath(), error);
    RoomProject p = StartProject(*data);
    TaskDialogState dialog;
    ChooseTask(p, dialog, *data, 3);  // frozen storage: −20, from −12 to −18 °C
    EXPECT_TRUE(CheckTaskField(p, dialog, CheckRoomTemperature, "-30").accepted);
    EXPECT_TRUE(CheckTaskField(p, dialog, CheckProductEnd, "-24").accepted);
    EXPECT_FALSE(CheckTaskField(p, dialog, CheckRoomTemperature, "-20").accepted);
    EXPECT_FALSE(ConfirmTask(p, dialog, *data).confirmed);
    EXPECT_TRUE(CheckTaskField(p, dialog, CheckProductEnd, "-20").accepted);
    const TaskOutcome confirmed = ConfirmTask(p, dialog, *data);
    EXPECT_TRUE(confirmed.confirmed) << (confirmed.notices.empty() ? "" : confirmed.notices[0].text);
}

}  // namespace
}  // namespace coldroom::test
