#include <gtest/gtest.h>

#include <unistd.h>

#include <cmath>

#include "model/task_derived.h"
#include "core/numtext.h"
#include "refdb/database_location.h"
#include "refdb/reference_writer.h"
#include "refdb/test_db.h"
#include "temp_dir.h"
#include "ui/editor/editor_checks.h"
#include "ui/editor/editor_form.h"
#include "ui/headless_ui.h"
#include "ui/program.h"

namespace coldroom {
namespace {

using test::TestDatabase;
using Strings = std::vector<std::string>;

// Products 1..6; task 1 lists 2,5, task 2 "0", task 3 nothing, the rest product 1; an 18th
// task of the user's own lists product 6.
TestDatabase EditorDatabase() {
    TestDatabase db = test::MinimalReferenceDatabase();
    auto& products = db.table("ProdMeat").rows;
    for (int i = 2; i <= 6; ++i) {
        auto row = products[0];
        row[0] = "Продукт " + std::to_string(i);
        products.push_back(row);
    }
    auto& tasks = db.table("Tasks").rows;
    tasks[0][7] = "2,5";
    tasks[1][7] = "0";
    tasks[2][7] = "";
    tasks.push_back({"Своя задача", "-2", "10", "2", "90", "10", "1", "6"});
    db.addRows("Isolation", {{"Материал 2", "0.05"}});
    return db;
}

struct Editor {
    TestDatabase db;
    HeadlessUi ui;
    EditorForm form{ui};
    std::string shipped, user;

    explicit Editor(TestDatabase database = EditorDatabase()) : db(std::move(database)) {
        shipped = db.write();
        user = db.pathOf("user/Data.dtx");
        std::string error;
        if (!form.Load(shipped, user, error)) throw std::runtime_error(error);
    }
    // A table as the program reads it at its next start.
    RefTable stored(const char* table) const {
        ReferenceDatabase reader;
        std::string error;
        reader.open(EffectiveDatabasePath(shipped, user), error);
        auto t = reader.loadTable(table, error);
        if (!t) throw std::runtime_error(error);
        return *t;
    }
    std::string lastText() const { return ui.messages.empty() ? "" : ui.messages.back().text; }
    static void type(TextBox& box, const std::string& text, bool enter) {
        box.text = text;
        enter ? box.onEnter() : box.onLeave();
    }
};

TEST(EditorForm, OpensOnTheFirstRowsWithFieldsLocked) {
    Editor e;
    EditorForm& f = e.form;
    EXPECT_EQ(f.txtTask.text, "Задача 1");
    EXPECT_EQ(f.cmbProduct.items, (Strings{"Продукт 2", "Продукт 5"}));
    EXPECT_EQ(f.cmbNewProd.count(), 6);
    EXPECT_EQ(f.txtTemperature.text, "-30");
    EXPECT_EQ(f.txtEnthalpy.text, "19.9");
    EXPECT_EQ(f.datLocus.position.text, "1 из 35");
    EXPECT_TRUE(f.datTask.visible);
    EXPECT_FALSE(f.datIsolation.visible);
    EXPECT_FALSE(f.txtTcell.enabled);
    EXPECT_FALSE(f.btnAdd.enabled);
    f.SSTab1.setIndex(1);
    EXPECT_FALSE(f.datTask.visible);
    EXPECT_TRUE(f.datIsolation.visible);
    for (const char* name : {"txtTask", "cmbNewProd", "btnAdd", "Up_pic", "Exit_btn", "cmdOtherUpdate",
                             "datTask_Next", "Value_txt", "SSTab1"})
        EXPECT_TRUE(f.controls().find(name)) << name;
    EXPECT_TRUE(e.ui.messages.empty());
}

TEST(EditorForm, TaskProductList) {
    Editor e;
    EditorForm& f = e.form;
    f.cmdTaskUpdate.onClick();
    f.cmbNewProd.setIndex(2);
    f.btnAdd.onClick();
    EXPECT_EQ(f.cmbProduct.items, (Strings{"Продукт 2", "Продукт 5", "Продукт 3"}));
    EXPECT_EQ(e.stored("Tasks").text(7, 0), "2,5,3");
    EXPECT_NE(e.form.writtenPath(), e.shipped);  // the shipped file stays as it came

    f.cmbProduct.setIndex(1);
    f.btnDelete.onClick();
    EXPECT_EQ(e.stored("Tasks").text(7, 0), "2,3");
    f.btnDelete.onClick();
    f.btnDelete.onClick();  // the last one stays
    EXPECT_EQ(f.txtReference.text, "3");
    EXPECT_EQ(e.ui.messages.back().title, "Удаление невозможно!");
    EXPECT_EQ(e.lastText(), "Последний продукт в списке.\r\nПрежде чем удалить его, надо\r\n добавить другой продукт");

    for (int row : {1, 2}) {  // "0" and an empty list: no products; an added one is the only one
        f.MoveTo(f.datTask, row);
        EXPECT_EQ(f.cmbProduct.items, (Strings{"нет продуктов"})) << row;
        f.cmbNewProd.setIndex(3);
        f.btnAdd.onClick();
        EXPECT_EQ(e.stored("Tasks").text(7, row), "4") << row;
    }
    // The task dialog shows 11 products of a task: a 12th is refused, naming the limit.
    f.txtReference.text = "1,1,1,1,1,1,1,1,1,1,1";
    f.txtReference_Change();
    f.btnAdd.onClick();
    EXPECT_EQ(e.ui.messages.back().title, "Добавление невозможно!");
    EXPECT_NE(e.lastText().find("не больше 11 продуктов"), std::string::npos) << e.lastText();
    EXPECT_EQ(f.TaskRefs.size(), 11u);
    EXPECT_EQ(e.stored("Tasks").text(7, 2), "4");
}

TEST(EditorForm, FieldChecks) {
    struct Case {
        TextBox EditorForm::*box;
        const char* text;
        bool enter;
        const char* message;  // "" accepted
        const char* after;
    } cases[] = {
        {&EditorForm::txtShape, "0.56", false, "", "0.56"},
        {&EditorForm::txtShape, "0,55", true, "Коэффициент формы может принимать значения:\r\n 0.56", "0.55"},
        {&EditorForm::txtHeatTara, "0", false, "", "0"},
        {&EditorForm::txtHeatTara, "4", true, "", "4"},
        {&EditorForm::txtHeatTara, "4.5", false, "Удельная теплоемкость должна быть\r\nв пределах от 0 до 4 кДж", "4.5"},
        {&EditorForm::txtTcell, "-50", true, "", "-50"},
        {&EditorForm::txtTcell, "20", false, "", "20"},
        {&EditorForm::txtDensity, "10", false, "Плотность продуктов должна быть\r\nбольше 10 и не больше 1500 кг/куб.м", "10"},
        {&EditorForm::txtDensity, "1,2e3", true, "", "1200"},
        {&EditorForm::txtVelocity, "0", true, "Скорость движения воздуха в камере \r\nдолжна", "0"},
        {&EditorForm::txtVelocity, "0", false, "Скорость движения воздуха в камере\r\n должна", "0"},
        {&EditorForm::txtCond, "5", true, "должен быть\r\n больше 0", "5"},
        {&EditorForm::txtCond, "5", false, "должен быть\r\nбольше 0", "5"},
        {&EditorForm::txtTask, " ", false, "Введите название задачи!", " "},
        // The task rows hold 0 °C in the room, 20 °C at the start and 4 °C at the end.
        {&EditorForm::txtTend, "0", false, "", "0"},
        {&EditorForm::txtTend, "21", false, "Температура конца охлаждения должна\r\n быть в пределах", "21"},
        {&EditorForm::txtTend, "-1", false, "должна\r\n быть больше температуры в камере", "-1"},
        {&EditorForm::txtTstart, "3", true, "должна\r\n быть больше температуры конца охлаждения", "3"},
        // The task dialog accepts a start temperature up to 36 °C, and so does the editor.
        {&EditorForm::txtTstart, "36", false, "", "36"},
        {&EditorForm::txtTstart, "37", false, "должна\r\n быть в пределах от -20°С до +36°С", "37"},
        {&EditorForm::Value_txt, "1000", false, "", "1000"},
        {&EditorForm::Value_txt, "-0,05", true, "Значение параметра должно быть в пределах от 0 до 1000", "-0.05"},
        {&EditorForm::Value_txt, "2000", false, "Значение параметра должно быть в пределах от 0 до 1000", "2000"},
        // A slip is named as what it is; λ = 0 is refused with the range as it is checked.
        {&EditorForm::txtConduct, "0,3x", false, "«0,3x» — не число", "0,3x"},
        {&EditorForm::txtConduct, "0", false, "больше 0 и не больше 4 Вт/(м·К)", "0"},
    };
    for (const Case& c : cases) {
        Editor e;
        TextBox& box = e.form.*c.box;
        Editor::type(box, c.text, c.enter);
        EXPECT_EQ(box.text, c.after) << c.text;
        if (*c.message == 0) {
            EXPECT_TRUE(e.ui.messages.empty()) << c.text << ": " << e.lastText();
            continue;
        }
        ASSERT_EQ(e.ui.messages.size(), 1u) << c.text;
        EXPECT_NE(e.lastText().find(c.message), std::string::npos) << c.text << ": " << e.lastText();
        EXPECT_EQ(e.ui.messages.back().title, "Ошибка ввода значения!");
        EXPECT_EQ(e.ui.messages.back().icon, MsgIcon::Critical);
    }
}

TEST(EditorForm, PointEditor) {
    Editor e;
    EditorForm& f = e.form;
    f.Up_pic.onClick();
    EXPECT_EQ(f.PointIndex, 0);
    f.Up_pic_MouseDown();
    EXPECT_EQ(f.TemperatureBackColor, Rgb{});  // no move up, no tint
    f.Down_pic_MouseDown();
    EXPECT_EQ(f.TemperatureBackColor, (Rgb{250, 230, 230}));
    EXPECT_EQ(f.EnthalpyBackColor, (Rgb{250, 250, 230}));
    f.Down_pic_MouseUp();
    EXPECT_EQ(f.EnthalpyBackColor, Rgb{});
    for (int i = 0; i < 40; ++i) f.Down_pic.onClick();
    EXPECT_EQ(f.PointIndex, 37);
    EXPECT_EQ(f.txtTemperature.text, "36");
    EXPECT_EQ(f.txtEnthalpy.text, "431.3");

    f.cmdProdUpdate.onClick();
    f.Up_pic.onClick();
    Editor::type(f.txtEnthalpy, "1500", true);
    EXPECT_EQ(e.lastText(), "Значения энтальпии следует привести\r\nк диапазону больше 0 и не больше 1000 кДж/кг");
    EXPECT_EQ(f.PointIndex, 0);
    EXPECT_EQ(f.txtEnthalpy.text, "19.9");
    EXPECT_EQ(f.txtE.text, test::DefaultEnthalpies());  // not stored
    f.Down_pic.onClick();
    Editor::type(f.txtEnthalpy, "25,5", false);
    EXPECT_EQ(f.PointIndex, 0);
    EXPECT_EQ(f.txtE.text.substr(0, 15), "19.9,25.5,28.9,");
    f.cmdProdUpdate.onClick();
    EXPECT_EQ(e.stored("ProdMeat").text(5, 0), f.txtE.text);
}

TEST(EditorForm, NewRowsGetTheirDefaultsAndAreStoredWhenLeft) {
    Editor e;
    EditorForm& f = e.form;
    f.cmdProdAdd.onClick();
    EXPECT_EQ(f.txtProduct.text, "");
    EXPECT_EQ(f.txtT.text, test::DefaultTemperatures());
    EXPECT_EQ(f.txtE.text, test::DefaultEnthalpies());
    EXPECT_EQ(f.PointLast, 37);
    EXPECT_EQ(f.datProduct.position.text, "7 из 7");

    f.cmdTaskAdd.onClick();
    EXPECT_EQ(f.txtReference.text, "1,2,3,4");
    EXPECT_EQ(f.cmbProduct.items, (Strings{"Продукт 1", "Продукт 2", "Продукт 3", "Продукт 4"}));
    Editor one(test::MinimalReferenceDatabase());  // one product: a new task lists what there is
    one.form.cmdTaskAdd.onClick();
    EXPECT_EQ(one.form.txtReference.text, "1");
    for (auto [box, text] : {std::pair{&f.txtTask, "Новая"}, {&f.txtTcell, "-2"}, {&f.txtTstart, "10"},
                             {&f.txtTend, "0"}, {&f.txtCooltime, "12"}, {&f.txtVelocity, "0,5"},
                             {&f.txtHumidity, "90"}})
        box->text = text;
    f.datTask.first.onClick();
    EXPECT_EQ(f.txtTask.text, "Задача 1");
    const RefTable tasks = e.stored("Tasks");
    ASSERT_EQ(tasks.rowCount(), 19);
    EXPECT_EQ(tasks.rows[18], (Strings{"Новая", "-2", "10", "0", "90", "12", "0.5", "1,2,3,4"}));

    // The half-filled product is not stored: Exit stays on it and names the empty name.
    e.ui.visible.insert(WindowId::Editor);
    f.Exit_btn.onClick();
    EXPECT_EQ(e.ui.visible.count(WindowId::Editor), 1u);
    EXPECT_NE(e.lastText().find("«Вид продуктов»"), std::string::npos);
    EXPECT_EQ(f.SSTab1.index(), 2);
    EXPECT_EQ(e.stored("ProdMeat").rowCount(), 6);
}

// A failing value never reaches the table; the row stays shown until it is put right.
TEST(EditorForm, AFailingFieldKeepsTheRowUnwritten) {
    Editor e;
    EditorForm& f = e.form;
    f.SSTab1.setIndex(1);
    f.cmdIsoUpdate.onClick();
    Editor::type(f.txtConduct, "0", false);
    EXPECT_EQ(e.ui.messages.size(), 1u);
    f.datIsolation.next.onClick();
    EXPECT_EQ(f.datIsolation.current, 0);
    EXPECT_EQ(e.lastText(), "Строка не записана: неверно заполнено поле «Коэффициент теплопроводности, Вт/(м·К)».\r\n"
                            "Коэффициент теплопроводности должен быть\r\nбольше 0 и не больше 4 Вт/(м·К)");
    EXPECT_NE(e.ui.focusWindowControl.find("txtConduct"), std::string::npos);
    EXPECT_FALSE(std::filesystem::exists(e.user));  // nothing changed yet, nothing copied

    f.txtConduct.text = "0,03";
    f.datIsolation.next.onClick();
    EXPECT_EQ(f.datIsolation.current, 1);
    EXPECT_EQ(e.stored("Isolation").text(1, 0), "0.03");
}

TEST(EditorForm, AWriteTheEngineRefusesIsReportedAndChangesNothing) {
    Editor e;
    std::filesystem::copy_file(e.shipped, e.user);
    // A packaging of the person's own, which may be deleted.
    test::ExecuteSql(e.user, "INSERT INTO Tara VALUES ('Тара 2', 1.2);"
                             "CREATE TRIGGER locked BEFORE UPDATE ON Tasks BEGIN SELECT RAISE(ABORT, 'locked'); END;"
                             "CREATE TRIGGER kept BEFORE DELETE ON Tara BEGIN SELECT RAISE(ABORT, 'kept'); END");
    std::string error;
    ASSERT_TRUE(e.form.Load(e.shipped, e.user, error)) << error;
    EditorForm& f = e.form;
    f.cmdTaskUpdate.onClick();
    f.txtTask.text = "Другое";
    f.cmdTaskUpdate.onClick();
    EXPECT_EQ(e.lastText(), "Data error event hit err:locked");
    EXPECT_EQ(e.ui.messages.back().icon, MsgIcon::None);
    EXPECT_EQ(e.stored("Tasks").text(0, 0), "Задача 1");
    EXPECT_EQ(f.txtTask.text, "Другое");

    f.SSTab1.setIndex(4);
    f.datTara.last.onClick();
    e.ui.answers.push_back(MsgAnswer::Yes);
    f.cmdTaraDelete.onClick();
    EXPECT_EQ(e.ui.messages.back().icon, MsgIcon::Critical);
    EXPECT_NE(e.lastText().find("kept"), std::string::npos);
    EXPECT_EQ(e.stored("Tara").rowCount(), 2);
    EXPECT_EQ(f.txtTara.text, "Тара 2");
}

// Fills a new row from the view's first row, with its own name.
void FillNewRow(BoundView& view, const std::string& name) {
    for (const auto& field : view.fields)
        if (field.column != 0 && std::string_view(field.name) != "txtReference")
            field.box->text = view.data.text(field.column, 0);
    view.fields.front().box->text = name;
}

// The rows that came with the program stay; the person's own rows go, a product only when
// no stored list names it (whatever the screen shows), the later numbers renumbered in the
// stored lists, and a task after a question.
TEST(EditorForm, DeletesKeepWhatPointsAtRows) {
    Editor e;
    EditorForm& f = e.form;
    auto refused = [&](Button& button) {
        const size_t before = e.ui.messages.size();
        button.onClick();
        return e.ui.messages.size() == before + 1 && e.ui.messages.back().title == "Удаление невозможно!";
    };
    EXPECT_TRUE(refused(f.cmdTaskDelete));   // a product group's task
    EXPECT_TRUE(refused(f.cmdLocusDelete));  // 35 places are the fewest
    f.MoveTo(f.datProduct, 3);
    EXPECT_TRUE(refused(f.cmdProdDelete));  // no list names it, but it came with the program
    EXPECT_NE(e.lastText().find("поставляемого с программой"), std::string::npos) << e.lastText();
    f.datTask.last.onClick();
    EXPECT_TRUE(refused(f.cmdTaskDelete));  // the shipped special task 18
    EXPECT_TRUE(refused(f.cmdIsoDelete));
    EXPECT_EQ(e.stored("ProdMeat").rowCount(), 6);

    for (const char* name : {"Продукт 7", "Продукт 8"}) {
        f.cmdProdAdd.onClick();
        FillNewRow(f.datProduct, name);
        f.cmdProdUpdate.onClick();
    }
    ASSERT_EQ(e.stored("ProdMeat").rowCount(), 8);
    f.cmdTaskUpdate.onClick();  // task 18 lists 6, then 6,8
    f.cmbNewProd.setIndex(7);
    f.btnAdd.onClick();
    f.MoveTo(f.datTask, 0);  // task 1 lists 2,5, then 2,5,7
    f.cmbNewProd.setIndex(6);
    f.btnAdd.onClick();
    ASSERT_EQ(e.stored("Tasks").text(7, 0), "2,5,7");

    // Task 1 loses product 7 on the screen only: the file refuses the write.
    test::ExecuteSql(e.user, "CREATE TRIGGER locked BEFORE UPDATE ON Tasks BEGIN SELECT RAISE(ABORT, 'locked'); END");
    f.cmbProduct.setIndex(2);
    f.btnDelete.onClick();
    EXPECT_EQ(f.txtReference.text, "2,5");
    f.MoveTo(f.datProduct, 6);
    EXPECT_TRUE(refused(f.cmdProdDelete));
    EXPECT_NE(e.lastText().find("\r\n1. Задача 1\r\n"), std::string::npos) << e.lastText();
    EXPECT_EQ(e.stored("ProdMeat").rowCount(), 8);
    test::ExecuteSql(e.user, "DROP TRIGGER locked");
    f.cmdTaskUpdate.onClick();
    f.cmdProdDelete.onClick();
    EXPECT_EQ(e.stored("ProdMeat").rowCount(), 7);
    EXPECT_EQ(f.txtProduct.text, "Продукт 8");
    EXPECT_EQ(e.stored("Tasks").text(7, 0), "2,5");
    EXPECT_EQ(e.stored("Tasks").text(7, 17), "6,7");  // still product 6 and «Продукт 8»

    f.cmdTaskAdd.onClick();
    FillNewRow(f.datTask, "Моя задача");
    f.cmdTaskUpdate.onClick();
    ASSERT_EQ(e.stored("Tasks").rowCount(), 19);
    f.cmdTaskDelete.onClick();  // asked, answered No
    EXPECT_EQ(e.ui.messages.back().buttons, MsgButtons::YesNo);
    EXPECT_NE(e.lastText().find("«Моя задача», после ее удаления не откроются"), std::string::npos) << e.lastText();
    EXPECT_EQ(e.stored("Tasks").rowCount(), 19);
    e.ui.answers.push_back(MsgAnswer::Yes);
    f.cmdTaskDelete.onClick();
    EXPECT_EQ(e.stored("Tasks").rowCount(), 18);
    EXPECT_EQ(f.datTask.position.text, "18 из 18");
}

// The task dialog reads what every write left: a product deleted renumbers the lists, and the
// open project's product stays the one it chose, under its name.
TEST(EditorForm, TheTaskDialogFollowsEveryWrite) {
    Editor e;
    EditorForm& f = e.form;
    HeadlessUi ui;
    Program program(ui, e.shipped);
    ui.attach(program);
    std::string error;
    ASSERT_TRUE(program.Start(error)) << error;
    f.onWritten = [&] { ASSERT_TRUE(program.ReloadTaskTables(f.writtenPath(), error)) << error; };
    for (const char* name : {"Продукт 7", "Продукт 8"}) {
        f.cmdProdAdd.onClick();
        FillNewRow(f.datProduct, name);
        f.cmdProdUpdate.onClick();
    }
    f.datTask.last.onClick();  // task 18 lists 6, then 6,8
    f.cmbNewProd.setIndex(7);
    f.btnAdd.onClick();
    program.task.btn_Special.onClick();
    program.task.Produkt_cmb.setIndex(1);
    ASSERT_EQ(program.task.Produkt_cmb.text(), "Продукт 8");

    f.MoveTo(f.datProduct, 6);
    f.cmdProdDelete.onClick();  // «Продукт 7»: task 18 now lists 6,7
    EXPECT_EQ(program.task.Produkt_cmb.items, (std::vector<std::string>{"Продукт 6", "Продукт 8"}));
    EXPECT_EQ(program.task.Produkt_cmb.text(), "Продукт 8");
    EXPECT_EQ(program.data().Prod_array.text(0, DeriveTask(program.project(), program.data()).productRow), "Продукт 8");
}

// One editor per file, and another program's change is never written over: the write is
// refused and the editor reads the tables again.
TEST(EditorForm, AnotherWritersChangesAreNeverOverwritten) {
    Editor e;
    EditorForm& f = e.form;
    HeadlessUi otherUi;
    EditorForm second(otherUi);
    std::string error;
    EXPECT_FALSE(second.Load(e.shipped, e.user, error));
    EXPECT_NE(error.find("процесс " + std::to_string(getpid())), std::string::npos) << error;

    ReferenceWriter other;
    ASSERT_TRUE(other.open(EnsureWritableCopy(e.shipped, e.user, error), error)) << error;
    WriteFailure failure;
    ASSERT_TRUE(other.updateRow("Isolation", 0, {{0, "Чужой материал"}}, failure)) << failure.message;
    f.SSTab1.setIndex(1);
    f.cmdIsoUpdate.onClick();
    f.txtConduct.text = "0.5";
    f.cmdIsoUpdate.onClick();
    EXPECT_EQ(e.lastText().rfind("Строка изменена другой программой", 0), 0u) << e.lastText();
    EXPECT_EQ(e.stored("Isolation").rows[0], (Strings{"Чужой материал", "0.024"}));
    EXPECT_EQ(f.txtIsoName.text, "Чужой материал");

    // Product 3 deleted elsewhere: "Продукт 4" as the editor still numbers it is now number 3.
    ProductDeletion deletion;
    ASSERT_TRUE(other.deleteProduct(RowChange::Delete("ProdMeat", 2), deletion, failure)) << failure.message;
    f.SSTab1.setIndex(0);
    f.MoveTo(f.datTask, 1);
    f.cmdTaskUpdate.onClick();
    f.cmbNewProd.setIndex(3);
    f.btnAdd.onClick();
    EXPECT_EQ(e.lastText().rfind("Строка изменена другой программой", 0), 0u) << e.lastText();
    EXPECT_EQ(e.stored("Tasks").text(7, 1), "0");
    EXPECT_EQ(f.cmbNewProd.items[3], "Продукт 5");

    f.btnCancel.onClick();
    EXPECT_TRUE(second.Load(e.shipped, e.user, error)) << error;
}

// Whatever value a field accepts at the edges of its range is stored, and the tables load
// again as at the next start.
TEST(EditorForm, EveryEdgeValueAFieldAcceptsLoadsAgain) {
    Editor e;
    EditorForm& f = e.form;
    int stored = 0;
    auto tryValue = [&](BoundView& view, TextBox& box, const std::string& text) {
        view.update->onClick();
        const std::string before = box.text;
        const size_t messages = e.ui.messages.size();
        box.text = text;
        box.onLeave();
        if (e.ui.messages.size() == messages) view.update->onClick();
        if (e.ui.messages.size() == messages) {
            ++stored;
            ReferenceDatabase reader;
            std::string error;
            EXPECT_TRUE(reader.open(EffectiveDatabasePath(e.shipped, e.user), error)) << error;
            for (const TableSchema& t : ReferenceSchema())
                EXPECT_TRUE(reader.loadTable(t.name, error)) << box.text << ": " << error;
        }
        box.text = before;  // the next value starts from a row that passes
        view.update->onClick();
    };
    for (BoundView* view : f.views()) {
        f.SSTab1.setIndex(view->tab);
        for (const auto& field : view->fields) {
            const EditorCheck* check = FindEditorCheck(field.name);
            if (!check || check->kind == EditorCheck::Kind::Name) continue;
            const QuantityRange& r = check->rule().range;
            const double step = (r.high - r.low) / 100;
            for (double v : {r.low, std::nextafter(r.low, 1e300), r.low - step, r.high, std::nextafter(r.high, -1e300),
                             r.high + step, 0.0, -0.05, 0.56, 2000.0})
                tryValue(*view, *field.box, GeneralText(v));
        }
    }
    for (const char* point : {"1000", "1E-300", "0"}) tryValue(f.datProduct, f.txtEnthalpy, point);
    EXPECT_GT(stored, 80);
}

TEST(EditorForm, ExitStoresTheShownRowsAndCancelDropsThem) {
    for (bool exit : {true, false}) {
        Editor e;
        EditorForm& f = e.form;
        e.ui.visible.insert(WindowId::Editor);
        bool closed = false;
        f.onClosed = [&] { closed = true; };
        f.cmdOtherUpdate.onClick();
        f.Value_txt.text = "2,5";
        (exit ? f.Exit_btn : f.btnCancel).onClick();
        EXPECT_TRUE(closed);
        EXPECT_EQ(e.ui.visible.count(WindowId::Editor), 0u);
        EXPECT_EQ(e.stored("Others").text(1, 0), exit ? "2.5" : "2.3");
        if (exit) {
            EXPECT_EQ(e.lastText(), "Сделанные изменения будут учитываться\r\nтолько после перезапуска программы!");
            EXPECT_EQ(e.ui.messages.back().icon, MsgIcon::Information);
        } else {
            EXPECT_TRUE(e.ui.messages.empty());
        }
    }
}

}  // namespace
}  // namespace coldroom
