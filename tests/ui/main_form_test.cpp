#include <gtest/gtest.h>

#include "core/numtext.h"
#include "ui/program_harness.h"

namespace coldroom {
namespace {

using test::ProgramHarness;

// A program confirmed past the task dialog, the main window loaded and active.
struct Started : ProgramHarness {
    explicit Started(test::TestDatabase db = test::MinimalReferenceDatabase()) : ProgramHarness(std::move(db)) {
        confirm();
        clearMessages();
    }
    MainForm& m() { return main(); }
};

// Operation reduced to manual fans only.
void OnlyFans(MainForm& m, const char* fanWatts) {
    test::ProgramHarness::enter(m.NofPeople_txt, "0");
    test::ProgramHarness::enter(m.TimePeople_txt, "0");
    m.TypeOfCell_cmb.setIndex(-1);
    m.ManualEva_opt.setValue(true);
    test::ProgramHarness::enter(m.ElectroEva_txt, fanWatts);
}

TEST(MainForm, FreshWindowHoldsTheDefaults) {
    test::ProgramHarness h;
    MainForm& m = h.main();  // created, not yet loaded
    struct Case { const char* name; const char* text; } texts[] = {
        {"Length_txt", "10"}, {"Width_txt", "5"}, {"Height_txt", "2.5"}, {"Volume_txt", "125"},
        {"TempIn_txt", "-20"}, {"TempNord_txt", "27"}, {"TempCeil_txt", "27"}, {"TempFloor_txt", "0"},
        {"Nord1_D_txt", "100"}, {"Floor1_D_txt", "100"}, {"South2_D_txt", "0"}, {"Ceil3_D_txt", "0"},
        {"Door_W_txt", "2"}, {"Door_H_txt", "2"}, {"Door_Open_txt", "1"}, {"TempOut_txt", "32"},
        {"HumidOut_txt", "70"}, {"Door_Loss_txt", "Text4"}, {"NofPeople_txt", "1"}, {"TimePeople_txt", "1"},
        {"Electro_txt", "0"}, {"Lifter_txt", "0"}, {"ElectroEva_txt", "0"}, {"Cycle_txt", "100"},
        {"BreathLoss_txt", "0"}, {"Name_txt", "Название задачи"}, {"Panels_poteri", "0"}, {"Nord_Poteri_txt", "0"},
    };
    for (const auto& c : texts) {
        auto* box = m.controls().get<TextBox>(c.name);
        ASSERT_NE(box, nullptr) << c.name;
        EXPECT_EQ(box->text, c.text) << c.name;
    }
    for (const char* on : {"NorthIns_opt", "SouthIns_opt", "EastIns_opt", "WestIns_opt", "CeilIns_opt",
                           "FloorAir_Opt", "FloorCold_Opt", "Door_Standard_opt", "AutoEva_opt"})
        EXPECT_TRUE(m.controls().get<OptionButton>(on)->value()) << on;
    for (const char* off : {"NorthOut_opt", "CeilOut_opt", "FloorGrunt_Opt", "FloorHeat_Opt", "Door_Special_opt",
                            "ManualEva_opt"})
        EXPECT_FALSE(m.controls().get<OptionButton>(off)->value()) << off;
    EXPECT_EQ(m.optAll_as_one.value(), 1);
    EXPECT_EQ(m.optAll_Temp.value(), 0);
    EXPECT_FALSE(m.BreathLoss_txt.enabled);
    EXPECT_EQ(m.TypeOfCell_cmb.count(), 8);
    EXPECT_EQ(m.TypeOfCurtain_cmb.items[1], "Ленточная");
}

TEST(MainForm, LoadingChoosesLocation34AndDisablesUnusedLayers) {
    Started h;
    MainForm& m = h.m();
    EXPECT_EQ(m.Location_cmb.index(), 34);
    EXPECT_EQ(m.Location_cmb.count(), 35);
    // Minimal database: every place at 26 °C and 55 %.
    for (TextBox* t : {&m.TempNord_txt, &m.TempSouth_txt, &m.TempEast_txt, &m.TempWest_txt, &m.TempCeil_txt,
                       &m.TempOut_txt})
        EXPECT_EQ(t->text, "26");
    EXPECT_EQ(m.HumidOut_txt.text, "55");
    for (int s = 0; s < 6; ++s) {
        EXPECT_TRUE(m.material[s][0]->enabled);
        EXPECT_FALSE(m.material[s][1]->enabled);
        EXPECT_FALSE(m.material[s][2]->enabled);
        EXPECT_EQ(m.material[s][0]->index(), 0);
    }
    EXPECT_FALSE(m.FloorHeat_Opt.enabled);
    EXPECT_FALSE(m.FloorCold_Opt.enabled);
    // Activation took the task's values.
    EXPECT_EQ(m.TempIn_txt.text, "0");
    EXPECT_EQ(m.Cycle_txt.text, "100");
    EXPECT_EQ(m.TempIn_lbl.text, "20");
    EXPECT_EQ(m.TypeOfProduct_lbl.text, "Продукт 1");
    EXPECT_EQ(m.Name_txt.text, "Задача 1");
    // The total is the sum of its parts and the capacity follows the cycle.
    double parts = LeadingNumber(m.Panels_poteri.text) + LeadingNumber(m.Produk_poteri.text) +
                   LeadingNumber(m.Tara_poteri.text) + LeadingNumber(m.Exp_Poteri.text);
    EXPECT_DOUBLE_EQ(LeadingNumber(m.Total_poteri.text), parts);
}

// Every result field shows its component of the breakdown, whichever branch formed the totals.
TEST(MainForm, ResultFieldsShowTheBreakdown) {
    Started h;
    MainForm& m = h.m();
    auto check = [&](const char* step) {
        for (const LoadComponent& c : LoadComponents()) {
            if (c.control.empty()) continue;
            const TextBox* field = m.controls().get<TextBox>(c.control);
            ASSERT_NE(field, nullptr) << c.control;
            EXPECT_EQ(field->text, LoadText(c.value(m.results()))) << step << ": " << c.control;
        }
        EXPECT_EQ(m.ResultsProblem, m.results().problem) << step;
    };
    check("activation");
    ProgramHarness::enter(m.Cycle_txt, "0");
    check("no running time");
    OnlyFans(m, "1200");
    ProgramHarness::enter(m.Cycle_txt, "75");
    check("manual fans");
    EXPECT_EQ(m.results().fans.watts, 900);
}

TEST(MainForm, CycleOfZeroLeavesTheCapacityUndefined) {
    Started h;
    MainForm& m = h.m();
    ProgramHarness::enter(m.Cycle_txt, "0");
    EXPECT_TRUE(h.ui.messages.empty());
    EXPECT_EQ(m.Capacity_need.text, kUndefinedText);
    EXPECT_NE(m.Total_poteri.text, kUndefinedText);
    EXPECT_FALSE(m.ResultsProblem.empty());
    ProgramHarness::enter(m.Cycle_txt, "100");
    EXPECT_NE(m.Capacity_need.text, kUndefinedText);
    EXPECT_TRUE(m.ResultsProblem.empty());
}

TEST(MainForm, CycleBounds) {
    Started h;
    MainForm& m = h.m();
    for (const char* ok : {"0", "100", "50.5"}) {
        ProgramHarness::enter(m.Cycle_txt, ok);
        EXPECT_TRUE(h.ui.messages.empty()) << ok;
    }
    for (const char* bad : {"101", "-1"}) {
        h.clearMessages();
        std::string before = m.Capacity_need.text;
        ProgramHarness::enter(m.Cycle_txt, bad);
        ASSERT_EQ(h.messageCount(), 1u) << bad;
        EXPECT_EQ(h.lastMessage().text, "Значение должно быть между 0% и 100% !");
        EXPECT_EQ(h.lastMessage().title, "Ошибка ввода значения!");
        EXPECT_EQ(m.Capacity_need.text, before);
        EXPECT_EQ(m.Cycle_txt.text, bad);
    }
}

TEST(MainForm, ActivationRestoresTheTaskCycleAndRoomTemperature) {
    Started h;
    MainForm& m = h.m();
    ProgramHarness::enter(m.Cycle_txt, "50");
    m.TempIn_txt.text = "-7";  // typed, never accepted
    m.Activate();
    EXPECT_EQ(m.Cycle_txt.text, "100");
    EXPECT_EQ(m.TempIn_txt.text, "0");
}

TEST(MainForm, RoomTemperatureColourAndDoorModes) {
    Started h;
    MainForm& m = h.m();
    ProgramHarness::leave(m.TempIn_txt, "-5");
    EXPECT_EQ(m.TempShapeColour, (std::array<int, 3>{200, 210, 255}));
    ProgramHarness::leave(m.TempIn_txt, "0");
    EXPECT_EQ(m.TempShapeColour, (std::array<int, 3>{250, 210, 200}));

    EXPECT_TRUE(m.TypeOfCell_cmb.enabled);
    EXPECT_FALSE(m.Door_W_txt.enabled);
    m.Door_Special_opt.setValue(true);
    EXPECT_FALSE(m.TypeOfCell_cmb.enabled);
    EXPECT_FALSE(m.TypeOfCell_lbl.enabled);
    for (TextBox* t : {&m.Door_Open_txt, &m.Door_H_txt, &m.Door_W_txt, &m.TempOut_txt, &m.HumidOut_txt})
        EXPECT_TRUE(t->enabled);
    EXPECT_TRUE(m.TypeOfCurtain_cmb.enabled);
    EXPECT_TRUE(m.HumidOut_lbl.enabled);
    m.Door_Standard_opt.setValue(true);
    EXPECT_TRUE(m.TypeOfCell_cmb.enabled);
    EXPECT_FALSE(m.TypeOfCurtain_cmb.enabled);
}

TEST(MainForm, SharedWallParametersAndLayerEnabling) {
    Started h;
    MainForm& m = h.m();
    ProgramHarness::enter(m.Nord2_D_txt, "50");
    EXPECT_TRUE(m.Nord2_Mt_cmb.enabled);
    for (TextBox* t : {&m.South2_D_txt, &m.East2_D_txt, &m.West2_D_txt}) EXPECT_EQ(t->text, "50");
    ProgramHarness::enter(m.Nord2_D_txt, "0");
    // A layer without thickness has no material to choose, on every wall the 0 reached.
    for (ListBox* l : {&m.Nord2_Mt_cmb, &m.South2_Mt_cmb, &m.East2_Mt_cmb, &m.West2_Mt_cmb}) EXPECT_FALSE(l->enabled);
    EXPECT_EQ(m.South2_D_txt.text, "0");
    EXPECT_EQ(m.Ceil2_D_txt.text, "0");  // the ceiling is not a wall

    ProgramHarness::enter(m.East1_D_txt, "1,5");
    EXPECT_EQ(m.East1_D_txt.text, "1.5");
    EXPECT_EQ(m.Nord1_D_txt.text, "1.5");

    // Walls no longer shared: each keeps its own.
    m.optAll_as_one.setValue(0);
    ProgramHarness::enter(m.West1_D_txt, "80");
    EXPECT_EQ(m.Nord1_D_txt.text, "1.5");
}

TEST(MainForm, DimensionsVolumeAndStorageCapacity) {
    Started h;
    MainForm& m = h.m();
    std::string results = m.Panels_poteri.text + "/" + m.Total_poteri.text;
    ProgramHarness::enter(m.Length_txt, "0");
    ASSERT_EQ(h.messageCount(), 1u);
    EXPECT_EQ(h.lastMessage().text, "Длина камеры должна быть больше 0 м");
    EXPECT_EQ(m.Length_txt.text, "0");
    EXPECT_EQ(m.Panels_poteri.text + "/" + m.Total_poteri.text, results);

    h.clearMessages();
    ProgramHarness::enter(m.Length_txt, "12");
    ProgramHarness::enter(m.Width_txt, "6");
    ProgramHarness::enter(m.Height_txt, "3");
    EXPECT_EQ(m.Volume_txt.text, "216");
    EXPECT_EQ(m.Norma_lbl.text, "64.8");  // 216 m³ × 0.3 t/m³
    ProgramHarness::enter(m.Width_txt, "5");
    ProgramHarness::enter(m.Volume_txt, "100");
    EXPECT_EQ(m.Length_txt.text, "6.7");
    ProgramHarness::enter(m.Height_txt, "2.55");
    ProgramHarness::enter(m.Length_txt, "10");
    EXPECT_EQ(m.Volume_txt.text, "127.5");
    EXPECT_TRUE(h.ui.messages.empty());
}

TEST(MainForm, RoomTemperatureEnterChecks) {
    struct Case { const char* typed; const char* endTemp; const char* message; } cases[] = {
        {"-60", "0", "Температура в камере должна быть в пределах от -50°С до +20°С"},
        {"-5", "-10", "Температура конца охлаждения должна быть\r\nбольше температуры в камере"},
        {"-18", "0", nullptr},
    };
    for (const auto& c : cases) {
        Started h;
        MainForm& m = h.m();
        h.program().project().task.Tend_Prod_txt = c.endTemp;
        ProgramHarness::enter(m.TempIn_txt, c.typed);
        if (c.message) {
            ASSERT_EQ(h.messageCount(), 1u) << c.typed;
            EXPECT_EQ(h.lastMessage().text, c.message);
            EXPECT_EQ(h.ui.focusWindowControl, "1:TempIn_txt");
        } else {
            EXPECT_EQ(h.messageCount(), 0u);
            EXPECT_EQ(h.ui.focusWindowControl, "1:optAll_Temp");
            m.TempIn_txt.onLeave();  // the focus moved on
            EXPECT_EQ(h.program().project().task.TempIn_txt, "-18");
            EXPECT_EQ(h.task().TempIn_txt.text, "-18");
            EXPECT_EQ(m.TempShapeColour, (std::array<int, 3>{200, 210, 255}));
        }
    }
}

TEST(MainForm, FloorHeatingOnlyForLowTemperatureRooms) {
    Started h;
    MainForm& m = h.m();
    m.FloorGrunt_Opt.setValue(true);
    EXPECT_FALSE(m.TempFloor_txt.enabled);
    m.FloorHeat_Opt.setValue(true);  // the room is at 0 °C
    ASSERT_EQ(h.messageCount(), 1u);
    EXPECT_EQ(h.lastMessage().text, "Подогрев пола в среднетемпературных камерах не предусмотрен!");
    EXPECT_EQ(h.lastMessage().icon, MsgIcon::None);
    EXPECT_TRUE(m.FloorCold_Opt.value());
    EXPECT_FALSE(m.FloorHeat_Opt.value());

    h.clearMessages();
    ProgramHarness::leave(m.TempIn_txt, "-20");
    EXPECT_TRUE(m.FloorHeat_Opt.enabled);
    std::string before = m.Floor_Poteri_txt.text;
    m.FloorHeat_Opt.setValue(true);
    EXPECT_TRUE(h.ui.messages.empty());
    EXPECT_TRUE(m.FloorHeat_Opt.value());
    EXPECT_NE(m.Floor_Poteri_txt.text, before);

    // Warming the room again takes the heating away with the notice.
    ProgramHarness::leave(m.TempIn_txt, "2");
    EXPECT_EQ(h.messageCount(), 1u);
    EXPECT_TRUE(m.FloorCold_Opt.value());
}

TEST(MainForm, LocationFillsTheSurroundings) {
    test::TestDatabase db = test::MinimalReferenceDatabase();
    db.table("Location").rows[3] = {"Жаркое место", "40", "38", "35"};
    Started h(std::move(db));
    MainForm& m = h.m();
    m.optAll_Temp.setValue(0);
    m.Location_cmb.setIndex(3);
    for (TextBox* t : {&m.TempNord_txt, &m.TempSouth_txt, &m.TempEast_txt, &m.TempWest_txt, &m.TempCeil_txt,
                       &m.TempOut_txt})
        EXPECT_EQ(t->text, "38");
    EXPECT_EQ(m.HumidOut_txt.text, "35");
    EXPECT_EQ(m.TempFloor_txt.text, "0");
}

TEST(MainForm, SharedSurroundingTemperature) {
    Started h;
    MainForm& m = h.m();
    ProgramHarness::enter(m.TempSouth_txt, "30");
    EXPECT_EQ(m.TempNord_txt.text, "26");
    m.optAll_Temp.setValue(1);
    EXPECT_EQ(m.TempSouth_txt.text, "26");  // all take the north side's
    ProgramHarness::enter(m.TempCeil_txt, "35");
    for (TextBox* t : {&m.TempNord_txt, &m.TempSouth_txt, &m.TempEast_txt, &m.TempWest_txt}) EXPECT_EQ(t->text, "35");
}

TEST(MainForm, EnvelopeTotalEqualsTheShownSurfaces) {
    Started h;
    MainForm& m = h.m();
    m.NorthOut_opt.setValue(true);
    m.CeilOut_opt.setValue(true);
    m.FloorGrunt_Opt.setValue(true);
    double sum = 0;
    for (TextBox* r : m.surfaceResult) sum += LeadingNumber(r->text);
    EXPECT_DOUBLE_EQ(LeadingNumber(m.Panels_poteri.text), sum);
}

TEST(MainForm, UndefinedEnvelopeIsShownAndReportedOncePerCommit) {
    test::TestDatabase db = test::MinimalReferenceDatabase();
    db.table("Isolation").rows.push_back({"Пустой материал", "0"});
    Started h(std::move(db));
    MainForm& m = h.m();
    m.optAll_as_one.setValue(0);
    ProgramHarness::enter(m.Nord2_D_txt, "50");
    m.Nord2_Mt_cmb.setIndex(1);  // conductivity 0
    EXPECT_EQ(m.Nord_Poteri_txt.text, kUndefinedText);
    EXPECT_EQ(m.Panels_poteri.text, kUndefinedText);
    EXPECT_EQ(m.Total_poteri.text, kUndefinedText);
    EXPECT_EQ(m.Capacity_need.text, kUndefinedText);
    EXPECT_FALSE(m.ResultsProblem.empty());
    ASSERT_EQ(h.messageCount(), 1u);
    EXPECT_NE(h.lastMessage().text.find("слой 2"), std::string::npos) << h.lastMessage().text;

    h.clearMessages();
    ProgramHarness::enter(m.Nord2_D_txt, "0");  // the layer is not used any more
    EXPECT_TRUE(h.ui.messages.empty());
    EXPECT_NE(m.Panels_poteri.text, kUndefinedText);
    EXPECT_NE(m.Total_poteri.text, kUndefinedText);
}

TEST(MainForm, FanModes) {
    Started h;
    MainForm& m = h.m();
    EXPECT_FALSE(m.ElectroEva_txt.enabled);
    m.ManualEva_opt.setValue(true);
    EXPECT_TRUE(m.ElectroEva_txt.enabled);
    EXPECT_EQ(m.ElectroEva_txt.text, "0");
    ProgramHarness::enter(m.ElectroEva_txt, "500");
    double withFans = LeadingNumber(m.Exp_Poteri.text);
    ProgramHarness::enter(m.ElectroEva_txt, "0");
    EXPECT_DOUBLE_EQ(withFans - LeadingNumber(m.Exp_Poteri.text), 500);  // cycle 100 %
    m.AutoEva_opt.setValue(true);
    EXPECT_FALSE(m.ElectroEva_txt.enabled);
}

TEST(MainForm, ChangeButtonReopensTheTaskDialog) {
    Started h;
    MainForm& m = h.m();
    h.program().project().task.TempIn_txt = "-3.0";
    m.Change_btn.onClick();
    EXPECT_EQ(h.ui.visible.count(WindowId::TaskDialog), 1u);
    EXPECT_EQ(h.task().TempIn_txt.text, "-3");
    h.task().Task_cmb.setIndex(1);
    h.confirm();
    EXPECT_EQ(m.Name_txt.text, "Задача 2");
}

TEST(MainForm, ExitRestoresTheDecimalSeparatorAndClosesBothWindows) {
    Started h;
    EXPECT_TRUE(h.program().Exit());
    EXPECT_TRUE(h.program().ended());
    EXPECT_TRUE(h.ui.visible.empty());
}

}  // namespace
}  // namespace coldroom

namespace coldroom {
namespace {

// A product that needs longer than the task allows: the question, and Yes brings the task
// dialog back with the time field focused.
TEST(MainForm, TooShortCoolingTimeAsksToChangeIt) {
    test::TestDatabase db = test::MinimalReferenceDatabase();
    db.table("Tasks").rows[0] = {"Заморозка", "-30", "4", "-18", "90", "2", "0.5", "1"};
    test::ProgramHarness h(std::move(db));
    h.ui.answers = {MsgAnswer::Yes};
    h.confirm();
    ASSERT_EQ(h.messageCount(), 1u);
    const RecordedMessage& q = h.lastMessage();
    EXPECT_EQ(q.title, "Ошибка ввода времени охлаждения");
    EXPECT_EQ(q.buttons, MsgButtons::YesNo);
    EXPECT_EQ(q.icon, MsgIcon::None);
    EXPECT_EQ(q.text,
              "Желаемое время меньше расчетного! Для заданных параметров невозможно\r\n охладить продукт за 2 ч.\r\n"
              " Изменить желаемое время охлаждения?");
    EXPECT_EQ(h.ui.visible.count(WindowId::TaskDialog), 1u);
    EXPECT_EQ(h.ui.focusWindowControl, "0:Real_time_txt");
    EXPECT_NE(h.main().TimeMin_lbl.text, "");
}

// Start and end temperature equal: no time is needed and no stage time of an earlier task
// may stay beside the total of 0.
TEST(MainForm, SameStartAndEndTemperatureShowsNoStageTimes) {
    test::TestDatabase db = test::MinimalReferenceDatabase();
    db.table("Tasks").rows[0] = {"Хранение", "0", "4", "4", "90", "1.5", "0.5", "1"};
    test::ProgramHarness h(std::move(db));
    h.main().TimeCooling_lbl.text = "7.7";
    h.confirm();
    MainForm& m = h.main();
    EXPECT_EQ(m.TimeMin_lbl.text, "0");
    EXPECT_EQ(m.TimeReal_lbl.text, "1.5");
    EXPECT_EQ(m.TimeCooling_lbl.text, "0.0");
    EXPECT_EQ(m.Produk_poteri.text, "0");
    EXPECT_TRUE(h.ui.messages.empty());
}

}  // namespace
}  // namespace coldroom

namespace coldroom {
namespace {

TEST(MainForm, CoolingTimeFaultIsReportedAndKeepsTheCaptions) {
    test::TestDatabase db = test::MinimalReferenceDatabase();
    db.table("ProdMeat").rows[0][9] = "0";  // no size: the stage times divide by zero
    test::ProgramHarness h(std::move(db));
    h.main().TimeMin_lbl.text = "5.5";
    h.confirm();
    ASSERT_EQ(h.messageCount(), 1u);
    EXPECT_EQ(h.lastMessage().text, "Ошибка расчета времени охлаждения/замораживания! ");
    EXPECT_EQ(h.lastMessage().icon, MsgIcon::Exclamation);
    EXPECT_EQ(h.lastMessage().title, "ColdRoom");
    EXPECT_EQ(h.main().TimeMin_lbl.text, "5.5");
    EXPECT_NE(h.main().Capacity_need.text, kUndefinedText);  // the loads do not depend on it
}

}  // namespace
}  // namespace coldroom

namespace coldroom {
namespace {

TEST(MainForm, TypedTitleSurvivesTheNextActivation) {
    Started h;
    ProgramHarness::leave(h.m().Name_txt, "Камера заморозки №3");
    h.m().Activate();
    EXPECT_EQ(h.m().Name_txt.text, "Камера заморозки №3");
    EXPECT_EQ(h.program().project().ProjectTitle, "Камера заморозки №3");
}

}  // namespace
}  // namespace coldroom
