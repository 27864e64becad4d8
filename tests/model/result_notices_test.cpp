// Figures that are defined but would surprise a checking engineer are told beside the results:
// a door that brings no heat, more product than the room holds, a work cycle the task put back.
#include <gtest/gtest.h>

#include "files/project_codec.h"
#include "model/entries.h"
#include "refdb/test_db.h"
#include "ui/main/commands.h"
#include "ui/program_harness.h"

namespace coldroom::test {
namespace {

std::string joined(const std::vector<std::string>& lines) {
    std::string all;
    for (const std::string& l : lines) all += l + "\n";
    return all;
}

TEST(ResultNotices, ColdOutsideAirAndAnOverfullRoom) {
    std::string error;
    const auto data = LoadReferenceData(ShippedDatabasePath(), error);
    ASSERT_TRUE(data) << error;
    const struct {
        std::vector<Setting> settings;
        const char* notice;
        bool doorZero;
    } cases[] = {
        // Outside −49 °C, room −34 °C: the door's formula gave +97 955 W.
        {{{"Door_Special_opt", "1"}, {"TempOut_txt", "-49"}, {"Produkt.TempIn_txt", "-34"}},
         "не теплее воздуха камеры", true},
        {{{"Door_Special_opt", "1"}, {"TempOut_txt", "-45"}, {"Produkt.TempIn_txt", "-30"}},
         "не теплее воздуха камеры", true},
        // 100 t in a 6 × 4 × 3 m room of chilled meat.
        {{{"Length_txt", "6"}, {"Width_txt", "4"}, {"Height_txt", "3"}, {"Produkt.Load_prod_txt", "100"}},
         "Загрузка камеры 100 т больше её вместимости", false},
        {{{"Door_Special_opt", "1"}}, "", false},
    };
    for (const auto& c : cases) {
        RoomProject p = StartProject(*data);
        TaskDialogState dialog;
        ChooseTask(p, dialog, *data, 2);  // chilled storage
        ASSERT_EQ(ApplySettings(p, dialog, *data, c.settings).status, SetStatus::Done) << c.notice;
        const RoomResult r = ComputeRoom(p, *data);
        const std::string notices = joined(r.notices);
        if (c.notice[0]) {
            EXPECT_NE(notices.find(c.notice), std::string::npos) << notices;
        } else {
            EXPECT_EQ(notices, "");
        }
        EXPECT_EQ(r.loads.door.watts == 0, c.doorZero) << r.loads.door.watts;
    }
}

// The task's work cycle put back over a typed one is told beside the capacity until the next
// entry, and the task dialog shows the cycle its mode gives.
TEST(ResultNotices, AWorkCyclePutBackIsToldUntilTheNextEntry) {
    ProgramHarness h{ProgramHarness::Shipped{}};
    h.confirm();
    h.ui.fileNames.push_back(std::string(COLDROOM_TEST_DATA) + "/projects/known.cfg");
    ASSERT_TRUE(OpenCommand(h.program(), h.ui));
    MainForm& m = h.main();
    ASSERT_EQ(m.Cycle_txt.text, "80");
    EXPECT_EQ(m.ResultsNotice_lbl.text, "");
    m.Change_btn.onClick();
    EXPECT_EQ(h.task().Cycle_lbl.text, "цикл 100 %");
    ProgramHarness::enter(h.task().Load_prod_txt, "12");
    h.confirm();
    EXPECT_EQ(m.Cycle_txt.text, "100");
    EXPECT_NE(m.ResultsNotice_lbl.text.find("Цикл работы 80 % заменен"), std::string::npos) << m.ResultsNotice_lbl.text;
    ProgramHarness::enter(m.NofPeople_txt, "2");
    EXPECT_EQ(m.ResultsNotice_lbl.text, "");
}

}  // namespace
}  // namespace coldroom::test
