#include <gtest/gtest.h>

#include "model/task_derived.h"
#include "core/numtext.h"
#include "ui/program_harness.h"

namespace coldroom {
namespace {

using test::ProgramHarness;
using test::TestDatabase;

// Tasks 1..17 of the minimal database with a few made distinct, three products and two
// packagings.
TestDatabase TaskDatabase(int extraTasks = 0) {
    TestDatabase db = test::MinimalReferenceDatabase();
    auto& tasks = db.table("Tasks").rows;
    tasks[0] = {"Охлаждение", "0", "20", "4", "90", "24", "0.5", "1,2,3"};
    tasks[1] = {"Подмораживание", "-5", "4", "-2", "90", "8", "1", "2,3"};
    tasks[2] = {"Один продукт", "-18", "0", "-10", "95", "12", "2", "3"};
    tasks[10] = {"Созревание сыра", "4", "12", "6", "85", "24", "0.3", "27,28"};
    tasks[11] = {"Наоборот", "4", "12", "6", "85", "24", "0.3", "28,27"};
    for (int i = 0; i < extraTasks; ++i)
        tasks.push_back({"Своя задача " + std::to_string(i + 1), "-2", "10", "2", "90", "10", "1", "1"});
    auto& products = db.table("ProdMeat").rows;
    for (int i = 2; i <= 28; ++i) {
        auto row = products[0];
        row[0] = "Продукт " + std::to_string(i);
        row[9] = i == 3 ? "0.08" : "0.1";
        products.push_back(row);
    }
    db.table("Tara").rows.push_back({"Картон", "1.46"});
    return db;
}

TEST(TaskForm, StartStateOffersTheMeatGroupWithFirstChoices) {
    ProgramHarness h(TaskDatabase());
    TaskForm& t = h.task();
    EXPECT_EQ(t.Task_cmb.items, (std::vector<std::string>{"Охлаждение", "Подмораживание", "Один продукт", "Задача 4"}));
    EXPECT_EQ(t.Task_cmb.index(), 0);
    EXPECT_EQ(t.Produkt_cmb.items, (std::vector<std::string>{"Продукт 1", "Продукт 2", "Продукт 3"}));
    EXPECT_EQ(t.Produkt_cmb.index(), 0);
    EXPECT_EQ(t.Packing_cmb.index(), 0);
    EXPECT_EQ(t.Packing_cmb.count(), 2);
    EXPECT_EQ(h.program().project().task.RabCoef, 100);
    EXPECT_EQ(t.Tin_Prod_txt.text, "20");
    EXPECT_EQ(t.Tend_Prod_txt.text, "4");
    EXPECT_EQ(t.Real_time_txt.text, "24");
    EXPECT_EQ(t.Velocity_txt.text, "0.5");
    EXPECT_EQ(t.TempIn_txt.text, "0");
    EXPECT_EQ(t.Smena_cmb.index(), 0);
    EXPECT_EQ(h.program().project().ProjectTitle, "Название проекта");
    EXPECT_EQ(h.program().project().ReportAuthor, "Исполнитель");
    EXPECT_TRUE(h.ui.messages.empty());
}

TEST(TaskForm, WorkModeFollowsTheTaskTimeAndSetsTheCycle) {
    ProgramHarness h(TaskDatabase());
    TaskForm& t = h.task();
    t.Task_cmb.setIndex(1);  // 8 h
    EXPECT_EQ(t.Smena_cmb.index(), 1);
    EXPECT_EQ(t.Real_time_txt.text, "8");
    EXPECT_EQ(DeriveTask(h.program().project(), h.program().data()).hours, 8);
    t.Activate();
    t.Smena_cmb.setIndex(0);  // "Непрерывный" by hand
    EXPECT_EQ(t.Real_time_txt.text, "24");
    EXPECT_EQ(h.program().project().task.RabCoef, 75);
    t.Activate();
    EXPECT_EQ(h.program().project().task.RabCoef, 100);
}

TEST(TaskForm, TurnoverInPercentAndTonnesStayConsistent) {
    ProgramHarness h(TaskDatabase());
    TaskForm& t = h.task();
    ProgramHarness::enter(t.Load_prod_txt, "100");
    ProgramHarness::enter(t.Oborot_Prod_txt, "30");
    EXPECT_EQ(t.Oborot_tonn_txt.text, "30.0");
    EXPECT_EQ(DeriveTask(h.program().project(), h.program().data()).dailyMassKg, 30000);
    ProgramHarness::enter(t.Oborot_tonn_txt, "0,5");
    EXPECT_EQ(t.Oborot_tonn_txt.text, "0.5");
    EXPECT_EQ(t.Oborot_Prod_txt.text, ".5");
    EXPECT_EQ(DeriveTask(h.program().project(), h.program().data()).dailyMassKg, 500);
    // The load changes: the tonnes follow the percentage.
    ProgramHarness::leave(t.Load_prod_txt, "200");
    EXPECT_EQ(t.Oborot_tonn_txt.text, "1.0");
    // No load and no turnover: the share is 0, not a division by zero (entered after a refusal,
    // as 0 t over the 0 t held would change nothing).
    ProgramHarness::enter(t.Load_prod_txt, "0");
    ProgramHarness::enter(t.Oborot_tonn_txt, "5");
    ProgramHarness::enter(t.Oborot_tonn_txt, "0");
    EXPECT_EQ(t.Oborot_Prod_txt.text, ".0");
    EXPECT_EQ(h.ui.messages.size(), 1u);
}

// Tabbing through the dialog leaves every text as it was ("10.0" stays, as its twin "1.0" in
// tonnes does) and marks nothing; the same value typed otherwise keeps the text too; another
// value goes through.
TEST(TaskForm, LeavingAFieldWithItsValueChangesNothing) {
    ProgramHarness h;
    h.confirm();
    h.main().Change_btn.onClick();
    TaskForm& t = h.task();
    const RoomProject before = h.program().project();
    TextBox* const fields[] = {&t.TempIn_txt,   &t.Tin_Prod_txt,  &t.Tend_Prod_txt, &t.Load_prod_txt, &t.Oborot_Prod_txt,
                               &t.Oborot_tonn_txt, &t.Real_time_txt, &t.Velocity_txt, &t.HumidIn_txt};
    for (int round = 0; round < 2; ++round)
        for (TextBox* box : fields) ProgramHarness::leave(*box, box->text);
    for (TextBox* box : fields) ProgramHarness::leave(*box, GeneralText(LeadingNumber(box->text)));
    EXPECT_EQ(h.program().project(), before);
    h.confirm();
    EXPECT_FALSE(h.program().document.modified());

    h.main().Change_btn.onClick();
    const std::string tonnes = t.Oborot_tonn_txt.text;
    ProgramHarness::leave(t.Oborot_Prod_txt, "20");
    EXPECT_NE(t.Oborot_tonn_txt.text, tonnes);
}

TEST(TaskForm, TurnoverAboveTheLoadBlocksConfirmation) {
    ProgramHarness h(TaskDatabase());
    TaskForm& t = h.task();
    ProgramHarness::enter(t.Load_prod_txt, "100");
    ProgramHarness::enter(t.Oborot_tonn_txt, "120");
    ASSERT_EQ(h.messageCount(), 1u);
    std::string expected = "Неверно задан суточный оборот продуктов. \r\nЗначение должно лежать в интервале от 0 до 100";
    EXPECT_EQ(h.lastMessage().text, expected);
    EXPECT_EQ(h.lastMessage().title, "Ошибка ввода значения!");
    EXPECT_EQ(h.lastMessage().icon, MsgIcon::Critical);
    EXPECT_EQ(t.Oborot_tonn_txt.text, "120");
    h.confirm();
    ASSERT_EQ(h.messageCount(), 2u);
    EXPECT_EQ(h.lastMessage().text, expected);
    EXPECT_EQ(h.lastMessage().title, "Неверный ввод параметра");
    EXPECT_FALSE(h.main().loaded());
}

TEST(TaskForm, FieldChecksReportInOrder) {
    struct Case {
        const char* field;
        const char* roomTemp;  // set first (without a check)
        const char* start;
        const char* end;
        const char* typed;
        const char* message;  // "" when accepted
    } cases[] = {
        {"TempIn_txt", "0", "20", "4", "-60", "Температура в камере должна быть в пределах от -50°С до +20°С"},
        {"TempIn_txt", "0", "20", "-30", "-25", "Температура конца охлаждения должна быть\r\nбольше температуры в камере"},
        {"TempIn_txt", "0", "20", "4", "4", ""},
        {"Tin_Prod_txt", "0", "20", "4", "37", "Температура начала охлаждения должна быть\r\nв пределах от -20°С до +36°С"},
        {"Tin_Prod_txt", "5", "20", "4", "3", "Температура начала охлаждения должна быть\r\nбольше температуры в камере"},
        {"Tin_Prod_txt", "0", "20", "4", "2", "Температура начала охлаждения должна быть\r\nбольше температуры конца охлаждения"},
        {"Tin_Prod_txt", "0", "20", "4", "4", ""},
        {"Tend_Prod_txt", "0", "20", "4", "16", "Температура конца охлаждения должна быть\r\nв пределах от -40°С до +15°С"},
        {"Tend_Prod_txt", "0", "20", "4", "-1", "Температура конца охлаждения должна быть\r\nбольше температуры в камере"},
        {"Tend_Prod_txt", "-30", "10", "4", "12", "Температура конца охлаждения должна быть\r\nменьше температуры начала охлаждения"},
        {"Tend_Prod_txt", "0", "20", "4", "0", ""},
        {"Velocity_txt", "0", "20", "4", "0", "Скорость движения воздуха в камере должна быть\r\nбольше 0 и не больше 20 м/с"},
        {"Velocity_txt", "0", "20", "4", "20", ""},
        {"Real_time_txt", "0", "20", "4", "0,5", "Неверно задано время охлаждения продуктов.\r\nЗначение должно быть больше 0 часов!"},
        {"Real_time_txt", "0", "20", "4", "0.5", ""},
        {"Load_prod_txt", "0", "20", "4", "-1", "Неверно задана загрузка камеры. Значение должно быть положительным!"},
        {"HumidIn_txt", "0", "20", "4", "101", "Неверно задана относительная влажность в камере. \r\nЗначение должно быть в интервале от 0 до 100% !"},
        {"Oborot_Prod_txt", "0", "20", "4", "101", "Неверно задан суточный оборот продуктов. \r\nЗначение должно лежать в интервале от 0 до 100 %"},
    };
    for (const auto& c : cases) {
        ProgramHarness h(TaskDatabase());
        TaskForm& t = h.task();
        t.TempIn_txt.text = c.roomTemp;
        t.Tin_Prod_txt.text = c.start;
        t.Tend_Prod_txt.text = c.end;
        TextBox* box = t.controls().get<TextBox>(c.field);
        ASSERT_NE(box, nullptr) << c.field;
        ProgramHarness::leave(*box, c.typed);
        if (*c.message) {
            ASSERT_EQ(h.messageCount(), 1u) << c.field << " " << c.typed;
            EXPECT_EQ(h.lastMessage().text, c.message) << c.field << " " << c.typed;
        } else {
            EXPECT_EQ(h.messageCount(), 0u) << c.field << " " << c.typed;
        }
    }
}

TEST(TaskForm, CoolingTimeWithACommaIsRejectedAndKeptAsTyped) {
    ProgramHarness h(TaskDatabase());
    TaskForm& t = h.task();
    ProgramHarness::enter(t.Real_time_txt, "0,5");
    EXPECT_EQ(t.Real_time_txt.text, "0,5");
    EXPECT_TRUE(h.program().session.dialog.FieldError[CheckCoolingTime]);
    ProgramHarness::enter(t.Real_time_txt, "0.50");
    EXPECT_EQ(t.Real_time_txt.text, "0.5");
    EXPECT_FALSE(h.program().session.dialog.FieldError[CheckCoolingTime]);
}

TEST(TaskForm, ConfirmationHandsTheTaskToTheMainWindow) {
    ProgramHarness h(TaskDatabase());
    h.confirm();
    EXPECT_TRUE(h.main().loaded());
    EXPECT_EQ(h.program().project().ProjectTitle, "Охлаждение");
    EXPECT_EQ(h.main().Name_txt.text, "Охлаждение");
    EXPECT_EQ(DeriveTask(h.program().project(), h.program().data()).hours, 24);
    EXPECT_FALSE(DeriveTask(h.program().project(), h.program().data()).respiration);
    EXPECT_EQ(h.ui.visible.count(WindowId::TaskDialog), 0u);
    EXPECT_EQ(h.ui.visible.count(WindowId::MainWindow), 1u);
}

TEST(TaskForm, RespirationOnlyForTheExactList2728) {
    ProgramHarness h(TaskDatabase());
    TaskForm& t = h.task();
    t.btn_Milk.onClick();  // tasks 10..14: position 1 is task 11 "27,28", position 2 task 12 "28,27"
    t.Task_cmb.setIndex(1);
    h.confirm();
    EXPECT_TRUE(DeriveTask(h.program().project(), h.program().data()).respiration);
    EXPECT_TRUE(h.main().BreathLoss_txt.enabled);
    t.Task_cmb.setIndex(2);
    h.confirm();
    EXPECT_FALSE(DeriveTask(h.program().project(), h.program().data()).respiration);
}

TEST(TaskForm, ProductSizeInCentimetresAndStoredPositionBeyondTheList) {
    ProgramHarness h(TaskDatabase());
    TaskForm& t = h.task();
    t.Produkt_cmb.setIndex(2);  // product 3, Dimension 0.08 m
    EXPECT_EQ(t.Dimens_txt.text, "8");
    EXPECT_EQ(DeriveTask(h.program().project(), h.program().data()).productRow, 2);
    // A stored product position that the next task does not have selects its first product.
    h.program().project().task.Prod_in_list = 2;
    t.Task_cmb.setIndex(2);  // task 3 offers only product 3
    EXPECT_EQ(t.Produkt_cmb.index(), 0);
    EXPECT_EQ(DeriveTask(h.program().project(), h.program().data()).productRow, 2);
}

TEST(TaskForm, ChoosingATaskClearsFlagsOfTheFieldsItRefills) {
    ProgramHarness h(TaskDatabase());
    TaskForm& t = h.task();
    ProgramHarness::enter(t.Velocity_txt, "50");
    EXPECT_TRUE(h.program().session.dialog.FieldError[CheckAirVelocity]);
    t.Task_cmb.setIndex(1);
    EXPECT_FALSE(h.program().session.dialog.FieldError[CheckAirVelocity]);
    h.clearMessages();
    h.confirm();
    EXPECT_TRUE(h.main().loaded());
}

TEST(TaskForm, SpecialTasksGroup) {
    {
        ProgramHarness h(TaskDatabase());
        TaskForm& t = h.task();
        t.btn_Special.onClick();
        ASSERT_EQ(h.messageCount(), 1u);
        EXPECT_EQ(h.lastMessage().title, "Нет специальных задач!");
        EXPECT_EQ(h.lastMessage().icon, MsgIcon::Information);
        EXPECT_EQ(t.Task_cmb.count(), 0);
        EXPECT_EQ(h.program().project().task.OfferedTasks, (std::vector<double>{1, 2, 3, 4}));
        // Nothing to confirm: refused, the dialog stays.
        h.confirm();
        EXPECT_EQ(h.messageCount(), 2u);
        EXPECT_FALSE(h.main().loaded());
    }
    {
        ProgramHarness h(TaskDatabase(2));
        TaskForm& t = h.task();
        t.btn_Special.onClick();
        EXPECT_EQ(h.program().project().task.OfferedTasks, (std::vector<double>{18, 19}));
        EXPECT_EQ(t.Task_cmb.items, (std::vector<std::string>{"Своя задача 1", "Своя задача 2"}));
        EXPECT_EQ(t.Real_time_txt.text, "10");
    }
}

TEST(TaskForm, ConfirmationWithATimeThatIsNotANumberIsRefused) {
    ProgramHarness h(TaskDatabase());
    TaskForm& t = h.task();
    t.Real_time_txt.text = "abc";  // typed, never committed
    h.confirm();
    EXPECT_FALSE(h.main().loaded());
    ASSERT_EQ(h.messageCount(), 1u);
    EXPECT_EQ(h.lastMessage().text, "Неверно задано время охлаждения продуктов.\r\nЗначение должно быть больше 0 часов!");
}

// A room temperature refused as typed is what the confirmation names, not the time it
// cannot read; once a stored project is settled nothing of that entry blocks it.
TEST(TaskForm, ConfirmationNamesTheStoredFieldErrorFirst) {
    ProgramHarness h(TaskDatabase());
    TaskForm& t = h.task();
    ProgramHarness::enter(t.TempIn_txt, "30");
    t.Real_time_txt.text = "abc";
    h.clearMessages();
    h.confirm();
    ASSERT_EQ(h.messageCount(), 1u);
    EXPECT_EQ(h.lastMessage().title, "Неверный ввод параметра");
    EXPECT_EQ(h.lastMessage().text, "Температура в камере должна быть в пределах от -50°С до +20°С");
    EXPECT_FALSE(h.main().loaded());

    t.TempIn_txt.text = "0";
    t.Real_time_txt.text = "12";
    h.program().project().task.Real_time_txt = "12";
    SettleTaskAfterRead(h.program().session.dialog);
    EXPECT_EQ(DeriveTask(h.program().project(), h.program().data()).hours, 12);
    h.confirm();
    EXPECT_TRUE(h.main().loaded());
}

TEST(TaskForm, ShippedDatabaseStartsOnItsFirstTask) {
    ProgramHarness h{ProgramHarness::Shipped{}};
    TaskForm& t = h.task();
    EXPECT_EQ(t.Task_cmb.count(), 4);
    EXPECT_EQ(t.Task_cmb.index(), 0);
    EXPECT_GE(t.Produkt_cmb.count(), 1);
    EXPECT_EQ(t.Produkt_cmb.index(), 0);
    EXPECT_EQ(t.Packing_cmb.index(), 0);
    EXPECT_TRUE(h.ui.messages.empty());
    for (auto* button : {&t.btn_Kolb, &t.btn_Fish, &t.btn_Milk, &t.btn_Ice}) {
        button->onClick();
        EXPECT_GE(t.Task_cmb.count(), 2);
        EXPECT_GE(t.Produkt_cmb.count(), 1);
    }
}

}  // namespace
}  // namespace coldroom
