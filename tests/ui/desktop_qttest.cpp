// The real desktop program on the offscreen platform: start, confirm the task, type into a
// field and see the results change.
#include <gtest/gtest.h>

#include "qt_test_app.h"

#include <QApplication>
#include <QKeyEvent>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QTimer>

#include "refdb/test_db.h"
#include "ui/main/about_dialog.h"
#include "ui/main/main_window.h"
#include "ui/qt_desktop.h"
#include "ui/task/task_dialog.h"

namespace coldroom {
namespace {

QApplication& App() { return test::TestApplication(); }

// Answers every message box that comes up ("Нет" to questions) and counts them.
struct MessageBoxAnswerer {
    int seen = 0;
    QTimer timer;
    MessageBoxAnswerer() {
        QObject::connect(&timer, &QTimer::timeout, [this] {
            for (QWidget* w : QApplication::topLevelWidgets()) {
                auto* box = qobject_cast<QMessageBox*>(w);
                if (!box || !box->isVisible()) continue;
                ++seen;
                if (auto* no = box->button(QMessageBox::No)) no->click();
                else box->accept();
            }
        });
        timer.start(20);
    }
};

void Settle() {
    for (int i = 0; i < 5; ++i) QApplication::processEvents();
}

TEST(Desktop, ConfirmTypeAndTheResultsFollow) {
    App();
    MessageBoxAnswerer answerer;
    DesktopProgram desktop(test::ShippedDatabasePath());
    ASSERT_TRUE(desktop.start());
    Settle();
    ASSERT_TRUE(desktop.taskDialog()->isVisible());

    desktop.taskDialog()->findChild<QPushButton*>("OK_btn")->click();
    Settle();
    MainWindow* window = desktop.mainWindow();
    ASSERT_NE(window, nullptr);
    ASSERT_TRUE(window->isVisible());
    EXPECT_FALSE(desktop.taskDialog()->isVisible());
    window->resize(1280, 800);
    Settle();

    auto* total = window->findChild<QLineEdit*>("Total_poteri");
    auto* panels = window->findChild<QLineEdit*>("Panels_poteri");
    auto* length = window->findChild<QLineEdit*>("Length_txt");
    ASSERT_TRUE(total && panels && length);
    EXPECT_EQ(total->text().toStdString(), desktop.program().main.Total_poteri.text);
    EXPECT_EQ(window->findChild<QLineEdit*>("Name_txt")->text().toStdString(),
              desktop.program().task.Task_cmb.text());
    QString before = panels->text();

    auto typeAndEnter = [](QLineEdit* field, const QString& text) {
        field->setFocus();
        field->selectAll();
        for (QChar c : text) {
            QKeyEvent key(QEvent::KeyPress, 0, Qt::NoModifier, QString(c));
            QApplication::sendEvent(field, &key);
        }
        QKeyEvent enter(QEvent::KeyPress, Qt::Key_Return, Qt::NoModifier);
        QApplication::sendEvent(field, &enter);
        Settle();
    };
    typeAndEnter(length, QStringLiteral("20"));
    EXPECT_EQ(desktop.program().main.Length_txt.text, "20");
    EXPECT_EQ(desktop.program().main.Volume_txt.text, "250");
    EXPECT_NE(panels->text(), before);
    EXPECT_EQ(panels->text().toStdString(), desktop.program().main.Panels_poteri.text);

    // Back from the help window a typed work cycle stays; back from the About box the
    // activation puts the task's cycle over it again.
    const std::string& cycle = desktop.program().main.Cycle_txt.text;
    const std::string taskCycle = cycle;
    typeAndEnter(window->findChild<QLineEdit*>("Cycle_txt"), QStringLiteral("50"));
    ASSERT_EQ(cycle, "50");
    desktop.showHelp();
    Settle();
    window->activateWindow();
    Settle();
    EXPECT_EQ(cycle, "50");
    desktop.showAbout();
    Settle();
    ASSERT_NE(desktop.aboutBox(), nullptr);
    desktop.aboutBox()->close();
    window->activateWindow();
    Settle();
    EXPECT_EQ(cycle, taskCycle);

    desktop.program().Exit();
}

}  // namespace
}  // namespace coldroom
