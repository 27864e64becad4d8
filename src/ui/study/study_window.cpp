#include "ui/study/study_window.h"

#include <QChart>
#include <QChartView>
#include <QComboBox>
#include <QFileDialog>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QLineSeries>
#include <QPushButton>
#include <QScatterSeries>
#include <QTableWidget>
#include <QValueAxis>
#include <cmath>

#include "core/load_components.h"
#include "core/numtext.h"
#include "ui/program.h"
#include "ui/qt_form_widgets.h"
#include "ui/study/study_table.h"

namespace coldroom {
namespace {

QString q(const std::string& s) { return QString::fromStdString(s); }

// The lines drawn: the required capacity first, then the components the total is made of.
std::vector<LoadId> drawnLoads() {
    std::vector<LoadId> ids{LoadId::Capacity, LoadId::Total};
    for (const LoadComponent& c : LoadComponents())
        if (c.role == LoadRole::Component) ids.push_back(c.id);
    return ids;
}

}  // namespace

StudyWindow::StudyWindow(Program& program, QWidget* parent)
    : QWidget(parent, Qt::Window), program_(program), study_(program.session.data) {
    setObjectName(QStringLiteral("StudyWindow"));
    setWindowTitle(QStringLiteral("Исследование параметра"));
    parameter_ = new QComboBox(this);
    parameter_->setObjectName(QStringLiteral("StudyParameter"));
    for (const StudyParameter& p : StudyParameters()) parameter_->addItem(QString::fromStdString(p.caption), QString::fromStdString(p.name));
    from_ = new QLineEdit(this);
    to_ = new QLineEdit(this);
    step_ = new QLineEdit(this);
    auto* run = new QPushButton(QStringLiteral("Рассчитать"), this);
    auto* csv = new QPushButton(QStringLiteral("Сохранить таблицу…"), this);
    auto* png = new QPushButton(QStringLiteral("Сохранить график…"), this);
    status_ = new QLabel(this);
    status_->setWordWrap(true);
    table_ = new QTableWidget(this);
    table_->setEditTriggers(QAbstractItemView::NoEditTriggers);
    chart_ = new QChartView(new QChart, this);
    chart_->setRenderHint(QPainter::Antialiasing);
    chart_->setMinimumSize(520, 360);

    auto* form = new QFormLayout;
    form->addRow(QStringLiteral("Параметр"), parameter_);
    auto* range = new QHBoxLayout;
    for (auto [label, field] : {std::pair{"от", from_}, std::pair{"до", to_}, std::pair{"шаг", step_}}) {
        range->addWidget(new QLabel(QString::fromUtf8(label), this));
        range->addWidget(field);
    }
    form->addRow(QStringLiteral("Диапазон"), range);
    auto* buttons = new QHBoxLayout;
    buttons->addWidget(run);
    buttons->addStretch();
    buttons->addWidget(csv);
    buttons->addWidget(png);
    auto* results = new QHBoxLayout;
    results->addWidget(chart_, 3);
    results->addWidget(table_, 2);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(form);
    layout->addLayout(buttons);
    layout->addLayout(results, 1);
    layout->addWidget(status_);

    connect(parameter_, &QComboBox::currentIndexChanged, this, [this] { parameterChosen(); });
    connect(run, &QPushButton::clicked, this, [this] { runStudy(); });
    connect(csv, &QPushButton::clicked, this, [this] {
        const QString path = QFileDialog::getSaveFileName(this, QString(), QString(), QStringLiteral("CSV (*.csv)"));
        if (!path.isEmpty()) saveCsv(path);
    });
    connect(png, &QPushButton::clicked, this, [this] {
        const QString path = QFileDialog::getSaveFileName(this, QString(), QString(), QStringLiteral("PNG (*.png)"));
        if (!path.isEmpty()) savePng(path);
    });
    parameterChosen();
    resize(1000, 620);
}

StudyWindow::~StudyWindow() = default;

bool StudyWindow::currentValue(double& value) const {
    std::string name = parameter_->currentData().toString().toStdString();
    if (name == kPanelsGroup) name = "Nord1_D_txt";
    const bool task = name.rfind(kTaskPrefix, 0) == 0;
    const ControlRegistry& registry = task ? program_.task.controls() : program_.main.controls();
    const TextBox* box = registry.get<TextBox>(task ? name.substr(std::string(kTaskPrefix).size()) : name);
    return box && StrictNumber(box->text, value);
}

// A range around the project's own value, so a first click already shows something useful.
void StudyWindow::parameterChosen() {
    double v = 0;
    if (!currentValue(v)) v = 0;
    const double span = v == 0 ? 10 : std::abs(v) / 2;
    const double step = span / 10;
    from_->setText(q(GeneralText(v - span)));
    to_->setText(q(GeneralText(v + span)));
    step_->setText(q(GeneralText(step)));
}

bool StudyWindow::runStudy() {
    std::string error;
    const std::string text = parameter_->currentData().toString().toStdString() + "=" + from_->text().toStdString() +
                             ":" + to_->text().toStdString() + ":" + step_->text().toStdString();
    StudyAxis axis;
    if (!ParseAxis(text, axis, error) || !study_.Check({axis}, error)) {
        status_->setText(q(error));
        return false;
    }
    axis_ = axis;
    // The project as it stands now; the study changes only its copy.
    study_.Begin(program_.project(), program_.session.dialog);
    points_ = study_.Run({axis_});
    double current = NAN;
    if (double v = 0; currentValue(v)) current = v;
    showChart(current);
    showTable();
    QStringList refused;
    for (const StudyPoint& p : points_)
        if (p.refused) refused << q(GeneralText(p.values[0]) + ": " + p.message).replace(QStringLiteral("\r\n"), QStringLiteral(" "));
    status_->setText(refused.isEmpty() ? QStringLiteral("Точек: %1").arg(points_.size())
                                       : QStringLiteral("Не приняты: ") + refused.join(QStringLiteral("; ")));
    return true;
}

void StudyWindow::showChart(double current) {
    auto* chart = new QChart;
    chart->setTitle(parameter_->currentText());
    auto* x = new QValueAxis;
    auto* y = new QValueAxis;
    x->setTitleText(parameter_->currentText());
    y->setTitleText(QStringLiteral("Вт"));
    chart->addAxis(x, Qt::AlignBottom);
    chart->addAxis(y, Qt::AlignLeft);
    double low = 0, high = 0;
    for (LoadId id : drawnLoads()) {
        const LoadComponent& c = LoadComponentOf(id);
        auto* line = new QLineSeries;
        line->setName(QString::fromUtf8(c.chartLabel ? c.chartLabel : c.caption.c_str()));
        for (const StudyPoint& p : points_) {
            const LoadValue& v = c.value(p.loads);
            if (p.refused || !v.defined || !std::isfinite(v.watts)) continue;
            line->append(p.values[0], v.watts);
            low = std::min(low, v.watts);
            high = std::max(high, v.watts);
        }
        chart->addSeries(line);
        line->attachAxis(x);
        line->attachAxis(y);
    }
    const LoadValue& base = study_.baseLoads().capacity;
    if (std::isfinite(current) && base.defined) {
        auto* mark = new QScatterSeries;
        mark->setName(QStringLiteral("Проект"));
        mark->setMarkerSize(11);
        mark->append(current, base.watts);
        chart->addSeries(mark);
        mark->attachAxis(x);
        mark->attachAxis(y);
    }
    if (!points_.empty()) x->setRange(std::min(axis_.from, axis_.to), std::max(axis_.from, axis_.to));
    y->setRange(low, high > low ? high * 1.05 : low + 1);
    QChart* old = chart_->chart();
    chart_->setChart(chart);
    delete old;
}

void StudyWindow::showTable() {
    const TextTable rows = StudyTable({axis_}, points_, true);
    table_->clear();
    table_->setColumnCount(static_cast<int>(rows[0].size()));
    table_->setRowCount(static_cast<int>(rows.size()) - 1);
    QStringList head;
    for (const auto& h : rows[0]) head << q(h);
    table_->setHorizontalHeaderLabels(head);
    for (std::size_t r = 1; r < rows.size(); ++r)
        for (std::size_t c = 0; c < rows[r].size(); ++c)
            table_->setItem(static_cast<int>(r) - 1, static_cast<int>(c), new QTableWidgetItem(q(rows[r][c])));
    table_->resizeColumnsToContents();
}

bool StudyWindow::saveCsv(const QString& path) {
    std::string error;
    if (!WriteTableCsv(path.toStdString(), StudyTable({axis_}, points_, true), error)) {
        status_->setText(q(error));
        return false;
    }
    return true;
}

bool StudyWindow::savePng(const QString& path) {
    if (chart_->grab().save(path, "PNG")) return true;
    status_->setText(QStringLiteral("Не удалось записать ") + path);
    return false;
}

StudyWindow* ShowStudyWindow(Program& program, QWidget* owner) {
    auto* window = owner->findChild<StudyWindow*>(QStringLiteral("StudyWindow"));
    if (!window) {
        window = new StudyWindow(program, owner);
        FitToScreen(*window);
    }
    BringToFront(*window);
    return window;
}

}  // namespace coldroom
