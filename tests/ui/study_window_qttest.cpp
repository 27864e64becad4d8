// The study window over the desktop program: it opens from the menu, runs on a copy and
// leaves the open project as it was, lists refused points, draws a readable chart, and saves
// its table and chart.
#include <gtest/gtest.h>

#include <QAction>
#include <QApplication>
#include <QChartView>
#include <QComboBox>
#include <QFile>
#include <QKeyEvent>
#include <QLineSeries>
#include <QSet>
#include <QValueAxis>
#include <cmath>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTableWidget>

#include "qt_test_app.h"
#include "refdb/test_db.h"
#include "temp_dir.h"
#include "ui/main/main_window.h"
#include "ui/task/task_dialog.h"
#include "ui/qt_desktop.h"
#include "ui/study/study_window.h"

namespace coldroom {
namespace {

std::map<std::string, std::string> Texts(Program& p) {
    std::map<std::string, std::string> out;
    for (auto* registry : {&p.main.controls(), &p.task.controls()})
        for (const auto& [name, ref] : registry->all())
            if (auto* t = std::get_if<TextBox*>(&ref)) out[name] = (*t)->text;
    return out;
}

TEST(StudyWindow, RunsOnACopyListsRefusedPointsAndSaves) {
    test::TestApplication();
    DesktopProgram desktop(test::ShippedDatabasePath());
    ASSERT_TRUE(desktop.start());
    desktop.taskDialog()->findChild<QPushButton*>("OK_btn")->click();
    QApplication::processEvents();
    MainWindow* main = desktop.mainWindow();
    ASSERT_NE(main, nullptr);
    const auto before = Texts(desktop.program());
    const LoadBreakdown results = desktop.program().main.results();

    main->findChild<QAction*>("mnStudy")->trigger();
    auto* window = main->findChild<StudyWindow*>("StudyWindow");
    ASSERT_NE(window, nullptr);
    window->parameterList()->setCurrentIndex(window->parameterList()->findData(QStringLiteral("TempIn_txt")));
    window->fromField()->setText(QStringLiteral("-60"));
    window->toField()->setText(QStringLiteral("0"));
    window->stepField()->setText(QStringLiteral("2,5"));
    // Enter in a field presses «Рассчитать».
    window->activateWindow();
    window->stepField()->setFocus();
    QKeyEvent enter(QEvent::KeyPress, Qt::Key_Return, Qt::NoModifier);
    QApplication::sendEvent(window->stepField(), &enter);

    ASSERT_EQ(window->points().size(), 25u);
    EXPECT_EQ(window->table()->rowCount(), 25);
    EXPECT_TRUE(window->points().front().refused);  // below -50 °C
    EXPECT_FALSE(window->points().back().refused);
    EXPECT_TRUE(window->status()->text().startsWith(QStringLiteral("Не приняты: -60")));
    // One colour per line, ticks at round values, and a line the person unticks is not drawn.
    auto lines = [window] {
        QStringList names;
        QSet<QRgb> colours;
        for (QAbstractSeries* series : window->chartView()->chart()->series())
            if (auto* line = qobject_cast<QLineSeries*>(series); line && series->type() == QAbstractSeries::SeriesTypeLine) {
                names << line->name();
                colours.insert(line->color().rgb());
            }
        EXPECT_EQ(colours.size(), names.size());
        return names;
    };
    EXPECT_EQ(lines().size(), static_cast<qsizetype>(StudyWindow::drawnLoads().size()));
    for (QAbstractAxis* axis : window->chartView()->chart()->axes()) {
        const double step = qobject_cast<QValueAxis*>(axis)->tickInterval();
        const double mantissa = step / std::pow(10, std::floor(std::log10(step)));
        EXPECT_TRUE(mantissa == 1 || mantissa == 2 || mantissa == 2.5 || mantissa == 5) << step;
    }
    window->showLine(LoadId::Capacity, false);
    EXPECT_FALSE(lines().contains(QStringLiteral("Требуемая холодопроизводительность")));
    EXPECT_EQ(lines().size(), static_cast<qsizetype>(StudyWindow::drawnLoads().size()) - 1);

    EXPECT_EQ(Texts(desktop.program()), before);
    EXPECT_EQ(LoadText(desktop.program().main.results().capacity), LoadText(results.capacity));

    // Names given without an extension get the format's.
    test::TempDir dir;
    const QString csv = QString::fromStdString((dir.path() / "study").string()), png = QString::fromStdString((dir.path() / "chart").string());
    EXPECT_TRUE(window->saveCsv(csv));
    EXPECT_TRUE(window->savePng(png));
    EXPECT_TRUE(QFile::exists(csv + ".csv"));
    QFile file(png + ".png");
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    EXPECT_TRUE(file.read(8).startsWith("\x89PNG"));
    desktop.program().Exit();
}

}  // namespace
}  // namespace coldroom
