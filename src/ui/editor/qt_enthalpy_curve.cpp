#include "ui/editor/qt_enthalpy_curve.h"

#include <QPainter>
#include <QPainterPath>

#include <algorithm>
#include <cmath>

namespace coldroom {

namespace {

QString Number(double v) { return QString::number(v, 'g', 4); }

}  // namespace

EnthalpyCurve::EnthalpyCurve(QWidget* parent) : QWidget(parent) {
    setAttribute(Qt::WA_OpaquePaintEvent);
    setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Expanding);
}

void EnthalpyCurve::setPoints(const std::vector<double>& temperatures, const std::vector<double>& enthalpies,
                              int marked) {
    std::vector<QPointF> points;
    const size_t n = std::min(temperatures.size(), enthalpies.size());
    for (size_t i = 0; i < n; ++i)
        if (std::isfinite(temperatures[i]) && std::isfinite(enthalpies[i]))
            points.emplace_back(temperatures[i], enthalpies[i]);
    if (points == points_ && marked == marked_) return;
    points_ = std::move(points);
    marked_ = marked;
    update();
}

void EnthalpyCurve::paintEvent(QPaintEvent*) {
    QPainter p(this);
    p.fillRect(rect(), palette().color(QPalette::Base));
    p.setRenderHint(QPainter::Antialiasing);
    const QFontMetrics fm = p.fontMetrics();
    const QColor axis = palette().color(QPalette::Dark);
    const QColor text = palette().color(QPalette::Text);

    // Room for the scale texts at the left and at the bottom.
    const QRectF plot = QRectF(rect()).adjusted(fm.horizontalAdvance(QStringLiteral("0000")) + 8, 8, -10,
                                                -(fm.height() + 6));
    p.setPen(axis);
    p.drawLine(plot.bottomLeft(), plot.topLeft());
    p.drawLine(plot.bottomLeft(), plot.bottomRight());
    if (points_.size() < 2 || plot.width() < 20 || plot.height() < 20) {
        p.setPen(text);
        p.drawText(plot, Qt::AlignCenter, QStringLiteral("нет таблицы"));
        return;
    }

    double t0 = points_[0].x(), t1 = t0, e0 = points_[0].y(), e1 = e0;
    for (const QPointF& pt : points_) {
        t0 = std::min(t0, pt.x());
        t1 = std::max(t1, pt.x());
        e0 = std::min(e0, pt.y());
        e1 = std::max(e1, pt.y());
    }
    if (t1 - t0 < 1e-9) t1 = t0 + 1;
    if (e1 - e0 < 1e-9) e1 = e0 + 1;
    auto at = [&](const QPointF& pt) {
        return QPointF(plot.left() + (pt.x() - t0) / (t1 - t0) * plot.width(),
                       plot.bottom() - (pt.y() - e0) / (e1 - e0) * plot.height());
    };

    // The scale: the extremes of both axes and the zero of temperature, where freezing sits.
    p.setPen(text);
    const double labelWidth = plot.left() - 4;
    p.drawText(QRectF(0, plot.top() - fm.height() / 2.0, labelWidth, fm.height()), Qt::AlignRight, Number(e1));
    p.drawText(QRectF(0, plot.bottom() - fm.height() / 2.0, labelWidth, fm.height()), Qt::AlignRight, Number(e0));
    const double below = plot.bottom() + 3;
    p.drawText(QRectF(plot.left() - 30, below, 60, fm.height()), Qt::AlignHCenter, Number(t0));
    p.drawText(QRectF(plot.right() - 40, below, 50, fm.height()), Qt::AlignRight, Number(t1));
    if (t0 < 0 && t1 > 0) {
        const double x = at({0, e0}).x();
        p.setPen(QPen(axis, 1, Qt::DotLine));
        p.drawLine(QPointF(x, plot.top()), QPointF(x, plot.bottom()));
        p.setPen(text);
        p.drawText(QRectF(x - 20, below, 40, fm.height()), Qt::AlignHCenter, QStringLiteral("0"));
    }

    QPainterPath path(at(points_[0]));
    for (size_t i = 1; i < points_.size(); ++i) path.lineTo(at(points_[i]));
    p.setPen(QPen(palette().color(QPalette::Highlight), 1.6));
    p.drawPath(path);
    p.setBrush(palette().color(QPalette::Highlight));
    for (const QPointF& pt : points_) p.drawEllipse(at(pt), 1.8, 1.8);
    if (marked_ >= 0 && marked_ < static_cast<int>(points_.size())) {
        p.setPen(QPen(QColor(200, 40, 40), 1.6));
        p.setBrush(Qt::NoBrush);
        p.drawEllipse(at(points_[static_cast<size_t>(marked_)]), 4.5, 4.5);
    }
}

}  // namespace coldroom
