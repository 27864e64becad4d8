// A small horizontal bar chart of the load components beside the results. It shows what it
// is given; a component that cannot be computed is drawn as missing, not as zero.
#pragma once

#include <QString>
#include <QWidget>

#include <vector>

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

    // A result text as watts: a number, or missing ("—", empty, anything else).
    static bool ReadWatts(const QString& text, double& watts);

    QSize sizeHint() const override;
    QSize minimumSizeHint() const override;

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    std::vector<Bar> bars_;
};

}  // namespace coldroom
