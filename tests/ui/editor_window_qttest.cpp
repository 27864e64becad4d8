// The parameter editor's real window: it shows its whole form, its tabs, navigators and row
// lists move through the form, and the main window's command opens it once.
#include <gtest/gtest.h>

#include "qt_test_app.h"

#include <QAction>
#include <QApplication>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMessageBox>
#include <QPushButton>
#include <QTabWidget>
#include <QTimer>

#include "refdb/test_db.h"
#include "ui/editor/editor_form.h"
#include "ui/editor/editor_window.h"
#include "ui/editor/qt_enthalpy_curve.h"
#include "ui/headless_ui.h"
#include "ui/main/main_window.h"
#include "ui/qt_binder.h"
#include "ui/qt_desktop.h"
#include "ui/task/task_dialog.h"

namespace coldroom {
namespace {

void Settle() {
    for (int i = 0; i < 5; ++i) QApplication::processEvents();
}

test::TestDatabase TwoOfEach() {
    test::TestDatabase db = test::MinimalReferenceDatabase();
    db.addRows("Isolation", {{"Материал 2", "0.05"}});
    return db;
}

template <class W> W* Child(QWidget* window, const char* name) {
    return window->findChild<W*>(QString::fromLatin1(name));
}

TEST(EditorWindow, ShowsTheWholeFormAndMovesThroughIt) {
    test::TestApplication();
    test::TestDatabase db = TwoOfEach();
    HeadlessUi ui;
    auto form = std::make_unique<EditorForm>(ui);
    std::string error;
    ASSERT_TRUE(form->Load(db.write(), "", error)) << error;
    EditorWindow window(std::move(form));
    window.bind();
    EditorForm& f = window.form();

    EXPECT_EQ(window.binder()->unboundControls(), std::vector<std::string>{});
    const QSize least = window.minimumSizeHint().expandedTo(window.minimumSize());
    EXPECT_LE(least.width(), 1024);
    EXPECT_LE(least.height(), 700);
    window.show();
    Settle();

    // The tabs are the form's: the task navigator outside them goes with the task tab.
    auto* tabs = Child<QTabWidget>(&window, "SSTab1");
    auto* taskNavigator = Child<QLabel>(&window, "datTask")->parentWidget();
    EXPECT_TRUE(taskNavigator->isVisible());
    tabs->setCurrentIndex(1);
    Settle();
    EXPECT_EQ(f.SSTab1.index(), 1);
    EXPECT_FALSE(taskNavigator->isVisible());

    // The navigator and the row list move the same view.
    auto* name = Child<QLineEdit>(&window, "txtIsoName");
    auto* position = Child<QLabel>(&window, "datIsolation_Position");
    EXPECT_EQ(position->text(), QStringLiteral("1 из 2"));
    Child<QPushButton>(&window, "datIsolation_Next")->click();
    Settle();
    EXPECT_EQ(f.datIsolation.current, 1);
    EXPECT_EQ(position->text(), QStringLiteral("2 из 2"));
    EXPECT_EQ(name->text(), QStringLiteral("Материал 2"));
    auto* rows = Child<QListWidget>(&window, "datIsolation_rows");
    ASSERT_EQ(rows->count(), 2);
    EXPECT_EQ(rows->currentRow(), 1);
    rows->setCurrentRow(0);
    Settle();
    EXPECT_EQ(f.datIsolation.current, 0);
    EXPECT_EQ(position->text(), QStringLiteral("1 из 2"));

    // The curve follows the point editor, and a held arrow colours the two fields.
    ASSERT_EQ(window.curve()->pointCount(), f.PointLast + 1);
    auto* down = Child<QPushButton>(&window, "Down_pic");
    down->pressed();
    Settle();
    EXPECT_EQ(Child<QLineEdit>(&window, "txtEnthalpy")->palette().color(QPalette::Active, QPalette::Base), QColor(250, 250, 230));
    down->released();
    down->clicked();
    Settle();
    EXPECT_EQ(f.PointIndex, 1);
    EXPECT_EQ(Child<QLineEdit>(&window, "txtEnthalpy")->palette().color(QPalette::Active, QPalette::Base), QColor(Qt::white));
    // What the specific heat holds is told where it is typed.
    EXPECT_TRUE(Child<QLineEdit>(&window, "txtHeatCap")->toolTip().startsWith(QStringLiteral("Теплоемкость сухих веществ")));
}

TEST(EditorWindow, OpensOnceFromTheMainWindowAndClosesWithTheRestartNote) {
    test::TestApplication();
    test::TestDatabase db = TwoOfEach();
    int boxes = 0;
    QTimer answerer;
    QObject::connect(&answerer, &QTimer::timeout, [&boxes] {
        for (QWidget* w : QApplication::topLevelWidgets())
            if (auto* box = qobject_cast<QMessageBox*>(w); box && box->isVisible()) {
                ++boxes;
                box->accept();
            }
    });
    answerer.start(20);
    DesktopProgram desktop(db.write());
    ASSERT_TRUE(desktop.start());
    Child<QPushButton>(desktop.taskDialog(), "OK_btn")->click();
    Settle();
    ASSERT_NE(desktop.mainWindow(), nullptr);

    auto* command = Child<QAction>(desktop.mainWindow(), "tlbParameter");
    ASSERT_TRUE(command->isEnabled());
    command->trigger();
    Settle();
    EditorWindow* editor = desktop.editor();
    ASSERT_NE(editor, nullptr);
    EXPECT_TRUE(editor->isVisible());
    EXPECT_EQ(desktop.program().activeWindow(), WindowId::Editor);
    Child<QAction>(desktop.mainWindow(), "DataChange")->trigger();  // the toolbar's button
    Settle();
    EXPECT_EQ(desktop.editor(), editor);

    boxes = 0;
    Child<QPushButton>(editor, "Exit_btn")->click();
    Settle();
    EXPECT_EQ(boxes, 1);  // the restart note
    EXPECT_EQ(desktop.editor(), nullptr);
    EXPECT_EQ(desktop.program().activeWindow(), WindowId::MainWindow);  // and it was activated
    desktop.program().Exit();
}

}  // namespace
}  // namespace coldroom
