#include "ui/main/main_window.h"

#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QCloseEvent>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QMenuBar>
#include <QPainter>
#include <QPushButton>
#include <QRadioButton>
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

QRadioButton* Option(const char* name, const QString& caption) {
    auto* radio = new QRadioButton(caption);
    radio->setObjectName(QString::fromLatin1(name));
    return radio;
}

QCheckBox* Flag(const char* name, const QString& caption) {
    auto* check = new QCheckBox(caption);
    check->setObjectName(QString::fromLatin1(name));
    return check;
}

// A frame holding an exclusive pair of options, one under the other.
QGroupBox* OptionFrame(const QString& title, QRadioButton* first, QRadioButton* second) {
    auto* frame = Frame(title);
    auto* box = new QVBoxLayout(frame);
    box->setSpacing(2);
    box->addWidget(first);
    box->addWidget(second);
    return frame;
}

// A neighbouring temperature: its caption over the field and the unit.
QWidget* TemperatureCell(const QString& caption, const char* name) {
    auto* cell = new QWidget;
    auto* grid = new QGridLayout(cell);
    grid->setContentsMargins(0, 0, 0, 0);
    grid->setHorizontalSpacing(3);
    grid->setVerticalSpacing(1);
    grid->addWidget(CaptionLabel(caption), 0, 0, 1, 2, Qt::AlignLeft);
    auto* field = NumberField(name, 52);
    grid->addWidget(field, 1, 0);
    auto* unit = UnitLabel(s("°C"));
    FollowEnabled(field, unit);
    grid->addWidget(unit, 1, 1);
    return cell;
}

// One of the two coloured shapes of the temperature frame: the room seen from above and in
// section. Their fill tells a freezing room from a chilled one at a glance.
QFrame* RoomShape(const char* name) {
    auto* shape = new QFrame;
    shape->setObjectName(QString::fromLatin1(name));
    shape->setFrameShape(QFrame::NoFrame);
    return shape;
}

// Caption, field and unit on one row of a grid; the unit follows the field's enabled state.
QLineEdit* AddNumberRow(QGridLayout* grid, int row, QLabel* caption, QLineEdit* field,
                        const QString& unit = {}) {
    grid->addWidget(caption, row, 0, Qt::AlignVCenter);
    grid->addWidget(field, row, 1);
    if (!unit.isEmpty()) {
        auto* label = UnitLabel(unit);
        FollowEnabled(field, label);
        grid->addWidget(label, row, 2);
    }
    return field;
}

QIcon PaintedIcon(void (*draw)(QPainter&)) {
    QPixmap pixmap(32, 32);
    pixmap.fill(Qt::transparent);
    QPainter p(&pixmap);
    p.setRenderHint(QPainter::Antialiasing);
    draw(p);
    return QIcon(pixmap);
}

void DrawPrinter(QPainter& p) {
    p.setPen(QPen(QColor(60, 60, 70), 1.5));
    p.setBrush(Qt::white);
    p.drawRect(QRectF(9, 3, 14, 10));  // paper going in
    p.setBrush(QColor(120, 130, 145));
    p.drawRoundedRect(QRectF(3, 12, 26, 12), 2, 2);
    p.setBrush(Qt::white);
    p.drawRect(QRectF(8, 20, 16, 9));  // the printed sheet
    p.setPen(QPen(QColor(150, 150, 150), 1));
    p.drawLine(QPointF(11, 23.5), QPointF(21, 23.5));
    p.drawLine(QPointF(11, 26.5), QPointF(18, 26.5));
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

struct Surface {
    const char* tab;
    const char* layers;    // prefix of the layer controls: Nord1_Mt_cmb, Nord1_D_txt
    const char* result;
};

}  // namespace

MainWindow::MainWindow(QWidget* parent) : QMainWindow(parent) {
    setObjectName(QStringLiteral("Form1"));
    setWindowTitle(s("Расчет холодопроизводительности"));
    buildMenus();

    auto* central = new QWidget;
    auto* columns = new QHBoxLayout(central);
    columns->setContentsMargins(8, 6, 8, 8);
    columns->setSpacing(10);

    auto* left = new QVBoxLayout;
    left->setSpacing(6);
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
    resize(1280, 800);
}

MainWindow::~MainWindow() = default;

// ---- menus and toolbar --------------------------------------------------------------------

QAction* MainWindow::addCommandAction(Command command, const char* name, const QString& text) {
    auto* action = new QAction(text, this);
    action->setObjectName(QString::fromLatin1(name));
    action->setEnabled(false);  // until the application sets the command
    connect(action, &QAction::triggered, this, [this, command] { runCommand(command); });
    actions_.emplace(command, action);
    return action;
}

void MainWindow::buildMenus() {
    QStyle* st = style();
    auto icon = [st](const char* theme, QStyle::StandardPixmap fallback) {
        return QIcon::fromTheme(QString::fromLatin1(theme), st->standardIcon(fallback));
    };

    QMenu* files = menuBar()->addMenu(s("Файлы"));
    files->setObjectName(QStringLiteral("Config"));
    QAction* open = addCommandAction(Command::Open, "mnOpen", s("Открыть конфигурацию"));
    open->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_O));
    QAction* save = addCommandAction(Command::Save, "mnSave", s("Сохранить конфигурацию"));
    save->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_S));
    files->addAction(open);
    files->addAction(save);
    files->addSeparator();
    files->addAction(addCommandAction(Command::Exit, "mnQuit", s("Выход из программы")));

    QMenu* utils = menuBar()->addMenu(s("Настройки"));
    utils->setObjectName(QStringLiteral("Utils"));
    utils->addAction(addCommandAction(Command::Parameters, "tlbParameter", s("Параметры расчета")));

    QMenu* help = menuBar()->addMenu(s("Помощь"));
    help->setObjectName(QStringLiteral("Help_Menu"));
    QAction* content = addCommandAction(Command::Help, "mnContent", s("Содержание"));
    content->setShortcut(QKeySequence(Qt::Key_F1));
    help->addAction(content);
    help->addAction(addCommandAction(Command::About, "mnAbout", s("О программе")));

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
        {Command::Print, "PrintFile", "Напечатать отчет",
         QIcon::fromTheme(QStringLiteral("document-print"), PaintedIcon(DrawPrinter))},
        {Command::Parameters, "DataChange", "Расчетные параметры",
         QIcon::fromTheme(QStringLiteral("document-properties"), PaintedIcon(DrawParameters))},
        {Command::Help, "HelpFile", "Справка", icon("help-contents", QStyle::SP_DialogHelpButton)},
    };
    for (const Tool& t : tools) {
        QAction* action = addCommandAction(t.command, t.key, s(t.tip));
        action->setIcon(t.icon);
        action->setToolTip(s(t.tip));
        if (t.command == Command::Print) action->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_P));
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
    // A command may change either form (opening a project sets the task too).
    if (binder_) {
        binder_->run(it->second);
    } else {
        QtUserInterface ui;
        GuardedCall(ui, it->second);
        refresh();
    }
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
    auto* box = new QVBoxLayout(panel);
    box->setContentsMargins(0, 0, 0, 0);
    box->setSpacing(8);

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

    auto* quit = new QPushButton(s("ВЫХОД"));
    quit->setObjectName(QStringLiteral("Quit_btn"));
    quit->setMinimumSize(120, 32);
    quit->setEnabled(false);
    connect(quit, &QPushButton::clicked, this, [this] {
        // The form may own the button; otherwise it is the Exit command.
        if (!(binder_ && binder_->widget("Quit_btn"))) runCommand(Command::Exit);
    });
    box->addWidget(quit, 0, Qt::AlignRight);
    return panel;
}

// ---- tab 0: dimensions, location, temperatures, insulation ---------------------------------

QWidget* MainWindow::buildDimensionsTab() {
    auto* page = new QWidget;
    auto* box = new QVBoxLayout(page);
    box->setContentsMargins(8, 8, 8, 8);
    box->setSpacing(8);

    auto* top = new QHBoxLayout;
    top->setSpacing(10);

    auto* leftColumn = new QVBoxLayout;
    auto* sizes = Frame(s("Размеры"));
    auto* sizeGrid = new QGridLayout(sizes);
    sizeGrid->setVerticalSpacing(5);
    AddNumberRow(sizeGrid, 0, CaptionLabel(s("Длина, м (север и юг)")), NumberField("Length_txt"));
    AddNumberRow(sizeGrid, 1, CaptionLabel(s("Ширина ,м (запад, вост.)")), NumberField("Width_txt"));
    AddNumberRow(sizeGrid, 2, CaptionLabel(s("Высота, м")), NumberField("Height_txt"));
    auto* volumeCaption = CaptionLabel(s("Объем, м<sup>3</sup>"));
    volumeCaption->setTextFormat(Qt::RichText);
    AddNumberRow(sizeGrid, 3, volumeCaption, NumberField("Volume_txt"));
    sizeGrid->setColumnStretch(0, 1);
    leftColumn->addWidget(sizes);
    leftColumn->addSpacing(4);
    auto* location = ListField("Location_cmb", 180);
    auto* locationCaption = CaptionLabel(s("Расположение камеры"));
    locationCaption->setBuddy(location);
    leftColumn->addWidget(locationCaption);
    leftColumn->addWidget(location);
    leftColumn->addStretch(1);
    top->addLayout(leftColumn, 0);

    // Temperatures around the room: the plan (walls) and the section (ceiling and floor).
    auto* temps = Frame(s("Температурный режим"));
    auto* tempBox = new QVBoxLayout(temps);
    auto* views = new QHBoxLayout;
    views->setSpacing(14);

    auto* plan = new QGridLayout;
    plan->setSpacing(4);
    shapes_[0] = RoomShape("Shape1");
    auto* room = new QVBoxLayout(shapes_[0]);
    room->setContentsMargins(10, 6, 10, 6);
    room->setSpacing(1);
    room->addWidget(CaptionLabel(s("В камере")), 0, Qt::AlignHCenter);
    auto* roomRow = new QHBoxLayout;
    roomRow->setSpacing(3);
    roomRow->addStretch(1);
    auto* roomField = NumberField("TempIn_txt", 52);
    roomRow->addWidget(roomField);
    auto* roomUnit = UnitLabel(s("°C"));
    FollowEnabled(roomField, roomUnit);
    roomRow->addWidget(roomUnit);
    roomRow->addStretch(1);
    room->addLayout(roomRow);
    shapes_[0]->setMinimumSize(108, 64);
    plan->addWidget(TemperatureCell(s("Север"), "TempNord_txt"), 0, 1, Qt::AlignHCenter);
    plan->addWidget(TemperatureCell(s("Запад"), "TempWest_txt"), 1, 0, Qt::AlignVCenter);
    plan->addWidget(shapes_[0], 1, 1);
    plan->addWidget(TemperatureCell(s("Восток"), "TempEast_txt"), 1, 2, Qt::AlignVCenter);
    plan->addWidget(TemperatureCell(s("Юг"), "TempSouth_txt"), 2, 1, Qt::AlignHCenter);
    views->addLayout(plan);

    auto* section = new QVBoxLayout;
    section->setSpacing(4);
    section->addWidget(TemperatureCell(s("Потолок"), "TempCeil_txt"), 0, Qt::AlignHCenter);
    shapes_[1] = RoomShape("Shape2");
    shapes_[1]->setMinimumSize(72, 64);
    section->addWidget(shapes_[1], 1);
    section->addWidget(TemperatureCell(s("Пол"), "TempFloor_txt"), 0, Qt::AlignHCenter);
    views->addLayout(section);
    views->addStretch(1);
    tempBox->addLayout(views);
    tempBox->addWidget(Flag("optAll_Temp", s("Одинаковая внешняя температура")));
    top->addWidget(temps, 1);
    box->addLayout(top);

    // Insulation: three layers per surface, one tab per surface.
    auto* insulation = Frame(s("Теплоизоляция"));
    auto* insBox = new QVBoxLayout(insulation);
    insBox->setSpacing(4);
    insBox->addWidget(Flag("optAll_as_one", s("Одинаковые параметры для всех стен")));
    auto* surfaces = new QTabWidget;
    surfaces->setObjectName(QStringLiteral("SSTab2"));
    surfaces->setUsesScrollButtons(true);

    const Surface list[] = {
        {"СЕВЕР", "Nord", "Nord_Poteri_txt"},     {"ЮГ", "South", "South_Poteri_txt"},
        {"ВОСТОК", "East", "East_Poteri_txt"},    {"ЗАПАД", "West", "West_Poteri_txt"},
        {"ПОТОЛОК", "Ceil", "Ceil_Poteri_txt"},   {"ПОЛ", "Floor", "Floor_Poteri_txt"},
    };
    for (const Surface& surface : list) {
        auto* tab = new QWidget;
        auto* row = new QHBoxLayout(tab);
        row->setContentsMargins(8, 8, 8, 8);
        row->setSpacing(14);

        auto* layers = new QGridLayout;
        layers->setHorizontalSpacing(8);
        layers->setVerticalSpacing(5);
        layers->addWidget(CaptionLabel(s("Материал")), 0, 1);
        layers->addWidget(CaptionLabel(s("Толщина, мм")), 0, 2, Qt::AlignRight);
        const std::string prefix = surface.layers;
        for (int layer = 1; layer <= 3; ++layer) {
            const std::string material = prefix + std::to_string(layer) + "_Mt_cmb";
            const std::string thickness = prefix + std::to_string(layer) + "_D_txt";
            layers->addWidget(CaptionLabel(s("СЛОЙ %1").arg(layer)), layer, 0);
            layers->addWidget(ListField(material.c_str(), 170), layer, 1);
            layers->addWidget(NumberField(thickness.c_str(), 72), layer, 2);
        }
        auto* rule = new QFrame;
        rule->setFrameShape(QFrame::HLine);
        rule->setFrameShadow(QFrame::Sunken);
        layers->addWidget(rule, 4, 0, 1, 3);
        layers->addWidget(CaptionLabel(s("Теплопотери, Вт")), 5, 1, Qt::AlignRight | Qt::AlignVCenter);
        layers->addWidget(ResultField(surface.result, 72), 5, 2);
        layers->setColumnStretch(1, 1);
        layers->setRowStretch(6, 1);
        row->addLayout(layers, 1);

        auto* side = new QVBoxLayout;
        side->setSpacing(6);
        const std::string wall = prefix == "Nord" ? "North" : prefix;
        if (prefix == "Floor") {
            side->addWidget(OptionFrame(s("Расположение"), Option("FloorAir_Opt", s("Над помещением")),
                                        Option("FloorGrunt_Opt", s("На грунте"))));
            side->addWidget(OptionFrame(s("Наличие обогрева"), Option("FloorHeat_Opt", s("пол с обогревом")),
                                        Option("FloorCold_Opt", s("пол без обогрева"))));
        } else {
            if (prefix == "Ceil") {
                side->addWidget(OptionFrame(s("Тип потолка"), Option("CeilIns_opt", s("Перекрытие")),
                                            Option("CeilOut_opt", s("Крыша"))));
            } else {
                const std::string out = wall + "Out_opt", ins = wall + "Ins_opt";
                side->addWidget(OptionFrame(s("Тип стены"),
                                            Option(out.c_str(), prefix == "South" ? s("Наружная") : s("Внешняя")),
                                            Option(ins.c_str(), s("Внутренняя"))));
            }
            const std::string coating = wall + "Surf_cmb";
            side->addWidget(CaptionLabel(s("Внешнее покрытие")));
            side->addWidget(ListField(coating.c_str(), 160));
        }
        side->addStretch(1);
        row->addLayout(side, 0);
        surfaces->addTab(tab, s(surface.tab));
    }
    insBox->addWidget(surfaces);
    box->addWidget(insulation);
    box->addStretch(1);
    return page;
}

// ---- tab 1: operation -----------------------------------------------------------------------

QWidget* MainWindow::buildOperationTab() {
    auto* page = new QWidget;
    auto* columns = new QHBoxLayout(page);
    columns->setContentsMargins(8, 8, 8, 8);
    columns->setSpacing(12);

    auto* doors = Frame(s("Открывание дверей"));
    auto* grid = new QGridLayout(doors);
    grid->setVerticalSpacing(5);
    grid->setHorizontalSpacing(6);
    grid->addWidget(Option("Door_Standard_opt", s("Стандартные условия")), 0, 0, 1, 3);
    auto* cellType = ListField("TypeOfCell_cmb", 140);
    auto* cellCaption = CaptionLabel(s("Тип камеры"), "TypeOfCell_lbl");
    grid->addWidget(cellCaption, 1, 0);
    grid->addWidget(cellType, 1, 1, 1, 2);
    grid->setRowMinimumHeight(2, 6);
    grid->addWidget(Option("Door_Special_opt", s("Специальные условия")), 3, 0, 1, 3);
    int r = 4;
    AddNumberRow(grid, r++, CaptionLabel(s("Ширина двери"), "Door_W_lbl"), NumberField("Door_W_txt"), s("м"));
    AddNumberRow(grid, r++, CaptionLabel(s("Высота двери"), "Door_H_lbl"), NumberField("Door_H_txt"), s("м"));
    AddNumberRow(grid, r++, CaptionLabel(s("Дверь открыта"), "Door_Open_lbl"), NumberField("Door_Open_txt"),
                 s("часов/сутки"));
    auto* curtain = ListField("TypeOfCurtain_cmb", 140);
    grid->addWidget(CaptionLabel(s("Тип занавеси"), "TypeOfCurtain_lbl"), r, 0);
    grid->addWidget(curtain, r++, 1, 1, 2);
    AddNumberRow(grid, r++, CaptionLabel(s("Наружная температура"), "TempOut_lbl"), NumberField("TempOut_txt"),
                 s("°C"));
    AddNumberRow(grid, r++, CaptionLabel(s("Относительная влажность, %"), "HumidOut_lbl"),
                 NumberField("HumidOut_txt"));
    auto* rule = new QFrame;
    rule->setFrameShape(QFrame::HLine);
    rule->setFrameShadow(QFrame::Sunken);
    grid->addWidget(rule, r++, 0, 1, 3);
    AddNumberRow(grid, r++, CaptionLabel(s("Теплоприток через дверь, Вт")), ResultField("Door_Loss_txt", 72));
    grid->setColumnStretch(2, 1);
    auto* leftColumn = new QVBoxLayout;
    leftColumn->addWidget(doors);
    leftColumn->addStretch(1);
    columns->addLayout(leftColumn, 1);

    auto* right = new QVBoxLayout;
    right->setSpacing(8);
    auto* work = Frame({});
    auto* workGrid = new QGridLayout(work);
    workGrid->setVerticalSpacing(8);
    workGrid->setHorizontalSpacing(8);
    AddNumberRow(workGrid, 0, CaptionLabel(s("Кол-во работающих в камере людей"), nullptr, true),
                 NumberField("NofPeople_txt"));
    AddNumberRow(workGrid, 1, CaptionLabel(s("Время пребывания в хол. камере, часов"), nullptr, true),
                 NumberField("TimePeople_txt"));
    AddNumberRow(workGrid, 2,
                 CaptionLabel(s("Теплоприток от эл-двигателей установленного в камере технологического "
                                "оборудования, кВт час"),
                              nullptr, true),
                 NumberField("Electro_txt"));
    AddNumberRow(workGrid, 3,
                 CaptionLabel(s("Теплоприток от двигателей электропогрузчиков, кВт час"), nullptr, true),
                 NumberField("Lifter_txt"));
    workGrid->setColumnStretch(0, 1);
    right->addWidget(work);

    auto* fans = Frame({});
    auto* fanGrid = new QGridLayout(fans);
    fanGrid->setVerticalSpacing(4);
    auto* fanCaption = CaptionLabel(s(" Мощность  эл-двигателей вентиляторов воздухоохладителей"), nullptr, true);
    fanGrid->addWidget(fanCaption, 0, 0, 1, 3);
    fanGrid->addWidget(Option("AutoEva_opt", s("Учитывать автоматически")), 1, 0, 1, 3);
    fanGrid->addWidget(Option("ManualEva_opt", s("Явно задать значение")), 2, 0, 1, 3);
    // The entered power sits under the option that lets it be entered.
    auto* fanField = NumberField("ElectroEva_txt");
    fanGrid->addWidget(fanField, 3, 1);
    auto* fanUnit = UnitLabel(s("Вт"));
    FollowEnabled(fanField, fanUnit);
    fanGrid->addWidget(fanUnit, 3, 2);
    fanGrid->setColumnMinimumWidth(0, 16);
    fanGrid->setColumnStretch(3, 1);
    right->addWidget(fans);

    auto* cycle = Frame({});
    auto* cycleGrid = new QGridLayout(cycle);
    AddNumberRow(cycleGrid, 0, CaptionLabel(s("Рабочий цикл агрегата, %")), NumberField("Cycle_txt"));
    cycleGrid->setColumnStretch(0, 1);
    right->addWidget(cycle);
    right->addStretch(1);
    columns->addLayout(right, 1);
    return page;
}

// ---- tab 2: product -------------------------------------------------------------------------

QWidget* MainWindow::buildProductTab() {
    auto* page = new QWidget;
    auto* box = new QVBoxLayout(page);
    box->setContentsMargins(8, 8, 8, 8);
    box->setSpacing(10);

    // The product summary across the top; the times and the respiration heat below it.
    auto* product = Frame({});
    auto* grid = new QGridLayout(product);
    grid->setVerticalSpacing(7);
    grid->setHorizontalSpacing(14);
    struct Row {
        const char* caption;
        const char* name;
        const char* unit;
    };
    const Row rows[] = {
        {"ТИП ПРОДУКТОВ", "TypeOfProduct_lbl", nullptr},
        {"Начальная Т продуктов", "TempIn_lbl", "°C"},
        {"Конечная Т продуктов", "TempEnd_lbl", "°C"},
        {"Норма хранения, т", "Norma_lbl", nullptr},
        {"Загрузка камеры, т", "Loading_lbl", nullptr},
        {"Сколько продукции охлаждается, т", "Oborot_lbl", nullptr},
        {"Упаковка", "Tara_lbl", nullptr},
        {"Скорость движения воздуха в камере, м/с", "AirSpeed_lbl", nullptr},
    };
    int r = 0;
    for (const Row& row : rows) {
        grid->addWidget(CaptionLabel(s(row.caption)), r, 0);
        auto* value = ValueLabel(row.name);
        value->setMinimumWidth(40);  // a long product name is cut, never widens the window
        if (row.unit) {
            auto* line = new QHBoxLayout;
            line->setSpacing(4);
            line->addWidget(value);
            line->addWidget(UnitLabel(s(row.unit)));
            line->addStretch(1);
            grid->addLayout(line, r, 1);
        } else {
            grid->addWidget(value, r, 1);
        }
        ++r;
    }
    grid->setColumnStretch(1, 1);
    box->addWidget(product);

    auto* lower = new QHBoxLayout;
    lower->setSpacing(12);
    auto* times = Frame(s("ВРЕМЯ ОХЛАЖДЕНИЯ/ ДОМОРАЖИВАНИЯ"));
    auto* timeGrid = new QGridLayout(times);
    timeGrid->setVerticalSpacing(6);
    timeGrid->setHorizontalSpacing(10);
    const Row timeRows[] = {
        {"Желаемое время", "TimeReal_lbl", "ч"},      {"Охлаждение", "TimeCooling_lbl", "ч"},
        {"Замораживание", "TimeFreezing_lbl", "ч"},   {"Домораживание", "TimeAfterFreezing_lbl", "ч"},
        {"Общее время", "TimeMin_lbl", "ч"},
    };
    r = 0;
    for (size_t i = 0; i < std::size(timeRows); ++i) {
        // The wish, the three stages, and their sum are set apart by rules.
        if (i == 1 || i == 4) {
            auto* rule = new QFrame;
            rule->setFrameShape(QFrame::HLine);
            rule->setFrameShadow(QFrame::Sunken);
            timeGrid->addWidget(rule, r++, 0, 1, 3);
        }
        timeGrid->addWidget(CaptionLabel(s(timeRows[i].caption)), r, 0);
        auto* value = ValueLabel(timeRows[i].name);
        value->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
        value->setMinimumWidth(56);
        timeGrid->addWidget(value, r, 1);
        timeGrid->addWidget(UnitLabel(s(timeRows[i].unit)), r, 2);
        ++r;
    }
    lower->addWidget(times);

    auto* side = new QVBoxLayout;
    auto* breath = new QHBoxLayout;
    breath->addWidget(CaptionLabel(s("Теплота дыхания, Вт"), "BreathLoss_lbl"));
    breath->addWidget(ResultField("BreathLoss_txt", 86));
    breath->addStretch(1);
    side->addLayout(breath);
    side->addStretch(1);
    auto* change = new QPushButton(s("ИЗМЕНИТЬ"));
    change->setObjectName(QStringLiteral("Change_btn"));
    change->setMinimumSize(120, 30);
    change->setToolTip(s(" Выбор технологической задачи").trimmed());
    side->addWidget(change, 0, Qt::AlignRight);
    lower->addLayout(side, 1);
    box->addLayout(lower);
    box->addStretch(1);
    return page;
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
    updateShapes();
    updateChart();
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
