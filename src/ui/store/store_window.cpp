#include "ui/store/store_window.h"

#include <QAction>
#include <QBarCategoryAxis>
#include <QBarSet>
#include <QChart>
#include <QChartView>
#include <QCloseEvent>
#include <QComboBox>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QPainter>
#include <QScrollBar>
#include <QSplitter>
#include <QStackedBarSeries>
#include <QStatusBar>
#include <QStyle>
#include <QTableWidget>
#include <QTimer>
#include <QToolBar>

#include "ui/store/energy_dialog.h"
#include <QValueAxis>
#include <QVBoxLayout>

#include "core/load_breakdown.h"
#include "core/load_components.h"
#include "core/numtext.h"
#include "reports/report_model.h"
#include "reports/store_page.h"
#include "ui/qt_user_interface.h"

namespace coldroom {
namespace {

QString q(const std::string& s) { return QString::fromStdString(s); }

// A long column head on two lines, broken at the blank nearest its middle.
QString twoLines(const std::string& head) {
    QString text = q(head);
    if (text.size() <= 14) return text;
    int best = -1;
    for (int i = text.indexOf(u' '); i >= 0; i = text.indexOf(u' ', i + 1))
        if (best < 0 || std::abs(i - text.size() / 2) < std::abs(best - text.size() / 2)) best = i;
    if (best > 0) text[best] = u'\n';
    return text;
}

constexpr int kLevelColumn = 4;  // the rooms' table: title, file, volume, temperature, level, …

struct ReportKind {
    const char* key;
    const char* filter;
    bool (*write)(const std::string&, const StoreSheet&, std::string&);
};
const ReportKind kReports[] = {
    {"html", "Веб-страница (*.html) | *.html", WriteStoreHtml},
    {"csv", "Файлы CSV (*.csv) | *.csv", WriteStoreCsv},
    {"pdf", "Файлы PDF (*.pdf) | *.pdf", WriteStorePdf},
};

}  // namespace

QIcon StoreIcon() {
    QPixmap pixmap(32, 32);
    pixmap.fill(Qt::transparent);
    QPainter p(&pixmap);
    p.setRenderHint(QPainter::Antialiasing);
    p.setPen(QPen(QColor(60, 60, 70), 1.5));
    p.setBrush(QColor(235, 238, 242));
    p.drawPolygon(QPolygonF({QPointF(2, 13), QPointF(16, 4), QPointF(30, 13), QPointF(30, 29), QPointF(2, 29)}));
    const QColor doors[] = {QColor(120, 180, 90), QColor(70, 120, 200), QColor(70, 120, 200)};
    for (int i = 0; i < 3; ++i) {
        p.setBrush(doors[i]);
        p.drawRect(QRectF(5 + i * 8.3, 16, 6, 13));
    }
    return QIcon(pixmap);
}

StoreWindow::StoreWindow(UserInterface& ui, std::function<std::shared_ptr<const ReferenceData>()> data, Hooks hooks,
                         QWidget* parent)
    : QMainWindow(parent), ui_(ui), hooks_(std::move(hooks)),
      session_(std::make_unique<StoreSession>(ui, std::move(data))) {
    setObjectName(QStringLiteral("StoreWindow"));
    setWindowFlag(Qt::Window);
    setWindowIcon(StoreIcon());
    buildMenus();

    auto* central = new QWidget;
    auto* layout = new QVBoxLayout(central);
    auto* form = new QFormLayout;
    title_ = new QLineEdit;
    title_->setObjectName(QStringLiteral("StoreTitle"));
    form->addRow(QStringLiteral("Название"), title_);
    auto* shares = new QHBoxLayout;
    for (int l = 0; l < kTemperatureLevelCount; ++l) {
        const auto level = static_cast<TemperatureLevel>(l);
        shares_[l] = new QLineEdit;
        shares_[l]->setObjectName(l == 0 ? QStringLiteral("ShareMedium") : QStringLiteral("ShareLow"));
        shares_[l]->setMaximumWidth(60);
        shares_[l]->setAlignment(Qt::AlignRight);
        shares->addWidget(new QLabel(QString::fromUtf8(LevelShortName(level))));
        shares->addWidget(shares_[l]);
        shares->addWidget(new QLabel(QStringLiteral("%")));
        shares->addSpacing(12);
        GuardedConnect(shares_[l], &QLineEdit::editingFinished, this, [this, l, level] {
            if (refreshing_) return;
            refreshing_ = true;  // a refused value's message takes the focus: no second commit
            const std::string text = shares_[l]->text().toStdString();
            if (text != GeneralText(session_->store().settings.share(level))) session_->SetShare(level, text);
            refreshing_ = false;
            refresh();
        });
    }
    shares->addStretch();
    form->addRow(QStringLiteral("Доля эксплуатационных теплопритоков в нагрузке на компрессоры"), shares);
    layout->addLayout(form);
    GuardedConnect(title_, &QLineEdit::editingFinished, this, [this] {
        if (refreshing_ || title_->text().toStdString() == session_->store().title) return;
        session_->SetTitle(title_->text().toStdString());
        refresh();
    });

    rooms_ = new QTableWidget;
    rooms_->setObjectName(QStringLiteral("StoreRooms"));
    rooms_->setEditTriggers(QAbstractItemView::NoEditTriggers);
    rooms_->setSelectionBehavior(QAbstractItemView::SelectRows);
    rooms_->setSelectionMode(QAbstractItemView::SingleSelection);
    rooms_->verticalHeader()->setVisible(false);
    rooms_->setWordWrap(false);
    GuardedConnect(rooms_, &QTableWidget::cellDoubleClicked, this, [this](int row, int column) {
        if (column != kLevelColumn && hooks_.openRoom && row >= 0 &&
            static_cast<std::size_t>(row) < session_->store().rooms.size())
            hooks_.openRoom(session_->store().rooms[static_cast<std::size_t>(row)].path);
    });
    levels_ = new QTableWidget;
    levels_->setObjectName(QStringLiteral("StoreLevels"));
    levels_->setEditTriggers(QAbstractItemView::NoEditTriggers);
    levels_->verticalHeader()->setVisible(false);
    levels_->setSelectionMode(QAbstractItemView::NoSelection);
    chart_ = new QChartView(new QChart);
    chart_->setObjectName(QStringLiteral("StoreChart"));
    chart_->setRenderHint(QPainter::Antialiasing);
    chart_->setMinimumHeight(240);
    notes_ = new QLabel;
    notes_->setObjectName(QStringLiteral("StoreNotes"));
    notes_->setWordWrap(true);
    notes_->setStyleSheet(QStringLiteral("color: #a02020;"));

    // The rooms, then what they add up to, then a bar per room.
    auto* sums = new QWidget;
    auto* sumsLayout = new QVBoxLayout(sums);
    sumsLayout->setContentsMargins(0, 0, 0, 0);
    sumsLayout->addWidget(new QLabel(QStringLiteral("Суммы по уровням температур")));
    sumsLayout->addWidget(levels_, 1);
    sumsLayout->addWidget(notes_);
    auto* split = new QSplitter(Qt::Vertical);
    split->addWidget(rooms_);
    split->addWidget(sums);
    split->addWidget(chart_);
    split->setStretchFactor(0, 2);
    split->setStretchFactor(1, 1);
    split->setStretchFactor(2, 3);
    layout->addWidget(split, 1);
    setCentralWidget(central);
    statusBar();
    resize(1200, 760);
    refresh();
}

StoreWindow::~StoreWindow() {
    // Closing takes the focus off a field: its edit must not reach a session already gone.
    for (QLineEdit* field : findChildren<QLineEdit*>()) field->disconnect(this);
}

void StoreWindow::buildMenus() {
    QStyle* st = style();
    auto action = [this](const char* name, const QString& text, const QIcon& icon, std::function<void()> command) {
        auto* a = new QAction(icon, text, this);
        a->setObjectName(QString::fromLatin1(name));
        connect(a, &QAction::triggered, this, [this, command] { run(command); });
        return a;
    };
    auto icon = [st](const char* theme, QStyle::StandardPixmap fallback) {
        return QIcon::fromTheme(QString::fromLatin1(theme), st->standardIcon(fallback));
    };
    QAction* create = action("storeNew", QStringLiteral("&Создать"), icon("document-new", QStyle::SP_FileIcon),
                             [this] { session_->New(); });
    create->setShortcut(QKeySequence::New);
    QAction* open = action("storeOpen", QStringLiteral("&Открыть…"), icon("document-open", QStyle::SP_DialogOpenButton),
                           [this] { session_->Open(); });
    open->setShortcut(QKeySequence::Open);
    QAction* save = action("storeSave", QStringLiteral("&Сохранить"), icon("document-save", QStyle::SP_DialogSaveButton),
                           [this] { session_->Save(); });
    save->setShortcut(QKeySequence::Save);
    QAction* saveAs = action("storeSaveAs", QStringLiteral("Сохранить &как…"), {}, [this] { session_->SaveAs(); });
    QAction* add = action("storeAddRoom", QStringLiteral("&Добавить проект камеры…"),
                          icon("list-add", QStyle::SP_FileDialogNewFolder), [this] {
                              if (session_->AddRoom()) selectRoom(static_cast<int>(session_->store().rooms.size()) - 1);
                          });
    QAction* addNew = action("storeNewRoom", QStringLiteral("&Новая камера…"), icon("document-new", QStyle::SP_FileIcon),
                             [this] {
                                 if (!hooks_.newRoom) return;
                                 const std::string path = session_->AddNewRoom(hooks_.newRoom());
                                 if (path.empty()) return;
                                 selectRoom(static_cast<int>(session_->store().rooms.size()) - 1);
                                 if (hooks_.openRoom) hooks_.openRoom(path);
                             });
    QAction* openRoom = action("storeOpenRoom", QStringLiteral("&Открыть в главном окне"),
                               icon("go-jump", QStyle::SP_ArrowRight), [this] {
                                   const int row = selectedRoom();
                                   if (row >= 0 && hooks_.openRoom)
                                       hooks_.openRoom(session_->store().rooms[static_cast<std::size_t>(row)].path);
                               });
    QAction* remove = action("storeRemoveRoom", QStringLiteral("&Убрать из холодильника"),
                             icon("list-remove", QStyle::SP_DialogDiscardButton), [this] {
                                 const int row = selectedRoom();
                                 if (row >= 0) session_->RemoveRoom(static_cast<std::size_t>(row));
                             });
    remove->setToolTip(QStringLiteral("Убрать камеру из холодильника (файл проекта остается)"));
    QAction* close = action("storeClose", QStringLiteral("&Закрыть"), {}, [this] { QTimer::singleShot(0, this, &QWidget::close); });

    QMenu* file = menuBar()->addMenu(QStringLiteral("&Файл"));
    file->addActions({create, open, save, saveAs});
    file->addSeparator();
    recentMenu_ = file->addMenu(QStringLiteral("&Последние холодильники"));
    recentMenu_->setObjectName(QStringLiteral("storeRecent"));
    recentMenu_->setEnabled(false);
    file->addSeparator();
    QToolBar* bar = addToolBar(QStringLiteral("Холодильник"));
    bar->setObjectName(QStringLiteral("StoreToolbar"));
    bar->setMovable(false);
    bar->setIconSize(QSize(24, 24));
    bar->addActions({create, open, save});
    bar->addSeparator();
    for (const ReportKind& kind : kReports) {
        const QString upper = QString::fromLatin1(kind.key).toUpper();
        QAction* a = action((std::string("storeReport") + kind.key).c_str(), QStringLiteral("Отчет %1…").arg(upper),
                            {}, [this, key = kind.key] { report(key); });
        file->addAction(a);
    }
    file->addSeparator();
    file->addAction(close);
    QMenu* rooms = menuBar()->addMenu(QStringLiteral("&Камеры"));
    rooms->addActions({add, addNew});
    rooms->addSeparator();
    rooms->addActions({openRoom, remove});
    QAction* energy = action("storeEnergy", QStringLiteral("Установка и &энергия…"), {},
                             [this] { (new EnergyDialog(*session_, this))->show(); });
    rooms->addAction(energy);
    bar->addActions({add, addNew, openRoom, remove, energy});
}

void StoreWindow::run(const std::function<void()>& command) {
    GuardedCall(ui_, command);
    refresh();
}

int StoreWindow::selectedRoom() const {
    const auto rows = rooms_->selectionModel() ? rooms_->selectionModel()->selectedRows() : QModelIndexList{};
    return rows.isEmpty() ? -1 : rows.first().row();
}

void StoreWindow::selectRoom(int index) {
    if (index >= 0 && index < rooms_->rowCount()) rooms_->selectRow(index);
}

void StoreWindow::refresh() {
    const StoreSheet sheet = session_->sheet(ShortDateToday(), hooks_.designMargin ? hooks_.designMargin() : 0);
    refreshing_ = true;
    setWindowTitle(q(session_->displayName()) + QStringLiteral("[*] — Холодильник"));
    setWindowModified(session_->modified());
    if (!title_->hasFocus()) title_->setText(q(session_->store().title));
    for (int l = 0; l < kTemperatureLevelCount; ++l)
        shares_[l]->setText(q(GeneralText(session_->store().settings.operationShare[l])));
    showRooms(sheet);
    showLevels(sheet);
    showChart();
    QStringList notes;
    for (const std::string& note : sheet.notes) notes << q("Внимание: " + note);
    notes_->setText(notes.join(QLatin1Char('\n')));
    notes_->setVisible(!notes.isEmpty());
    refreshing_ = false;
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
    selectRoom(std::min(selected, rooms_->rowCount() - 1));
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
    y->setRange(0, highest > 0 ? highest : 1);  // no figures: an empty chart, not a range of nothing
    if (highest > 0) y->applyNiceNumbers();
    QChart* old = chart_->chart();
    chart_->setChart(chart);
    delete old;
}

bool StoreWindow::writeReport(const std::string& kind, const std::string& path) {
    for (const ReportKind& k : kReports) {
        if (kind != k.key) continue;
        std::string error;
        const StoreSheet sheet = session_->sheet(ShortDateToday(), hooks_.designMargin ? hooks_.designMargin() : 0);
        if (!k.write(path, sheet, error)) {
            ui_.message(error, kAppTitle, MsgIcon::Critical);
            return false;
        }
        statusBar()->showMessage(QStringLiteral("Отчет записан: ") + q(path), 10000);
        return true;
    }
    return false;
}

void StoreWindow::report(const char* kind) {
    for (const ReportKind& k : kReports)
        if (std::string(kind) == k.key) {
            const std::string path = ui_.saveFileName(k.filter);
            if (!path.empty()) writeReport(kind, path);
        }
}

void StoreWindow::roomFileChanged() {
    if (session_->Refresh()) refresh();
}

bool StoreWindow::confirmClose() {
    if (!session_->modified()) return true;
    bool goOn = false;
    GuardedCall(ui_, [&] { goOn = session_->ConfirmLeave(); });
    if (!goOn) return false;
    // "Нет": the changes are dropped, so the window shows the store as it is in its file.
    if (session_->modified()) session_->DiscardChanges();
    refresh();
    return true;
}

void StoreWindow::setRecentStores(const std::vector<std::string>& paths, std::function<void(const std::string&)> open) {
    for (QAction* old : recentMenu_->actions()) {
        recentMenu_->removeAction(old);
        old->deleteLater();
    }
    for (std::size_t i = 0; i < paths.size(); ++i) {
        const QString path = q(paths[i]);
        QAction* entry = recentMenu_->addAction(QStringLiteral("&%1 %2").arg(i + 1).arg(path.section(u'/', -1)));
        entry->setToolTip(path);
        connect(entry, &QAction::triggered, this, [this, open, p = paths[i]] { run([open, p] { open(p); }); });
    }
    recentMenu_->setEnabled(!paths.empty());
}

void StoreWindow::closeEvent(QCloseEvent* event) {
    if (!confirmClose()) {
        event->ignore();
        return;
    }
    QMainWindow::closeEvent(event);
}

void StoreWindow::changeEvent(QEvent* event) {
    QMainWindow::changeEvent(event);
    // Back from the main window or another program: a room may have been saved meanwhile.
    if (event->type() == QEvent::ActivationChange && isActiveWindow()) roomFileChanged();
}

}  // namespace coldroom
