#include "ui/qt_load_chart.h"

#include <QPainter>
#include <QPainterPath>

#include <algorithm>
#include <cmath>

namespace coldroom {

namespace {

const QColor kBarColours[] = {QColor(70, 110, 170), QColor(200, 120, 60), QColor(150, 150, 90),
                              QColor(90, 150, 110), QColor(140, 100, 160)};
constexpr int kRowHeight = 26;
constexpr int kBarHeight = 14;

QString wattsText(double w) {
    // Thin-space groups make five- and six-figure loads readable at a glance.
    QString digits = QString::number(std::llround(std::fabs(w)));
    for (qsizetype i = digits.size() - 3; i > 0; i -= 3) digits.insert(i, QChar(0x2009));
    return (w < 0 && std::llround(w) != 0 ? QStringLiteral("−") : QString()) + digits +
           QStringLiteral(" Вт");
}

}  // namespace

LoadChart::LoadChart(QWidget* parent) : QWidget(parent) {
    setObjectName(QStringLiteral("LoadChart"));
    setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Preferred);
}

void LoadChart::setBars(std::vector<Bar> bars) {
    const bool same = bars.size() == bars_.size() &&
                      std::equal(bars.begin(), bars.end(), bars_.begin(), [](const Bar& a, const Bar& b) {
                          return a.label == b.label && a.defined == b.defined && a.watts == b.watts;
                      });
    if (same) return;
    bars_ = std::move(bars);
    update();
}

void LoadChart::showLoads(const std::vector<ChartedLoad>& loads) {
    std::vector<Bar> bars;
    bars.reserve(loads.size());
    for (const ChartedLoad& l : loads) bars.push_back({QString::fromUtf8(l.label), l.value.watts, l.value.defined});
    setBars(std::move(bars));
}

QSize LoadChart::sizeHint() const {
    return {300, 16 + kRowHeight * static_cast<int>(std::max<size_t>(bars_.size(), 5))};
}

QSize LoadChart::minimumSizeHint() const { return {220, sizeHint().height()}; }

namespace {

// Shares mean something only when every component is known and none is below zero.
bool showShares(const std::vector<LoadChart::Bar>& bars, double& total) {
    total = 0;
    bool shares = true;
    for (const LoadChart::Bar& b : bars) {
        shares = shares && b.defined && b.watts >= 0;
        if (b.defined) total += b.watts;
    }
    return shares && total > 0;
}

QRect chartArea(const QRect& r) { return r.adjusted(4, 8, -4, -4); }

}  // namespace

QString LoadChart::valueText(size_t index) const {
    const Bar& b = bars_.at(index);
    if (!b.defined) return QString::fromUtf8("\xE2\x80\x94");
    double total = 0;
    QString value = wattsText(b.watts);
    if (showShares(bars_, total)) value += QStringLiteral("  %1 %").arg(std::lround(100.0 * b.watts / total));
    return value;
}

LoadChart::Columns LoadChart::columns() const {
    const QRect area = chartArea(rect());
    const QFontMetrics fm = fontMetrics();
    Columns c;
    int labelWidth = 0;
    // The usual six-figure width keeps the bars still while values change; longer ones widen it.
    int valueWidth = fm.horizontalAdvance(QStringLiteral("888 888 Вт  100 %"));
    for (size_t i = 0; i < bars_.size(); ++i) {
        labelWidth = std::max(labelWidth, fm.horizontalAdvance(bars_[i].label));
        valueWidth = std::max(valueWidth, fm.horizontalAdvance(valueText(i)) + 2);
    }
    constexpr int kGap = 10, kValueGap = 8, kShortestBar = 20;
    c.valueWidth = std::min(valueWidth, area.width());
    c.valueLeft = area.right() - c.valueWidth;
    // The captions give way only once the bars are down to their shortest.
    const int forLabels = c.valueLeft - kValueGap - kShortestBar - kGap - area.left();
    c.labelLeft = area.left();
    c.labelWidth = std::clamp(forLabels, 0, labelWidth);
    c.barLeft = c.labelLeft + c.labelWidth + kGap;
    c.barSpan = std::max(0, c.valueLeft - kValueGap - c.barLeft);
    return c;
}

void LoadChart::paintEvent(QPaintEvent*) {
    QPainter p(this);
    p.setRenderHint(QPainter::Antialiasing);
    const QRect area = chartArea(rect());
    const QFontMetrics fm = fontMetrics();
    const Columns c = columns();

    double maxPositive = 0, maxNegative = 0;
    for (const Bar& b : bars_) {
        if (!b.defined) continue;
        maxPositive = std::max(maxPositive, b.watts);
        maxNegative = std::max(maxNegative, -b.watts);
    }
    const int barLeft = c.barLeft;
    const int barSpan = c.barSpan;
    const double range = maxPositive + maxNegative;
    const int zeroX = barLeft + (range > 0 ? static_cast<int>(barSpan * maxNegative / range) : 0);
    const QColor text = palette().color(QPalette::WindowText);
    const QColor faint = palette().color(QPalette::Mid);

    int y = area.top();
    for (size_t i = 0; i < bars_.size(); ++i, y += kRowHeight) {
        const Bar& b = bars_[i];
        const QRect row(area.left(), y, area.width(), kRowHeight);
        p.setPen(text);
        p.drawText(QRect(c.labelLeft, row.top(), c.labelWidth, row.height()), Qt::AlignLeft | Qt::AlignVCenter,
                   fm.elidedText(b.label, Qt::ElideRight, c.labelWidth));
        const int barTop = row.top() + (kRowHeight - kBarHeight) / 2;
        if (!b.defined) {
            // Missing: an empty dashed outline where the bar would be.
            QPen dashed(faint, 1, Qt::DashLine);
            p.setPen(dashed);
            p.setBrush(Qt::NoBrush);
            if (barSpan > 1) p.drawRect(QRectF(barLeft + 0.5, barTop + 0.5, barSpan - 1, kBarHeight - 1));
        } else {
            const double share = range > 0 ? b.watts / range : 0;
            const int length = static_cast<int>(std::lround(std::fabs(share) * barSpan));
            const QRect bar = b.watts >= 0 ? QRect(zeroX, barTop, std::max(length, 1), kBarHeight)
                                           : QRect(zeroX - length, barTop, std::max(length, 1), kBarHeight);
            p.setPen(Qt::NoPen);
            p.setBrush(kBarColours[i % std::size(kBarColours)]);
            p.drawRect(bar);
        }
        p.setPen(b.defined ? text : faint);
        p.drawText(QRect(c.valueLeft, row.top(), c.valueWidth, row.height()), Qt::AlignRight | Qt::AlignVCenter,
                   valueText(i));
    }
    if (maxNegative > 0) {  // the zero line, when some component is a gain below zero
        p.setPen(QPen(faint, 1));
        p.drawLine(zeroX, area.top(), zeroX, y);
    }
}

}  // namespace coldroom
