#include "ui/main/main_window.h"

#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QCloseEvent>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QMenu>
#include <QMenuBar>
#include <QPainter>
#include <QPushButton>
#include <QRadioButton>
#include <QStatusBar>
#include <QStyle>
#include <QTabWidget>
#include <QToolBar>
#include <QVBoxLayout>

#include <cmath>

#include "core/load_components.h"
#include "ui/qt_binder.h"
#include "ui/qt_form_widgets.h"
#include "ui/qt_load_chart.h"
#include "ui/qt_user_interface.h"

namespace coldroom {

namespace {

constexpr MainWindow::Rgb kColdRoomColour{200, 210, 255};

QString s(const char* utf8) { return QString::fromUtf8(utf8); }

QIcon PaintedIcon(void (*draw)(QPainter&)) {
    QPixmap pixmap(32, 32);
    pixmap.fill(Qt::transparent);
    QPainter p(&pixmap);
    p.setRenderHint(QPainter::Antialiasing);
    draw(p);
    return QIcon(pixmap);
}

void DrawParameters(QPainter& p) {
    // A reference table: a header row and a grid of values.
    p.setPen(QPen(QColor(60, 60, 70), 1.5));
    p.setBrush(Qt::white);
    p.drawRect(QRectF(4, 5, 24, 22));
    p.setBrush(QColor(70, 110, 170));
    p.drawRect(QRectF(4, 5, 24, 6));
    p.setPen(QPen(QColor(120, 120, 130), 1));
    for (double y : {16.5, 21.5}) p.drawLine(QPointF(4, y), QPointF(28, y));
    p.drawLine(QPointF(13, 11), QPointF(13, 27));
}

// A white question mark on a blue disc: the common sign for help, legible at 24 px, where
// the style's own help glyph is a faint mark.
void DrawHelp(QPainter& p) {
    p.setPen(QPen(QColor(40, 70, 130), 1.5));
    p.setBrush(QColor(70, 110, 170));
    p.drawEllipse(QRectF(2.5, 2.5, 27, 27));
    QFont font = p.font();
    font.setBold(true);
    font.setPixelSize(21);
    p.setFont(font);
    p.setPen(Qt::white);
    p.drawText(QRectF(2.5, 3.5, 27, 27), Qt::AlignCenter, QStringLiteral("?"));
}

}  // namespace

MainWindow::MainWindow(QWidget* parent) : QMainWindow(parent) {
    setObjectName(QStringLiteral("Form1"));
    setWindowTitle(s("Расчет холодопроизводительности"));
    buildMenus();

    auto* central = new QWidget;
    auto* columns = new QHBoxLayout(central);
    columns->setContentsMargins(8, 6, 8, 8);
    columns->setSpacing(10);

    auto* left = Spaced<QVBoxLayout>(6);
    auto* name = new QLineEdit(s("Название задачи"));
    name->setObjectName(QStringLiteral("Name_txt"));
    name->setToolTip(s("Название задачи, которое хранится в файле конфигурации"));
    QFont nameFont = name->font();
    nameFont.setBold(true);
    nameFont.setPointSizeF(nameFont.pointSizeF() * 1.15);
    name->setFont(nameFont);
    left->addWidget(name);

    auto* tabs = new QTabWidget;
    tabs->setObjectName(QStringLiteral("SSTab1"));
    tabs->setDocumentMode(false);
    tabs->addTab(buildDimensionsTab(), s("Размеры/Изоляция/Темп. режим"));
    tabs->addTab(buildOperationTab(), s("Параметры эксплуатации"));
    tabs->addTab(buildProductTab(), s("Продукты в камере"));
    left->addWidget(tabs, 1);
    columns->addLayout(left, 1);

    columns->addWidget(buildResults());
    setCentralWidget(central);

    setStyleSheet(s(
        "QLabel[unit=\"true\"] { color: palette(dark); }"
        "QLabel[unit=\"true\"]:disabled { color: palette(midlight); }"
        "QLineEdit[result=\"true\"] { background: palette(window); border: 1px solid palette(mid);"
        "  border-radius: 2px; padding: 1px 4px; }"
        "QLabel[value=\"true\"] { font-weight: bold; }"
        "QLineEdit#Total_poteri, QLineEdit#Capacity_need { font-weight: bold; }"
        "QLineEdit#Capacity_need { background: #e8f0ff; border: 1px solid #4a6ea8; padding: 2px 4px; }"));
    updateShapes();
    // The status line is there from the start: a message coming up later does not shorten the
    // window's content, and the ВЫХОД button stays where the person saw it.
    statusBar();
    resize(1280, 800);
}

MainWindow::~MainWindow() = default;

// ---- menus and toolbar --------------------------------------------------------------------

QAction* MainWindow::addCommandAction(Command command, const char* name, const QString& text) {
    auto* action = new QAction(text, this);
    action->setObjectName(QString::fromLatin1(name));
    action->setEnabled(false);  // until the application sets the command
    GuardedConnect(action, &QAction::triggered, this, [this, command] { runCommand(command); });
    actions_.emplace(command, action);
    return action;
}

void MainWindow::buildMenus() {
    QStyle* st = style();
    auto icon = [st](const char* theme, QStyle::StandardPixmap fallback) {
        return QIcon::fromTheme(QString::fromLatin1(theme), st->standardIcon(fallback));
    };

    QMenu* files = menuBar()->addMenu(s("&Файлы"));
    files->setObjectName(QStringLiteral("Config"));
    QAction* create = addCommandAction(Command::New, "mnNew", s("&Новый проект"));
    create->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_N));
    create->setIcon(icon("document-new", QStyle::SP_FileIcon));
    create->setToolTip(s("Новый проект: окно выбора технологической задачи, затем главное окно"));
    files->addAction(create);
    QAction* open = addCommandAction(Command::Open, "mnOpen", s("&Открыть конфигурацию"));
    open->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_O));
    QAction* save = addCommandAction(Command::Save, "mnSave", s("&Сохранить конфигурацию"));
    save->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_S));
    QAction* saveAs = addCommandAction(Command::SaveAs, "mnSaveAs", s("Сохранить &как…"));
    saveAs->setShortcut(QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_S));
    files->addAction(open);
    files->addAction(save);
    files->addAction(saveAs);
    files->addSeparator();
    recentMenu_ = files->addMenu(s("&Последние проекты"));
    recentMenu_->setObjectName(QStringLiteral("mnRecent"));
    recentMenu_->setEnabled(false);
    files->addSeparator();
    files->addAction(addCommandAction(Command::Exit, "mnQuit", s("&Выход из программы")));

    QMenu* utils = menuBar()->addMenu(s("&Настройки"));
    utils->setObjectName(QStringLiteral("Utils"));
    utils->addAction(addCommandAction(Command::Parameters, "tlbParameter", s("&Параметры расчета")));

    QMenu* help = menuBar()->addMenu(s("&Помощь"));
    help->setObjectName(QStringLiteral("Help_Menu"));
    // F1 opens the help at the section of the window it is pressed in (the desktop program
    // sees to it in every window); the menu opens its contents.
    help->addAction(addCommandAction(Command::Help, "mnContent", s("&Содержание")));
    help->addAction(addCommandAction(Command::About, "mnAbout", s("&О программе")));

    QToolBar* bar = addToolBar(QStringLiteral("Toolbar1"));
    bar->setObjectName(QStringLiteral("Toolbar1"));
    bar->setMovable(false);
    bar->setIconSize(QSize(24, 24));
    struct Tool {
        Command command;
        const char* key;
        const char* tip;
        QIcon icon;
    };
    const Tool tools[] = {
        {Command::Open, "OpenFile", "Прочитать конфигурацию", icon("document-open", QStyle::SP_DialogOpenButton)},
        {Command::Save, "SaveFile", "Сохранить конфигурацию", icon("document-save", QStyle::SP_DialogSaveButton)},
        {Command::Print, "PrintFile", "Напечатать отчет", PrinterIcon()},
        {Command::Parameters, "DataChange", "Расчетные параметры",
         QIcon::fromTheme(QStringLiteral("document-properties"), PaintedIcon(DrawParameters))},
        {Command::Help, "HelpFile", "Справка", QIcon::fromTheme(QStringLiteral("help-contents"), PaintedIcon(DrawHelp))},
    };
    for (const Tool& t : tools) {
        QAction* action = addCommandAction(t.command, t.key, s(t.tip));
        action->setIcon(t.icon);
        action->setToolTip(s(t.tip));
        if (t.command == Command::Print) {
            // The same command in the "Файлы" menu, where a person looks for it first.
            action->setText(s("Пе&чать отчета…"));
            action->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_P));
            files->insertAction(recentMenu_->menuAction(), action);
            files->insertSeparator(recentMenu_->menuAction());
        }
        if (t.command == Command::Parameters || t.command == Command::Help) bar->addSeparator();
        bar->addAction(action);
    }
}

void MainWindow::setCommand(Command command, std::function<void()> fn) {
    const bool set = static_cast<bool>(fn);
    commands_[command] = std::move(fn);
    auto [first, last] = actions_.equal_range(command);
    for (auto it = first; it != last; ++it) it->second->setEnabled(set);
    if (command == Command::Exit)
        if (auto* quit = findChild<QPushButton*>(QStringLiteral("Quit_btn")); quit && !(binder_ && binder_->widget("Quit_btn")))
            quit->setEnabled(set);
}

void MainWindow::runCommand(Command command) {
    auto it = commands_.find(command);
    if (it == commands_.end() || !it->second) return;
    std::function<void()> run = it->second;
    // Exit commits the pending field itself (a refused value must not keep the person in).
    if (runner_ && command != Command::Exit) run = [this, fn = it->second] { runner_(fn); };
    // A command may change either form (opening a project sets the task too).
    if (binder_) {
        binder_->run(run);
    } else {
        QtUserInterface ui;
        GuardedCall(ui, run);
        refresh();
    }
}

void MainWindow::setDocumentTitle(const QString& name, bool modified) {
    setWindowTitle(name + QStringLiteral("[*] — ") + s("Расчет холодопроизводительности"));
    setWindowModified(modified);
}

void MainWindow::setRecentProjects(const std::vector<std::string>& paths,
                                   std::function<void(const std::string&)> open) {
    // Not clear(): the entry being chosen may be what asks for the new list.
    for (QAction* old : recentMenu_->actions()) {
        recentMenu_->removeAction(old);
        old->deleteLater();
    }
    for (size_t i = 0; i < paths.size(); ++i) {
        const QString path = QString::fromStdString(paths[i]);
        const QString name = path.section(u'/', -1);
        QAction* entry = recentMenu_->addAction(QStringLiteral("&%1 %2").arg(i + 1).arg(name));
        entry->setToolTip(path);
        entry->setStatusTip(path);
        GuardedConnect(entry, &QAction::triggered, this, [this, open, p = paths[i]] {
            const std::function<void()> command = [open, p] { open(p); };
            auto run = runner_ ? std::function<void()>([this, command] { runner_(command); }) : command;
            if (binder_)
                binder_->run(run);
            else
                run();
        });
    }
    recentMenu_->setEnabled(!paths.empty());
}

void MainWindow::closeEvent(QCloseEvent* event) {
    // The title-bar close is the person's Exit; a close from code is let through.
    if (event->spontaneous()) {
        event->ignore();
        runCommand(Command::Exit);
        return;
    }
    QMainWindow::closeEvent(event);
}

// ---- results --------------------------------------------------------------------------------

QWidget* MainWindow::buildResults() {
    auto* panel = new QWidget;
    panel->setMaximumWidth(380);
    auto* box = Spaced<QVBoxLayout>(8, panel, 0);

    auto* frame = Frame(s("ТЕПЛОПОТЕРИ, Вт"), "Poteri_frm");
    auto* grid = new QGridLayout(frame);
    grid->setHorizontalSpacing(6);
    grid->setVerticalSpacing(6);
    int r = 0;
    for (const LoadComponent& c : LoadComponents()) {
        if (c.role != LoadRole::Component && c.role != LoadRole::Sum) continue;
        if (c.id == LoadId::Total) {  // the sum and the capacity stand apart from the components
            auto* rule = new QFrame;
            rule->setFrameShape(QFrame::HLine);
            rule->setFrameShadow(QFrame::Sunken);
            grid->addWidget(rule, r++, 0, 1, 3);
        }
        auto* caption = CaptionLabel(s(c.caption.c_str()));
        auto* field = ResultField(c.control.c_str(), 84);
        if (c.id == LoadId::Total) {
            QFont f = caption->font();
            f.setBold(true);
            caption->setFont(f);
        }
        if (c.id == LoadId::Capacity) {
            // The answer the whole calculation is for: its caption on a line of its own, the
            // value larger beneath it.
            grid->addWidget(caption, r++, 0, 1, 3);
            QFont f = field->font();
            f.setPointSizeF(f.pointSizeF() * 1.3);
            f.setBold(true);
            field->setFont(f);
            field->setFixedWidth(110);
            grid->addWidget(field, r, 0, 1, 2, Qt::AlignRight);
            auto* unit = UnitLabel(s("Вт"));
            grid->addWidget(unit, r++, 2);
            marginLabel_ = new QLabel;
            marginLabel_->setObjectName(QStringLiteral("Margin_lbl"));
            marginLabel_->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
            marginLabel_->setToolTip(s("Требуемая холодопроизводительность с запасом (меню «Настройки»)"));
            grid->addWidget(marginLabel_, r++, 0, 1, 3);
            auto* notice = new QLabel;
            notice->setObjectName(QStringLiteral("ResultsNotice_lbl"));
            notice->setWordWrap(true);
            notice->setStyleSheet(s("color: #a04000;"));
            notice->setVisible(false);
            grid->addWidget(notice, r++, 0, 1, 3);
            continue;
        }
        AddNumberRow(grid, r++, caption, field, s("Вт"));
    }
    grid->setColumnStretch(0, 1);
    box->addWidget(frame);

    chart_ = new LoadChart;
    chart_->setToolTip(s("Составляющие теплопритоков"));
    box->addWidget(chart_);
    box->addStretch(1);

    auto* quit = new QPushButton(s("&ВЫХОД"));
    quit->setObjectName(QStringLiteral("Quit_btn"));
    quit->setMinimumSize(120, 32);
    quit->setEnabled(false);
    // A click must reach it even while a field holds a refused value: it takes no focus, and
    // leaving commits (or puts back) the field itself.
    quit->setFocusPolicy(Qt::TabFocus);
    GuardedConnect(quit, &QPushButton::clicked, this, [this] {
        // The form may own the button; otherwise it is the Exit command.
        if (!(binder_ && binder_->widget("Quit_btn"))) runCommand(Command::Exit);
    });
    box->addWidget(quit, 0, Qt::AlignRight);
    return panel;
}

// ---- binding and refresh --------------------------------------------------------------------

void MainWindow::bind(const ControlRegistry& controls, std::function<void()> refreshAll) {
    if (!refreshAll) refreshAll = [this] { refresh(); };
    binder_ = std::make_unique<QtBinder>(this, controls, std::move(refreshAll));
    if (auto* quit = findChild<QPushButton*>(QStringLiteral("Quit_btn")); quit && !binder_->widget("Quit_btn"))
        quit->setEnabled(commands_.count(Command::Exit) && commands_[Command::Exit]);
    updateShapes();
    updateChart();
}

void MainWindow::refresh() {
    if (binder_) binder_->refresh();
    // A notice takes room only while it says something.
    for (const char* name : {"DoorNotice_lbl", "ResultsNotice_lbl"})
        if (auto* notice = findChild<QLabel*>(QString::fromLatin1(name))) notice->setVisible(!notice->text().isEmpty());
    updateShapes();
    updateChart();
    if (marginLabel_) {
        const QString line = margin_ ? QString::fromStdString(margin_()) : QString();
        marginLabel_->setText(line);
        marginLabel_->setVisible(!line.isEmpty());
    }
}

void MainWindow::updateShapes() {
    Rgb colour = shapeColour_ ? shapeColour_() : kColdRoomColour;
    for (int& c : colour) c = std::clamp(c, 0, 255);
    if (colour == shownColour_) return;
    shownColour_ = colour;
    const QString fill = QStringLiteral("rgb(%1,%2,%3)").arg(colour[0]).arg(colour[1]).arg(colour[2]);
    for (QFrame* shape : shapes_)
        shape->setStyleSheet(QStringLiteral("QFrame#%1 { background: %2; border: 2px solid #5d6b87;"
                                            " border-radius: 3px; }")
                                 .arg(shape->objectName(), fill));
}

void MainWindow::setResultsSource(std::function<const LoadBreakdown*()> source) {
    results_ = std::move(source);
    updateChart();
}

void MainWindow::updateChart() {
    if (!chart_) return;
    const LoadBreakdown* results = results_ ? results_() : nullptr;
    chart_->showLoads(results ? ChartedLoads(*results) : std::vector<ChartedLoad>{});
}

}  // namespace coldroom
