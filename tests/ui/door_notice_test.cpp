// The door's room type against the room temperature: a storage type that does not fit is named
// while the standard method reads it, and the choice stays the person's.
#include <gtest/gtest.h>

#include "ui/program_harness.h"

namespace coldroom {
namespace {

using test::ProgramHarness;

TEST(DoorNotice, AStorageTypeThatDoesNotFitTheRoomTemperatureIsNamed) {
    ProgramHarness h;
    h.confirm();
    MainForm& m = h.main();
    const struct {
        const char* temperature;
        int type;
        const char* fits;  // nullptr: no notice
    } cases[] = {{"-20", 0, "Камера хранения мороженых продуктов"}, {"-20", 1, nullptr},
                 {"2", 1, "Камера хранения охлажденных продуктов"}, {"2", 0, nullptr}, {"-20", 4, nullptr}};
    for (const auto& c : cases) {
        SCOPED_TRACE(std::string(c.temperature) + " / " + std::to_string(c.type));
        m.TypeOfCell_cmb.setIndex(c.type);
        ProgramHarness::leave(m.TempIn_txt, c.temperature);
        EXPECT_EQ(m.TypeOfCell_cmb.index(), c.type);
        if (c.fits)
            EXPECT_NE(m.DoorNotice_lbl.text.find(c.fits), std::string::npos) << m.DoorNotice_lbl.text;
        else
            EXPECT_EQ(m.DoorNotice_lbl.text, "");
    }
    m.TypeOfCell_cmb.setIndex(0);
    ProgramHarness::leave(m.TempIn_txt, "-20");
    ASSERT_NE(m.DoorNotice_lbl.text, "");
    m.Door_Special_opt.setValue(true);
    EXPECT_EQ(m.DoorNotice_lbl.text, "") << "the special method does not read the type";
}

}  // namespace
}  // namespace coldroom
