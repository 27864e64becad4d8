// What the window «Холодильник» shows: the rooms' table with a level list and a coil
// difference in each row, the levels with their fields and sums, and a stacked bar of load
// components per room; and its icons.
#include <algorithm>
#include <tuple>

#include <QBarCategoryAxis>
#include <QBarSet>
#include <QChart>
#include <QChartView>
#include <QComboBox>
#include <QEvent>
#include <QHeaderView>
#include <QLineEdit>
#include <QPainter>
#include <QScrollBar>
#include <QStackedBarSeries>
#include <QTableWidget>
#include <QTimer>
#include <QValueAxis>

#include "core/load_breakdown.h"
#include "core/load_components.h"
#include "core/numtext.h"
#include "model/plant_cycle.h"
#include "ui/qt_form_widgets.h"
#include "ui/qt_user_interface.h"
#include "ui/store/store_window.h"

namespace coldroom {
namespace {

QString q(const std::string& s) { return QString::fromStdString(s); }

QString twoLines(const std::string& head) { return TwoLineHead(q(head)); }

// The rooms' table: title, file, count, volume, temperature, level, Δt, …
constexpr int kCountColumn = 2, kLevelColumn = 5, kCoilColumn = 6;
constexpr int kNameColumn = 0, kEvaporatingColumn = 1, kShareColumn = 3;  // the levels' table

const char* kCoilTip =
    "Δt — разность температур воздуха камеры и кипения в её воздухоохладителе, K. Пусто — 10 K, верхняя граница "
    "7–10 K (Явнель Б. К., 1989): большая разность даёт более низкое кипение и больший расход. Камера относится к "
    "самому тёплому уровню, у которого t0 ≤ tкам − Δt.";
const char* kCountTip =
    "Количество одинаковых камер, которые описывает этот файл проекта: их теплопритоки входят в суммы уровня и "
    "холодильника столько раз.";
const char* kLevelTip =
    "Уровень камеры: «авто» — самый тёплый уровень, у которого t0 ≤ tкам − Δt (если такого нет — самый "
    "холодный, с предупреждением), или уровень, заданный вручную.";

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

// A table to `rows` by `columns`, its fields kept where their cells stay (every item is set
// anew after); the fields of cells that go answer to nothing and go by no name until Qt
// deletes them, later, since one of them may be reporting now.
void fitTable(QTableWidget* table, int rows, int columns, QObject* window) {
    for (int r = 0; r < table->rowCount(); ++r)
        for (int c = 0; c < table->columnCount(); ++c)
            if (QWidget* w = table->cellWidget(r, c); w && (r >= rows || c >= columns)) {
                w->disconnect(window);
                w->removeEventFilter(window);
                w->setObjectName(QString());
            }
    table->setRowCount(rows);
    table->setColumnCount(columns);
}

// Columns of fields as wide as their figures and head, not as a field would have them.
void fitFieldColumns(QTableWidget* table, std::initializer_list<int> columns) {
    const QFontMetrics metrics(table->font());
    for (int c : columns) {
        if (c >= table->columnCount()) continue;
        int width = table->horizontalHeader()->sectionSizeHint(c);
        for (int r = 0; r < table->rowCount(); ++r)
            if (const QTableWidgetItem* item = table->item(r, c))
                width = std::max(width, metrics.horizontalAdvance(item->text()) + 16);
        table->setColumnWidth(c, width);
    }
}

QLineEdit* StoreWindow::cellEdit(QTableWidget* table, int row, int column, const QString& name, const QString& text,
                                 const QString& tip, Commit commit, std::vector<std::pair<QPointer<QLineEdit>, Commit>>& edits) {
    // The field already in the cell stays, so that the focus and what is being typed stay with
    // it while the table is drawn anew; it shows the store's value unless typed in.
    if (auto* kept = qobject_cast<QLineEdit*>(table->cellWidget(row, column)); kept && kept->objectName() == name) {
        if (!kept->isModified()) kept->setText(text);
        kept->setToolTip(tip);
        edits.emplace_back(kept, std::move(commit));
        return kept;
    }
    auto* edit = new QLineEdit(text);
    edit->setObjectName(name);
    edit->setToolTip(tip);
    edit->setFrame(false);
    edit->setAlignment(column == kNameColumn && table == levels_ ? Qt::AlignLeft : Qt::AlignRight);
    edit->setProperty("tableRow", row);
    edit->installEventFilter(this);
    GuardedConnect(edit, &QLineEdit::editingFinished, this, [this] {
        if (refreshing_) return;
        commitPendingEdit();
        // The field that reported goes with the table: the table is drawn anew after it.
        QTimer::singleShot(0, this, [this] { refresh(); });
    });
    table->setCellWidget(row, column, edit);
    edits.emplace_back(edit, std::move(commit));
    return edit;
}

bool StoreWindow::eventFilter(QObject* watched, QEvent* event) {
    // A level's field taking the focus chooses its row, for «Убрать уровень».
    // The row is marked chosen without becoming the table's current cell, which would take
    // the focus to that cell's field.
    if (event->type() == QEvent::FocusIn && watched->parent() && levels_->isAncestorOf(static_cast<QWidget*>(watched))) {
        const QModelIndex cell = levels_->model()->index(watched->property("tableRow").toInt(), 0);
        levels_->selectionModel()->select(cell, QItemSelectionModel::ClearAndSelect | QItemSelectionModel::Rows);
    }
    return QMainWindow::eventFilter(watched, event);
}

void StoreWindow::showRooms(const StoreSheet& sheet) {
    const int selected = selectedRoom();
    roomEdits_.clear();
    fitTable(rooms_, static_cast<int>(sheet.rooms.size()), static_cast<int>(sheet.roomColumns.size()), this);
    QStringList head;
    for (const StoreColumn& c : sheet.roomColumns) head << twoLines(c.head);
    rooms_->setHorizontalHeaderLabels(head);
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
        const auto& levels = session_->store().plant.levels;
        const StoreRoom& room = session_->store().rooms[static_cast<std::size_t>(r)];
        StoreRoom automatic = room;
        automatic.level = kAutoLevel;
        const RoomPlace derived = PlaceRoom(session_->store().plant, automatic,
                                            RoomTemperature(session_->rooms().rooms()[static_cast<std::size_t>(r)]));
        level->addItem(QStringLiteral("авто: %1")
                           .arg(derived.level ? q(levels[static_cast<std::size_t>(*derived.level)].name) : QString::fromUtf8(kUndefinedText)));
        for (const PlantLevel& l : levels) level->addItem(q(l.name));
        level->setCurrentIndex(room.level >= 0 && room.level < static_cast<int>(levels.size()) ? room.level + 1 : 0);
        level->setToolTip(QString::fromUtf8(kLevelTip));
        connect(level, &QComboBox::activated, this, [this, r](int choice) {
            // The table is rebuilt once this event is over: the list must not go while it reports.
            QTimer::singleShot(0, this, [this, r, choice] {
                run([this, r, choice] { session_->SetRoomLevel(static_cast<std::size_t>(r), choice - 1); });
            });
        });
        rooms_->setCellWidget(r, kLevelColumn, level);
        const double coil = room.coilDifference;
        QLineEdit* edit = cellEdit(rooms_, r, kCoilColumn, QStringLiteral("StoreCoil%1").arg(r),
                                   coil > 0 ? q(GeneralText(coil)) : QString(), QString::fromUtf8(kCoilTip),
                                   [this, r](const std::string& text) {
                                       return session_->SetCoilDifference(static_cast<std::size_t>(r), text);
                                   },
                                   roomEdits_);
        edit->setPlaceholderText(q(GeneralText(DefaultCoilDifference(0))));
        cellEdit(rooms_, r, kCountColumn, QStringLiteral("StoreCount%1").arg(r), q(std::to_string(room.count)),
                 QString::fromUtf8(kCountTip),
                 [this, r](const std::string& text) { return session_->SetRoomCount(static_cast<std::size_t>(r), text); },
                 roomEdits_);
    }
    rooms_->resizeColumnsToContents();
    fitFieldColumns(rooms_, {kCountColumn, kCoilColumn});
    // Up to six rooms in view before the table scrolls.
    rooms_->setMinimumHeight(rooms_->horizontalHeader()->sizeHint().height() +
                             std::clamp(rooms_->rowCount(), 2, 6) * rooms_->verticalHeader()->defaultSectionSize() +
                             rooms_->horizontalScrollBar()->sizeHint().height() + 2 * rooms_->frameWidth() + 2);
    // A row is always chosen: what the room commands and Enter act on is in sight.
    if (rooms_->rowCount() > 0) selectRoom(std::clamp(selected, 0, rooms_->rowCount() - 1));
}

void StoreWindow::showLevels(const StoreSheet& sheet) {
    const QList<QTableWidgetSelectionRange> chosen = levels_->selectedRanges();
    const int selected = chosen.isEmpty() ? -1 : chosen.first().topRow();
    levelEdits_.clear();
    fitTable(levels_, static_cast<int>(sheet.levels.size()), static_cast<int>(sheet.levelColumns.size()), this);
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
    // A level's name, t0 and share are typed in its row.
    const auto& levels = session_->store().plant.levels;
    using Field = StoreSession::LevelField;
    const std::tuple<int, Field, const char*, const char*> fields[] = {
        {kNameColumn, Field::Name, "LevelName%1", "Название уровня (машины): без запятых и двоеточий."},
        {kEvaporatingColumn, Field::Evaporating, "LevelT0%1",
         "Температура кипения t0 уровня, °C. По умолчанию −15 °C (СТ) и −35 °C (НТ): компрессоры группируют по t0 "
         "около −10…−15, −30…−35 и −40…−50 °C (Явнель Б. К., 1989)."},
        {kShareColumn, Field::Share, "LevelShare%1",
         "Доля эксплуатационных теплопритоков (освещение, люди, оборудование, погрузчики, дверь, вентиляторы) в "
         "нагрузке на компрессоры уровня, %: они возникают не во всех камерах сразу. 50–75 % (Явнель Б. К., 1989; "
         "страница не проверена); 75 % по умолчанию — верхняя граница, для холодильника из немногих камер."}};
    for (int r = 0; r < static_cast<int>(levels.size()) && r + 1 < levels_->rowCount(); ++r)
        for (const auto& [column, field, name, tip] : fields)
            cellEdit(levels_, r, column, QString::fromLatin1(name).arg(r), levels_->item(r, column)->text(),
                     QString::fromUtf8(tip),
                     [this, r, field = field](const std::string& text) {
                         return session_->SetLevelField(static_cast<std::size_t>(r), field, text);
                     },
                     levelEdits_);
    if (selected >= 0 && selected < levels_->rowCount())
        levels_->selectionModel()->select(levels_->model()->index(selected, 0),
                                          QItemSelectionModel::ClearAndSelect | QItemSelectionModel::Rows);
    levels_->resizeColumnsToContents();
    fitFieldColumns(levels_, {kNameColumn, kEvaporatingColumn, kShareColumn});
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
        // Each bar names the level (the machine) its room is on.
        const RoomPlace& place = session_->rooms().loads().rows[i].place;
        const QString level = place.level ? q(session_->store().plant.levels[static_cast<std::size_t>(*place.level)].name)
                                          : QString::fromUtf8(kUndefinedText);
        // Keyed by the row: titles repeat (two rooms of one task), and a category axis keeps one
        // bar per name.
        rooms << QString::number(i + 1) + QStringLiteral(". ") + level + QStringLiteral(": ") +
                     (room.read ? q(room.project.ProjectTitle) : q(RoomFileName(session_->store().rooms[i].path)));
        const std::vector<ChartedLoad> bars = room.read ? ChartedLoads(room.result.loads) : ChartedLoads(LoadBreakdown{});
        if (sets.empty())
            for (const ChartedLoad& bar : bars) sets.push_back(new QBarSet(QString::fromUtf8(bar.label)));
        for (std::size_t b = 0; b < bars.size() && b < sets.size(); ++b)
            *sets[b] << (room.read && bars[b].value.defined ? std::max(0.0, bars[b].value.watts) : 0.0);
    }
    for (QBarSet* set : sets) series->append(set);
    chart->addSeries(series);
    double highest = 0;
    for (std::size_t i = 0; i < data.size(); ++i) {
        double stacked = 0;
        for (QBarSet* set : sets) stacked += set->at(static_cast<qsizetype>(i));
        highest = std::max(highest, stacked);
    }
    SetBarAxes(chart, series, rooms, highest);
    QChart* old = chart_->chart();
    chart_->setChart(chart);
    delete old;
}

}  // namespace coldroom
