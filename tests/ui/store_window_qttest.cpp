// The window «Холодильник» in the real desktop program, offscreen: opened from the main
// window's menu, a store opened, a room removed and added, a room opened in the main window
// over unsaved work, saved there and its row recomputed, the store saved and opened again, and
// its unsaved work asked about on the way out.
#include <gtest/gtest.h>

#include "qt_test_app.h"
#include "temp_dir.h"

#include <QAction>
#include <QBarCategoryAxis>
#include <QApplication>
#include <QChart>
#include <QChartView>
#include <QEventLoop>
#include <QLineEdit>
#include <QMenu>
#include <QMessageBox>
#include <QPrintPreviewDialog>
#include <QPrintPreviewWidget>
#include <QPushButton>
#include <QScreen>
#include <QTableWidget>
#include <QTextBrowser>
#include <QTimer>
#include <QValueAxis>

#include <cstdio>
#include <ctime>
#include <filesystem>
#include <unistd.h>
#include <fstream>

#include "desktop_steps.h"
#include "refdb/test_db.h"
#include "ui/main/help_window.h"
#include "ui/main/main_window.h"
#include "ui/qt_desktop.h"
#include "ui/store/store_window.h"
#include "ui/task/task_dialog.h"

namespace coldroom {
namespace {

namespace fs = std::filesystem;

using test::Answerer;
using test::Settle;

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

    // Two rooms of one title (their task's): the chart keeps a bar for each, by row.
    {
        std::ifstream one(dir.file("frozen-1.cfg"), std::ios::binary), two(dir.file("frozen-2.cfg"), std::ios::binary);
        std::vector<std::string> a, b;
        for (std::string line; std::getline(one, line);) a.push_back(line);
        for (std::string line; std::getline(two, line);) b.push_back(line);
        b[12] = a[12];
        std::ofstream out(dir.file("frozen-2.cfg"), std::ios::binary);
        for (const std::string& line : b) out << line << '\n';
    }
    ASSERT_TRUE(window->session().OpenFile(storeFile));
    window->refresh();
    QTableWidget* rooms = window->roomsTable();
    ASSERT_EQ(rooms->rowCount(), 3);
    {
        const auto axes = window->chartView()->chart()->axes(Qt::Horizontal);
        ASSERT_EQ(axes.size(), 1);
        EXPECT_EQ(static_cast<QBarCategoryAxis*>(axes[0])->count(), 3);
    }
    EXPECT_EQ(Cell(window->levelsTable(), 1, "Нагрузка на компрессоры Q0 = k · ΣQкм, Вт"), "4889");

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

// The store's example copied into a folder of the test's own; the desktop program started and
// its store window shown with the example open.
struct StoreDesk {
    bool app = (test::TestApplication(), true);  // before any timer
    test::TempDir dir;
    test::Answerer answerer;
    DesktopProgram desktop{test::ShippedDatabasePath()};
    StoreWindow* window = nullptr;
    std::string storeFile;
    StoreDesk() {
        test::TestApplication();
        for (const auto& e : fs::directory_iterator(std::string(COLDROOM_TEST_DATA) + "/stores/three_rooms"))
            if (e.is_regular_file()) fs::copy_file(e.path(), dir.path() / e.path().filename());
        storeFile = dir.file("three_rooms.coldstore");
        EXPECT_TRUE(desktop.start());
        desktop.taskDialog()->findChild<QPushButton*>("OK_btn")->click();
        test::Settle();
        desktop.mainWindow()->findChild<QAction*>("mnStore")->trigger();
        test::Settle();
        window = desktop.storeWindow();
        EXPECT_TRUE(window->session().OpenFile(storeFile));
        window->refresh();
    }
    void trigger(const char* name) {
        window->findChild<QAction*>(name)->trigger();
        test::Settle();
    }
    QLineEdit* field(const char* name) { return window->findChild<QLineEdit*>(name); }
    int asked() const { return answerer.texts.count(QStringLiteral("Сохранить изменения в холодильнике?")); }
};

// Every way out of a store first enters what is typed (a refused share is put back in sight,
// and the command stops), then asks there and then; a recent store replaces a title field that
// has the focus.
TEST(StoreWindow, EveryWayOutEntersWhatIsTypedThenAsks) {
    StoreDesk s;
    // A level's share is a field in its row, drawn anew with the table.
    auto share = [&] { return s.field("LevelShare0"); };
    test::Type(share(), QStringLiteral("50"), false);
    s.trigger("storeNew");
    EXPECT_EQ(s.asked(), 1);
    EXPECT_TRUE(s.window->session().path().empty());
    EXPECT_EQ(share()->text(), QStringLiteral("75"));

    ASSERT_TRUE(s.window->session().OpenFile(s.storeFile));
    s.window->refresh();
    test::Type(share(), QStringLiteral("150"), false);
    s.trigger("storeNew");
    EXPECT_EQ(s.asked(), 1) << "refused: no question, the store stays";
    EXPECT_EQ(s.window->session().path(), s.storeFile);
    EXPECT_EQ(share()->text(), QStringLiteral("75"));
    EXPECT_TRUE(s.answerer.texts.contains(QStringLiteral("Доля эксплуатационных теплопритоков — число от 0 до 100 %.")));

    QLineEdit* title = s.field("StoreTitle");
    const QString stored = title->text();
    QAction* recent = s.window->findChild<QMenu*>("storeRecent")->actions().first();
    s.trigger("storeNew");
    ASSERT_EQ(title->text(), QStringLiteral("Холодильник"));
    s.window->activateWindow();
    title->setFocus();
    recent->trigger();
    test::Settle();
    EXPECT_TRUE(title->hasFocus());
    EXPECT_EQ(title->text(), stored);
    test::Type(title, QStringLiteral("Другое"), false);
    recent->trigger();
    test::Settle();
    EXPECT_EQ(s.asked(), 2);
    EXPECT_EQ(title->text(), stored);

    test::Type(share(), QStringLiteral("60"), false);
    s.window->close();
    test::Settle();
    EXPECT_EQ(s.asked(), 3) << "the window's close asks, not the program's end";
    EXPECT_FALSE(s.window->isVisible());
    s.desktop.mainWindow()->findChild<QAction*>("mnQuit")->trigger();
    test::Settle();
    EXPECT_EQ(s.asked(), 3);
    EXPECT_TRUE(s.desktop.program().ended());
}

// Back from minimised by the main window's entry; Enter on a row opens its room; Tab passes
// the sums and the chart; the figures are whole watts; print goes through the preview; F1
// opens the help at the store.
TEST(StoreWindow, KeyboardFiguresPrintAndHelp) {
    StoreDesk s;
    s.window->showMinimized();
    test::Settle();
    s.desktop.mainWindow()->findChild<QAction*>("mnStore")->trigger();
    test::Settle();
    EXPECT_FALSE(s.window->isMinimized());
    const QRect screen = s.window->screen()->availableGeometry();
    EXPECT_TRUE(screen.contains(s.window->frameGeometry())) << "on a screen of " << screen.width() << "x"
                                                             << screen.height();

    QTableWidget* rooms = s.window->roomsTable();
    s.window->activateWindow();
    rooms->setFocus();
    s.window->selectRoom(1);
    test::Press(rooms, Qt::Key_Return);
    EXPECT_EQ(s.desktop.program().document.path(), s.dir.file("frozen-1.cfg"));
    EXPECT_FALSE(s.window->findChild<QAction*>("storeOpenRoom")->shortcut().isEmpty());

    s.window->activateWindow();
    s.field("StoreTitle")->setFocus();
    for (int i = 0; i < 12; ++i) {
        QWidget* focus = QApplication::focusWidget();
        ASSERT_NE(focus, nullptr);
        EXPECT_NE(focus, s.window->levelsTable());
        EXPECT_NE(focus, s.window->chartView());
        if (focus == rooms) {
            EXPECT_GE(s.window->selectedRoom(), 0);
        }
        test::Press(focus, Qt::Key_Tab);
    }

    for (int r = 0; r < rooms->rowCount(); ++r)
        EXPECT_FALSE(Cell(rooms, r, "Теплота вентиляторов").contains(u'.')) << Cell(rooms, r, "Теплота вентиляторов").toStdString();
    auto picture = [&](const char* action) {
        return s.window->findChild<QAction*>(action)->icon().pixmap(24).toImage();
    };
    EXPECT_NE(picture("storeNew"), picture("storeNewRoom"));

    int pages = 0;
    bool landscape = false;
    QTimer::singleShot(300, [&] {
        auto* preview = s.window->findChild<QPrintPreviewDialog*>("ReportPreview");
        if (!preview) return;
        auto* widget = preview->findChild<QPrintPreviewWidget*>();
        pages = widget->pageCount();
        landscape = widget->orientation() == QPageLayout::Landscape;
        preview->reject();
    });
    s.trigger("storePrint");
    EXPECT_GE(pages, 1);
    EXPECT_TRUE(landscape);

    test::Press(rooms, Qt::Key_F1);
    ASSERT_TRUE(s.desktop.helpWindow());
    EXPECT_EQ(s.desktop.helpWindow()->browser()->source().fragment(), QStringLiteral("store"));
    s.desktop.helpWindow()->close();

    // A store without rooms draws an empty chart: no axis of 1, 1, 1, 0, 0.
    s.trigger("storeNew");
    const auto axes = s.window->chartView()->chart()->axes(Qt::Vertical);
    ASSERT_EQ(axes.size(), 1);
    EXPECT_FALSE(axes.first()->labelsVisible());
    s.desktop.program().Exit();
}

const char* kRoomFiles[] = {"chilling.cfg", "frozen-1.cfg", "frozen-2.cfg"};

// The process's resident memory, KB.
long ResidentKilobytes() {
    std::ifstream statm("/proc/self/statm");
    long pages = 0, resident = 0;
    statm >> pages >> resident;
    return resident * (sysconf(_SC_PAGESIZE) / 1024);
}

#if defined(__SANITIZE_ADDRESS__)
constexpr bool kUnderSanitizer = true;
#elif defined(__has_feature)
#if __has_feature(address_sanitizer)
constexpr bool kUnderSanitizer = true;
#else
constexpr bool kUnderSanitizer = false;
#endif
#else
constexpr bool kUnderSanitizer = false;
#endif

// A store of a thousand rooms opens in the window within a second, and going back to three
// rooms gives the memory of the others back.
TEST(StoreWindow, AThousandRoomsOpenWithinASecond) {
    test::TestApplication();
    test::TempDir dir;
    const std::string example = std::string(COLDROOM_TEST_DATA) + "/stores/three_rooms/";
    std::string text = "[store]\nformat = 1\ntitle = Большой\n";
    for (int i = 0; i < 1000; ++i) {
        const std::string name = "room-" + std::to_string(i) + ".cfg";
        fs::copy_file(example + kRoomFiles[i % 3], dir.path() / name);
        text += "[room]\nfile = " + name + "\n";
    }
    std::ofstream(dir.file("big.coldstore"), std::ios::binary) << text;
    for (const char* room : kRoomFiles) fs::copy_file(example + room, dir.path() / room);
    fs::copy_file(example + "three_rooms.coldstore", dir.path() / "three.coldstore");
    Answerer answerer;
    DesktopProgram desktop(test::ShippedDatabasePath());
    ASSERT_TRUE(desktop.start());
    desktop.taskDialog()->findChild<QPushButton*>("OK_btn")->click();
    Settle();
    desktop.mainWindow()->findChild<QAction*>("mnStore")->trigger();
    Settle();
    StoreWindow* window = desktop.storeWindow();
    ASSERT_TRUE(window);
    ASSERT_TRUE(window->session().OpenFile(dir.file("three.coldstore")));
    window->refresh();
    Settle();
    const long small = ResidentKilobytes();

    // Processor time, not wall time: the budget is the program's work, not the machine's load.
    const std::clock_t start = std::clock();
    ASSERT_TRUE(window->session().OpenFile(dir.file("big.coldstore")));
    window->refresh();
    Settle();
    const double seconds = static_cast<double>(std::clock() - start) / CLOCKS_PER_SEC;
    EXPECT_EQ(window->roomsTable()->rowCount(), 1000);
    const long big = ResidentKilobytes();
    ASSERT_TRUE(window->session().OpenFile(dir.file("three.coldstore")));
    window->refresh();
    Settle();
    {
        // As the program's event loop runs on: the rows' widgets deleted, then the memory given back.
        QEventLoop loop;
        QTimer::singleShot(800, &loop, &QEventLoop::quit);
        loop.exec();
    }
    const long back = ResidentKilobytes();
    std::printf("1000 rooms: %.2f s of processor time; resident %ld → %ld → %ld KB\n", seconds, small, big, back);
    EXPECT_LT(seconds, kUnderSanitizer ? 20.0 : 1.0);
    if (!kUnderSanitizer) EXPECT_LT(back - small, (big - small) / 4) << "the thousand rooms' memory is given back";
    desktop.program().Exit();
}

}  // namespace
}  // namespace coldroom
