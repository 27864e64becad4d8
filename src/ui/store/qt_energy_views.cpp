// What the window «Установка и энергия» draws: its tables, the monthly bars per level, and the
// thickness study's table and chart with the least life-cycle cost marked.
#include <QBarCategoryAxis>
#include <QBarSeries>
#include <QBarSet>
#include <QChart>
#include <QChartView>
#include <QComboBox>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QLineSeries>
#include <QScatterSeries>
#include <QTableWidget>
#include <QValueAxis>

#include <algorithm>

#include "files/energy_files.h"
#include "reports/energy_report.h"
#include "ui/qt_form_widgets.h"
#include "ui/store/energy_dialog.h"
#include "ui/store/store_session.h"

namespace coldroom {
namespace {

QString q(const std::string& s) { return QString::fromStdString(s); }

// A new chart in the view; the old one goes.
void setChart(QChartView* view, QChart* chart) {
    chart->legend()->setAlignment(Qt::AlignBottom);
    QChart* old = view->chart();
    view->setChart(chart);
    delete old;
}

}  // namespace

void FillSheetTable(QTableWidget* table, const std::vector<StoreColumn>& columns,
                    const std::vector<std::vector<std::string>>& rows) {
    table->clear();
    table->setColumnCount(static_cast<int>(columns.size()));
    table->setRowCount(static_cast<int>(rows.size()));
    // Heads on two lines, so that the figures, not the heads, set the widths.
    QStringList heads;
    for (const StoreColumn& c : columns) heads << TwoLineHead(q(c.head));
    table->setHorizontalHeaderLabels(heads);
    table->verticalHeader()->setVisible(false);
    table->setEditTriggers(QAbstractItemView::NoEditTriggers);
    for (int r = 0; r < static_cast<int>(rows.size()); ++r)
        for (int c = 0; c < static_cast<int>(columns.size()); ++c) {
            auto* item = new QTableWidgetItem(q(rows[static_cast<size_t>(r)][static_cast<size_t>(c)]));
            if (columns[static_cast<size_t>(c)].number) item->setTextAlignment(Qt::AlignRight | Qt::AlignVCenter);
            table->setItem(r, c, item);
        }
    // A long name (the store's total) wraps in its cell rather than widening the table.
    table->setWordWrap(true);
    table->resizeColumnsToContents();
    for (int c = 0; c < table->columnCount(); ++c) table->setColumnWidth(c, std::min(table->columnWidth(c), 140));
    table->resizeRowsToContents();
}

void EnergyDialog::showMonths(const std::array<double, 12>& total,
                              const std::vector<std::pair<std::string, std::array<double, 12>>>& levels) {
    auto* chart = new QChart;
    chart->setTitle(QStringLiteral("Электроэнергия по месяцам, кВт·ч"));
    auto* series = new QBarSeries;
    for (const auto& [name, months] : levels) {
        auto* set = new QBarSet(q(name));
        for (double kwh : months) *set << kwh;
        series->append(set);
    }
    chart->addSeries(series);
    QStringList months;
    for (const char* m : MonthShortNames()) months << QString::fromUtf8(m);
    auto* x = new QBarCategoryAxis;
    x->append(months);
    auto* y = new QValueAxis;
    y->setLabelFormat(QStringLiteral("%.0f"));
    chart->addAxis(x, Qt::AlignBottom);
    chart->addAxis(y, Qt::AlignLeft);
    series->attachAxis(x);
    series->attachAxis(y);
    const double highest = *std::max_element(total.begin(), total.end());
    y->setRange(0, highest > 0 ? highest : 1);
    if (highest > 0)
        y->applyNiceNumbers();
    else
        y->setLabelsVisible(false);
    setChart(chart_, chart);
}

void EnergyDialog::showStudy() {
    if (refreshing_) return;
    const std::string range = (from_->text() + u':' + to_->text() + u':' + step_->text()).toStdString();
    double from = 0, to = 0, step = 0;
    std::string why;
    if (!ParseThicknessRange(range, from, to, step, why)) {
        studyNotes_->setText(QStringLiteral("Диапазон толщин: ") + q(why) + QLatin1Char('.'));
        return;
    }
    const Store& store = session_.store();
    study_ = StudyInsulationFromFiles(store, session_.rooms().rooms(), session_.data(), studyRoom_->currentIndex() - 1,
                                      from, to, step);
    FillSheetTable(studyTable_, InsulationColumns(), InsulationRows(study_));
    if (study_.best >= 0)
        for (int c = 0; c < studyTable_->columnCount(); ++c) {
            QTableWidgetItem* item = studyTable_->item(study_.best, c);
            QFont bold = item->font();
            bold.setBold(true);
            item->setFont(bold);
            item->setBackground(QColor(225, 245, 225));
        }
    studyTable_->resizeColumnsToContents();
    QStringList notes;
    for (const std::string& line : InsulationPart(store, study_).lines) notes << q(line);
    studyNotes_->setText(notes.join(u'\n'));

    // Thousands of roubles against the thickness: the insulation, the energy over the years at
    // the discount rate, and their sum, the life-cycle cost.
    auto* chart = new QChart;
    chart->setTitle(QStringLiteral("Стоимость жизненного цикла, тыс. ₽ — ") + q(study_.subject));
    auto* lcc = new QLineSeries;
    lcc->setName(QStringLiteral("LCC"));
    auto* insulation = new QLineSeries;
    insulation->setName(QStringLiteral("изоляция"));
    auto* energy = new QLineSeries;
    energy->setName(QStringLiteral("энергия за %1 лет").arg(store.plant.years));
    double high = 0;
    for (const ThicknessPoint& p : study_.points) {
        if (!p.defined) continue;
        lcc->append(p.mm, p.lifeCycleCost / 1000);
        insulation->append(p.mm, p.insulationCost / 1000);
        energy->append(p.mm, (p.lifeCycleCost - p.insulationCost) / 1000);
        high = std::max({high, p.lifeCycleCost / 1000});
    }
    auto* best = new QScatterSeries;
    best->setMarkerSize(12);
    if (study_.best >= 0) {
        const ThicknessPoint& p = study_.points[static_cast<size_t>(study_.best)];
        best->setName(QStringLiteral("минимум LCC: %1 мм").arg(q(GeneralText(p.mm))));
        best->append(p.mm, p.lifeCycleCost / 1000);
    }
    auto* x = new QValueAxis;
    x->setTitleText(QStringLiteral("толщина первого слоя изоляции, мм"));
    x->setLabelFormat(QStringLiteral("%.0f"));
    x->setRange(from, to > from ? to : from + 1);
    auto* y = new QValueAxis;
    y->setLabelFormat(QStringLiteral("%.0f"));
    y->setRange(0, high > 0 ? high * 1.05 : 1);
    if (high > 0) y->applyNiceNumbers();
    chart->addAxis(x, Qt::AlignBottom);
    chart->addAxis(y, Qt::AlignLeft);
    for (QXYSeries* s : std::initializer_list<QXYSeries*>{lcc, insulation, energy, best}) {
        chart->addSeries(s);
        s->attachAxis(x);
        s->attachAxis(y);
    }
    QPen thick = lcc->pen();
    thick.setWidth(3);
    lcc->setPen(thick);
    setChart(studyChart_, chart);
}

}  // namespace coldroom
