// The generic binder over a small registry: what refresh shows, what the person's actions
// write into the controls, which handlers they run, and when leaving a field commits it.
#include <gtest/gtest.h>

#include "qt_test_app.h"

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QFocusEvent>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

#include <stdexcept>

#include "ui/headless_ui.h"
#include "ui/qt_binder.h"

namespace coldroom {
namespace {

QApplication& App() { return test::TestApplication(); }

void typeText(QWidget* w, const QString& text) {
    for (QChar c : text) {
        QKeyEvent press(QEvent::KeyPress, 0, Qt::NoModifier, QString(c));
        QCoreApplication::sendEvent(w, &press);
    }
}

void pressEnter(QWidget* w) {
    QKeyEvent press(QEvent::KeyPress, Qt::Key_Return, Qt::NoModifier);
    QCoreApplication::sendEvent(w, &press);
}

void focusOut(QWidget* w, Qt::FocusReason reason) {
    QFocusEvent out(QEvent::FocusOut, reason);
    QCoreApplication::sendEvent(w, &out);
}

struct WithApp {
    WithApp() { App(); }
};

// A window of one of each kind of widget, named after the controls below.
struct Fixture : WithApp, ::testing::Test {
    TextBox length, width;
    Caption unit;
    Caption fixed;  // a caption the form leaves to the window
    ListBox material;
    ListBox task;  // editable
    CheckBox same;
    OptionButton inner, outer;
    OptionGroup wall{&inner, &outer};
    Button change;
    ControlRegistry registry;
    QWidget window;
    int refreshes = 0;
    std::unique_ptr<QtBinder> binder;

    QLineEdit* lengthEdit = new QLineEdit;
    QLineEdit* widthEdit = new QLineEdit;
    QLabel* unitLabel = new QLabel;
    QLabel* fixedLabel = new QLabel(QStringLiteral("Тип камеры"));
    QComboBox* materialCombo = new QComboBox;
    QComboBox* taskCombo = new QComboBox;
    QCheckBox* sameCheck = new QCheckBox;
    QRadioButton* innerRadio = new QRadioButton;
    QRadioButton* outerRadio = new QRadioButton;
    QPushButton* changeButton = new QPushButton(QStringLiteral("ИЗМЕНИТЬ"));

    void SetUp() override {
        App();
        auto* layout = new QVBoxLayout(&window);
        const std::pair<QWidget*, const char*> widgets[] = {
            {lengthEdit, "Length_txt"}, {widthEdit, "Width_txt"},     {unitLabel, "Unit_lbl"},
            {fixedLabel, "Fixed_lbl"},  {materialCombo, "Mat_cmb"},  {taskCombo, "Task_cmb"},
            {sameCheck, "optAll"},      {innerRadio, "Ins_opt"},     {outerRadio, "Out_opt"},
            {changeButton, "Change_btn"}};
        for (auto [w, name] : widgets) {
            w->setObjectName(QString::fromLatin1(name));
            layout->addWidget(w);
        }
        taskCombo->setEditable(true);
        registry.add("Length_txt", &length);
        registry.add("Width_txt", &width);
        registry.add("Unit_lbl", &unit);
        registry.add("Fixed_lbl", &fixed);
        registry.add("Mat_cmb", &material);
        registry.add("Task_cmb", &task);
        registry.add("optAll", &same);
        registry.add("Ins_opt", &inner);
        registry.add("Out_opt", &outer);
        registry.add("Change_btn", &change);
        length.text = "10";
        unit.text = "м";
        material.items = {"Пенополиуретан", "Минвата", "Кирпич"};
        material.setIndex(0);
        task.items = {"Охлаждение мяса", "Хранение мяса"};
        task.setIndex(0);
        inner.setValue(true);
    }

    void bind() {
        binder = std::make_unique<QtBinder>(&window, registry, [this] {
            ++refreshes;
            binder->refresh();
        });
    }
};

using QtBinderTest = Fixture;

TEST_F(QtBinderTest, RefreshShowsEveryKindOfControlWithoutRunningHandlers) {
    int handlers = 0;
    material.onClick = inner.onClick = outer.onClick = same.onClick = [&] { ++handlers; };
    bind();
    EXPECT_EQ(binder->boundCount(), 10);
    EXPECT_EQ(lengthEdit->text(), "10");
    EXPECT_EQ(unitLabel->text(), "м");
    EXPECT_EQ(materialCombo->count(), 3);
    EXPECT_EQ(materialCombo->currentIndex(), 0);
    EXPECT_TRUE(innerRadio->isChecked());
    EXPECT_FALSE(outerRadio->isChecked());

    // Program code changes the form; the next refresh shows it all, quietly.
    int signalsSeen = 0;
    QObject::connect(materialCombo, &QComboBox::currentIndexChanged, [&] { ++signalsSeen; });
    QObject::connect(lengthEdit, &QLineEdit::textChanged, [&] { ++signalsSeen; });
    handlers = 0;
    length.text = "12.5";
    length.enabled = false;
    unit.enabled = false;
    material.items.push_back("Пенопласт");
    material.setIndex(3);
    outer.setValue(true);
    same.setValue(1);
    change.caption = "Задача";
    change.enabled = false;
    handlers = 0;
    binder->refresh();
    EXPECT_EQ(handlers, 0);
    EXPECT_EQ(signalsSeen, 0);
    EXPECT_EQ(lengthEdit->text(), "12.5");
    EXPECT_FALSE(lengthEdit->isEnabled());
    EXPECT_FALSE(unitLabel->isEnabled());
    EXPECT_EQ(materialCombo->count(), 4);
    EXPECT_EQ(materialCombo->currentText(), "Пенопласт");
    EXPECT_TRUE(outerRadio->isChecked());
    EXPECT_FALSE(innerRadio->isChecked());
    EXPECT_TRUE(sameCheck->isChecked());
    EXPECT_EQ(changeButton->text(), "Задача");
    EXPECT_FALSE(changeButton->isEnabled());
}

TEST_F(QtBinderTest, CaptionsWithoutTextTakeTheWindowsOwn) {
    bind();
    EXPECT_EQ(fixed.text, "Тип камеры");
    EXPECT_EQ(change.caption, "ИЗМЕНИТЬ");
    fixed.enabled = false;
    binder->refresh();
    EXPECT_EQ(fixedLabel->text(), "Тип камеры");
    EXPECT_FALSE(fixedLabel->isEnabled());
}

TEST_F(QtBinderTest, TypingWritesTheTextAtOnceAndEnterRunsTheHandler) {
    int enters = 0;
    std::string seenOnEnter;
    length.onEnter = [&] {
        ++enters;
        seenOnEnter = length.text;
        width.text = "6";  // a handler writes another field; the refresh must show it
    };
    bind();
    lengthEdit->selectAll();
    typeText(lengthEdit, QStringLiteral("1,5"));
    EXPECT_EQ(length.text, "1,5");
    EXPECT_EQ(enters, 0);
    const int before = refreshes;
    pressEnter(lengthEdit);
    EXPECT_EQ(enters, 1);
    EXPECT_EQ(seenOnEnter, "1,5");
    EXPECT_GT(refreshes, before);
    EXPECT_EQ(widthEdit->text(), "6");
}

TEST_F(QtBinderTest, LeavingCommitsOnlyWhenThePersonLeavesTheField) {
    struct Case {
        Qt::FocusReason reason;
        bool commits;
    };
    const Case cases[] = {
        {Qt::MouseFocusReason, true},         {Qt::TabFocusReason, true},
        {Qt::BacktabFocusReason, true},       {Qt::ShortcutFocusReason, true},
        {Qt::OtherFocusReason, true},         {Qt::PopupFocusReason, false},
        {Qt::ActiveWindowFocusReason, false},
    };
    int leaves = 0;
    length.onLeave = [&] { ++leaves; };
    bind();
    for (const Case& c : cases) {
        leaves = 0;
        focusOut(lengthEdit, c.reason);
        EXPECT_EQ(leaves, c.commits ? 1 : 0) << "reason " << c.reason;
    }
}

TEST_F(QtBinderTest, FocusMovedByAHandlerCommitsOnlyTheFieldThatMovedIt) {
    // A rejected value puts the focus back: the field the person went to is not committed
    // (two bad fields would otherwise report each other forever). A field whose own Enter
    // handler moves the focus on has been left and commits once the handler is done.
    std::vector<std::string> log;
    length.onLeave = [&] {
        log.push_back("length leave");
        focusOut(widthEdit, Qt::OtherFocusReason);  // the program pulls the focus back
    };
    width.onLeave = [&] { log.push_back("width leave"); };
    width.onEnter = [&] {
        log.push_back("width enter");
        focusOut(widthEdit, Qt::OtherFocusReason);  // moves on to the next control
    };
    bind();
    focusOut(lengthEdit, Qt::MouseFocusReason);
    EXPECT_EQ(log, (std::vector<std::string>{"length leave"}));

    log.clear();
    pressEnter(widthEdit);
    EXPECT_EQ(log, (std::vector<std::string>{"width enter", "width leave"}));
}

TEST_F(QtBinderTest, ListChoiceRunsTheHandlerOnlyWhenThePositionChanges) {
    int clicks = 0;
    material.onClick = [&] {
        ++clicks;
        length.text = material.text();
    };
    bind();
    emit materialCombo->activated(2);
    EXPECT_EQ(material.index(), 2);
    EXPECT_EQ(clicks, 1);
    EXPECT_EQ(lengthEdit->text(), "Кирпич");
    emit materialCombo->activated(2);
    EXPECT_EQ(clicks, 1);
}

TEST_F(QtBinderTest, EditableListKeepsTypedTextUntilAnEntryIsChosen) {
    bind();
    taskCombo->lineEdit()->selectAll();
    typeText(taskCombo->lineEdit(), QStringLiteral("Моя задача"));
    EXPECT_EQ(task.text(), "Моя задача");
    EXPECT_EQ(task.index(), 0);
    binder->refresh();
    EXPECT_EQ(taskCombo->currentText(), "Моя задача");

    taskCombo->setCurrentIndex(1);
    emit taskCombo->activated(1);
    EXPECT_EQ(task.text(), "Хранение мяса");
    EXPECT_EQ(taskCombo->currentText(), "Хранение мяса");
}

TEST_F(QtBinderTest, OptionsFollowTheFormEvenWhenItRefusesOrClearsAll) {
    int outerClicks = 0;
    bool refuse = false;
    outer.onClick = [&] {
        ++outerClicks;
        if (refuse) inner.setValue(true);  // like the floor heating refused at a warm room
    };
    bind();
    outerRadio->click();
    EXPECT_TRUE(outer.value());
    EXPECT_FALSE(inner.value());
    EXPECT_FALSE(innerRadio->isChecked());
    EXPECT_EQ(outerClicks, 1);

    outerRadio->click();  // the chosen option again: nothing runs, it stays chosen
    EXPECT_EQ(outerClicks, 1);
    EXPECT_TRUE(outerRadio->isChecked());

    refuse = true;
    inner.setValue(true);
    binder->refresh();
    outerRadio->click();
    EXPECT_EQ(outerClicks, 2);
    EXPECT_TRUE(innerRadio->isChecked());
    EXPECT_FALSE(outerRadio->isChecked());

    inner.setValue(false);  // a group with nothing chosen, as a file may leave it
    binder->refresh();
    EXPECT_FALSE(innerRadio->isChecked());
    EXPECT_FALSE(outerRadio->isChecked());
}

TEST_F(QtBinderTest, CheckBoxAndButtonRunTheirHandlers) {
    int checks = 0, clicks = 0;
    same.onClick = [&] { ++checks; };
    change.onClick = [&] { ++clicks; };
    bind();
    sameCheck->click();
    EXPECT_EQ(same.value(), 1);
    sameCheck->click();
    EXPECT_EQ(same.value(), 0);
    EXPECT_EQ(checks, 2);
    changeButton->click();
    EXPECT_EQ(clicks, 1);
}

TEST_F(QtBinderTest, AFailingHandlerIsToldAndTheWindowKeepsWorking) {
    int clicks = 0;
    change.onClick = [&] {
        if (++clicks > 1) return;
        length.text = "changed";
        throw std::runtime_error("broken");
    };
    bind();
    HeadlessUi ui;
    QtBinder::Running running;
    binder->join(ui, running);
    EXPECT_NO_THROW(changeButton->click());
    EXPECT_EQ(lengthEdit->text(), "changed");
    ASSERT_EQ(ui.messages.size(), 1u);
    EXPECT_EQ(ui.messages[0].text, "Внутренняя ошибка: broken");
    EXPECT_EQ(ui.messages[0].icon, MsgIcon::Critical);
    changeButton->click();
    EXPECT_EQ(clicks, 2);
    // A menu command run through the binder is guarded the same way.
    EXPECT_NO_THROW(binder->run([] { throw 42; }));
    ASSERT_EQ(ui.messages.size(), 2u);
    EXPECT_EQ(ui.messages[1].text, "Внутренняя ошибка.");
}

TEST_F(QtBinderTest, ControlsWithoutAFittingWidgetAreListed) {
    TextBox orphan;
    ListBox wrongKind;
    registry.add("Orphan_txt", &orphan);
    registry.add("Wrong_cmb", &wrongKind);
    auto* edit = new QLineEdit(&window);
    edit->setObjectName(QStringLiteral("Wrong_cmb"));  // a list shown in a text field
    bind();
    EXPECT_EQ(binder->unboundControls(), (std::vector<std::string>{"Orphan_txt", "Wrong_cmb"}));
    EXPECT_EQ(binder->widget("Length_txt"), lengthEdit);
    EXPECT_EQ(binder->widget("Wrong_cmb"), nullptr);
}

TEST_F(QtBinderTest, ACaptionShownInAFieldIsReadOnly) {
    Caption shown;
    shown.text = "Text4";
    registry.add("Shown_txt", &shown);
    auto* edit = new QLineEdit(&window);
    edit->setObjectName(QStringLiteral("Shown_txt"));
    bind();
    EXPECT_TRUE(edit->isReadOnly());
    EXPECT_EQ(edit->text(), "Text4");
}

}  // namespace
}  // namespace coldroom
