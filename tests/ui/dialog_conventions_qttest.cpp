// The desktop program by Qt's conventions: an Alt letter on every button and menu entry, none
// twice in one window; Escape closes the help; the task dialog's group follows the chosen task;
// the results do not move when a status message comes up; the file dialogs start at home; a
// message box is wide enough for its title; the report is previewed without a printer.
#include <gtest/gtest.h>

#include "qt_test_app.h"

#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QDir>
#include <QKeyEvent>
#include <QLabel>
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
#include "ui/main/help_window.h"
#include "ui/main/main_window.h"
#include "ui/print/print_options_dialog.h"
#include "ui/qt_desktop.h"
#include "ui/study/study_window.h"
#include "ui/task/task_dialog.h"

namespace coldroom {
namespace {

void Settle() {
    for (int i = 0; i < 5; ++i) QApplication::processEvents();
}

// "Нет" to every question that comes up (the cooling time), OK to every message.
struct Answerer {
    QTimer timer;
    Answerer() {
        QObject::connect(&timer, &QTimer::timeout, [] {
            for (QWidget* w : QApplication::topLevelWidgets())
                if (auto* box = qobject_cast<QMessageBox*>(w); box && box->isVisible())
                    box->button(QMessageBox::No) ? box->button(QMessageBox::No)->click() : box->accept();
        });
        timer.start(20);
    }
};

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
// serves twice among the window's buttons, its labels and its menu titles, nor within a menu.
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
    for (QAbstractButton* button : window->findChildren<QAbstractButton*>()) {
        if (button->window() != window) continue;
        if (qobject_cast<QPushButton*>(button)) take(used, button->text(), true);
        else if (qobject_cast<QRadioButton*>(button) || qobject_cast<QCheckBox*>(button)) take(used, button->text(), false);
    }
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

TEST(DialogConventions, AltLettersEscapeAndTheGroupOfTheChosenTask) {
    test::TestApplication();
    Answerer answerer;
    DesktopProgram desktop(test::ShippedDatabasePath());
    ASSERT_TRUE(desktop.start());
    Settle();
    TaskDialog* task = desktop.taskDialog();
    auto checkedGroup = [task] {
        for (QPushButton* b : task->findChildren<QPushButton*>())
            if (b->isCheckable() && b->isChecked()) return b->objectName();
        return QString();
    };
    // The offered tasks change from code too (a project read): the group follows them; a
    // group without tasks leaves the one whose tasks are still offered.
    desktop.program().task.GroupButton_Click({10, 11, 12, 13, 14});
    desktop.refreshAll();
    EXPECT_EQ(checkedGroup(), "btn_Milk");
    task->findChild<QPushButton*>("btn_Special")->click();  // the shipped data has no special tasks
    Settle();
    EXPECT_EQ(checkedGroup(), "btn_Milk");
    task->findChild<QPushButton*>("btn_Meat")->click();
    EXPECT_EQ(checkedGroup(), "btn_Meat");
    ExpectAltLetters(task);

    task->findChild<QPushButton*>("OK_btn")->click();
    Settle();
    MainWindow* main = desktop.mainWindow();
    ASSERT_NE(main, nullptr);
    ExpectAltLetters(main);
    // The report is in the "Файлы" menu as well, under the keys the toolbar's button had.
    QAction* print = nullptr;
    for (QAction* entry : main->findChild<QMenu*>("Config")->actions())
        if (entry->shortcut() == QKeySequence(Qt::CTRL | Qt::Key_P)) print = entry;
    ASSERT_NE(print, nullptr);
    EXPECT_EQ(print, main->findChild<QAction*>("PrintFile"));

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
    main->resize(1280, 800);
    main->statusBar()->clearMessage();
    Settle();
    auto* quit = main->findChild<QPushButton*>("Quit_btn");
    const QPoint before = quit->mapTo(main, QPoint());
    main->statusBar()->showMessage(QStringLiteral("Рабочий цикл агрегата взят из задачи"));
    Settle();
    EXPECT_EQ(quit->mapTo(main, QPoint()), before);
    desktop.program().Exit();
}

// A message box has the room of its title beside a title bar's icon and buttons, and its
// answers have Alt letters.
TEST(DialogConventions, MessageBoxesShowTheirTitleWholeAndAltLetters) {
    test::TestApplication();
    QtUserInterface ui;
    int width = 0, needed = 0;
    QStringList answers;
    QTimer::singleShot(0, [&] {
        auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
        ASSERT_NE(box, nullptr);
        QFont bold = box->font();
        bold.setBold(true);
        needed = QFontMetrics(bold).horizontalAdvance(box->windowTitle()) + 3 * 24;
        width = box->width();
        for (QAbstractButton* b : box->buttons()) answers << b->text();
        box->button(QMessageBox::Cancel)->click();
    });
    EXPECT_EQ(ui.message("Длина", kInputErrorTitle, MsgIcon::Critical, MsgButtons::YesNoCancel), MsgAnswer::Cancel);
    EXPECT_GE(width, needed);
    answers.sort();
    EXPECT_EQ(answers, (QStringList{QStringLiteral("&Да"), QStringLiteral("&Нет"), QStringLiteral("&Отмена")}));
}

// Without a printer the page is previewed as a PDF page; the paper chosen in the preview is
// the one painted on.
TEST(DialogConventions, TheReportIsPreviewedWithoutAPrinter) {
    test::TestApplication();
    if (!QPrinterInfo::availablePrinters().isEmpty()) GTEST_SKIP() << "a printer is set up here";
    QPrinter::OutputFormat format = QPrinter::NativeFormat;
    QPageSize::PageSizeId paper = QPageSize::Custom, chosen = QPageSize::Custom;
    int pages = 0;
    QTimer::singleShot(0, [&] {
        auto* preview = qobject_cast<QPrintPreviewDialog*>(QApplication::activeModalWidget());
        ASSERT_NE(preview, nullptr);
        format = preview->printer()->outputFormat();
        paper = preview->printer()->pageLayout().pageSize().id();
        auto* widget = preview->findChild<QPrintPreviewWidget*>();
        preview->printer()->setPageSize(QPageSize(QPageSize::Letter));
        widget->updatePreview();
        pages = widget->pageCount();
        chosen = preview->printer()->pageLayout().pageSize().id();
        preview->reject();
    });
    QtReportPrinter printer;
    std::string error;
    EXPECT_TRUE(printer.PrintPage(testing::GoldenInput(true), error)) << error;
    EXPECT_EQ(format, QPrinter::PdfFormat);
    EXPECT_EQ(paper, QPageSize::A4);
    EXPECT_EQ(chosen, QPageSize::Letter);
    EXPECT_EQ(pages, 1);
}

}  // namespace
}  // namespace coldroom
