// Details of the desktop program a new user meets, offscreen: «Новый проект», a refused entry
// put back in sight before the message says so, the report options and study ranges kept in
// the settings, Alt letters on every option of the tabs, the chart's figures as the fields
// write them, the study's table and picture, and F1 at the window's own help section.
#include <gtest/gtest.h>

#include <QAction>
#include <QCheckBox>
#include <QChartView>
#include <QComboBox>
#include <QPushButton>
#include <QRadioButton>
#include <QSettings>
#include <QTabWidget>
#include <QTableWidget>
#include <QTextBrowser>

#include <set>

#include "desktop_steps.h"
#include "qt_test_app.h"
#include "refdb/test_db.h"
#include "temp_dir.h"
#include "ui/main/help_window.h"
#include "ui/main/main_window.h"
#include "ui/print/print_options_dialog.h"
#include "ui/qt_desktop.h"
#include "ui/qt_load_chart.h"
#include "ui/study/study_window.h"
#include "ui/task/task_dialog.h"

namespace coldroom {
namespace {

// The desktop program past the task dialog, its settings in `ini` when given.
struct Desk {
    bool app = (test::TestApplication(), true);  // before any timer
    test::Answerer answerer;
    DesktopProgram desktop{test::ShippedDatabasePath()};
    explicit Desk(const QString& ini = {}, QString answer = QStringLiteral("Нет")) {
        test::TestApplication();
        answerer.answer = std::move(answer);
        if (!ini.isEmpty()) desktop.useSettings(std::make_unique<QSettings>(ini, QSettings::IniFormat));
        EXPECT_TRUE(desktop.start());
        confirm();
    }
    ~Desk() { desktop.program().Exit(); }
    void confirm() {
        desktop.taskDialog()->findChild<QPushButton*>("OK_btn")->click();
        test::Settle();
    }
    MainWindow* main() { return desktop.mainWindow(); }
    template <class W> W* in(QWidget* window, const char* name) { return window->findChild<W*>(QString::fromLatin1(name)); }
    void trigger(const char* name) {
        in<QAction>(main(), name)->trigger();
        test::Settle();
    }
};

TEST(DesktopDetails, NewProjectAsksThenStartsWithTheTaskDialog) {
    Desk d;
    test::Type(d.in<QLineEdit>(d.main(), "NofPeople_txt"), QStringLiteral("3"), true);
    ASSERT_TRUE(d.main()->isWindowModified());
    d.desktop.taskDialog()->hide();
    d.trigger("mnNew");
    EXPECT_TRUE(d.answerer.texts.contains(QStringLiteral("Сохранить изменения в проекте?")));
    EXPECT_TRUE(d.desktop.taskDialog()->isVisible());
    d.confirm();
    EXPECT_TRUE(d.main()->windowTitle().startsWith(QStringLiteral("Новый проект")));
    EXPECT_FALSE(d.main()->isWindowModified());
    EXPECT_EQ(d.in<QLineEdit>(d.main(), "NofPeople_txt")->text(), QStringLiteral("1"));
}

// The field shows the previous value by the time the message says it was put back.
TEST(DesktopDetails, ARefusedEntryIsPutBackInSightBeforeTheMessage) {
    Desk d(QString(), QStringLiteral("Отмена"));
    QLineEdit* length = d.in<QLineEdit>(d.main(), "Length_txt");
    QString shown;
    d.answerer.seen = [&](const QMessageBox& box) {
        if (box.text().startsWith(QStringLiteral("Непринятое значение заменено прежним"))) shown = length->text();
    };
    test::Type(length, QStringLiteral("-50"), false);
    d.trigger("mnQuit");
    EXPECT_EQ(shown, QStringLiteral("10"));
}

// The output and the note box come back from the settings; a study's range per parameter too.
TEST(DesktopDetails, ReportChoiceAndStudyRangesAreKeptInTheSettings) {
    test::TempDir dir;
    const QString ini = QString::fromStdString(dir.file("settings.ini"));
    QSettings(ini, QSettings::IniFormat).setValue("reports/output", 3);
    QSettings(ini, QSettings::IniFormat).setValue("reports/note", true);
    const QStringList range{QStringLiteral("-30"), QStringLiteral("10"), QStringLiteral("2.5")};
    {
        Desk d(ini);
        d.trigger("PrintFile");
        auto* options = d.main()->findChild<PrintOptionsDialog*>();
        ASSERT_NE(options, nullptr);
        EXPECT_TRUE(d.in<QRadioButton>(options, "Print_Pdf_opt")->isChecked());
        EXPECT_TRUE(d.in<QCheckBox>(options, "Print_Note_chk")->isChecked());
        d.in<QPushButton>(options, "Cancel_btn")->click();

        d.trigger("mnStudy");
        auto* study = d.main()->findChild<StudyWindow*>();
        const int temperature = study->parameterList()->findData(QStringLiteral("TempIn_txt"));
        study->parameterList()->setCurrentIndex(temperature);
        study->fromField()->setText(range[0]);
        study->toField()->setText(range[1]);
        study->stepField()->setText(range[2]);
        ASSERT_TRUE(study->runStudy());
        study->parameterList()->setCurrentIndex(temperature == 0 ? 1 : 0);
        study->parameterList()->setCurrentIndex(temperature);
        EXPECT_EQ((QStringList{study->fromField()->text(), study->toField()->text(), study->stepField()->text()}), range);
    }
    Desk d(ini);
    d.trigger("mnStudy");
    auto* study = d.main()->findChild<StudyWindow*>();
    study->parameterList()->setCurrentIndex(study->parameterList()->findData(QStringLiteral("TempIn_txt")));
    EXPECT_EQ((QStringList{study->fromField()->text(), study->toField()->text(), study->stepField()->text()}), range);
}

// Every option and check box of the tabs has an Alt letter, none taken twice among what is in
// sight together (a tab page with one page of the surfaces) nor by the menus and buttons.
TEST(DesktopDetails, EveryOptionOfTheTabsHasAnAltLetterOfItsOwn) {
    Desk d;
    auto letter = [](const QString& text) {
        const qsizetype at = text.indexOf(u'&');
        return at >= 0 && at + 1 < text.size() ? text.at(at + 1).toLower() : QChar();
    };
    const std::set<QChar> taken{QChar(u'ф'), QChar(u'н'), QChar(u'п'), QChar(u'в')};  // menus, ВЫХОД
    auto* tabs = d.in<QTabWidget>(d.main(), "SSTab1");
    auto* surfaces = d.in<QTabWidget>(d.main(), "SSTab2");
    for (int t = 0; t < tabs->count(); ++t) {
        std::vector<std::vector<QAbstractButton*>> sights(1);
        for (QAbstractButton* b : tabs->widget(t)->findChildren<QAbstractButton*>()) {
            if (!qobject_cast<QRadioButton*>(b) && !qobject_cast<QCheckBox*>(b)) continue;
            int page = -1;
            for (int s = 0; s < surfaces->count(); ++s)
                if (surfaces->widget(s)->isAncestorOf(b)) page = s;
            if (page < 0) sights[0].push_back(b);
            else {
                if (sights.size() <= static_cast<size_t>(page + 1)) sights.resize(page + 2);
                sights[page + 1].push_back(b);
            }
        }
        for (size_t s = 1; s < std::max<size_t>(sights.size(), 2); ++s) {
            std::set<QChar> used = taken;
            std::vector<QAbstractButton*> seen = sights[0];
            if (s < sights.size()) seen.insert(seen.end(), sights[s].begin(), sights[s].end());
            for (QAbstractButton* b : seen) {
                const QChar c = letter(b->text());
                EXPECT_FALSE(c.isNull()) << b->objectName().toStdString();
                EXPECT_TRUE(used.insert(c).second) << b->objectName().toStdString() << " " << b->text().toStdString();
            }
        }
    }
}

// The chart writes each figure as its result field does; the study's table has the capacity
// beside the parameter, and its picture is the chart alone.
TEST(DesktopDetails, ChartFiguresStudyTableAndPicture) {
    test::TempDir dir;
    Desk d;
    test::Type(d.in<QLineEdit>(d.main(), "Length_txt"), QStringLiteral("40"), true);
    const QString envelope = d.in<QLineEdit>(d.main(), "Panels_poteri")->text();
    ASSERT_GE(envelope.size(), 4);
    EXPECT_TRUE(d.main()->chart()->values().first().startsWith(envelope + QStringLiteral(" Вт")))
        << d.main()->chart()->values().first().toStdString();

    d.trigger("mnStudy");
    auto* study = d.main()->findChild<StudyWindow*>();
    study->resize(1000, 620);
    ASSERT_TRUE(study->runStudy());
    test::Settle();
    auto head = [&](int c) { return study->table()->horizontalHeaderItem(c)->toolTip(); };
    EXPECT_EQ(head(1), QStringLiteral("Требуемая холодопроизводительность"));
    EXPECT_EQ(head(2), QStringLiteral("Суммарные потери"));
    const QRect capacity(study->table()->columnViewportPosition(1), 0, study->table()->columnWidth(1), 1);
    EXPECT_TRUE(study->table()->viewport()->rect().contains(capacity))
        << "in sight without scrolling: " << capacity.right() << " of " << study->table()->viewport()->width();
    const QString file = QString::fromStdString(dir.file("chart.png"));
    ASSERT_TRUE(study->savePng(file));
    const QImage picture(file);
    EXPECT_EQ(picture.size(), StudyWindow::kPictureSize * study->devicePixelRatio());
    EXPECT_EQ(picture.pixelColor(2, 2), QColor(Qt::white)) << "the chart's sheet, not the window's background";
}

// F1 opens the help at the section of the window it is pressed in.
TEST(DesktopDetails, F1OpensTheHelpAtTheWindowsSection) {
    Desk d;
    const std::pair<QWidget*, const char*> places[] = {
        {d.in<QLineEdit>(d.main(), "Length_txt"), "main"},
        {d.desktop.taskDialog(), "task"},
    };
    for (const auto& [widget, section] : places) {
        test::Press(widget, Qt::Key_F1);
        ASSERT_TRUE(d.desktop.helpWindow()) << section;
        EXPECT_EQ(d.desktop.helpWindow()->browser()->source().fragment(), QString::fromLatin1(section));
    }
    d.desktop.helpWindow()->close();
}

}  // namespace
}  // namespace coldroom
