// The three tabs of the main window: the room and its envelope, the operation, the product.
#include <QCheckBox>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QRadioButton>
#include <QTabWidget>
#include <QPushButton>
#include <QVBoxLayout>

#include "core/envelope.h"
#include "core/load_components.h"
#include "refdb/location_notes.h"
#include "ui/main/door_notice.h"
#include "ui/main/main_window.h"
#include "ui/qt_form_widgets.h"
#include "ui/qt_user_interface.h"

namespace coldroom {

namespace {

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

// A caption whose text the form owns: the binder shows it.
QLabel* FormCaption(const char* name) { return CaptionLabel(QString(), name); }

struct SurfaceTab {
    const char* tab;
    const char* layers;    // prefix of the layer controls: Nord1_Mt_cmb, Nord1_D_txt
    const char* result;
};


}  // namespace

// ---- tab 0: dimensions, location, temperatures, insulation ---------------------------------

QWidget* MainWindow::buildDimensionsTab() {
    auto* page = new QWidget;
    auto* box = Spaced<QVBoxLayout>(8, page, 8);

    auto* top = Spaced<QHBoxLayout>(10);

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
    // A location whose figures are in doubt says so when pointed at in the list.
    QObject::connect(location->model(), &QAbstractItemModel::rowsInserted, location,
                     [location](const QModelIndex&, int first, int last) {
                         QtUserInterface ui;
                         GuardedCall(ui, [&] {
                             for (int i = first; i <= last; ++i) {
                                 const std::string note = LocationNote(location->itemText(i).toStdString());
                                 location->setItemData(i, QString::fromStdString(note), Qt::ToolTipRole);
                             }
                         });
                     });
    auto* locationCaption = CaptionLabel(s("Расположение камеры"));
    locationCaption->setBuddy(location);
    leftColumn->addWidget(locationCaption);
    leftColumn->addWidget(location);
    leftColumn->addStretch(1);
    top->addLayout(leftColumn, 0);

    // Temperatures around the room: the plan (walls) and the section (ceiling and floor).
    auto* temps = Frame(s("Температурный режим"));
    auto* tempBox = new QVBoxLayout(temps);
    auto* views = Spaced<QHBoxLayout>(14);

    auto* plan = new QGridLayout;
    plan->setSpacing(4);
    shapes_[0] = RoomShape("Shape1");
    auto* room = new QVBoxLayout(shapes_[0]);
    room->setContentsMargins(10, 6, 10, 6);
    room->setSpacing(1);
    room->addWidget(CaptionLabel(s("В камере")), 0, Qt::AlignHCenter);
    auto* roomRow = Spaced<QHBoxLayout>(3);
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

    auto* section = Spaced<QVBoxLayout>(4);
    section->addWidget(TemperatureCell(s("Потолок"), "TempCeil_txt"), 0, Qt::AlignHCenter);
    shapes_[1] = RoomShape("Shape2");
    shapes_[1]->setMinimumSize(72, 64);
    section->addWidget(shapes_[1], 1);
    section->addWidget(TemperatureCell(s("Пол"), "TempFloor_txt"), 0, Qt::AlignHCenter);
    views->addLayout(section);
    views->addStretch(1);
    tempBox->addLayout(views);
    tempBox->addWidget(Flag("optAll_Temp", s("Одинаковая внешняя &температура")));
    top->addWidget(temps, 1);
    box->addLayout(top);

    // Insulation: three layers per surface, one tab per surface.
    auto* insulation = Frame(s("Теплоизоляция"));
    auto* insBox = new QVBoxLayout(insulation);
    insBox->setSpacing(4);
    insBox->addWidget(Flag("optAll_as_one", s("Одинаковые параметры для всех &стен")));
    auto* surfaces = new QTabWidget;
    surfaces->setObjectName(QStringLiteral("SSTab2"));
    surfaces->setUsesScrollButtons(true);

    const char* const tabCaptions[kSurfaceCount] = {"СЕВЕР", "ЮГ", "ВОСТОК", "ЗАПАД", "ПОТОЛОК", "ПОЛ"};
    for (int surfaceIndex = 0; surfaceIndex < kSurfaceCount; ++surfaceIndex) {
        const SurfaceTab surface{tabCaptions[surfaceIndex], kSurfacePrefixes[surfaceIndex],
                              LoadControl(static_cast<LoadId>(surfaceIndex)).c_str()};
        auto* tab = new QWidget;
        auto* row = Spaced<QHBoxLayout>(14, tab, 8);

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
        int next = 4;
        const std::string wall = prefix == "Nord" ? "North" : prefix;
        if (prefix != "Floor") {
            // The outer surface under the layers, as wide as they are: its names are long.
            const std::string coating = wall + "Surf_cmb";
            auto* list = ListField(coating.c_str(), 160);
            list->setSizeAdjustPolicy(QComboBox::AdjustToContents);
            list->setMinimumContentsLength(0);
            auto* caption = CaptionLabel(s("Внешнее покрытие"));
            caption->setBuddy(list);
            layers->addWidget(caption, next, 0, 1, 3);
            layers->addWidget(list, next + 1, 0, 1, 3, Qt::AlignLeft);
            next += 2;
        }
        auto* rule = new QFrame;
        rule->setFrameShape(QFrame::HLine);
        rule->setFrameShadow(QFrame::Sunken);
        layers->addWidget(rule, next, 0, 1, 3);
        layers->addWidget(CaptionLabel(s("Теплопотери, Вт")), next + 1, 1, Qt::AlignRight | Qt::AlignVCenter);
        layers->addWidget(ResultField(surface.result, 72), next + 1, 2);
        layers->setColumnStretch(1, 1);
        layers->setRowStretch(next + 2, 1);
        row->addLayout(layers, 1);

        auto* side = Spaced<QVBoxLayout>(6);
        if (prefix == "Floor") {
            side->addWidget(OptionFrame(s("Расположение"), Option("FloorAir_Opt", s("Над по&мещением")),
                                        Option("FloorGrunt_Opt", s("На &грунте"))));
            side->addWidget(OptionFrame(s("Наличие обогрева"), Option("FloorHeat_Opt", s("пол с о&богревом")),
                                        Option("FloorCold_Opt", s("пол бе&з обогрева"))));
        } else {
            if (prefix == "Ceil") {
                side->addWidget(OptionFrame(s("Тип потолка"), Option("CeilIns_opt", s("Пере&крытие")),
                                            Option("CeilOut_opt", s("К&рыша"))));
            } else {
                const std::string out = wall + "Out_opt", ins = wall + "Ins_opt";
                side->addWidget(OptionFrame(s("Тип стены"),
                                            Option(out.c_str(), prefix == "South" ? s("Нару&жная") : s("Вне&шняя")),
                                            Option(ins.c_str(), s("Вн&утренняя"))));
            }
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
    auto* columns = Spaced<QHBoxLayout>(12, page, 8);

    auto* doors = Frame(s("Открывание дверей"));
    auto* grid = new QGridLayout(doors);
    grid->setVerticalSpacing(5);
    grid->setHorizontalSpacing(6);
    auto* standard = Option("Door_Standard_opt", s("Стан&дартные условия"));
    standard->setToolTip(s(kStandardDoorAdvice));
    grid->addWidget(standard, 0, 0, 1, 3);
    // The type of room on a row of its own under its caption, wide enough for its longest name.
    auto* cellType = ListField("TypeOfCell_cmb", 140);
    cellType->setSizeAdjustPolicy(QComboBox::AdjustToContents);
    cellType->setMinimumContentsLength(0);
    auto* cellCaption = FormCaption("TypeOfCell_lbl");
    cellCaption->setBuddy(cellType);
    grid->addWidget(cellCaption, 1, 0, 1, 3);
    grid->addWidget(cellType, 2, 0, 1, 3, Qt::AlignLeft);
    auto* notice = FormCaption("DoorNotice_lbl");
    notice->setWordWrap(true);
    notice->setStyleSheet(s("color: #a02020;"));
    grid->addWidget(notice, 3, 0, 1, 3);
    grid->setRowMinimumHeight(4, 6);
    auto* special = Option("Door_Special_opt", s("Спе&циальные условия"));
    special->setToolTip(s(kSpecialDoorAdvice));
    grid->addWidget(special, 5, 0, 1, 3);
    int r = 6;
    AddNumberRow(grid, r++, FormCaption("Door_W_lbl"), NumberField("Door_W_txt"), s("м"));
    AddNumberRow(grid, r++, FormCaption("Door_H_lbl"), NumberField("Door_H_txt"), s("м"));
    AddNumberRow(grid, r++, FormCaption("Door_Open_lbl"), NumberField("Door_Open_txt"),
                 s("часов/сутки"));
    auto* curtain = ListField("TypeOfCurtain_cmb", 140);
    grid->addWidget(FormCaption("TypeOfCurtain_lbl"), r, 0);
    grid->addWidget(curtain, r++, 1, 1, 2);
    AddNumberRow(grid, r++, FormCaption("TempOut_lbl"), NumberField("TempOut_txt"),
                 s("°C"));
    AddNumberRow(grid, r++, FormCaption("HumidOut_lbl"),
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

    auto* right = Spaced<QVBoxLayout>(8);
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
    fanGrid->addWidget(Option("AutoEva_opt", s("Учитывать &автоматически")), 1, 0, 1, 3);
    fanGrid->addWidget(Option("ManualEva_opt", s("&Явно задать значение")), 2, 0, 1, 3);
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
    auto* box = Spaced<QVBoxLayout>(10, page, 8);

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
            auto* line = Spaced<QHBoxLayout>(4);
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

    auto* lower = Spaced<QHBoxLayout>(12);
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
    breath->addWidget(FormCaption("BreathLoss_lbl"));
    breath->addWidget(ResultField("BreathLoss_txt", 86));
    breath->addStretch(1);
    side->addLayout(breath);
    side->addStretch(1);
    auto* change = new QPushButton(s("&ИЗМЕНИТЬ"));
    change->setObjectName(QStringLiteral("Change_btn"));
    change->setMinimumSize(120, 30);
    change->setToolTip(s(" Выбор технологической задачи").trimmed());
    side->addWidget(change, 0, Qt::AlignRight);
    lower->addLayout(side, 1);
    box->addLayout(lower);
    box->addStretch(1);
    return page;
}

}  // namespace coldroom
