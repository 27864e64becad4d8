// The desktop side of keeping work: Escape in the task dialog, the title's unsaved mark, the
// pending edit committed before a command, the recent projects kept in settings of the test's
// own, and the three-answer question on the way out.
#include <gtest/gtest.h>

#include "qt_test_app.h"
#include "temp_dir.h"

#include <QAction>
#include <QApplication>
#include <QKeyEvent>
#include <QLineEdit>
#include <QMenu>
#include <QMessageBox>
#include <QPushButton>
#include <QSettings>
#include <QStatusBar>
#include <QTimer>

#include <filesystem>
#include <fstream>
#include <sys/stat.h>
#include <sys/sysmacros.h>

#include "desktop_steps.h"
#include "refdb/test_db.h"
#include "ui/main/about_dialog.h"
#include "ui/main/main_window.h"
#include "ui/qt_desktop.h"
#include "ui/task/task_dialog.h"

namespace coldroom {
namespace {

using test::Answerer;
using test::Settle;
using test::Type;

TEST(WorkSafetyDesktop, EscapeTitleMarkPendingEditAndTheQuestionOnTheWayOut) {
    test::TestApplication();
    Answerer answerer(QStringLiteral("Нет"));
    DesktopProgram desktop(test::ShippedDatabasePath());
    ASSERT_TRUE(desktop.start());
    Settle();

    QKeyEvent escape(QEvent::KeyPress, Qt::Key_Escape, Qt::NoModifier);
    QApplication::sendEvent(desktop.taskDialog(), &escape);
    Settle();
    EXPECT_FALSE(desktop.program().ended());
    EXPECT_TRUE(desktop.taskDialog()->isVisible());

    desktop.taskDialog()->findChild<QPushButton*>("OK_btn")->click();
    Settle();
    MainWindow* window = desktop.mainWindow();
    ASSERT_NE(window, nullptr);
    EXPECT_TRUE(window->windowTitle().startsWith(QStringLiteral("Новый проект")));
    EXPECT_FALSE(window->isWindowModified());
    Type(window->findChild<QLineEdit*>("NofPeople_txt"), QStringLiteral("3"), true);
    EXPECT_TRUE(window->isWindowModified());

    // Typed but not committed: the command commits it first.
    Type(window->findChild<QLineEdit*>("Width_txt"), QStringLiteral("2"), false);
    ASSERT_EQ(desktop.program().main.Volume_txt.text, "125");
    window->findChild<QAction*>("mnAbout")->trigger();
    Settle();
    EXPECT_EQ(desktop.program().main.Volume_txt.text, "50");
    if (desktop.aboutBox()) desktop.aboutBox()->close();
    Settle();

    window->findChild<QAction*>("mnQuit")->trigger();
    Settle();
    EXPECT_TRUE(desktop.program().ended());
    EXPECT_TRUE(answerer.texts.contains(QStringLiteral("Сохранить изменения в проекте?")));
}

TEST(WorkSafetyDesktop, RecentProjectsComeFromTheSettingsAndAMissingOneLeavesThem) {
    test::TestApplication();
    test::TempDir dir;
    const QString ini = QString::fromStdString(dir.file("settings.ini"));
    const QString kept = QString::fromStdString(dir.file("kept.cfg"));
    const QString gone = QString::fromStdString(dir.file("gone.cfg"));
    std::ofstream(kept.toStdString()) << "";
    QSettings(ini, QSettings::IniFormat).setValue("files/recent", QStringList{gone, kept});

    Answerer answerer(QStringLiteral("OK"));
    DesktopProgram desktop(test::ShippedDatabasePath());
    desktop.useSettings(std::make_unique<QSettings>(ini, QSettings::IniFormat));
    ASSERT_TRUE(desktop.start());
    desktop.taskDialog()->findChild<QPushButton*>("OK_btn")->click();
    Settle();
    auto* recent = desktop.mainWindow()->findChild<QMenu*>("mnRecent");
    ASSERT_NE(recent, nullptr);
    ASSERT_EQ(recent->actions().size(), 2);
    EXPECT_TRUE(recent->actions().first()->text().endsWith(QStringLiteral("gone.cfg")));

    recent->actions().first()->trigger();
    Settle();
    EXPECT_EQ(desktop.recentProjects().paths(), std::vector<std::string>{kept.toStdString()});
    EXPECT_EQ(QSettings(ini, QSettings::IniFormat).value("files/recent").toStringList(), QStringList{kept});
    EXPECT_EQ(answerer.texts.size(), 1);
    desktop.program().Exit();
}

// Settings kept through a link reach the file it leads to; a link to a device or a pipe (a
// usual way to keep no settings) is neither read, which would hang the start, nor replaced;
// nor is a file far larger than any settings.
TEST(WorkSafetyDesktop, SettingsAreKeptOnlyInARegularFile) {
    namespace fs = std::filesystem;
    test::TestApplication();
    test::TempDir dir;
    ASSERT_EQ(::mkfifo(dir.file("pipe").c_str(), 0600), 0);
    struct Case { std::string target; bool kept; };
    std::ofstream(dir.file("huge.ini")) << "";
    fs::resize_file(dir.file("huge.ini"), 1u << 31);  // sparse: no settings file of ours
    std::vector<Case> cases = {{"real.ini", true}, {"pipe", false}, {"nowhere.ini", false}, {"huge.ini", false}};
    if (::mknod(dir.file("null").c_str(), S_IFCHR | 0600, makedev(1, 3)) == 0) cases.push_back({"null", false});
    for (const Case& c : cases) {
        SCOPED_TRACE(c.target);
        const std::string link = dir.file("settings.ini");
        fs::remove(link);
        fs::create_symlink(c.target, link);
        std::ofstream(dir.file("real.ini")) << "";
        const auto before = fs::status(dir.file(c.target)).type();
        DesktopProgram desktop(test::ShippedDatabasePath());
        desktop.useSettingsFile(QString::fromStdString(link));
        ASSERT_TRUE(desktop.start());
        desktop.taskDialog()->findChild<QPushButton*>("OK_btn")->click();
        Settle();
        const QString note = desktop.mainWindow()->statusBar()->currentMessage();
        EXPECT_EQ(note.startsWith(QStringLiteral("Настройки программы не сохраняются: «") + QString::fromStdString(link)),
                  !c.kept)
            << note.toStdString();
        desktop.program().Exit();
        Settle();
        EXPECT_TRUE(fs::is_symlink(link));
        EXPECT_EQ(fs::status(dir.file(c.target)).type(), before);
        EXPECT_EQ(test::ReadBytes(dir.file("real.ini")).find("mainWindow") != std::string::npos, c.kept);
    }
}

}  // namespace
}  // namespace coldroom
