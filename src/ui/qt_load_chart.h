// A small horizontal bar chart of the load components beside the results: their names, their
// bars on Qt Charts, and their watts and shares. It shows what it is given; a component that
// cannot be computed has no bar and a dash for its value, never a zero.
#pragma once

#include <QColor>
#include <QString>
#include <QStringList>
#include <QWidget>

#include <vector>

#include "core/load_components.h"

class QChartView;
class QGridLayout;
class QHorizontalStackedBarSeries;
class QLabel;
class QLineSeries;
class QValueAxis;

namespace coldroom {

// The colour of a load component wherever it is drawn: its bar here and its line in a study.
QColor LoadColour(LoadId id);

class LoadChart : public QWidget {
public:
    struct Bar {
        QString label;
        double watts = 0;
        bool defined = true;
        QColor colour = {};  // none: the next of a few distinct colours
    };

    explicit LoadChart(QWidget* parent = nullptr);

    void setBars(std::vector<Bar> bars);
    const std::vector<Bar>& bars() const { return bars_; }

    // The bars of the charted load components, in their order.
    void showLoads(const std::vector<ChartedLoad>& loads);

    // The text after bar `index`: its watts, and its share when shares make sense.
    QString valueText(size_t index) const;
    // What the rows show, top to bottom: the names and the values.
    QStringList names() const;
    QStringList values() const;
    QChartView* view() const { return view_; }

private:
    void rebuild();
    void showValues();

    std::vector<Bar> bars_;
    QGridLayout* grid_;
    QChartView* view_;
    std::vector<QLabel*> names_, values_;
    QHorizontalStackedBarSeries* series_ = nullptr;
    QLineSeries* zero_ = nullptr;
    QValueAxis* watts_ = nullptr;
};

}  // namespace coldroom
