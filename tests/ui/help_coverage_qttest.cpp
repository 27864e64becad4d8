// The help page names everything a person meets: every command of the menus and every window
// of the running desktop program, and every option `coldroom-calc --help` lists. Each miss is
// named on its own line.
#include <gtest/gtest.h>

#include <QAction>
#include <QFile>
#include <QMenu>
#include <QMenuBar>
#include <QMessageBox>
#include <QProcess>
#include <QPushButton>
#include <QRegularExpression>

#include "desktop_steps.h"
#include "qt_test_app.h"
#include "refdb/test_db.h"
#include "ui/main/main_window.h"
#include "ui/qt_desktop.h"
#include "ui/store/store_window.h"
#include "ui/task/task_dialog.h"

namespace coldroom {
namespace {

QString PageText() {
    QFile file(QStringLiteral(COLDROOM_TEST_DATA "/../../help/coldroom-help.html"));
    EXPECT_TRUE(file.open(QIODevice::ReadOnly));
    return QString::fromUtf8(file.readAll());
}

// A caption as the page quotes it: no Alt letter, no "…".
QString Plain(QString text) {
    text.remove(u'&');
    while (text.endsWith(u'…') || text.endsWith(u'.')) text.chop(1);
    return text.trimmed();
}

// The command captions of a menu bar, its menus' titles included; lists the program fills
// with files are left out.
void Commands(QMenu* menu, QStringList& out) {
    out << Plain(menu->title());
    for (QAction* a : menu->actions()) {
        if (a->isSeparator()) continue;
        if (QMenu* sub = a->menu()) {
            out << Plain(sub->title());  // the recent files: their entries change
            continue;
        }
        out << Plain(a->text());
    }
}

TEST(HelpPage, NamesEveryMenuCommandWindowAndOption) {
    test::TestApplication();
    const QString page = PageText();
    test::Answerer answerer(QStringLiteral("OK"));
    DesktopProgram desktop(test::ShippedDatabasePath());
    ASSERT_TRUE(desktop.start());
    QStringList windows{desktop.taskDialog()->windowTitle().trimmed()};
    desktop.taskDialog()->findChild<QPushButton*>("OK_btn")->click();
    test::Settle();
    MainWindow* main = desktop.mainWindow();
    for (const char* action : {"mnStore", "mnStudy", "PrintFile", "tlbParameter", "mnAbout", "mnContent"}) {
        main->findChild<QAction*>(action)->trigger();
        test::Settle();
    }
    desktop.storeWindow()->findChild<QAction*>("storeEnergy")->trigger();
    test::Settle();
    for (QWidget* w : QApplication::topLevelWidgets()) {
        if (!w->isVisible() || qobject_cast<QMessageBox*>(w) || w->windowTitle().isEmpty()) continue;
        QString title = w->windowTitle();
        // "file[*] — Холодильник": the window's own name after the document's.
        if (title.contains(QStringLiteral("[*]"))) title = title.section(QStringLiteral(" — "), -1);
        windows << title.trimmed();
    }
    EXPECT_GE(windows.size(), 9) << windows.join(u'|').toStdString();

    QStringList commands;
    for (QMainWindow* w : {static_cast<QMainWindow*>(main), static_cast<QMainWindow*>(desktop.storeWindow())})
        for (QAction* a : w->menuBar()->actions()) Commands(a->menu(), commands);

    QProcess calc;
    calc.start(QStringLiteral(COLDROOM_BIN_DIR "/coldroom-calc"), {QStringLiteral("--help")});
    ASSERT_TRUE(calc.waitForFinished(20000));
    const QString usage = QString::fromUtf8(calc.readAllStandardOutput() + calc.readAllStandardError());
    QStringList options;
    static const QRegularExpression option(QStringLiteral("(?<![\\w-])(--?[a-z][a-z-]*)"));
    for (auto it = option.globalMatch(usage); it.hasNext();) options << it.next().captured(1);
    options.removeDuplicates();
    ASSERT_GE(options.size(), 10) << usage.toStdString();

    for (const QString& name : windows)
        if (!page.contains(u'«' + name) && !page.contains(name)) ADD_FAILURE() << "window not named: " << name.toStdString();
    for (const QString& name : commands)
        if (!page.contains(u'«' + name)) ADD_FAILURE() << "menu command not named: «" << name.toStdString() << "»";
    for (const QString& name : options)
        if (!page.contains(QRegularExpression(QStringLiteral("(?<![\\w-])") + QRegularExpression::escape(name) +
                                              QStringLiteral("(?![\\w-])"))))
            ADD_FAILURE() << "command-line option not named: " << name.toStdString();
    desktop.program().Exit();
}

}  // namespace
}  // namespace coldroom
