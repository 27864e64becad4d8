// The window «Холодильник»: the store's fields, tables and chart (drawn in qt_store_views.cpp),
// its menus and toolbar, and the way out of it, which follows the rules of a project.
#include "ui/store/store_window.h"

#include <QAction>
#include <QApplication>
#include <QChart>
#include <QChartView>
#include <QCloseEvent>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QSplitter>
#include <QStatusBar>
#include <QStyle>
#include <QTableWidget>
#include <QTimer>
#include <QToolBar>
#include <QVBoxLayout>

#if defined(__GLIBC__)
#include <malloc.h>
#endif

#include "core/numtext.h"
#include "reports/report_model.h"
#include "reports/store_page.h"
#include "ui/print/print_options_dialog.h"
#include "ui/qt_form_widgets.h"
#include "ui/qt_user_interface.h"
#include "ui/store/energy_dialog.h"

namespace coldroom {
namespace {

QString q(const std::string& s) { return QString::fromStdString(s); }

struct StoreReportKind {
    const char* key;
    const char* filter;
    bool (*write)(const std::string&, const StoreSheet&, std::string&);
};
const StoreReportKind kReports[] = {
    {"html", "Веб-страница (*.html) | *.html", WriteStoreHtml},
    {"csv", "Файлы CSV (*.csv) | *.csv", WriteStoreCsv},
    {"pdf", "Файлы PDF (*.pdf) | *.pdf", WriteStorePdf},
};

}  // namespace

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
    form->addRow(QStringLiteral("&Название"), title_);
    layout->addLayout(form);
    GuardedConnect(title_, &QLineEdit::editingFinished, this, [this] {
        if (refreshing_) return;
        commitPendingEdit();
        refresh();
    });

    rooms_ = new QTableWidget;
    rooms_->setObjectName(QStringLiteral("StoreRooms"));
    rooms_->setEditTriggers(QAbstractItemView::NoEditTriggers);
    rooms_->setSelectionBehavior(QAbstractItemView::SelectRows);
    rooms_->setSelectionMode(QAbstractItemView::SingleSelection);
    rooms_->verticalHeader()->setVisible(false);
    rooms_->setWordWrap(false);
    // Tab leaves the table for the next field; Enter or a double click opens the room.
    rooms_->setTabKeyNavigation(false);
    GuardedConnect(rooms_, &QTableWidget::activated, this, [this](const QModelIndex& index) { openRoom(index.row()); });
    levels_ = new QTableWidget;
    levels_->setObjectName(QStringLiteral("StoreLevels"));
    levels_->setEditTriggers(QAbstractItemView::NoEditTriggers);
    levels_->verticalHeader()->setVisible(false);
    levels_->setSelectionBehavior(QAbstractItemView::SelectRows);
    levels_->setSelectionMode(QAbstractItemView::SingleSelection);
    // Its name, t0 and share are fields of their own, Tab going from one to the next; the sums
    // are read: Tab passes them by.
    levels_->setFocusPolicy(Qt::NoFocus);
    levels_->setTabKeyNavigation(false);
    levels_->setToolTip(QString::fromUtf8(
        "Уровни — отдельные холодильные машины. Название, температуру кипения t0 и долю эксплуатационных "
        "теплопритоков вводят в строке уровня. Нагрузка на компрессоры Q0 = k · ΣQкм: k — потери в "
        "трубопроводах, Qкм — доля камеры (ограждения, продукты и упаковка полностью, эксплуатационные — с "
        "долей уровня, всё делится на рабочий цикл). «Холодильник в целом» складывает разные машины."));
    chart_ = new QChartView(new QChart);
    chart_->setFocusPolicy(Qt::NoFocus);
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
    sumsLayout->addWidget(new QLabel(QStringLiteral("Уровни (холодильные машины) и суммы")));
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
    QAction* addNew = action("storeNewRoom", QStringLiteral("&Новая камера…"), NewRoomIcon(),
                             [this] {
                                 if (!hooks_.newRoom) return;
                                 const std::string path = session_->AddNewRoom(hooks_.newRoom());
                                 if (path.empty()) return;
                                 selectRoom(static_cast<int>(session_->store().rooms.size()) - 1);
                                 if (hooks_.openRoom) hooks_.openRoom(path);
                             });
    QAction* openInMain = action("storeOpenRoom", QStringLiteral("&Открыть в главном окне"),
                               icon("go-jump", QStyle::SP_ArrowRight), [this] { openRoom(selectedRoom()); });
    openInMain->setShortcuts({QKeySequence(Qt::CTRL | Qt::Key_Return), QKeySequence(Qt::CTRL | Qt::Key_Enter)});
    openInMain->setToolTip(QStringLiteral("Открыть проект камеры в главном окне (Enter или двойной щелчок по строке)"));
    QAction* remove = action("storeRemoveRoom", QStringLiteral("&Убрать из холодильника"),
                             icon("list-remove", QStyle::SP_DialogDiscardButton), [this] {
                                 const int row = selectedRoom();
                                 if (row >= 0) session_->RemoveRoom(static_cast<std::size_t>(row));
                             });
    remove->setToolTip(QStringLiteral("Убрать камеру из холодильника (файл проекта остается)"));
    QAction* close = action("storeClose", QStringLiteral("&Закрыть"), {}, [this] { QTimer::singleShot(0, this, &QWidget::close); });
    close->setShortcut(QKeySequence::Close);
    QAction* print = action("storePrint", QStringLiteral("&Печать…"), PrinterIcon(), [this] { printReport(); });
    print->setShortcut(QKeySequence::Print);
    print->setToolTip(QStringLiteral("Предварительный просмотр и печать отчета холодильника"));

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
    bar->addActions({create, open, save, print});
    bar->addSeparator();
    file->addAction(print);
    for (const StoreReportKind& kind : kReports) {
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
    rooms->addActions({openInMain, remove});
    QAction* energy = action("storeEnergy", QStringLiteral("Установка и &энергия…"), {},
                             [this] {
                                 // One such window per store window, brought back when open.
                                 if (!energy_) {
                                     energy_ = new EnergyDialog(*session_, this);
                                     energy_->onChanged = [this] { refresh(); };
                                 }
                                 energy_->show();
                                 energy_->raise();
                                 energy_->activateWindow();
                             });
    energy->setToolTip(QStringLiteral("Установка по уровням кипения, годовая электроэнергия и толщина панелей"));
    rooms->addAction(energy);
    bar->addActions({add, addNew, openInMain, remove, energy});
    QAction* addLevel = action("storeAddLevel", QStringLiteral("&Добавить уровень"), {}, [this] {
        if (session_->AddLevel()) QTimer::singleShot(0, this, [this] { levels_->selectionModel()->select(levels_->model()->index(levels_->rowCount() - 2, 0), QItemSelectionModel::ClearAndSelect | QItemSelectionModel::Rows); });
    });
    addLevel->setToolTip(QStringLiteral("Новая холодильная машина на 10 K холоднее самой холодной"));
    QAction* removeLevel = action("storeRemoveLevel", QStringLiteral("&Убрать уровень"), {}, [this] {
        const int level = selectedLevel();
        if (level < 0)
            ui_.message("Выберите уровень в таблице уровней.", kAppTitle, MsgIcon::Information);
        else
            session_->RemoveLevel(static_cast<std::size_t>(level));
    });
    removeLevel->setToolTip(QStringLiteral("Убрать выбранный уровень; его камеры переходят на уровень по температуре"));
    QMenu* levels = menuBar()->addMenu(QStringLiteral("&Уровни"));
    levels->addActions({addLevel, removeLevel});
}

void StoreWindow::run(const std::function<void()>& command) {
    if (commitPendingEdit()) GuardedCall(ui_, command);
    refresh();
}

void StoreWindow::openRoom(int row) {
    if (row >= 0 && static_cast<std::size_t>(row) < session_->store().rooms.size() && hooks_.openRoom)
        hooks_.openRoom(session_->store().rooms[static_cast<std::size_t>(row)].path);
}

bool StoreWindow::commitPendingEdit() {
    if (refreshing_) return true;
    refreshing_ = true;  // a refusal's message takes the focus: the field must not commit again
    bool taken = true;
    GuardedCall(ui_, [&] {
        // Only what the person typed: a field is not modified once it shows the store.
        const std::string title = title_->text().toStdString();
        if (title_->isModified() && title != session_->store().title) session_->SetTitle(title);
        // Each field once, even when a refusal's message takes the focus from the next.
        for (auto* edits : {&levelEdits_, &roomEdits_})
            for (const auto& [edit, commit] : *edits)
                if (edit && edit->isModified()) {
                    edit->setModified(false);
                    taken = commit(edit->text().toStdString()) && taken;
                }
    });
    for (QLineEdit* field : findChildren<QLineEdit*>()) field->setModified(false);
    refreshing_ = false;
    if (!taken) refresh();  // the refused field shows the store's value again
    return taken;
}

int StoreWindow::selectedLevel() const {
    const auto rows = levels_->selectionModel() ? levels_->selectionModel()->selectedRows() : QModelIndexList{};
    if (rows.isEmpty() || rows.first().row() >= static_cast<int>(session_->store().plant.levels.size())) return -1;
    return rows.first().row();
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
    // What is being typed stays; everything else shows the store as it is now.
    if (!title_->isModified()) title_->setText(q(session_->store().title));
    const int shown = rooms_->rowCount();
    showRooms(sheet);
    // Many rooms gone: once their widgets are deleted (by the event loop), what they held goes
    // back to the system instead of staying with the program.
    if (shown - rooms_->rowCount() >= 100) {
#if defined(__GLIBC__)
        QTimer::singleShot(500, this, [] { malloc_trim(0); });
#endif
    }
    showLevels(sheet);
    showChart();
    QStringList notes;
    for (const std::string& note : sheet.notes) notes << q("Внимание: " + note);
    notes_->setText(notes.join(QLatin1Char('\n')));
    notes_->setVisible(!notes.isEmpty());
    refreshing_ = false;
    // The plant and energy window shows the same store.
    if (energy_) energy_->refresh();
}

bool StoreWindow::writeReport(const std::string& kind, const std::string& path) {
    for (const StoreReportKind& k : kReports) {
        if (kind != k.key) continue;
        std::string error;
        const StoreSheet sheet = session_->sheet(ShortDateToday(), hooks_.designMargin ? hooks_.designMargin() : 0, true);
        if (!k.write(path, sheet, error)) {
            ui_.message(error, kAppTitle, MsgIcon::Critical);
            return false;
        }
        statusBar()->showMessage(QStringLiteral("Отчет записан: ") + q(path), 10000);
        return true;
    }
    return false;
}

void StoreWindow::printReport() {
    std::string error;
    const StoreSheet sheet = session_->sheet(ShortDateToday(), hooks_.designMargin ? hooks_.designMargin() : 0, true);
    if (!QtReportPrinter(this).PrintStore(sheet, error)) ui_.message(error, kAppTitle, MsgIcon::Critical);
}

void StoreWindow::report(const char* kind) {
    for (const StoreReportKind& k : kReports)
        if (std::string(kind) == k.key) {
            const std::string path = ui_.saveFileName(k.filter);
            if (!path.empty()) writeReport(kind, path);
        }
}

void StoreWindow::roomFileChanged() {
    if (session_->Refresh()) refresh();
}

bool StoreWindow::confirmClose() {
    commitPendingEdit();
    refresh();
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
