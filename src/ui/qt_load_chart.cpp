#include "ui/qt_load_chart.h"

#include <QBarCategoryAxis>
#include <QBarSet>
#include <QChartView>
#include <QGraphicsLayout>
#include <QGridLayout>
#include <QHorizontalStackedBarSeries>
#include <QLabel>
#include <QLineSeries>
#include <QValueAxis>

#include <algorithm>
#include <cmath>

#include "core/load_breakdown.h"

namespace coldroom {

namespace {

const QColor kSpareColours[] = {QColor(70, 110, 170), QColor(200, 120, 60), QColor(150, 150, 90),
                                QColor(90, 150, 110), QColor(140, 100, 160)};
constexpr int kRowHeight = 26;
constexpr int kShownRows = 5;  // the height kept while no results are shown

QString wattsText(double w) {
    // Whole watts written as the result fields write them ("1684"), so a figure reads the same
    // in the chart and in its field.
    return QString::fromStdString(LoadText(LoadValue::of(std::floor(w)))) + QStringLiteral(" Вт");
}

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

}  // namespace

QColor LoadColour(LoadId id) {
    const auto& rgb = LoadComponentOf(id).colour;
    return QColor(rgb[0], rgb[1], rgb[2]);
}

// The names and the values are labels in rows of one height; the chart beside them spans the
// rows with its plot filling it, so that its bar of each row stands level with the row's texts.
// Laid out so, the values are never cut: when room is short the bars give way first.
LoadChart::LoadChart(QWidget* parent) : QWidget(parent), grid_(new QGridLayout(this)), view_(new QChartView) {
    setObjectName(QStringLiteral("LoadChart"));
    setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Fixed);
    grid_->setContentsMargins(4, 4, 4, 4);
    grid_->setHorizontalSpacing(8);
    grid_->setVerticalSpacing(0);
    grid_->setColumnStretch(1, 1);
    // The usual six-figure width keeps the bars still while values change.
    grid_->setColumnMinimumWidth(2, fontMetrics().horizontalAdvance(QStringLiteral("888 888 Вт  100 %")));
    grid_->setColumnMinimumWidth(1, 20);

    view_->setFrameShape(QFrame::NoFrame);
    view_->setFocusPolicy(Qt::NoFocus);
    view_->setRenderHint(QPainter::Antialiasing);
    view_->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    view_->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    view_->setMinimumSize(20, kRowHeight);
    view_->setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Ignored);
    view_->setStyleSheet(QStringLiteral("background: transparent"));
    QChart* chart = view_->chart();
    chart->legend()->hide();
    chart->setMargins(QMargins(0, 0, 0, 0));
    chart->layout()->setContentsMargins(0, 0, 0, 0);
    chart->setBackgroundVisible(false);
    chart->setPlotAreaBackgroundVisible(false);
    grid_->addWidget(view_, 0, 1, kShownRows, 1);
    for (int r = 0; r < kShownRows; ++r) grid_->setRowMinimumHeight(r, kRowHeight);
}

void LoadChart::setBars(std::vector<Bar> bars) {
    const auto sameRow = [](const Bar& a, const Bar& b) { return a.label == b.label && a.colour == b.colour; };
    const auto sameValue = [](const Bar& a, const Bar& b) { return a.defined == b.defined && a.watts == b.watts; };
    const bool sameRows = bars.size() == bars_.size() && std::equal(bars.begin(), bars.end(), bars_.begin(), sameRow);
    if (sameRows && series_ && std::equal(bars.begin(), bars.end(), bars_.begin(), sameValue)) return;
    bars_ = std::move(bars);
    if (!sameRows || !series_) rebuild();
    showValues();
}

void LoadChart::showLoads(const std::vector<ChartedLoad>& loads) {
    std::vector<Bar> bars;
    bars.reserve(loads.size());
    for (const ChartedLoad& l : loads)
        bars.push_back({QString::fromUtf8(l.label), l.value.watts, l.value.defined, LoadColour(l.id)});
    setBars(std::move(bars));
}

QString LoadChart::valueText(size_t index) const {
    const Bar& b = bars_.at(index);
    if (!b.defined) return QString::fromUtf8("\xE2\x80\x94");
    double total = 0;
    QString value = wattsText(b.watts);
    if (showShares(bars_, total)) value += QStringLiteral("  %1 %").arg(std::lround(100.0 * b.watts / total));
    return value;
}

QStringList LoadChart::names() const {
    QStringList texts;
    for (QLabel* label : names_) texts << label->text();
    return texts;
}

QStringList LoadChart::values() const {
    QStringList texts;
    for (QLabel* label : values_) texts << label->text();
    return texts;
}

// One bar set per component with a value in its own row only: stacked, every row shows one
// bar, in its component's colour. The first component is the top row.
void LoadChart::rebuild() {
    for (QLabel* label : names_) delete label;
    for (QLabel* label : values_) delete label;
    names_.clear();
    values_.clear();
    QChart* chart = view_->chart();
    chart->removeAllSeries();
    for (QAbstractAxis* axis : chart->axes()) {
        chart->removeAxis(axis);
        delete axis;
    }
    const int rows = static_cast<int>(bars_.size());
    series_ = new QHorizontalStackedBarSeries;
    series_->setBarWidth(kRowHeight > 0 ? 14.0 / kRowHeight : 0.5);
    QStringList categories;
    for (int i = 0; i < rows; ++i) {
        const Bar& bar = bars_[static_cast<size_t>(i)];
        auto* set = new QBarSet(bar.label);
        for (int k = 0; k < rows; ++k) set->append(0);
        const QColor colour = bar.colour.isValid() ? bar.colour : kSpareColours[i % std::size(kSpareColours)];
        set->setColor(colour);
        set->setBorderColor(colour);
        series_->append(set);
        categories.prepend(QString::number(i));

        auto* name = new QLabel(bar.label, this);
        name->setObjectName(QStringLiteral("LoadChartName"));
        auto* value = new QLabel(this);
        value->setObjectName(QStringLiteral("LoadChartValue"));
        value->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
        grid_->addWidget(name, i, 0, Qt::AlignVCenter);
        grid_->addWidget(value, i, 2);
        names_.push_back(name);
        values_.push_back(value);
    }
    chart->addSeries(series_);
    // The line at zero, drawn only when a component is a gain below zero.
    zero_ = new QLineSeries;
    zero_->setPen(QPen(palette().color(QPalette::Mid), 1));
    chart->addSeries(zero_);

    auto* rowsAxis = new QBarCategoryAxis;
    rowsAxis->setCategories(categories);
    watts_ = new QValueAxis;
    chart->addAxis(rowsAxis, Qt::AlignLeft);
    chart->addAxis(watts_, Qt::AlignBottom);
    for (QAbstractSeries* series : {static_cast<QAbstractSeries*>(series_), static_cast<QAbstractSeries*>(zero_)}) {
        series->attachAxis(rowsAxis);
        series->attachAxis(watts_);
    }
    rowsAxis->setVisible(false);
    watts_->setVisible(false);

    grid_->removeWidget(view_);
    grid_->addWidget(view_, 0, 1, std::max(rows, 1), 1);
    for (int r = 0; r < std::max(rows, kShownRows); ++r) grid_->setRowMinimumHeight(r, r < rows || rows == 0 ? kRowHeight : 0);
}

void LoadChart::showValues() {
    if (!series_) return;
    double low = 0, high = 0;
    const QList<QBarSet*> sets = series_->barSets();
    const int rows = static_cast<int>(bars_.size());
    const QColor text = palette().color(QPalette::WindowText), faint = palette().color(QPalette::Mid);
    for (int i = 0; i < rows; ++i) {
        const Bar& b = bars_[static_cast<size_t>(i)];
        const double w = b.defined && std::isfinite(b.watts) ? b.watts : 0;
        sets[i]->replace(rows - 1 - i, w);
        low = std::min(low, w);
        high = std::max(high, w);
        QLabel* value = values_[static_cast<size_t>(i)];
        value->setText(valueText(static_cast<size_t>(i)));
        QPalette colours = value->palette();
        colours.setColor(QPalette::WindowText, b.defined ? text : faint);
        value->setPalette(colours);
    }
    zero_->clear();
    if (low < 0) zero_->append({QPointF(0, -0.5), QPointF(0, rows - 0.5)});
    if (high <= low) high = low + 1;
    watts_->setRange(low, high);
}

}  // namespace coldroom
