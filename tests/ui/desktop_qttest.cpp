// The real desktop program on the offscreen platform: start, confirm the task, type into a
// field and see the results change. With COLDROOM_SNAPSHOT_DIR set, the windows and every
// tab are saved as PNG pictures there.
#include <gtest/gtest.h>

#include "qt_test_app.h"

#include <QApplication>
#include <QKeyEvent>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QTabWidget>
#include <QTimer>

#include "refdb/test_db.h"
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

void Snapshot(QWidget* w, const QString& name) {
    QString dir = qEnvironmentVariable("COLDROOM_SNAPSHOT_DIR");
    if (dir.isEmpty()) return;
    w->grab().save(dir + "/" + name + ".png");
}

TEST(Desktop, ConfirmTypeAndTheResultsFollow) {
    App();
    MessageBoxAnswerer answerer;
    DesktopProgram desktop(test::ShippedDatabasePath());
    ASSERT_TRUE(desktop.start());
    Settle();
    ASSERT_TRUE(desktop.taskDialog()->isVisible());
    Snapshot(desktop.taskDialog(), "task_dialog");

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

    length->setFocus();
    length->selectAll();
    for (QChar c : QStringLiteral("20")) {
        QKeyEvent key(QEvent::KeyPress, 0, Qt::NoModifier, QString(c));
        QApplication::sendEvent(length, &key);
    }
    QKeyEvent enter(QEvent::KeyPress, Qt::Key_Return, Qt::NoModifier);
    QApplication::sendEvent(length, &enter);
    Settle();
    EXPECT_EQ(desktop.program().main.Length_txt.text, "20");
    EXPECT_EQ(desktop.program().main.Volume_txt.text, "250");
    EXPECT_NE(panels->text(), before);
    EXPECT_EQ(panels->text().toStdString(), desktop.program().main.Panels_poteri.text);

    Snapshot(window, "main_1280x800");
    auto* tabs = window->findChild<QTabWidget*>("SSTab1");
    auto* surfaces = window->findChild<QTabWidget*>("SSTab2");
    if (tabs) {
        for (int i = 0; i < tabs->count(); ++i) {
            tabs->setCurrentIndex(i);
            Settle();
            Snapshot(window, QString("main_tab%1").arg(i));
        }
        tabs->setCurrentIndex(0);
    }
    if (surfaces) {
        for (int i = 0; i < surfaces->count(); ++i) {
            surfaces->setCurrentIndex(i);
            Settle();
            Snapshot(window, QString("main_surface%1").arg(i));
        }
    }
    window->resize(1024, 700);
    Settle();
    Snapshot(window, "main_1024x700");
    desktop.program().Exit();
}

}  // namespace
}  // namespace coldroom
