// The window "Исследование параметра": one input of the open project stepped over a range,
// the required capacity and the load components drawn against it beside a table of the
// values, the project's own point marked. The study runs on a copy of the project.
#pragma once

#include <QWidget>
#include <memory>
#include <vector>

#include "ui/study/study.h"

class QComboBox;
class QLineEdit;
class QTableWidget;
class QLabel;
class QChartView;

namespace coldroom {

class Program;

class StudyWindow : public QWidget {
    Q_OBJECT
public:
    StudyWindow(Program& program, QWidget* parent = nullptr);
    ~StudyWindow() override;

    // Runs the study the fields describe; false with the reason shown in the window.
    bool runStudy();
    bool saveCsv(const QString& path);
    bool savePng(const QString& path);

    QComboBox* parameterList() const { return parameter_; }
    QLineEdit* fromField() const { return from_; }
    QLineEdit* toField() const { return to_; }
    QLineEdit* stepField() const { return step_; }
    QTableWidget* table() const { return table_; }
    QChartView* chartView() const { return chart_; }
    QLabel* status() const { return status_; }
    const std::vector<StudyPoint>& points() const { return points_; }

private:
    void parameterChosen();
    void showChart(double current);
    void showTable();
    // The parameter's value in the open project (the first layer of the north wall for the
    // panels of every surface).
    bool currentValue(double& value) const;

    Program& program_;
    Study study_;
    StudyAxis axis_;
    std::vector<StudyPoint> points_;
    QComboBox* parameter_;
    QLineEdit *from_, *to_, *step_;
    QTableWidget* table_;
    QChartView* chart_;
    QLabel* status_;
};

// Opens the study window of `program` over `owner`, or raises the one already open.
StudyWindow* ShowStudyWindow(Program& program, QWidget* owner);

}  // namespace coldroom
