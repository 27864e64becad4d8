// The window "Исследование параметра": one input of the open project stepped over a range,
// the required capacity and the load components drawn against it beside a table of the
// values, the project's own point marked. The study runs on a copy of the project. A dialog
// by Qt's conventions: Enter presses «Рассчитать» (or the button that has the focus), Escape
// closes it.
#pragma once

#include <QDialog>
#include <QSize>
#include <QStringList>
#include <map>
#include <memory>
#include <set>
#include <vector>

#include "core/load_components.h"
#include "ui/study/study.h"

class QComboBox;
class QSettings;
class QLineEdit;
class QTableWidget;
class QLabel;
class QChart;
class QChartView;
class QPushButton;

namespace coldroom {

class Program;

class StudyWindow : public QDialog {
    Q_OBJECT
public:
    // `settings`, when given, keeps the range studied last for each parameter between runs.
    StudyWindow(Program& program, QWidget* parent = nullptr, QSettings* settings = nullptr);
    ~StudyWindow() override;

    // Runs the study the fields describe; false with the reason shown in the window.
    bool runStudy();
    // Save the table (CSV) and the chart alone with its legend (PNG); a name without an
    // extension gets the format's. False with the reason shown in the window.
    bool saveCsv(const QString& path);
    bool savePng(const QString& path);

    // The lines drawn, in their order, and whether each is shown; hiding lines scales the
    // chart to the rest.
    static std::vector<LoadId> drawnLoads();
    // The size of the picture «Сохранить график…» writes.
    static constexpr QSize kPictureSize{1000, 640};
    void showLine(LoadId id, bool shown);

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
    void showChart();
    // The chart of the points studied, its x ticks as many as `width` pixels take.
    QChart* buildChart(int width) const;
    void showTable();
    // The parameter's value in the open project (the first layer of the north wall for the
    // panels of every surface).
    bool currentValue(double& value) const;
    // The range studied last for the chosen parameter, kept in this run and in the settings.
    void keepRange();

    Program& program_;
    Study study_;
    StudyAxis axis_;
    std::vector<StudyPoint> points_;
    double current_ = 0;
    std::set<LoadId> hidden_;
    bool markShown_ = true;
    QComboBox* parameter_;
    QLineEdit *from_, *to_, *step_;
    QTableWidget* table_;
    QChartView* chart_;
    QWidget* chartPanel_;
    QLabel* status_;
    QSettings* settings_;
    std::map<QString, QStringList> ranges_;  // parameter → from, to, step
};

// Opens the study window of `program` over `owner`, or raises the one already open.
StudyWindow* ShowStudyWindow(Program& program, QWidget* owner, QSettings* settings = nullptr);

// A step of 1, 2, 2.5 or 5 times a power of ten that cuts `span` into at most `parts`
// parts: the ticks of a chart's axis at round values.
double RoundTickStep(double span, int parts);

}  // namespace coldroom
