// «Установка и энергия» opened from the store window on the example store: the plant per level,
// the store's total as a sum of different machines, and a changed tariff recosting the year.
// With COLDROOM_PICTURE_DIR set it leaves its picture there (docs/screenshots/energy_dialog.png).
#include <gtest/gtest.h>

#include "qt_test_app.h"

#include <QAction>
#include <QApplication>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTableWidget>

#include <cstdlib>

#include "refdb/test_db.h"
#include "ui/main/main_window.h"
#include "ui/qt_desktop.h"
#include "ui/store/energy_dialog.h"
#include "ui/store/store_window.h"
#include "ui/task/task_dialog.h"

namespace coldroom {
namespace {

TEST(EnergyDialog, PlantPerLevelAndTheYearRecosted) {
    test::TestApplication();
    DesktopProgram desktop(test::ShippedDatabasePath());
    ASSERT_TRUE(desktop.start());
    desktop.taskDialog()->findChild<QPushButton*>("OK_btn")->click();
    QApplication::processEvents();
    desktop.mainWindow()->findChild<QAction*>("mnStore")->trigger();
    StoreWindow* window = desktop.storeWindow();
    ASSERT_NE(window, nullptr);
    ASSERT_TRUE(window->session().OpenFile(std::string(COLDROOM_TEST_DATA) + "/stores/three_rooms/three_rooms.coldstore"));
    window->findChild<QAction*>("storeEnergy")->trigger();
    QApplication::processEvents();
    auto* dialog = window->findChild<EnergyDialog*>();
    ASSERT_NE(dialog, nullptr);
    auto* levels = dialog->findChild<QTableWidget*>("energyLevels");
    ASSERT_EQ(levels->rowCount(), 3);
    EXPECT_EQ(levels->item(0, 0)->text(), QStringLiteral("СТ"));
    EXPECT_EQ(levels->item(2, 0)->text(), QStringLiteral("Холодильник в целом (сумма разных машин)"));
    const QString before = levels->item(2, 12)->text();
    auto* summary = dialog->findChild<QLabel*>("energySummary");
    EXPECT_TRUE(summary->text().contains(QStringLiteral("кВт·ч/(м³·год)")));
    if (const char* dir = std::getenv("COLDROOM_PICTURE_DIR")) dialog->grab().save(QString::fromUtf8(dir) + "/energy_dialog.png");

    auto* tariff = dialog->findChildren<QLineEdit*>().first();
    tariff->setText(QStringLiteral("16"));
    dialog->findChild<QPushButton*>()->click();
    EXPECT_EQ(window->session().store().plant.tariff, 16);
    EXPECT_NEAR(levels->item(2, 12)->text().toDouble(), 2 * before.toDouble(), 1) << "twice the tariff, twice the cost";
    EXPECT_TRUE(window->session().modified());
}

}  // namespace
}  // namespace coldroom
