// Work is never lost without being asked: unsaved changes are tracked, every way out asks
// first, Escape in the task dialog does not end the program, a
// command first commits the field being edited, and values out of range are refused.
#include <gtest/gtest.h>

#include <functional>

#include "files/project_codec.h"
#include "temp_dir.h"
#include "ui/main/commands.h"
#include "ui/program_harness.h"
#include "ui/recent_projects.h"

namespace coldroom {
namespace {

using test::ProgramHarness;

size_t countTitled(const HeadlessUi& ui, const std::string& title) {
    size_t n = 0;
    for (const auto& m : ui.messages) n += m.title == title;
    return n;
}

TEST(WorkSafety, UnsavedChangesFollowCommitsOpenAndSave) {
    test::TempDir dir;
    ProgramHarness h;
    ProjectDocument& doc = h.program().document;
    EXPECT_FALSE(doc.modified());
    h.confirm();
    EXPECT_FALSE(doc.modified()) << "the main window's own start values are no work";
    EXPECT_EQ(doc.displayName(), kNewProjectName);

    ProgramHarness::leave(h.main().Door_W_txt, h.main().Door_W_txt.text);
    EXPECT_FALSE(doc.modified()) << "leaving a field as it was";
    ProgramHarness::enter(h.main().Door_W_txt, "3");
    EXPECT_TRUE(doc.modified());
    ProgramHarness::enter(h.main().Door_W_txt, "2");
    EXPECT_FALSE(doc.modified()) << "typed back to the saved value";

    const std::string file = dir.file("room.cfg");
    h.ui.fileNames.push_back(file);
    ASSERT_TRUE(SaveCommand(h.program(), h.ui));
    EXPECT_FALSE(doc.modified());
    EXPECT_EQ(doc.displayName(), "room.cfg");

    ProgramHarness::enter(h.main().Door_H_txt, "3");
    ASSERT_TRUE(SaveCommand(h.program(), h.ui)) << "the project's own file, no dialog";

    ProgramHarness other;
    other.confirm();
    other.ui.fileNames.push_back(file);
    ASSERT_TRUE(OpenCommand(other.program(), other.ui));
    EXPECT_FALSE(other.program().document.modified());
    EXPECT_EQ(other.main().Door_H_txt.text, "3");
}

// Every way out, with each answer to «Сохранить изменения в проекте?».
TEST(WorkSafety, EveryWayOutAsksAboutUnsavedChanges) {
    using Way = std::function<void(ProgramHarness&)>;
    const std::pair<const char*, Way> ways[] = {
        {"ВЫХОД", [](ProgramHarness& h) { h.main().Quit_btn.onClick(); }},
        {"menu / close", [](ProgramHarness& h) { h.program().RequestExit(); }},
        {"Отмена after ИЗМЕНИТЬ",
         [](ProgramHarness& h) {
             h.main().Change_btn.onClick();
             h.task().Cancel_btn.onClick();
         }},
    };
    struct Case {
        MsgAnswer answer;
        bool chooseFile;
        bool ends;
        bool saved;
    };
    const Case cases[] = {{MsgAnswer::Yes, true, true, true},
                          {MsgAnswer::Yes, false, false, false},  // no file chosen: stays
                          {MsgAnswer::No, false, true, false},
                          {MsgAnswer::Cancel, false, false, false}};
    for (const auto& [name, way] : ways) {
        for (const Case& c : cases) {
            SCOPED_TRACE(std::string(name) + " answer " + std::to_string(static_cast<int>(c.answer)));
            test::TempDir dir;
            ProgramHarness h;
            h.confirm();
            ProgramHarness::enter(h.main().NofPeople_txt, "4");
            h.ui.answers.push_back(c.answer);
            if (c.chooseFile) h.ui.fileNames.push_back(dir.file("out.cfg"));
            way(h);
            EXPECT_EQ(h.program().ended(), c.ends);
            EXPECT_EQ(dir.entries(), c.saved ? 1 : 0);
            ASSERT_GE(h.messageCount(), 1u);
            EXPECT_EQ(countTitled(h.ui, kAppTitle), c.answer == MsgAnswer::Yes && !c.chooseFile ? 2u : 1u);
        }
        // Nothing unsaved: out at once, no question.
        ProgramHarness h;
        h.confirm();
        way(h);
        EXPECT_TRUE(h.program().ended()) << name;
        EXPECT_EQ(h.messageCount(), 0u) << name;
    }
}

// «Новый проект» asks about unsaved work first, then starts as the program starts: the task
// dialog of a project with no file, the main window unmarked once it is confirmed.
TEST(WorkSafety, NewProjectAsksThenStartsAsTheProgramStarts) {
    for (MsgAnswer answer : {MsgAnswer::Cancel, MsgAnswer::No}) {
        SCOPED_TRACE(static_cast<int>(answer));
        ProgramHarness h;
        h.confirm();
        const RoomProject fresh = h.program().project();
        const std::string capacity = h.main().Capacity_need.text;
        h.main().Change_btn.onClick();
        h.task().btn_Fish.onClick();
        h.confirm();
        ProgramHarness::enter(h.main().Length_txt, "12");
        h.program().document.reset(h.program().project(), "room.cfg");
        ProgramHarness::enter(h.main().NofPeople_txt, "3");
        h.ui.visible.erase(WindowId::TaskDialog);
        h.clearMessages();
        h.ui.answers.push_back(answer);
        EXPECT_EQ(h.program().NewProject(), answer == MsgAnswer::No);
        ASSERT_EQ(h.messageCount(), 1u);
        EXPECT_EQ(h.lastMessage().text, "Сохранить изменения в проекте?");
        if (answer == MsgAnswer::Cancel) {
            EXPECT_EQ(h.program().document.path(), "room.cfg");
            EXPECT_EQ(h.main().NofPeople_txt.text, "3");
            continue;
        }
        EXPECT_TRUE(h.ui.visible.count(WindowId::TaskDialog));
        EXPECT_EQ(h.program().document.displayName(), kNewProjectName);
        h.confirm();
        EXPECT_FALSE(h.program().document.modified());
        EXPECT_TRUE(SameFileContent(h.program().project(), fresh));
        EXPECT_EQ(h.main().Length_txt.text, "10");
        EXPECT_EQ(h.main().Capacity_need.text, capacity);
    }
}

TEST(WorkSafety, EscapeInTheTaskDialog) {
    ProgramHarness h;
    h.program().TaskDialogEscape();  // at the start: nothing happens
    EXPECT_FALSE(h.program().ended());
    EXPECT_TRUE(h.ui.visible.count(WindowId::TaskDialog));
    EXPECT_EQ(h.messageCount(), 0u);

    h.confirm();
    MainForm& m = h.main();
    ProgramHarness::enter(m.Cycle_txt, "60");
    const std::string capacity = m.Capacity_need.text, task = h.task().Task_cmb.text();
    const bool modified = h.program().document.modified();
    m.Change_btn.onClick();
    h.task().btn_Fish.onClick();
    ProgramHarness::enter(h.task().Load_prod_txt, "7");
    ASSERT_NE(h.task().Task_cmb.text(), task);

    h.program().TaskDialogEscape();
    EXPECT_FALSE(h.program().ended());
    EXPECT_FALSE(h.ui.visible.count(WindowId::TaskDialog));
    EXPECT_TRUE(h.ui.visible.count(WindowId::MainWindow));
    EXPECT_EQ(h.task().Task_cmb.text(), task);
    EXPECT_EQ(m.Cycle_txt.text, "60") << "no activation on the way back";
    EXPECT_EQ(m.Capacity_need.text, capacity);
    EXPECT_EQ(h.program().document.modified(), modified);
    EXPECT_EQ(m.StatusNote, "");

    // Confirmed instead, the activation puts the task's cycle over the typed one, and says so.
    m.Change_btn.onClick();
    h.confirm();
    EXPECT_NE(m.Cycle_txt.text, "60");
    EXPECT_NE(m.StatusNote.find("60"), std::string::npos) << m.StatusNote;
}

// A command commits the field being edited first, as leaving it would; refused, it does not run.
TEST(WorkSafety, CommandsCommitThePendingEditFirst) {
    ProgramHarness h;
    h.confirm();
    MainForm& m = h.main();
    const struct {
        const char* typed;
        bool runs;
        const char* volume;
    } cases[] = {{"2", true, "50"}, {"2x", false, "125"}, {"-1", false, "125"}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.typed);
        ProgramHarness::enter(m.Width_txt, "5");
        m.Width_txt.text = c.typed;  // typed, not yet committed
        bool ran = false;
        EXPECT_EQ(h.program().RunCommand([&] { m.Width_txt.onLeave(); }, [&] { ran = true; }), c.runs);
        EXPECT_EQ(ran, c.runs);
        EXPECT_EQ(m.Volume_txt.text, c.volume);
    }
}

// A refused entry keeps no one in: leaving puts it back, says so and asks about the changes;
// saving keeps refusing it. An activation that puts the task's cycle over a typed one is a
// change the title shows at once.
TEST(WorkSafety, RefusedEntriesArePutBackOnLeavingAndActivationsMarkTheProject) {
    ProgramHarness h;
    h.confirm();
    MainForm& m = h.main();
    ProgramHarness::enter(m.Door_H_txt, "3");
    m.Length_txt.text = "-5";
    h.program().commitPending = [&m] { m.Length_txt.onLeave(); };
    EXPECT_FALSE(h.program().RunCommand(h.program().commitPending, [] {}));  // Save refuses
    h.clearMessages();
    h.ui.answers.push_back(MsgAnswer::Cancel);
    EXPECT_FALSE(h.program().RequestExit());
    ASSERT_EQ(h.messageCount(), 3u);  // the refusal, the value put back, the question
    EXPECT_EQ(h.ui.messages[1].text, "Непринятое значение заменено прежним:\r\nДлина камеры");
    EXPECT_EQ(m.Length_txt.text, "10");
    EXPECT_TRUE(h.main().RefusedFields().empty());

    h.program().commitPending = nullptr;
    ProgramHarness::enter(m.Cycle_txt, "70");
    h.program().document.reset(h.program().project(), "room.cfg");
    h.program().WindowActivated(WindowId::About);
    h.program().WindowActivated(WindowId::MainWindow);
    EXPECT_EQ(m.Cycle_txt.text, "100");
    EXPECT_TRUE(h.program().document.modified());
}

TEST(WorkSafety, NegativeValuesAreRefusedZeroIsNot) {
    ProgramHarness h;
    h.confirm();
    MainForm& m = h.main();
    const struct {
        TextBox* box;
        const char* named;
    } fields[] = {{&m.Nord2_D_txt, "Толщина слоя 2 изоляции северной стены"},
                  {&m.Floor1_D_txt, "Толщина слоя 1 изоляции пола"},
                  {&m.Door_H_txt, "Высота двери"}};
    for (const auto& f : fields) {
        SCOPED_TRACE(f.named);
        const std::string total = m.Total_poteri.text;
        h.clearMessages();
        ProgramHarness::enter(*f.box, "-100");
        ASSERT_EQ(h.messageCount(), 1u);
        EXPECT_EQ(h.lastMessage().title, kInputErrorTitle);
        EXPECT_NE(h.lastMessage().text.find(f.named), std::string::npos) << h.lastMessage().text;
        EXPECT_EQ(m.Total_poteri.text, total);
        ProgramHarness::enter(*f.box, "0");
        EXPECT_EQ(h.messageCount(), 1u);
    }
}

TEST(WorkSafety, AnOpenedFileNamesItsValuesOutOfRangeAndKeepsThem) {
    test::TempDir dir;
    const std::string file = dir.file("odd.cfg");
    {
        ProgramHarness h;
        h.confirm();
        h.program().project().thickness[kFloor][1] = "-5";  // as an old or hand-edited file may hold
        h.ui.fileNames.push_back(file);
        ASSERT_TRUE(SaveAsCommand(h.program(), h.ui));
    }
    ProgramHarness h;
    h.confirm();
    h.ui.fileNames.push_back(file);
    ASSERT_TRUE(OpenCommand(h.program(), h.ui));
    ASSERT_EQ(countTitled(h.ui, kAppTitle), 1u);
    const std::string& text = h.lastMessage().text;
    EXPECT_NE(text.find("Толщина слоя 2 изоляции пола: -5"), std::string::npos) << text;
    EXPECT_EQ(h.main().Floor2_D_txt.text, "-5");
}

TEST(WorkSafety, RecentProjectsLatestFirstOnceAndTrimmed) {
    RecentProjects recent({"/a.cfg", "", "/b.cfg", "/a.cfg"});
    EXPECT_EQ(recent.paths(), (std::vector<std::string>{"/a.cfg", "/b.cfg"}));
    for (int i = 0; i < 10; ++i) recent.use("/p" + std::to_string(i) + ".cfg");
    recent.use("/p5.cfg");
    ASSERT_EQ(recent.paths().size(), RecentProjects::kMaxEntries);
    EXPECT_EQ(recent.paths().front(), "/p5.cfg");
    EXPECT_EQ(recent.paths()[1], "/p9.cfg");
    EXPECT_EQ(recent.paths().back(), "/p2.cfg");
    recent.remove("/p9.cfg");
    EXPECT_EQ(recent.paths()[1], "/p8.cfg");
}

}  // namespace
}  // namespace coldroom
