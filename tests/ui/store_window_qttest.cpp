// The window «Холодильник» in the real desktop program, offscreen: opened from the main
// window's menu, a store opened, a room removed and added, a room opened in the main window
// over unsaved work, saved there and its row recomputed, the store saved and opened again, and
// its unsaved work asked about on the way out.
#include <gtest/gtest.h>

#include "qt_test_app.h"
#include "temp_dir.h"

#include <QAction>
#include <QApplication>
#include <QMessageBox>
#include <QPushButton>
#include <QTableWidget>
#include <QTimer>

#include <filesystem>

#include "refdb/test_db.h"
#include "ui/main/main_window.h"
#include "ui/qt_desktop.h"
#include "ui/store/store_window.h"
#include "ui/task/task_dialog.h"

namespace coldroom {
namespace {

namespace fs = std::filesystem;

void Settle() {
    for (int i = 0; i < 5; ++i) QApplication::processEvents();
}

// Answers "Нет" to every question and keeps the texts asked.
struct Answerer {
    QStringList texts;
    QTimer timer;
    Answerer() {
        QObject::connect(&timer, &QTimer::timeout, [this] {
            for (QWidget* w : QApplication::topLevelWidgets()) {
                auto* box = qobject_cast<QMessageBox*>(w);
                if (!box || !box->isVisible()) continue;
                texts << box->text();
                QAbstractButton* no = nullptr;
                for (QAbstractButton* b : box->buttons())
                    if (QString(b->text()).remove(QLatin1Char('&')) == QStringLiteral("Нет")) no = b;
                no ? no->click() : box->buttons().first()->click();
            }
        });
        timer.start(20);
    }
};

QString Cell(QTableWidget* table, int row, const QString& head) {
    for (int c = 0; c < table->columnCount(); ++c)
        if (table->horizontalHeaderItem(c)->text().remove(QLatin1Char('\n')).remove(QLatin1Char(' ')) ==
            QString(head).remove(QLatin1Char(' ')))
            return table->item(row, c) ? table->item(row, c)->text() : QString();
    return QStringLiteral("no column ") + head;
}

TEST(StoreWindow, RoomsOpenSaveRecomputeAndTheQuestionOnTheWayOut) {
    test::TestApplication();
    test::TempDir dir;
    for (const auto& e : fs::directory_iterator(std::string(COLDROOM_TEST_DATA) + "/stores/three_rooms"))
        if (e.is_regular_file()) fs::copy_file(e.path(), dir.path() / e.path().filename());
    const std::string storeFile = dir.file("three_rooms.coldstore");
    Answerer answerer;
    DesktopProgram desktop(test::ShippedDatabasePath());
    ASSERT_TRUE(desktop.start());
    desktop.taskDialog()->findChild<QPushButton*>("OK_btn")->click();
    Settle();
    MainWindow* main = desktop.mainWindow();
    ASSERT_NE(main, nullptr);
    main->findChild<QAction*>("mnStore")->trigger();
    Settle();
    StoreWindow* window = desktop.storeWindow();
    ASSERT_TRUE(window && window->isVisible());

    ASSERT_TRUE(window->session().OpenFile(storeFile));
    window->refresh();
    QTableWidget* rooms = window->roomsTable();
    ASSERT_EQ(rooms->rowCount(), 3);
    EXPECT_EQ(Cell(window->levelsTable(), 1, "Нагрузка на компрессоры, Вт"), "4592");

    window->selectRoom(2);
    window->findChild<QAction*>("storeRemoveRoom")->trigger();
    EXPECT_EQ(rooms->rowCount(), 2);
    EXPECT_TRUE(window->isWindowModified());
    EXPECT_TRUE(fs::exists(dir.path() / "frozen-2.cfg"));  // the file stays
    ASSERT_TRUE(window->session().AddRoom(dir.file("frozen-2.cfg")));
    window->refresh();
    EXPECT_EQ(rooms->rowCount(), 3);

    // The open project has unsaved work: opening a room asks first ("Нет": it is dropped).
    desktop.program().main.NofPeople_txt.text = "3";
    desktop.program().main.NofPeople_txt.onEnter();
    ASSERT_TRUE(desktop.program().document.modified());
    window->selectRoom(0);
    window->findChild<QAction*>("storeOpenRoom")->trigger();
    Settle();
    EXPECT_TRUE(answerer.texts.contains(QStringLiteral("Сохранить изменения в проекте?")));
    EXPECT_EQ(desktop.program().document.path(), dir.file("chilling.cfg"));

    // Saved in the main window, the room's row follows.
    EXPECT_EQ(Cell(rooms, 0, "Требуемая холодопроизводительность"), "3823");
    desktop.program().main.Length_txt.text = "20";
    desktop.program().main.Length_txt.onEnter();
    main->findChild<QAction*>("mnSave")->trigger();
    Settle();
    const QString capacity = QString::fromStdString(desktop.program().main.Capacity_need.text);
    EXPECT_NE(capacity, "3823");
    EXPECT_EQ(Cell(rooms, 0, "Требуемая холодопроизводительность"), capacity);

    // Saved and opened again: the same rooms.
    window->findChild<QAction*>("storeSave")->trigger();
    EXPECT_FALSE(window->isWindowModified());
    ASSERT_TRUE(window->session().OpenFile(storeFile));
    window->refresh();
    ASSERT_EQ(rooms->rowCount(), 3);
    EXPECT_EQ(Cell(rooms, 2, "Файл"), "frozen-2.cfg");

    // Unsaved store work is asked about when the program ends.
    window->session().SetTitle("Другой");
    main->findChild<QAction*>("mnQuit")->trigger();
    Settle();
    EXPECT_TRUE(answerer.texts.contains(QStringLiteral("Сохранить изменения в холодильнике?")));
    EXPECT_TRUE(desktop.program().ended());
}

}  // namespace
}  // namespace coldroom
