// «Установка и энергия» opened from the store window on the example store: the plant per level,
// the store's total as a sum of different machines, a changed tariff recosting the year and the
// store window marked changed, the thickness study's table and chart with the least life-cycle
// cost marked (for the store and for one room), a tooltip on every setting, and F1.
#include <gtest/gtest.h>

#include "qt_test_app.h"

#include <QAction>
#include <QApplication>
#include <QChart>
#include <QChartView>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QScatterSeries>
#include <QTableWidget>
#include <QTextBrowser>

#include "desktop_steps.h"
#include "refdb/test_db.h"
#include "ui/main/help_window.h"
#include "ui/main/main_window.h"
#include "ui/qt_desktop.h"
#include "ui/store/energy_dialog.h"
#include "ui/store/store_window.h"
#include "ui/task/task_dialog.h"

namespace coldroom {
namespace {

TEST(EnergyDialog, PlantPerLevelYearRecostedStudyTooltipsAndHelp) {
    test::TestApplication();
    DesktopProgram desktop(test::ShippedDatabasePath());
    ASSERT_TRUE(desktop.start());
    desktop.taskDialog()->findChild<QPushButton*>("OK_btn")->click();
    test::Settle();
    desktop.mainWindow()->findChild<QAction*>("mnStore")->trigger();
    StoreWindow* window = desktop.storeWindow();
    ASSERT_NE(window, nullptr);
    ASSERT_TRUE(window->session().OpenFile(std::string(COLDROOM_TEST_DATA) + "/stores/three_rooms/three_rooms.coldstore"));
    window->findChild<QAction*>("storeEnergy")->trigger();
    test::Settle();
    auto* dialog = window->findChild<EnergyDialog*>();
    ASSERT_NE(dialog, nullptr);
    QTableWidget* levels = dialog->levelsTable();
    ASSERT_EQ(levels->rowCount(), 3);
    EXPECT_EQ(levels->item(0, 0)->text(), QStringLiteral("СТ"));
    EXPECT_EQ(levels->item(2, 0)->text(), QStringLiteral("Холодильник в целом (сумма разных машин)"));
    const QString before = levels->item(2, 12)->text();
    EXPECT_TRUE(dialog->findChild<QLabel*>("energySummary")->text().contains(QStringLiteral("кВт·ч/(м³·год)")));

    test::Type(dialog->findChild<QLineEdit*>("plant_tariff"), QStringLiteral("16"), true);
    EXPECT_EQ(window->session().store().plant.tariff, 16);
    EXPECT_NEAR(levels->item(2, 12)->text().toDouble(), 2 * before.toDouble(), 1) << "twice the tariff, twice the cost";
    EXPECT_TRUE(window->isWindowModified());

    // 50 to 250 mm by 25: nine points, the least life-cycle cost marked in the table and the chart.
    const InsulationStudy& study = dialog->study();
    ASSERT_EQ(dialog->studyTable()->rowCount(), 9);
    ASSERT_GE(study.best, 0);
    EXPECT_EQ(dialog->studyTable()->item(study.best, 7)->text(), QStringLiteral("минимум LCC"));
    for (const ThicknessPoint& p : study.points) EXPECT_GE(p.lifeCycleCost, study.points[static_cast<size_t>(study.best)].lifeCycleCost);
    bool marked = false;
    for (QAbstractSeries* series : dialog->studyChart()->chart()->series())
        if (auto* point = qobject_cast<QScatterSeries*>(series))
            marked = point->count() == 1 && point->at(0).x() == study.points[static_cast<size_t>(study.best)].mm;
    EXPECT_TRUE(marked);
    auto* room = dialog->findChild<QComboBox*>("studyRoom");
    room->setCurrentIndex(1);
    emit room->activated(1);
    EXPECT_EQ(dialog->study().subject, "chilling.cfg");

    // Every setting and its caption say what it is and where its default comes from.
    for (QWidget* field : dialog->findChildren<QWidget*>()) {
        if (qobject_cast<QLineEdit*>(field) || qobject_cast<QComboBox*>(field)) {
            EXPECT_FALSE(field->toolTip().isEmpty()) << field->objectName().toStdString();
        }
    }

    test::Press(dialog->findChild<QLineEdit*>("plant_tariff"), Qt::Key_F1);
    ASSERT_TRUE(desktop.helpWindow());
    EXPECT_EQ(desktop.helpWindow()->browser()->source().fragment(), QStringLiteral("energy"));
    desktop.program().Exit();
}

}  // namespace
}  // namespace coldroom
