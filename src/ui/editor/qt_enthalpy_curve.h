// A small picture of a product's temperature-enthalpy table: enthalpy over temperature as a
// polyline through the points, the point shown in the point editor marked. A wrong point
// (a typing slip in one enthalpy) stands out at once in the curve's shape.
#pragma once

#include <QWidget>

#include <vector>

namespace coldroom {

class EnthalpyCurve : public QWidget {
public:
    explicit EnthalpyCurve(QWidget* parent = nullptr);

    // Pairs up the two lists as far as both go; `marked` is the point to mark (-1: none).
    // Repaints only when something changed.
    void setPoints(const std::vector<double>& temperatures, const std::vector<double>& enthalpies, int marked);
    int pointCount() const { return static_cast<int>(points_.size()); }

    QSize sizeHint() const override { return {260, 190}; }
    QSize minimumSizeHint() const override { return {180, 130}; }

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    std::vector<QPointF> points_;  // (temperature, enthalpy)
    int marked_ = -1;
};

}  // namespace coldroom
