// The window «Установка и энергия»: its settings panel and pages (drawn in qt_energy_views.cpp).
// Each setting comes from the plant's catalogue (model/plant_fields.h) with its caption and
// tooltip; what is typed goes to the store session, which checks it.
#include "ui/store/energy_dialog.h"

#include <QChartView>
#include <QComboBox>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QScrollArea>
#include <QTabWidget>
#include <QTableWidget>
#include <QVBoxLayout>

#include "core/numtext.h"
#include "files/energy_files.h"
#include "reports/energy_report.h"
#include "ui/qt_user_interface.h"
#include "ui/store/store_session.h"

namespace coldroom {
namespace {

QString q(const std::string& s) { return QString::fromStdString(s); }

// A caption and its field on one row of the form, both with the tooltip.
void addRow(QFormLayout* form, const QString& caption, QWidget* field, const QString& tip) {
    auto* label = new QLabel(caption);
    label->setToolTip(tip);
    field->setToolTip(tip);
    form->addRow(label, field);
}

QString studyTip() {
    return QStringLiteral(
        "Толщина первого слоя изоляции всех стен, потолка и пола выбранной камеры (или всех камер): годовая "
        "электроэнергия, её стоимость, стоимость изоляции, простая окупаемость против проекта и стоимость "
        "жизненного цикла LCC за N лет при ставке r. Толщина с наименьшей LCC отмечена.");
}

}  // namespace

EnergyDialog::EnergyDialog(StoreSession& session, QWidget* parent) : QDialog(parent), session_(session) {
    setObjectName(QStringLiteral("EnergyDialog"));
    setAttribute(Qt::WA_DeleteOnClose);
    setWindowTitle(QStringLiteral("Установка и энергия"));
    auto* tabs = new QTabWidget;
    tabs->setObjectName(QStringLiteral("EnergyTabs"));
    tabs->addTab(energyPage(), QStringLiteral("&Установка и электроэнергия"));
    tabs->addTab(studyPage(), QStringLiteral("&Толщина панелей"));
    auto* layout = new QHBoxLayout(this);
    layout->addWidget(settingsPanel());
    layout->addWidget(tabs, 1);
    resize(1280, 800);
    refresh();
}

QWidget* EnergyDialog::settingsPanel() {
    auto* form = new QFormLayout;
    form->setFieldGrowthPolicy(QFormLayout::AllNonFixedFieldsGrow);
    // A long caption puts its field under it: the tables beside get the width.
    form->setRowWrapPolicy(QFormLayout::WrapLongRows);
    const PlantSettings& plant = session_.store().plant;
    for (const PlantChoice& c : PlantChoices()) {
        auto* combo = new QComboBox;
        combo->setObjectName(QStringLiteral("plant_") + QString::fromLatin1(c.key));
        for (const std::string& option : c.options(plant)) combo->addItem(q(option));
        addRow(form, QString::fromUtf8(c.caption), combo, QString::fromUtf8(c.tip));
        GuardedConnect(combo, &QComboBox::activated, this, [this, &c](int option) {
            if (refreshing_) return;
            session_.SetPlantChoice(c, option);
            changed();
        });
        choices_.push_back(combo);
    }
    auto* file = new QWidget;
    auto* fileRow = new QHBoxLayout(file);
    fileRow->setContentsMargins(0, 0, 0, 0);
    polynomial_ = new QLineEdit;
    polynomial_->setObjectName(QStringLiteral("plant_polynomial_file"));
    polynomial_->setReadOnly(true);
    polynomial_->setToolTip(QString::fromUtf8(kPolynomialTip));
    auto* choose = new QPushButton(QStringLiteral("&Файл…"));
    choose->setToolTip(QString::fromUtf8(kPolynomialTip));
    // Enter in a field enters its value; it presses no button.
    choose->setAutoDefault(false);
    GuardedConnect(choose, &QPushButton::clicked, this, [this] {
        if (session_.ChoosePolynomialFile()) changed();
    });
    fileRow->addWidget(polynomial_, 1);
    fileRow->addWidget(choose);
    addRow(form, QStringLiteral("Коэффициенты компрессора"), file, QString::fromUtf8(kPolynomialTip));
    for (const PlantNumber& n : PlantNumbers()) {
        auto* edit = new QLineEdit;
        edit->setObjectName(QStringLiteral("plant_") + QString::fromLatin1(n.key));
        if (n.autoWhenEmpty) edit->setPlaceholderText(QStringLiteral("по t0 уровня"));
        addRow(form, QString::fromUtf8(n.caption), edit, QString::fromUtf8(n.tip));
        GuardedConnect(edit, &QLineEdit::editingFinished, this, [this] {
            if (!refreshing_) apply();
        });
        numbers_.emplace_back(&n, edit);
    }
    profile_ = new QLineEdit;
    profile_->setObjectName(QStringLiteral("plant_product_profile"));
    // Twelve figures: the field takes the panel's whole width under its caption.
    auto* profileCaption = new QLabel(QStringLiteral("Загрузка продуктом по месяцам, %"));
    profileCaption->setToolTip(QString::fromUtf8(kProfileTip));
    profile_->setToolTip(QString::fromUtf8(kProfileTip));
    form->addRow(profileCaption);
    form->addRow(profile_);
    GuardedConnect(profile_, &QLineEdit::editingFinished, this, [this] {
        if (!refreshing_) apply();
    });
    auto* recompute = new QPushButton(QStringLiteral("&Пересчитать"));
    recompute->setObjectName(QStringLiteral("energyApply"));
    recompute->setToolTip(QStringLiteral("Принять введённые значения и пересчитать (так же — Enter или переход к другому полю)"));
    recompute->setAutoDefault(false);
    GuardedConnect(recompute, &QPushButton::clicked, this, [this] { apply(); });
    form->addRow(recompute);

    auto* panel = new QWidget;
    panel->setLayout(form);
    auto* scroll = new QScrollArea;
    scroll->setWidget(panel);
    scroll->setWidgetResizable(true);
    scroll->setMinimumWidth(320);
    scroll->setMaximumWidth(340);
    scroll->setFrameShape(QFrame::NoFrame);
    return scroll;
}

QWidget* EnergyDialog::energyPage() {
    levels_ = new QTableWidget;
    levels_->setObjectName(QStringLiteral("energyLevels"));
    levels_->setToolTip(QStringLiteral("Q0 = k·ΣQкм — нагрузка на компрессоры уровня с потерями в трубопроводах; tк и COP — "
                                       "в расчётной точке; Nэ — электрическая мощность, Qк — теплота конденсатора. "
                                       "«Холодильник в целом» складывает разные машины."));
    rooms_ = new QTableWidget;
    rooms_->setObjectName(QStringLiteral("energyRooms"));
    rooms_->setToolTip(QStringLiteral("Уровень камеры по t0 ≤ tкам − Δt, её доля в нагрузке на компрессоры Qкм и годовая "
                                      "электроэнергия (её часть энергии компрессоров уровня и её вентиляторы)."));
    chart_ = new QChartView;
    chart_->setObjectName(QStringLiteral("energyChart"));
    chart_->setRenderHint(QPainter::Antialiasing);
    chart_->setMinimumHeight(230);
    chart_->setToolTip(QStringLiteral("Электроэнергия компрессоров и вентиляторов по месяцам, кВт·ч, по уровням"));
    summary_ = new QLabel;
    summary_->setObjectName(QStringLiteral("energySummary"));
    summary_->setWordWrap(true);
    summary_->setTextInteractionFlags(Qt::TextSelectableByMouse);
    auto* page = new QWidget;
    auto* layout = new QVBoxLayout(page);
    layout->addWidget(chart_, 3);
    layout->addWidget(new QLabel(QStringLiteral("Установка по уровням кипения (в расчётной точке) и электроэнергия за год")));
    layout->addWidget(levels_, 2);
    layout->addWidget(new QLabel(QStringLiteral("Камеры")));
    layout->addWidget(rooms_, 2);
    layout->addWidget(summary_);
    return page;
}

QWidget* EnergyDialog::studyPage() {
    studyRoom_ = new QComboBox;
    studyRoom_->setObjectName(QStringLiteral("studyRoom"));
    studyRoom_->setToolTip(QStringLiteral("Чьи панели меняются: всех камер холодильника или одной камеры"));
    auto range = [](const char* name, double mm, const QString& tip) {
        auto* edit = new QLineEdit(QString::fromStdString(GeneralText(mm)));
        edit->setObjectName(QString::fromLatin1(name));
        edit->setMaximumWidth(70);
        edit->setToolTip(tip);
        return edit;
    };
    from_ = range("studyFrom", kStudyFromMm, QStringLiteral("Наименьшая толщина первого слоя изоляции, мм"));
    to_ = range("studyTo", kStudyToMm, QStringLiteral("Наибольшая толщина первого слоя изоляции, мм"));
    step_ = range("studyStep", kStudyStepMm, QStringLiteral("Шаг толщины, мм (не больше 1000 шагов)"));
    auto* run = new QPushButton(QStringLiteral("&Рассчитать"));
    run->setObjectName(QStringLiteral("studyRun"));
    run->setToolTip(studyTip());
    run->setAutoDefault(false);
    GuardedConnect(run, &QPushButton::clicked, this, [this] { showStudy(); });
    GuardedConnect(studyRoom_, &QComboBox::activated, this, [this] { showStudy(); });
    auto* bar = new QHBoxLayout;
    bar->addWidget(new QLabel(QStringLiteral("Камера:")));
    bar->addWidget(studyRoom_, 1);
    for (auto [caption, edit] : {std::pair{"от, мм", from_}, std::pair{"до, мм", to_}, std::pair{"шаг, мм", step_}}) {
        auto* label = new QLabel(QString::fromUtf8(caption));
        label->setToolTip(edit->toolTip());
        bar->addWidget(label);
        bar->addWidget(edit);
    }
    bar->addWidget(run);
    studyTable_ = new QTableWidget;
    studyTable_->setObjectName(QStringLiteral("studyTable"));
    studyTable_->setToolTip(studyTip());
    studyChart_ = new QChartView;
    studyChart_->setObjectName(QStringLiteral("studyChart"));
    studyChart_->setRenderHint(QPainter::Antialiasing);
    studyChart_->setMinimumHeight(260);
    studyChart_->setToolTip(studyTip());
    studyNotes_ = new QLabel;
    studyNotes_->setObjectName(QStringLiteral("studyNotes"));
    studyNotes_->setWordWrap(true);
    auto* page = new QWidget;
    auto* layout = new QVBoxLayout(page);
    layout->addLayout(bar);
    layout->addWidget(studyChart_, 3);
    layout->addWidget(studyTable_, 2);
    layout->addWidget(studyNotes_);
    return page;
}

bool EnergyDialog::apply() {
    if (refreshing_) return true;
    refreshing_ = true;  // a refusal's message takes the focus: no field commits twice
    bool taken = true, any = false;
    for (const auto& [field, edit] : numbers_) {
        if (!edit->isModified()) continue;
        edit->setModified(false);
        any = true;
        taken = session_.SetPlantNumber(*field, edit->text().toStdString()) && taken;
    }
    if (profile_->isModified()) {
        profile_->setModified(false);
        any = true;
        taken = session_.SetProductProfile(profile_->text().toStdString()) && taken;
    }
    refreshing_ = false;
    if (any) changed();
    return taken;
}

void EnergyDialog::changed() {
    // The store window, when there is one, shows the store anew and this window with it.
    if (onChanged)
        onChanged();
    else
        refresh();
}

void EnergyDialog::refresh() {
    refreshing_ = true;
    const Store& store = session_.store();
    const PlantSettings& p = store.plant;
    for (std::size_t i = 0; i < choices_.size(); ++i) {
        const PlantChoice& c = PlantChoices()[i];
        choices_[i]->clear();
        for (const std::string& option : c.options(p)) choices_[i]->addItem(q(option));
        choices_[i]->setCurrentIndex(c.get(p));
    }
    polynomial_->setText(q(p.polynomialFile));
    for (const auto& [field, edit] : numbers_) edit->setText(q(PlantNumberText(p, *field)));
    profile_->setText(q(ProductProfileText(p)));

    const StoreEnergy energy = ComputeStoreEnergyFromFiles(store, session_.rooms().rooms(), session_.data());
    const EnergySheet sheet = MakeEnergySheet(store, energy, "");
    FillSheetTable(levels_, sheet.levelColumns, sheet.levels);
    FillSheetTable(rooms_, sheet.roomColumns, sheet.rooms);
    QStringList lines;
    for (const std::string& s : sheet.summary) lines << q(s);
    for (const std::string& s : sheet.notes) lines << QStringLiteral("Внимание: ") + q(s);
    summary_->setText(lines.join(u'\n'));
    std::vector<std::pair<std::string, std::array<double, 12>>> months;
    for (const LevelEnergy& l : energy.levels) {
        if (l.rooms == 0) continue;
        auto& [name, kwh] = months.emplace_back(l.level.name, std::array<double, 12>{});
        for (int m = 0; m < 12; ++m) kwh[static_cast<std::size_t>(m)] = l.months[static_cast<std::size_t>(m)].compressorKWh + l.months[static_cast<std::size_t>(m)].fanKWh;
    }
    showMonths(energy.monthKWh, months);

    const int room = studyRoom_->currentIndex();
    studyRoom_->clear();
    studyRoom_->addItem(QStringLiteral("Холодильник (все камеры)"));
    for (const StoreRoom& r : store.rooms) studyRoom_->addItem(q(RoomFileName(r.path)));
    studyRoom_->setCurrentIndex(room >= 0 && room < studyRoom_->count() ? room : 0);
    refreshing_ = false;
    showStudy();
}

}  // namespace coldroom
