// The study window over the desktop program: it opens from the menu, runs on a copy and
// leaves the open project as it was, lists refused points, and saves its table and chart.
#include <gtest/gtest.h>

#include <QAction>
#include <QApplication>
#include <QChartView>
#include <QComboBox>
#include <QFile>
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
    ASSERT_TRUE(window->runStudy()) << window->status()->text().toStdString();

    ASSERT_EQ(window->points().size(), 25u);
    EXPECT_EQ(window->table()->rowCount(), 25);
    EXPECT_TRUE(window->points().front().refused);  // below -50 °C
    EXPECT_FALSE(window->points().back().refused);
    EXPECT_TRUE(window->status()->text().startsWith(QStringLiteral("Не приняты: -60")));
    EXPECT_FALSE(window->chartView()->chart()->series().isEmpty());

    EXPECT_EQ(Texts(desktop.program()), before);
    EXPECT_EQ(LoadText(desktop.program().main.results().capacity), LoadText(results.capacity));

    test::TempDir dir;
    const QString csv = QString::fromStdString((dir.path() / "study.csv").string()), png = QString::fromStdString((dir.path() / "study.png").string());
    EXPECT_TRUE(window->saveCsv(csv));
    EXPECT_TRUE(window->savePng(png));
    QFile file(png);
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    EXPECT_TRUE(file.read(8).startsWith("\x89PNG"));
    desktop.program().Exit();
}

}  // namespace
}  // namespace coldroom
