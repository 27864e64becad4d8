// The windows' life cycle without a screen: which windows' closing activates the main window,
// and a main window that cannot load ends the program.
#include <gtest/gtest.h>

#include "ui/program_harness.h"

namespace coldroom {
namespace {

using test::ProgramHarness;

// Activation copies the task over the main window: a typed work cycle survives only
// coming back from a window that does not count (the help window).
TEST(Program, MainWindowActivationOnlyComingFromAWindowThatCounts) {
    ProgramHarness h;
    h.confirm();
    MainForm& m = h.main();
    const std::string taskCycle = m.Cycle_txt.text;
    const std::string taskCapacity = m.Capacity_need.text;
    const std::pair<WindowId, bool> cases[] = {{WindowId::Help, false},        {WindowId::About, true},
                                               {WindowId::PrintOptions, true}, {WindowId::Editor, true},
                                               {WindowId::TaskDialog, true},   {WindowId::MainWindow, false}};
    for (auto [from, activates] : cases) {
        ProgramHarness::enter(m.Cycle_txt, "50");
        ASSERT_EQ(m.Cycle_txt.text, "50");
        const std::string typedCapacity = m.Capacity_need.text;
        ASSERT_NE(typedCapacity, taskCapacity);
        h.program().WindowActivated(from);
        EXPECT_EQ(h.program().WindowActivated(WindowId::MainWindow), activates) << static_cast<int>(from);
        EXPECT_EQ(m.Cycle_txt.text, activates ? taskCycle : "50") << static_cast<int>(from);
        EXPECT_EQ(m.Capacity_need.text, activates ? taskCapacity : typedCapacity) << static_cast<int>(from);
    }
}

TEST(Program, AMainWindowThatCannotLoadIsToldAndEndsTheProgram) {
    auto db = test::MinimalReferenceDatabase();
    db.removeTable("Upper");
    ProgramHarness h(std::move(db));
    h.confirm();
    ASSERT_EQ(h.messageCount(), 1u);
    EXPECT_EQ(h.lastMessage().icon, MsgIcon::Critical);
    EXPECT_TRUE(h.program().ended());
    EXPECT_EQ(h.program().exitCode(), 1);
    EXPECT_TRUE(h.ui.visible.empty());
}

}  // namespace
}  // namespace coldroom
