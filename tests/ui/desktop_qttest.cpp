// The real desktop program on the offscreen platform: start, confirm the task, type into a
// field and see the results change. By Qt's conventions: an Alt letter on every button and menu
// entry, none twice in one window; Escape closes the help; the task dialog's group follows the
// chosen task; a status message moves nothing; the file dialogs start at home; the report is
// previewed without a printer.
#include <gtest/gtest.h>

#include "qt_test_app.h"

#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QDir>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMap>
#include <QMenu>
#include <QMenuBar>
#include <QMessageBox>
#include <QPrintPreviewDialog>
#include <QPrintPreviewWidget>
#include <QPrinter>
#include <QPrinterInfo>
#include <QPushButton>
#include <QRadioButton>
#include <QStatusBar>
#include <QTextBrowser>
#include <QTimer>

#include "refdb/test_db.h"
#include "reports/report_fixture.h"
#include "ui/main/about_dialog.h"
#include "ui/main/help_window.h"
#include "ui/main/main_window.h"
#include "ui/print/print_options_dialog.h"
#include "ui/qt_desktop.h"
#include "ui/study/study_window.h"
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

// The Alt letter a text marks, or none ("&&" is an ampersand).
QChar AltLetter(const QString& text) {
    for (qsizetype i = 0; i + 1 < text.size(); ++i) {
        if (text[i] != u'&') continue;
        if (text[i + 1] != u'&') return text[i + 1].toLower();
        ++i;
    }
    return {};
}

// Every push button of `window` and every entry of its menus has an Alt letter; no letter
// serves twice among the window's buttons in sight, its labels and its menu titles, nor within a
// menu. (A letter only works while its button is in sight: the pages of a tab may share one.)
void ExpectAltLetters(QWidget* window) {
    const std::string name = window->objectName().toStdString();
    QMap<QChar, QString> used;
    auto take = [&](QMap<QChar, QString>& letters, const QString& text, bool required) {
        const QChar letter = AltLetter(text);
        if (letter.isNull()) {
            EXPECT_FALSE(required) << name << ": no Alt letter in «" << text.toStdString() << "»";
            return;
        }
        EXPECT_FALSE(letters.contains(letter)) << name << ": «" << text.toStdString() << "» and «"
                                               << letters.value(letter).toStdString() << "» share a letter";
        letters.insert(letter, text);
    };
    for (QAbstractButton* button : window->findChildren<QAbstractButton*>())
        if (button->window() == window && button->isVisibleTo(window) &&
            (qobject_cast<QPushButton*>(button) || qobject_cast<QRadioButton*>(button) ||
             qobject_cast<QCheckBox*>(button)))
            take(used, button->text(), qobject_cast<QPushButton*>(button));
    for (QLabel* label : window->findChildren<QLabel*>())
        if (label->window() == window && label->buddy()) take(used, label->text(), false);
    if (auto* bar = window->findChild<QMenuBar*>()) {
        for (QAction* title : bar->actions()) {
            take(used, title->text(), true);
            QMap<QChar, QString> entries;
            for (QAction* entry : title->menu()->actions())
                if (!entry->isSeparator()) take(entries, entry->text(), true);
        }
    }
}

TEST(Desktop, AltLettersEscapeAndTheGroupOfTheChosenTask) {
    App();
    MessageBoxAnswerer answerer;
    DesktopProgram desktop(test::ShippedDatabasePath());
    ASSERT_TRUE(desktop.start());
    Settle();
    TaskDialog* task = desktop.taskDialog();
    auto checkedGroup = [task] {
        for (QPushButton* b : task->findChildren<QPushButton*>())
            if (b->isCheckable() && b->isChecked()) return b->objectName();
        return QString();
    };
    // The group follows the tasks offered from code too (a project read); a group without tasks
    // (the shipped data has no special ones) stays pressed over its empty list.
    task->findChild<QPushButton*>("btn_Special")->click();
    Settle();
    EXPECT_EQ(checkedGroup(), "btn_Special");
    Program& program = desktop.program();
    ChooseTaskGroup(program.project(), program.session.dialog, program.data(), MilkTasks());
    program.task.Show();
    desktop.refreshAll();
    EXPECT_EQ(checkedGroup(), "btn_Milk");
    task->findChild<QPushButton*>("btn_Meat")->click();
    ExpectAltLetters(task);

    task->findChild<QPushButton*>("OK_btn")->click();
    Settle();
    MainWindow* main = desktop.mainWindow();
    ASSERT_NE(main, nullptr);
    ExpectAltLetters(main);
    // The report is in the "Файлы" menu as well, with the toolbar button's keys.
    EXPECT_TRUE(main->findChild<QMenu*>("Config")->actions().contains(main->findChild<QAction*>("PrintFile")));

    desktop.showPrintOptions();
    Settle();
    auto* options = main->findChild<PrintOptionsDialog*>();
    ASSERT_NE(options, nullptr);
    ExpectAltLetters(options);
    options->findChild<QPushButton*>("Cancel_btn")->click();
    StudyWindow* study = ShowStudyWindow(desktop.program(), main);
    ExpectAltLetters(study);
    study->close();

    desktop.showHelp();
    Settle();
    QPointer<HelpWindow> help = desktop.helpWindow();
    ASSERT_NE(help, nullptr);
    QKeyEvent escape(QEvent::KeyPress, Qt::Key_Escape, Qt::NoModifier);
    QApplication::sendEvent(help->browser(), &escape);
    Settle();
    EXPECT_TRUE(!help || !help->isVisible()) << "Escape closes the help";

    // The dialogs start at home until the person has chosen a folder, not in the program's
    // folder (the build tree).
    EXPECT_EQ(desktop.ui().initialFolder(), QDir::homePath());

    // A status message does not move the results and the ВЫХОД button.
    auto* quit = main->findChild<QPushButton*>("Quit_btn");
    const QPoint before = quit->mapTo(main, QPoint());
    main->statusBar()->showMessage(QStringLiteral("Рабочий цикл агрегата взят из задачи"));
    Settle();
    EXPECT_EQ(quit->mapTo(main, QPoint()), before);
    desktop.program().Exit();
}

// Without a printer the page is previewed as a PDF page; the paper chosen in the preview is
// the one painted on.
TEST(Desktop, TheReportIsPreviewedWithoutAPrinter) {
    App();
    if (!QPrinterInfo::availablePrinters().isEmpty()) GTEST_SKIP() << "a printer is set up here";
    std::vector<QPageSize::PageSizeId> papers;
    QTimer::singleShot(0, [&] {
        auto* preview = qobject_cast<QPrintPreviewDialog*>(QApplication::activeModalWidget());
        ASSERT_NE(preview, nullptr);
        QPrinter* shown = preview->printer();
        EXPECT_EQ(shown->outputFormat(), QPrinter::PdfFormat);
        papers.push_back(shown->pageLayout().pageSize().id());
        shown->setPageSize(QPageSize(QPageSize::Letter));
        preview->findChild<QPrintPreviewWidget*>()->updatePreview();
        EXPECT_EQ(preview->findChild<QPrintPreviewWidget*>()->pageCount(), 1);
        papers.push_back(shown->pageLayout().pageSize().id());
        preview->reject();
    });
    QtReportPrinter printer;
    std::string error;
    EXPECT_TRUE(printer.PrintPage(testing::GoldenModel(true), error)) << error;
    EXPECT_EQ(papers, (std::vector<QPageSize::PageSizeId>{QPageSize::A4, QPageSize::Letter}));
}

}  // namespace
}  // namespace coldroom
