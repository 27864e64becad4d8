// «Установка и энергия»: the store's plant per level and its annual energy (the monthly bars,
// the levels, the rooms, the year's figures), the panel-thickness study for one room or the
// store (a table and a chart, the least life-cycle cost marked), and every setting they are
// computed with, each with its source in a tooltip. F1 opens the help at its section.
#pragma once

#include <QDialog>
#include <functional>
#include <string>
#include <utility>
#include <vector>

#include "model/energy_insulation.h"
#include "reports/store_report.h"

class QComboBox;
class QLabel;
class QLineEdit;
class QTableWidget;
class QChartView;

namespace coldroom {

class StoreSession;
struct PlantNumber;

class EnergyDialog : public QDialog {
    Q_OBJECT
public:
    EnergyDialog(StoreSession& session, QWidget* parent = nullptr);
    // Computes and shows everything again from the session's store.
    void refresh();
    // Runs after the person changed a setting: the store window shows the store anew, this
    // window with it.
    std::function<void()> onChanged;

    QTableWidget* levelsTable() const { return levels_; }
    QTableWidget* studyTable() const { return studyTable_; }
    QChartView* studyChart() const { return studyChart_; }
    const InsulationStudy& study() const { return study_; }

private:
    QWidget* settingsPanel();
    QWidget* energyPage();
    QWidget* studyPage();
    // Every field typed and not yet entered is entered; false when one was refused.
    bool apply();
    void changed();
    void showMonths(const std::array<double, 12>& total, const std::vector<std::pair<std::string, std::array<double, 12>>>& levels);
    void showStudy();

    StoreSession& session_;
    std::vector<std::pair<const PlantNumber*, QLineEdit*>> numbers_;
    std::vector<QComboBox*> choices_;
    QLineEdit *profile_ = nullptr, *polynomial_ = nullptr;
    QTableWidget *levels_ = nullptr, *rooms_ = nullptr, *studyTable_ = nullptr;
    QChartView *chart_ = nullptr, *studyChart_ = nullptr;
    QLabel *summary_ = nullptr, *studyNotes_ = nullptr;
    QComboBox* studyRoom_ = nullptr;
    QLineEdit *from_ = nullptr, *to_ = nullptr, *step_ = nullptr;
    InsulationStudy study_;
    bool refreshing_ = false;
};

// Fills a table with a sheet's columns and rows, figures set right, nothing editable.
void FillSheetTable(QTableWidget* table, const std::vector<StoreColumn>& columns,
                    const std::vector<std::vector<std::string>>& rows);

}  // namespace coldroom
