// The two windows over stand-in forms: every control of the forms has its widget, typing and
// Enter reach the form's handler, and the refresh after it reaches the other window too.
#include <gtest/gtest.h>

#include "qt_test_app.h"

#include <QAction>
#include <QApplication>
#include <QComboBox>
#include <QGroupBox>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QRadioButton>
#include <QTabWidget>

#include <deque>

#include "core/load_breakdown.h"
#include "ui/room_session.h"
#include "ui/headless_ui.h"
#include "ui/main/main_form.h"
#include "ui/main/main_window.h"
#include "ui/qt_activation.h"
#include "ui/qt_binder.h"
#include "ui/qt_load_chart.h"
#include "ui/qt_user_interface.h"
#include "ui/task/task_dialog.h"
#include "ui/task/task_form.h"

namespace coldroom {
namespace {

QApplication& App() { return test::TestApplication(); }

// A form stand-in: controls created by name and registered.
struct FakeForm {
    std::deque<TextBox> texts;
    std::deque<Caption> captions;
    std::deque<ListBox> lists;
    std::deque<OptionButton> options;
    std::deque<CheckBox> checks;
    std::deque<Button> buttons;
    std::deque<OptionGroup> groups;
    ControlRegistry registry;

    TextBox& text(const std::string& name, std::string value = {}) {
        texts.push_back({std::move(value), true, {}, {}});
        registry.add(name, &texts.back());
        return texts.back();
    }
    Caption& caption(const std::string& name, std::string value = {}) {
        captions.push_back({std::move(value), true});
        registry.add(name, &captions.back());
        return captions.back();
    }
    ListBox& list(const std::string& name, std::vector<std::string> items = {}, int index = 0) {
        lists.emplace_back();
        lists.back().items = std::move(items);
        lists.back().setIndex(lists.back().count() ? index : -1);
        registry.add(name, &lists.back());
        return lists.back();
    }
    void optionPair(const std::string& chosen, const std::string& other) {
        options.emplace_back();
        OptionButton& a = options.back();
        options.emplace_back();
        OptionButton& b = options.back();
        groups.emplace_back(std::initializer_list<OptionButton*>{&a, &b});
        a.setValue(true);
        registry.add(chosen, &a);
        registry.add(other, &b);
    }
    CheckBox& check(const std::string& name, int value) {
        checks.emplace_back();
        checks.back().setValue(value);
        registry.add(name, &checks.back());
        return checks.back();
    }
    Button& button(const std::string& name) {
        buttons.push_back({});
        registry.add(name, &buttons.back());
        return buttons.back();
    }
    template <class T> T& get(const std::string& name) { return *registry.get<T>(name); }
};

const std::vector<std::string> kMaterials = {"Пенополиуретан", "Пенополистирол ПСБ-С", "Минеральная вата",
                                             "Кирпич керамический", "Железобетон", "Сталь"};
const std::vector<std::string> kCoatings = {"Оцинкованная сталь", "Белая окраска", "Кирпич красный"};

// Every control the main form shows, filled with a plausible project.
void FillMainForm(FakeForm& f) {
    f.text("Name_txt", "Охлаждение мяса в полутушах");
    f.text("Length_txt", "10");
    f.text("Width_txt", "5");
    f.text("Height_txt", "2.5");
    f.text("Volume_txt", "125");
    f.list("Location_cmb", {"Архангельск", "Москва", "Ростов-на-Дону", "Санкт-Петербург"}, 1);
    f.text("TempIn_txt", "-20");
    for (const char* t : {"TempNord_txt", "TempSouth_txt", "TempEast_txt", "TempWest_txt", "TempCeil_txt"})
        f.text(t, "27");
    f.text("TempFloor_txt", "0");
    f.check("optAll_Temp", 0);
    f.check("optAll_as_one", 1);
    const char* surfaces[] = {"Nord", "South", "East", "West", "Ceil", "Floor"};
    const char* results[] = {"312", "405", "298", "301", "517", "112"};
    for (int i = 0; i < 6; ++i) {
        const std::string s = surfaces[i];
        for (int layer = 1; layer <= 3; ++layer) {
            ListBox& material = f.list(s + std::to_string(layer) + "_Mt_cmb", kMaterials, layer == 1 ? 0 : 3);
            material.enabled = layer == 1;
            f.text(s + std::to_string(layer) + "_D_txt", layer == 1 ? "100" : "0");
        }
        f.text(s + "_Poteri_txt", results[i]);
    }
    for (const char* wall : {"North", "South", "East", "West"}) {
        f.optionPair(std::string(wall) + "Ins_opt", std::string(wall) + "Out_opt");
        f.list(std::string(wall) + "Surf_cmb", kCoatings, 0);
    }
    f.optionPair("CeilIns_opt", "CeilOut_opt");
    f.list("CeilSurf_cmb", kCoatings, 0);
    f.optionPair("FloorAir_Opt", "FloorGrunt_Opt");
    f.optionPair("FloorCold_Opt", "FloorHeat_Opt");
    f.get<OptionButton>("FloorHeat_Opt").enabled = false;
    f.get<OptionButton>("FloorCold_Opt").enabled = false;

    f.optionPair("Door_Standard_opt", "Door_Special_opt");
    f.list("TypeOfCell_cmb",
           {"Камера хранения охлажденных продуктов", "Камера хранения мороженых продуктов",
            "Камеры охлаждения мясной и молочной продукции", "Отделение разделки мяса", "Машинный зал",
            "Шприцовочные отделения", "Сушильные камеры для колбас", "Экспедиция и приемная"},
           0);
    f.caption("TypeOfCell_lbl");
    f.list("TypeOfCurtain_cmb", {"Нет занавеси", "Ленточная", "Воздушная"}, 0);
    // Standard door conditions: the special door inputs and their captions are disabled.
    for (const char* name : {"Door_W_txt", "Door_H_txt", "Door_Open_txt", "TempOut_txt", "HumidOut_txt"})
        f.text(name, std::string(name) == "HumidOut_txt" ? "70" : std::string(name) == "TempOut_txt" ? "32" : "2")
            .enabled = false;
    f.get<ListBox>("TypeOfCurtain_cmb").enabled = false;
    for (const char* name :
         {"Door_W_lbl", "Door_H_lbl", "Door_Open_lbl", "TypeOfCurtain_lbl", "TempOut_lbl", "HumidOut_lbl"})
        f.caption(name).enabled = false;
    f.text("Door_Loss_txt", "450");
    f.text("NofPeople_txt", "1");
    f.text("TimePeople_txt", "1");
    f.text("Electro_txt", "0");
    f.text("Lifter_txt", "0");
    f.optionPair("AutoEva_opt", "ManualEva_opt");
    f.text("ElectroEva_txt", "246").enabled = false;
    f.text("Cycle_txt", "75");

    f.caption("TypeOfProduct_lbl", "Говядина в полутушах");
    f.caption("TempIn_lbl", "37");
    f.caption("TempEnd_lbl", "4");
    f.caption("Loading_lbl", "20");
    f.caption("Oborot_lbl", "6.0");
    f.caption("AirSpeed_lbl", "2");
    f.caption("Tara_lbl", "Без упаковки");
    f.caption("Norma_lbl", "31.3");
    f.caption("TimeReal_lbl", "24");
    f.caption("TimeCooling_lbl", "18.4");
    f.caption("TimeFreezing_lbl", "0.0");
    f.caption("TimeAfterFreezing_lbl", "0.0");
    f.caption("TimeMin_lbl", "18.4");
    f.caption("BreathLoss_lbl").enabled = false;
    f.text("BreathLoss_txt", "0").enabled = false;
    f.button("Change_btn");

    f.text("Panels_poteri", "1945");
    f.text("Produk_poteri", "8470");
    f.text("Tara_poteri", "0");
    f.text("Exp_Poteri", "1021");
    f.text("Total_poteri", "11436");
    f.text("Capacity_need", "15248");
}

// The load components behind the results above: fans of 246 W at a 75 % cycle give 184.5 W.
LoadBreakdown PlausibleResults() {
    LoadBreakdown b;
    b.envelope = LoadValue::of(1945);
    b.product = LoadValue::of(8470);
    b.packaging = LoadValue::of(0);
    b.operation = LoadValue::of(1021);
    b.fans = LoadValue::of(184.5);
    b.total = LoadValue::of(11436);
    b.capacity = LoadValue::of(15248);
    return b;
}

void FillTaskForm(FakeForm& f) {
    for (const char* b : {"btn_Meat", "btn_Kolb", "btn_Fish", "btn_Milk", "btn_Ice", "btn_Special", "OK_btn",
                          "Cancel_btn"})
        f.button(b);
    f.list("Task_cmb",
           {"Охлаждение мяса в полутушах", "Замораживание мяса в полутушах", "Хранение охлажденного мяса",
            "Хранение мороженого мяса"},
           0);
    f.list("Produkt_cmb", {"Говядина в полутушах", "Свинина в полутушах", "Баранина в тушах"}, 0);
    f.list("Packing_cmb", {"Без упаковки", "Ящики деревянные", "Ящики картонные", "Полимерная пленка"}, 0);
    f.list("Smena_cmb", {"Непрерывный", "Сменный"}, 0);
    f.text("TempIn_txt", "0");
    f.text("Tin_Prod_txt", "37");
    f.text("Tend_Prod_txt", "4");
    f.text("Load_prod_txt", "20");
    f.text("Oborot_Prod_txt", "30");
    f.text("Oborot_tonn_txt", "6.0");
    f.text("Real_time_txt", "24");
    f.text("Velocity_txt", "2");
    f.text("HumidIn_txt", "90");
    f.text("Dimens_txt", "8");
}

struct WindowsTest : ::testing::Test {
    FakeForm mainForm, taskForm;
    LoadBreakdown results = PlausibleResults();
    std::unique_ptr<MainWindow> main;
    std::unique_ptr<TaskDialog> task;
    int refreshes = 0;

    void SetUp() override {
        App();
        FillMainForm(mainForm);
        FillTaskForm(taskForm);
        main = std::make_unique<MainWindow>();
        task = std::make_unique<TaskDialog>();
        auto refreshAll = [this] {
            ++refreshes;
            main->refresh();
            task->refresh();
        };
        main->bind(mainForm.registry, refreshAll);
        main->setResultsSource([this] { return &results; });
        task->bind(taskForm.registry, refreshAll);
    }

    template <class W> W* in(QWidget* window, const char* name) {
        return window->findChild<W*>(QString::fromLatin1(name));
    }
};

TEST_F(WindowsTest, EveryControlOfBothFormsHasItsWidget) {
    EXPECT_EQ(main->binder()->unboundControls(), std::vector<std::string>{});
    EXPECT_EQ(task->binder()->unboundControls(), std::vector<std::string>{});
    EXPECT_EQ(main->binder()->boundCount(), static_cast<int>(mainForm.registry.all().size()));
    EXPECT_EQ(task->binder()->boundCount(), static_cast<int>(taskForm.registry.all().size()));
    // A caption the form owns shows the form's text; the window writes none of its own.
    mainForm.get<Caption>("TypeOfCell_lbl").text = "Тип камеры";
    main->refresh();
    EXPECT_EQ(in<QLabel>(main.get(), "TypeOfCell_lbl")->text(), QStringLiteral("Тип камеры"));
    EXPECT_EQ(taskForm.get<Button>("OK_btn").caption, "Далее >>");
    EXPECT_EQ(main->windowTitle(), "Расчет холодопроизводительности");
    EXPECT_EQ(task->windowTitle(), " Выбор технологической задачи");
}

TEST_F(WindowsTest, ALocationInDoubtSaysSoInTheList) {
    mainForm.get<ListBox>("Location_cmb").items = {"Москва", "Самара"};
    main->refresh();
    auto* list = in<QComboBox>(main.get(), "Location_cmb");
    ASSERT_EQ(list->count(), 2);
    EXPECT_TRUE(list->itemData(0, Qt::ToolTipRole).toString().isEmpty());
    EXPECT_TRUE(list->itemData(1, Qt::ToolTipRole).toString().contains(QStringLiteral("не проверена")));
}

TEST_F(WindowsTest, EnterReachesTheHandlerAndTheRefreshReachesBothWindows) {
    FakeForm& f = mainForm;
    int enters = 0;
    f.get<TextBox>("Length_txt").onEnter = [&] {
        ++enters;
        // As the form would: the volume follows, the results change, the task dialog's
        // field is written too.
        const double length = std::stod(f.get<TextBox>("Length_txt").text);
        f.get<TextBox>("Volume_txt").text = std::to_string(static_cast<int>(length * 5 * 2.5));
        f.get<TextBox>("Panels_poteri").text = "2100";
        results.envelope = LoadValue::of(2100);
        taskForm.get<TextBox>("TempIn_txt").text = "-2";
    };
    auto* length = in<QLineEdit>(main.get(), "Length_txt");
    length->selectAll();
    for (QChar c : QStringLiteral("12")) {
        QKeyEvent key(QEvent::KeyPress, 0, Qt::NoModifier, QString(c));
        QCoreApplication::sendEvent(length, &key);
    }
    EXPECT_EQ(f.get<TextBox>("Length_txt").text, "12");
    QKeyEvent enter(QEvent::KeyPress, Qt::Key_Return, Qt::NoModifier);
    QCoreApplication::sendEvent(length, &enter);

    EXPECT_EQ(enters, 1);
    EXPECT_EQ(in<QLineEdit>(main.get(), "Volume_txt")->text(), "150");
    EXPECT_EQ(in<QLineEdit>(main.get(), "Panels_poteri")->text(), "2100");
    EXPECT_EQ(in<QLineEdit>(task.get(), "TempIn_txt")->text(), "-2");
    const auto& bars = main->chart()->bars();
    ASSERT_EQ(bars.size(), 5u);
    EXPECT_EQ(bars[0].watts, 2100);
}

// Enter in a text field commits the field and presses no button; elsewhere it presses the
// button that has the focus, or «Далее >>».
TEST_F(WindowsTest, EnterCommitsAFieldOrPressesTheFocusedOrDefaultButton) {
    int enters = 0;
    std::string pressed;
    taskForm.get<TextBox>("Velocity_txt").onEnter = [&] { ++enters; };
    for (const char* name : {"OK_btn", "Cancel_btn", "btn_Fish"})
        taskForm.get<Button>(name).onClick = [&pressed, name] { pressed += name; };
    task->show();
    task->activateWindow();
    QApplication::processEvents();
    const struct {
        const char* focus;
        int enters;
        const char* pressed;
    } cases[] = {
        {"Velocity_txt", 1, ""}, {"Smena_cmb", 0, "OK_btn"}, {"btn_Fish", 0, "btn_Fish"},
        {"Cancel_btn", 0, "Cancel_btn"}, {"Velocity_txt", 1, ""},
    };
    for (const auto& c : cases) {
        enters = 0;
        pressed.clear();
        auto* widget = in<QWidget>(task.get(), c.focus);
        widget->setFocus(Qt::TabFocusReason);
        ASSERT_TRUE(widget->hasFocus()) << c.focus;
        QKeyEvent enter(QEvent::KeyPress, Qt::Key_Return, Qt::NoModifier);
        QCoreApplication::sendEvent(widget, &enter);
        EXPECT_EQ(enters, c.enters) << c.focus;
        EXPECT_EQ(pressed, c.pressed) << c.focus;
    }
}

TEST_F(WindowsTest, CommandsEnableTheirMenuAndToolbarEntries) {
    auto action = [&](const char* name) { return in<QAction>(main.get(), name); };
    for (const char* name : {"mnOpen", "OpenFile", "mnSave", "PrintFile", "mnQuit", "mnAbout", "mnContent"})
        ASSERT_NE(action(name), nullptr) << name;
    EXPECT_FALSE(action("mnOpen")->isEnabled());
    EXPECT_FALSE(in<QPushButton>(main.get(), "Quit_btn")->isEnabled());

    int opens = 0, exits = 0;
    main->setCommand(MainWindow::Command::Open, [&] { ++opens; });
    main->setCommand(MainWindow::Command::Exit, [&] { ++exits; });
    EXPECT_TRUE(action("mnOpen")->isEnabled());
    EXPECT_TRUE(action("OpenFile")->isEnabled());
    EXPECT_FALSE(action("PrintFile")->isEnabled());
    action("mnOpen")->trigger();
    action("OpenFile")->trigger();
    in<QPushButton>(main.get(), "Quit_btn")->click();
    action("mnQuit")->trigger();
    EXPECT_EQ(opens, 2);
    EXPECT_EQ(exits, 2);
    EXPECT_EQ(action("mnOpen")->shortcut(), QKeySequence(Qt::CTRL | Qt::Key_O));
    EXPECT_EQ(action("PrintFile")->shortcut(), QKeySequence(Qt::CTRL | Qt::Key_P));
    EXPECT_EQ(action("mnNew")->shortcut(), QKeySequence(Qt::CTRL | Qt::Key_N));
}

TEST_F(WindowsTest, ChartAndShapesFollowTheResults) {
    MainWindow::Rgb colour{200, 210, 255};
    main->setShapeColourSource([&] { return colour; });
    results.product = LoadValue::undefined("нет таблицы");
    main->refresh();
    const auto& bars = main->chart()->bars();
    ASSERT_EQ(bars.size(), 5u);
    EXPECT_TRUE(bars[0].defined);
    EXPECT_FALSE(bars[1].defined);
    // The fans' 184.5 W drawn apart from the rest of the operational 1021 W, in whole watts
    // as the fields show them.
    EXPECT_DOUBLE_EQ(bars[4].watts, 184);
    EXPECT_DOUBLE_EQ(bars[3].watts, 1021 - 184);
    EXPECT_EQ(main->shownShapeColour(), colour);
    colour = {250, 210, 200};
    main->refresh();
    EXPECT_EQ(main->shownShapeColour(), colour);
}

TEST_F(WindowsTest, BothWindowsFitTheSmallestScreenWeServe) {
    const QSize smallest(1024, 700);
    main->show();
    task->show();
    QApplication::processEvents();
    if (qEnvironmentVariableIsSet("COLDROOM_LAYOUT_DEBUG")) {
        auto* tabs = in<QTabWidget>(main.get(), "SSTab1");
        for (int i = 0; i < tabs->count(); ++i)
            qInfo() << "tab" << i << tabs->widget(i)->minimumSizeHint();
        for (QWidget* w : main->centralWidget()->findChildren<QWidget*>(Qt::FindDirectChildrenOnly))
            qInfo() << w->metaObject()->className() << w->objectName() << w->minimumSizeHint();
        for (QGroupBox* g : main->findChildren<QGroupBox*>())
            qInfo() << "frame" << g->title() << g->minimumSizeHint();
        for (QWidget* w : in<QWidget>(main.get(), "Poteri_frm")->findChildren<QWidget*>())
            qInfo() << "  result part" << w->metaObject()->className() << w->objectName()
                    << w->minimumSizeHint() << w->sizeHint();
    }
    EXPECT_LE(main->minimumSizeHint().width(), smallest.width());
    EXPECT_LE(main->minimumSizeHint().height(), smallest.height());
    EXPECT_LE(task->minimumSizeHint().width(), smallest.width());
    EXPECT_LE(task->minimumSizeHint().height(), smallest.height());
    main->resize(smallest);
    QApplication::processEvents();
    EXPECT_EQ(main->size(), smallest);
    // Nothing is squeezed below what it needs, on any tab.
    auto* tabs = in<QTabWidget>(main.get(), "SSTab1");
    for (int t = 0; t < tabs->count(); ++t) {
        tabs->setCurrentIndex(t);
        QApplication::processEvents();
        for (QGroupBox* frame : main->findChildren<QGroupBox*>()) {
            if (!frame->isVisible()) continue;
            EXPECT_GE(frame->width(), frame->minimumSizeHint().width()) << frame->title().toStdString();
            EXPECT_GE(frame->height(), frame->minimumSizeHint().height()) << frame->title().toStdString();
        }
    }
}

}  // namespace
}  // namespace coldroom

namespace coldroom {
namespace {

// Real focus moves in a shown window: a rejected value keeps the focus in its field, the
// field the person clicked is not committed behind its back, and an accepted Enter that
// moves the focus on commits the field once more on leaving, as the room temperature needs.
TEST_F(WindowsTest, FocusRulesWithRealFocus) {
    QtUserInterface ui;
    ui.registerWindow(WindowId::MainWindow, main.get());
    main->show();
    main->activateWindow();
    QApplication::processEvents();
    auto* length = in<QLineEdit>(main.get(), "Length_txt");
    auto* width = in<QLineEdit>(main.get(), "Width_txt");
    std::vector<std::string> log;
    mainForm.get<TextBox>("Length_txt").onLeave = [&] {
        log.push_back("length leave");
        if (mainForm.get<TextBox>("Length_txt").text == "0") ui.setFocus(WindowId::MainWindow, "Length_txt");
    };
    mainForm.get<TextBox>("Width_txt").onLeave = [&] { log.push_back("width leave"); };
    mainForm.get<TextBox>("TempIn_txt").onEnter = [&] {
        log.push_back("temp enter");
        ui.setFocus(WindowId::MainWindow, "optAll_Temp");
    };
    mainForm.get<TextBox>("TempIn_txt").onLeave = [&] { log.push_back("temp leave"); };

    length->setFocus(Qt::MouseFocusReason);
    ASSERT_TRUE(length->hasFocus()) << "the offscreen window did not take the focus";
    mainForm.get<TextBox>("Length_txt").text = "0";
    width->setFocus(Qt::MouseFocusReason);
    EXPECT_EQ(log, (std::vector<std::string>{"length leave"}));
    EXPECT_TRUE(length->hasFocus());

    mainForm.get<TextBox>("Length_txt").text = "10";  // corrected: now it may be left
    auto* temp = in<QLineEdit>(main.get(), "TempIn_txt");
    temp->setFocus(Qt::MouseFocusReason);
    ASSERT_TRUE(temp->hasFocus());
    log.clear();
    QKeyEvent enter(QEvent::KeyPress, Qt::Key_Return, Qt::NoModifier);
    QCoreApplication::sendEvent(temp, &enter);
    EXPECT_EQ(log, (std::vector<std::string>{"temp enter", "temp leave"}));
    EXPECT_TRUE(in<QWidget>(main.get(), "optAll_Temp")->hasFocus());
}

// Only the program's own windows are reported, and a window the program has just shown is
// waited for: an activation left over from a closing message box is no activation.
TEST_F(WindowsTest, ActivationTrackerReportsTheProgramsWindows) {
    std::vector<WindowId> reported;
    ActivationTracker tracker([&](WindowId id) { reported.push_back(id); });
    tracker.track(WindowId::TaskDialog, task.get());
    tracker.track(WindowId::MainWindow, main.get());
    auto activate = [](QWidget* w) {
        w->activateWindow();
        QApplication::processEvents();
    };
    task->show();
    activate(task.get());
    main->show();
    activate(main.get());
    EXPECT_EQ(reported, (std::vector<WindowId>{WindowId::TaskDialog, WindowId::MainWindow}));

    QMessageBox box(QMessageBox::Critical, QStringLiteral("t"), QStringLiteral("m"), QMessageBox::Ok, main.get());
    box.show();
    activate(&box);
    tracker.expect(WindowId::TaskDialog);
    box.hide();
    activate(main.get());
    EXPECT_EQ(reported.size(), 2u);
    activate(task.get());
    activate(main.get());
    EXPECT_EQ(reported, (std::vector<WindowId>{WindowId::TaskDialog, WindowId::MainWindow, WindowId::TaskDialog,
                                               WindowId::MainWindow}));
}

}  // namespace
}  // namespace coldroom

namespace coldroom {
namespace {

// The program's own forms: each control they register has a widget that can show it, and
// each fixed caption the form keeps is the one the window shows.
TEST(RealFormsTest, BothWindowsShowTheWholeOfTheirForms) {
    App();
    RoomSession session;
    HeadlessUi ui;
    TaskForm taskForm(session, ui);
    MainForm mainForm(session, ui);
    MainWindow main;
    TaskDialog task;
    main.bind(mainForm.controls());
    task.bind(taskForm.controls());
    EXPECT_EQ(main.binder()->unboundControls(), std::vector<std::string>{});
    EXPECT_EQ(task.binder()->unboundControls(), std::vector<std::string>{});
    EXPECT_EQ(main.findChild<QLabel*>(QStringLiteral("BreathLoss_lbl"))->text(), "Теплота дыхания, Вт");
    EXPECT_EQ(main.findChild<QPushButton*>(QStringLiteral("Quit_btn"))->text(), "&ВЫХОД");  // with its Alt letter
}

}  // namespace
}  // namespace coldroom
