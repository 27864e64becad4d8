#include "ui/store/energy_dialog.h"

#include <QBarCategoryAxis>
#include <QBarSeries>
#include <QBarSet>
#include <QChart>
#include <QChartView>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTableWidget>
#include <QValueAxis>
#include <QVBoxLayout>

#include "core/numtext.h"
#include "files/energy_files.h"
#include "reports/energy_report.h"
#include "ui/store/store_session.h"

namespace coldroom {
namespace {

QString q(const std::string& s) { return QString::fromStdString(s); }

void fill(QTableWidget* table, const std::vector<StoreColumn>& columns, const std::vector<std::vector<std::string>>& rows) {
    table->clear();
    table->setColumnCount(static_cast<int>(columns.size()));
    table->setRowCount(static_cast<int>(rows.size()));
    QStringList heads;
    for (const StoreColumn& c : columns) heads << q(c.head);
    table->setHorizontalHeaderLabels(heads);
    for (int r = 0; r < static_cast<int>(rows.size()); ++r)
        for (int c = 0; c < static_cast<int>(columns.size()); ++c) {
            auto* item = new QTableWidgetItem(q(rows[static_cast<size_t>(r)][static_cast<size_t>(c)]));
            if (columns[static_cast<size_t>(c)].number) item->setTextAlignment(Qt::AlignRight | Qt::AlignVCenter);
            item->setFlags(item->flags() & ~Qt::ItemIsEditable);
            table->setItem(r, c, item);
        }
    table->resizeColumnsToContents();
}

QLineEdit* field(QFormLayout* form, const QString& caption, const QString& tip) {
    auto* edit = new QLineEdit;
    edit->setToolTip(tip);
    auto* label = new QLabel(caption);
    label->setToolTip(tip);
    form->addRow(label, edit);
    return edit;
}

bool read(QLineEdit* edit, double low, double high, double& out) {
    std::string text = edit->text().trimmed().toStdString();
    for (char& c : text)
        if (c == ',') c = '.';
    double v = 0;
    if (!StrictNumber(text, v) || v < low || v > high) return false;
    out = v;
    return true;
}

}  // namespace

EnergyDialog::EnergyDialog(StoreSession& session, QWidget* parent) : QDialog(parent), session_(session) {
    setObjectName(QStringLiteral("EnergyDialog"));
    setAttribute(Qt::WA_DeleteOnClose);
    setWindowTitle(QStringLiteral("Установка и энергия"));
    auto* form = new QFormLayout;
    tariff_ = field(form, QStringLiteral("Тариф, ₽/(кВт·ч)"), QStringLiteral("Цена электроэнергии для предприятия; пример 8 ₽ — задайте свой тариф."));
    fraction_ = field(form, QStringLiteral("Доля цикла Карно η"),
                      QStringLiteral("COP = η·T0/(Tк − T0). 0,45 — оценка для полугерметичных поршневых компрессоров; "
                                     "точнее — полиномы EN 12900 изготовителя (файл коэффициентов)."));
    condenser_ = field(form, QStringLiteral("Конденсатор: tк − tнар, K"),
                       QStringLiteral("Воздушный конденсатор: температура конденсации на 10–15 K выше наружного воздуха."));
    lowest_ = field(form, QStringLiteral("Наименьшая tк, °C"),
                    QStringLiteral("Регулятор давления конденсации не даёт tк опуститься ниже этой температуры зимой."));
    insulation_ = field(form, QStringLiteral("Изоляция, ₽/м³"), QStringLiteral("Цена теплоизоляции панелей за кубометр; пример — задайте свою."));
    years_ = field(form, QStringLiteral("Срок, лет"), QStringLiteral("Срок расчёта стоимости жизненного цикла (LCC)."));
    rate_ = field(form, QStringLiteral("Ставка дисконтирования, %"), QStringLiteral("Ставка, по которой будущие расходы приводятся к сегодняшним."));
    auto* applyButton = new QPushButton(QStringLiteral("Пересчитать"));
    connect(applyButton, &QPushButton::clicked, this, [this] { apply(); });
    form->addRow(applyButton);

    levels_ = new QTableWidget;
    levels_->setObjectName(QStringLiteral("energyLevels"));
    levels_->setToolTip(QStringLiteral("Q0 = k·ΣQкм — нагрузка на компрессоры уровня с потерями в трубопроводах (k 1,04–1,07); "
                                       "Nэ — электрическая мощность, Qк — теплота конденсатора. "
                                       "«Холодильник в целом» складывает разные машины."));
    rooms_ = new QTableWidget;
    chart_ = new QChartView;
    chart_->setMinimumHeight(220);
    chart_->setMaximumHeight(300);
    levels_->setMinimumHeight(140);
    summary_ = new QLabel;
    summary_->setObjectName(QStringLiteral("energySummary"));
    summary_->setWordWrap(true);
    summary_->setTextInteractionFlags(Qt::TextSelectableByMouse);

    auto* top = new QHBoxLayout;
    top->addLayout(form);
    top->addWidget(chart_, 1);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(top);
    layout->addWidget(new QLabel(QStringLiteral("Установка по уровням кипения")));
    layout->addWidget(levels_);
    layout->addWidget(new QLabel(QStringLiteral("Камеры")));
    layout->addWidget(rooms_);
    layout->addWidget(summary_);
    resize(1100, 760);
    refresh();
}

void EnergyDialog::apply() {
    PlantSettings p = session_.store().plant;
    double years = 0;
    if (!read(tariff_, 0, 1e6, p.tariff) || !read(fraction_, 0.05, 1, p.carnotFraction) ||
        !read(condenser_, 1, 40, p.condenserDifference) || !read(lowest_, -20, 60, p.lowestCondensing) ||
        !read(insulation_, 0, 1e9, p.insulationCost) || !read(years_, 1, 100, years) || !read(rate_, 0, 100, p.discountRate)) {
        summary_->setText(QStringLiteral("Значение вне допустимых пределов — исправьте выделенное поле."));
        return;
    }
    p.years = static_cast<int>(years);
    session_.SetPlant(p);
    refresh();
}

void EnergyDialog::refresh() {
    const Store& store = session_.store();
    const PlantSettings& p = store.plant;
    tariff_->setText(q(GeneralText(p.tariff)));
    fraction_->setText(q(GeneralText(p.carnotFraction)));
    condenser_->setText(q(GeneralText(p.condenserDifference)));
    lowest_->setText(q(GeneralText(p.lowestCondensing)));
    insulation_->setText(q(GeneralText(p.insulationCost)));
    years_->setText(QString::number(p.years));
    rate_->setText(q(GeneralText(p.discountRate)));
    const StoreEnergy energy = ComputeStoreEnergyFromFiles(store, session_.rooms().rooms(), session_.data());
    const EnergySheet sheet = MakeEnergySheet(store, energy, "");
    fill(levels_, sheet.levelColumns, sheet.levels);
    fill(rooms_, sheet.roomColumns, sheet.rooms);
    QStringList lines;
    for (const std::string& s : sheet.summary) lines << q(s);
    for (const std::string& s : sheet.notes) lines << QStringLiteral("Внимание: ") + q(s);
    summary_->setText(lines.join(u'\n'));

    auto* chart = new QChart;
    auto* series = new QBarSeries;
    for (const LevelEnergy& l : energy.levels) {
        if (l.rooms == 0) continue;
        auto* set = new QBarSet(q(l.level.name));
        for (const MonthEnergy& m : l.months) *set << m.compressorKWh + m.fanKWh;
        series->append(set);
    }
    chart->addSeries(series);
    QStringList months;
    for (const char* m : MonthShortNames()) months << QString::fromUtf8(m);
    auto* x = new QBarCategoryAxis;
    x->append(months);
    auto* y = new QValueAxis;
    y->setTitleText(QStringLiteral("кВт·ч"));
    y->setLabelFormat(QStringLiteral("%.0f"));
    chart->addAxis(x, Qt::AlignBottom);
    chart->addAxis(y, Qt::AlignLeft);
    series->attachAxis(x);
    series->attachAxis(y);
    chart->setTitle(QStringLiteral("Электроэнергия по месяцам"));
    chart->legend()->setAlignment(Qt::AlignBottom);
    QChart* old = chart_->chart();
    chart_->setChart(chart);
    delete old;
}

}  // namespace coldroom
