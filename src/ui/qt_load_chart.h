// A small horizontal bar chart of the load components beside the results. It shows what it
// is given; a component that cannot be computed is drawn as missing, not as zero.
#pragma once

#include <QString>
#include <QWidget>

#include <vector>

#include "core/load_components.h"

namespace coldroom {

class LoadChart : public QWidget {
public:
    struct Bar {
        QString label;
        double watts = 0;
        bool defined = true;
    };

    explicit LoadChart(QWidget* parent = nullptr);

    void setBars(std::vector<Bar> bars);
    const std::vector<Bar>& bars() const { return bars_; }

    // The bars of the charted load components, in their order.
    void showLoads(const std::vector<ChartedLoad>& loads);

    QSize sizeHint() const override;
    QSize minimumSizeHint() const override;

    // Where the parts of a row go at the present width, in pixels from the left. The values
    // are never cut: when room is short the bars, then the captions, give way.
    struct Columns {
        int labelLeft = 0, labelWidth = 0;
        int barLeft = 0, barSpan = 0;
        int valueLeft = 0, valueWidth = 0;
    };
    Columns columns() const;
    // The text after bar `index`: its watts, and its share when shares make sense.
    QString valueText(size_t index) const;

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    std::vector<Bar> bars_;
};

}  // namespace coldroom
