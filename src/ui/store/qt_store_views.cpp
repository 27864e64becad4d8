// What the window «Холодильник» shows: the rooms' table with a level list in each row, the
// sums per temperature level, and a stacked bar of load components per room; and its icons.
#include <algorithm>

#include <QBarCategoryAxis>
#include <QBarSet>
#include <QChart>
#include <QChartView>
#include <QComboBox>
#include <QHeaderView>
#include <QPainter>
#include <QScrollBar>
#include <QStackedBarSeries>
#include <QTableWidget>
#include <QTimer>
#include <QValueAxis>

#include "core/load_breakdown.h"
#include "core/load_components.h"
#include "ui/qt_form_widgets.h"
#include "ui/store/store_window.h"

namespace coldroom {
namespace {

QString q(const std::string& s) { return QString::fromStdString(s); }

QString twoLines(const std::string& head) { return TwoLineHead(q(head)); }

constexpr int kLevelColumn = 4;  // the rooms' table: title, file, volume, temperature, level, …

void outline(QPainter& p) {
    p.setRenderHint(QPainter::Antialiasing);
    p.setPen(QPen(QColor(60, 60, 70), 1.5));
    p.setBrush(QColor(235, 238, 242));
}

}  // namespace

QIcon StoreIcon() {
    QPixmap pixmap(32, 32);
    pixmap.fill(Qt::transparent);
    QPainter p(&pixmap);
    outline(p);
    p.drawPolygon(QPolygonF({QPointF(2, 13), QPointF(16, 4), QPointF(30, 13), QPointF(30, 29), QPointF(2, 29)}));
    const QColor doors[] = {QColor(120, 180, 90), QColor(70, 120, 200), QColor(70, 120, 200)};
    for (int i = 0; i < 3; ++i) {
        p.setBrush(doors[i]);
        p.drawRect(QRectF(5 + i * 8.3, 16, 6, 13));
    }
    return QIcon(pixmap);
}

QIcon NewRoomIcon() {
    QPixmap pixmap(32, 32);
    pixmap.fill(Qt::transparent);
    QPainter p(&pixmap);
    outline(p);
    p.drawRect(QRectF(2, 9, 20, 20));
    p.setBrush(QColor(70, 120, 200));
    p.drawRect(QRectF(8, 15, 8, 14));
    p.setPen(QPen(QColor(40, 140, 40), 4, Qt::SolidLine, Qt::FlatCap));
    p.drawLine(QPointF(25, 2), QPointF(25, 16));
    p.drawLine(QPointF(18, 9), QPointF(32, 9));
    return QIcon(pixmap);
}

void StoreWindow::showRooms(const StoreSheet& sheet) {
    const int selected = selectedRoom();
    rooms_->clear();
    rooms_->setColumnCount(static_cast<int>(sheet.roomColumns.size()));
    rooms_->setRowCount(static_cast<int>(sheet.rooms.size()));
    QStringList head;
    for (const StoreColumn& c : sheet.roomColumns) head << twoLines(c.head);
    rooms_->setHorizontalHeaderLabels(head);
    const auto& loads = session_->rooms().loads();
    for (int r = 0; r < rooms_->rowCount(); ++r) {
        const auto& cells = sheet.rooms[static_cast<std::size_t>(r)];
        const bool read = session_->rooms().rooms()[static_cast<std::size_t>(r)].read;
        for (int c = 0; c < rooms_->columnCount(); ++c) {
            auto* item = new QTableWidgetItem(q(cells[static_cast<std::size_t>(c)]));
            if (sheet.roomColumns[static_cast<std::size_t>(c)].number) item->setTextAlignment(Qt::AlignRight | Qt::AlignVCenter);
            if (!read) {
                item->setBackground(QColor(255, 225, 225));
                item->setToolTip(q(cells.back()));
            }
            rooms_->setItem(r, c, item);
        }
        // The level is chosen in its cell: by temperature (the level it gives shown) or set.
        auto* level = new QComboBox;
        level->setObjectName(QStringLiteral("StoreLevel%1").arg(r));
        const auto& row = loads.rows[static_cast<std::size_t>(r)];
        const std::optional<double> temperature = RoomTemperature(session_->rooms().rooms()[static_cast<std::size_t>(r)]);
        const char* derived = temperature ? LevelShortName(LevelOfRoomTemperature(*temperature)) : kUndefinedText;
        level->addItem(QStringLiteral("авто: %1").arg(QString::fromUtf8(derived)));
        level->addItem(QString::fromUtf8(LevelShortName(TemperatureLevel::Medium)));
        level->addItem(QString::fromUtf8(LevelShortName(TemperatureLevel::Low)));
        level->setCurrentIndex(static_cast<int>(session_->store().rooms[static_cast<std::size_t>(r)].level));
        level->setToolTip(row.level ? QString::fromUtf8(LevelName(*row.level)) : QString());
        connect(level, &QComboBox::activated, this, [this, r](int choice) {
            // The table is rebuilt once this event is over: the list must not go while it reports.
            QTimer::singleShot(0, this, [this, r, choice] {
                run([this, r, choice] { session_->SetLevel(static_cast<std::size_t>(r), static_cast<LevelChoice>(choice)); });
            });
        });
        rooms_->setCellWidget(r, kLevelColumn, level);
    }
    rooms_->resizeColumnsToContents();
    // Up to six rooms in view before the table scrolls.
    rooms_->setMinimumHeight(rooms_->horizontalHeader()->sizeHint().height() +
                             std::clamp(rooms_->rowCount(), 2, 6) * rooms_->verticalHeader()->defaultSectionSize() +
                             rooms_->horizontalScrollBar()->sizeHint().height() + 2 * rooms_->frameWidth() + 2);
    // A row is always chosen: what the room commands and Enter act on is in sight.
    if (rooms_->rowCount() > 0) selectRoom(std::clamp(selected, 0, rooms_->rowCount() - 1));
}

void StoreWindow::showLevels(const StoreSheet& sheet) {
    levels_->clear();
    levels_->setColumnCount(static_cast<int>(sheet.levelColumns.size()));
    levels_->setRowCount(static_cast<int>(sheet.levels.size()));
    QStringList head;
    for (const StoreColumn& c : sheet.levelColumns) head << twoLines(c.head);
    levels_->setHorizontalHeaderLabels(head);
    for (int r = 0; r < levels_->rowCount(); ++r)
        for (int c = 0; c < levels_->columnCount(); ++c) {
            auto* item = new QTableWidgetItem(q(sheet.levels[static_cast<std::size_t>(r)][static_cast<std::size_t>(c)]));
            if (sheet.levelColumns[static_cast<std::size_t>(c)].number) item->setTextAlignment(Qt::AlignRight | Qt::AlignVCenter);
            if (r + 1 == levels_->rowCount()) {
                QFont bold = item->font();
                bold.setBold(true);
                item->setFont(bold);
            }
            levels_->setItem(r, c, item);
        }
    levels_->horizontalHeader()->setSectionResizeMode(QHeaderView::ResizeToContents);
    // All of it in view, without a scroll bar: it is the answer the window is for.
    levels_->setFixedHeight(levels_->horizontalHeader()->sizeHint().height() +
                            levels_->rowCount() * levels_->verticalHeader()->defaultSectionSize() +
                            2 * levels_->frameWidth() + 2);
    levels_->horizontalHeader()->setDefaultAlignment(Qt::AlignCenter);
}

// One stacked bar per room: its load components, as the main window's chart has them.
void StoreWindow::showChart() {
    auto* chart = new QChart;
    chart->setTitle(QStringLiteral("Теплопритоки камер, Вт"));
    chart->legend()->setAlignment(Qt::AlignBottom);
    auto* series = new QStackedBarSeries;
    std::vector<QBarSet*> sets;
    QStringList rooms;
    const auto& data = session_->rooms().rooms();
    for (std::size_t i = 0; i < data.size(); ++i) {
        const StoreRoomData& room = data[i];
        rooms << (room.read ? q(room.project.ProjectTitle) : q(RoomFileName(session_->store().rooms[i].path)));
        const std::vector<ChartedLoad> bars = room.read ? ChartedLoads(room.result.loads) : ChartedLoads(LoadBreakdown{});
        if (sets.empty())
            for (const ChartedLoad& bar : bars) sets.push_back(new QBarSet(QString::fromUtf8(bar.label)));
        for (std::size_t b = 0; b < bars.size() && b < sets.size(); ++b)
            *sets[b] << (room.read && bars[b].value.defined ? std::max(0.0, bars[b].value.watts) : 0.0);
    }
    for (QBarSet* set : sets) series->append(set);
    chart->addSeries(series);
    auto* x = new QBarCategoryAxis;
    x->append(rooms);
    auto* y = new QValueAxis;
    y->setLabelFormat(QStringLiteral("%.0f"));
    chart->addAxis(x, Qt::AlignBottom);
    chart->addAxis(y, Qt::AlignLeft);
    series->attachAxis(x);
    series->attachAxis(y);
    double highest = 0;
    for (std::size_t i = 0; i < data.size(); ++i) {
        double stacked = 0;
        for (QBarSet* set : sets) stacked += set->at(static_cast<qsizetype>(i));
        highest = std::max(highest, stacked);
    }
    // No figures: an empty chart, its axis without labels rather than a range of nothing.
    y->setRange(0, highest > 0 ? highest : 1);
    if (highest > 0)
        y->applyNiceNumbers();
    else
        y->setLabelsVisible(false);
    QChart* old = chart_->chart();
    chart_->setChart(chart);
    delete old;
}

}  // namespace coldroom
