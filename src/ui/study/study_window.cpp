#include "ui/study/study_window.h"

#include <QCheckBox>
#include <QChart>
#include <QChartView>
#include <QComboBox>
#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QGraphicsLayout>
#include <QLegend>
#include <QLineEdit>
#include <QLineSeries>
#include <QPainter>
#include <QPushButton>
#include <QScatterSeries>
#include <QSettings>
#include <QTableWidget>
#include <QValueAxis>
#include <algorithm>
#include <cmath>

#include "core/numtext.h"
#include "ui/program.h"
#include "ui/qt_form_widgets.h"
#include "ui/qt_load_chart.h"
#include "ui/study/study_table.h"
#include "ui/qt_user_interface.h"

namespace coldroom {
namespace {

QString q(const std::string& s) { return QString::fromStdString(s); }

// A line's name; with `mnemonic`, its Alt letter marked (each one of its own in the window).
QString lineName(LoadId id, bool mnemonic = false) {
    const LoadComponent& c = LoadComponentOf(id);
    QString name = QString::fromStdString(c.label());
    if (!mnemonic) return name;
    return name.insert(name.indexOf(QString::fromUtf8(c.mnemonic)), u'&');
}

QIcon swatch(const QColor& colour) {
    QPixmap square(12, 12);
    square.fill(colour);
    return QIcon(square);
}

// The project's point as the chart marks it.
QPixmap dot() {
    QPixmap pixmap(12, 12);
    pixmap.fill(Qt::transparent);
    QPainter p(&pixmap);
    p.setRenderHint(QPainter::Antialiasing);
    p.setBrush(Qt::black);
    p.setPen(Qt::white);
    p.drawEllipse(QRectF(0.5, 0.5, 11, 11));
    return pixmap;
}

// `path`, with `suffix` added when the name has no extension of its own.
QString withSuffix(const QString& path, const char* suffix) {
    return QFileInfo(path).suffix().isEmpty() ? path + u'.' + QLatin1String(suffix) : path;
}

// An axis over [low, high] with its ticks at round values, labelled with as many decimals as
// the step needs.
void roundTicks(QValueAxis* axis, double low, double high, int parts) {
    const double step = RoundTickStep(high - low, parts);
    axis->setTickType(QValueAxis::TicksDynamic);
    axis->setTickAnchor(0);
    axis->setTickInterval(step);
    int decimals = 0;
    while (decimals < 6 && std::fabs(step * std::pow(10, decimals) - std::round(step * std::pow(10, decimals))) > 1e-9)
        ++decimals;
    axis->setLabelFormat(QStringLiteral("%.%1f").arg(decimals));
}

}  // namespace

double RoundTickStep(double span, int parts) {
    if (!(span > 0) || !std::isfinite(span) || parts < 1) return 1;
    const double rough = span / parts;
    const double power = std::pow(10, std::floor(std::log10(rough)));
    for (double m : {1.0, 2.0, 2.5, 5.0})
        if (m * power >= rough * (1 - 1e-12)) return m * power;
    return 10 * power;
}

std::vector<LoadId> StudyWindow::drawnLoads() {
    // The required capacity first, then the total and the components it is made of.
    std::vector<LoadId> ids{LoadId::Capacity, LoadId::Total};
    for (const LoadComponent& c : LoadComponents())
        if (c.role == LoadRole::Component) ids.push_back(c.id);
    return ids;
}

StudyWindow::StudyWindow(Program& program, QWidget* parent, QSettings* settings)
    : QDialog(parent, Qt::Window), program_(program), study_(program.session.data), settings_(settings) {
    setObjectName(QStringLiteral("StudyWindow"));
    setWindowTitle(QStringLiteral("Исследование параметра"));
    setSizeGripEnabled(true);
    parameter_ = new QComboBox(this);
    parameter_->setObjectName(QStringLiteral("StudyParameter"));
    for (const StudyParameter& p : StudyParameters()) parameter_->addItem(QString::fromStdString(p.caption), QString::fromStdString(p.name));
    from_ = new QLineEdit(this);
    to_ = new QLineEdit(this);
    step_ = new QLineEdit(this);
    auto* run = new QPushButton(QStringLiteral("&Рассчитать"), this);
    run->setObjectName(QStringLiteral("StudyRun"));
    run->setDefault(true);
    auto* csv = new QPushButton(QStringLiteral("Сохранить &таблицу…"), this);
    auto* png = new QPushButton(QStringLiteral("Сохранить &график…"), this);
    status_ = new QLabel(this);
    status_->setWordWrap(true);
    table_ = new QTableWidget(this);
    table_->setEditTriggers(QAbstractItemView::NoEditTriggers);
    table_->verticalHeader()->setVisible(false);
    chart_ = new QChartView(new QChart, this);
    chart_->setRenderHint(QPainter::Antialiasing);
    chart_->setMinimumSize(360, 320);
    // The legend is a list of check boxes beside the chart: every name whole, and the choice of
    // the lines drawn. The saved picture is the chart alone, with a legend of its own.
    chartPanel_ = new QWidget(this);
    chartPanel_->setObjectName(QStringLiteral("StudyChart"));
    chartPanel_->setAutoFillBackground(true);
    auto* legend = new QVBoxLayout;
    legend->setSpacing(2);
    legend->addStretch(1);
    for (LoadId id : drawnLoads()) {
        auto* box = new QCheckBox(lineName(id, true), chartPanel_);
        box->setObjectName(QStringLiteral("StudyLine"));
        box->setProperty("load", static_cast<int>(id));
        box->setIcon(swatch(LoadColour(id)));
        box->setChecked(true);
        GuardedConnect(box, &QCheckBox::toggled, this, [this, id](bool shown) { showLine(id, shown); });
        legend->addWidget(box);
    }
    auto* project = new QCheckBox(QStringLiteral("Прое&кт"), chartPanel_);
    project->setObjectName(QStringLiteral("StudyProjectPoint"));
    project->setIcon(QIcon(dot()));
    project->setChecked(true);
    GuardedConnect(project, &QCheckBox::toggled, this, [this](bool shown) {
        markShown_ = shown;
        if (!points_.empty()) showChart();
    });
    legend->addWidget(project);
    legend->addStretch(1);
    auto* panel = new QHBoxLayout(chartPanel_);
    panel->setContentsMargins(0, 0, 6, 0);
    panel->addWidget(chart_, 1);
    panel->addLayout(legend);

    auto* form = new QFormLayout;
    form->addRow(QStringLiteral("&Параметр"), parameter_);
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
    results->addWidget(chartPanel_, 3);
    results->addWidget(table_, 2);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(form);
    layout->addLayout(buttons);
    layout->addLayout(results, 1);
    layout->addWidget(status_);

    GuardedConnect(parameter_, &QComboBox::currentIndexChanged, this, [this] { parameterChosen(); });
    GuardedConnect(run, &QPushButton::clicked, this, [this] { runStudy(); });
    // The dialogs start in the person's home folder, never in the program's.
    GuardedConnect(csv, &QPushButton::clicked, this, [this] {
        const QString path = QFileDialog::getSaveFileName(this, QString(), QDir::homePath(), QStringLiteral("CSV (*.csv)"));
        if (!path.isEmpty()) saveCsv(path);
    });
    GuardedConnect(png, &QPushButton::clicked, this, [this] {
        const QString path = QFileDialog::getSaveFileName(this, QString(), QDir::homePath(), QStringLiteral("PNG (*.png)"));
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

// The range studied last for this parameter; the first time, a range around the project's
// own value, so a first click already shows something useful.
void StudyWindow::parameterChosen() {
    const QString name = parameter_->currentData().toString();
    QStringList range = ranges_.count(name) ? ranges_[name] : QStringList();
    if (range.isEmpty() && settings_) range = settings_->value(QStringLiteral("study/") + name).toStringList();
    if (range.size() == 3) {
        from_->setText(range[0]);
        to_->setText(range[1]);
        step_->setText(range[2]);
        return;
    }
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
    keepRange();
    // The project as it stands now; the study changes only its copy.
    study_.Begin(program_.project(), program_.session.dialog);
    points_ = study_.Run({axis_});
    current_ = NAN;
    if (double v = 0; currentValue(v)) current_ = v;
    showChart();
    showTable();
    QStringList refused;
    for (const StudyPoint& p : points_)
        if (p.refused) refused << q(GeneralText(p.values[0]) + ": " + p.message).replace(QStringLiteral("\r\n"), QStringLiteral(" "));
    status_->setText(refused.isEmpty() ? QStringLiteral("Точек: %1").arg(points_.size())
                                       : QStringLiteral("Не приняты: ") + refused.join(QStringLiteral("; ")));
    return true;
}

void StudyWindow::keepRange() {
    const QString name = parameter_->currentData().toString();
    ranges_[name] = {from_->text(), to_->text(), step_->text()};
    if (settings_) {
        settings_->setValue(QStringLiteral("study/") + name, ranges_[name]);
        settings_->sync();
    }
}

void StudyWindow::showLine(LoadId id, bool shown) {
    if (shown)
        hidden_.erase(id);
    else
        hidden_.insert(id);
    for (QCheckBox* box : chartPanel_->findChildren<QCheckBox*>())
        if (box->property("load").toInt() == static_cast<int>(id) && box->isChecked() != shown) box->setChecked(shown);
    if (!points_.empty()) showChart();
}

void StudyWindow::showChart() {
    QChart* chart = buildChart(chart_->width());
    chart->legend()->hide();  // the check boxes beside it are its legend
    QChart* old = chart_->chart();
    chart_->setChart(chart);
    delete old;
}

QChart* StudyWindow::buildChart(int width) const {
    auto* chart = new QChart;
    chart->setTitle(parameter_->currentText());
    auto* x = new QValueAxis;
    auto* y = new QValueAxis;
    x->setTitleText(parameter_->currentText());
    y->setTitleText(QStringLiteral("Вт"));
    chart->addAxis(x, Qt::AlignBottom);
    chart->addAxis(y, Qt::AlignLeft);
    double low = 0, high = 0;
    auto attach = [&](QXYSeries* series) {
        chart->addSeries(series);
        series->attachAxis(x);
        series->attachAxis(y);
    };
    for (LoadId id : drawnLoads()) {
        if (hidden_.count(id)) continue;
        const LoadComponent& c = LoadComponentOf(id);
        auto* line = new QLineSeries;
        line->setName(lineName(id));
        line->setPen(QPen(LoadColour(id), id == LoadId::Capacity ? 2.5 : 1.8));
        for (const StudyPoint& p : points_) {
            const LoadValue& v = c.value(p.loads);
            if (p.refused || !v.defined || !std::isfinite(v.watts)) continue;
            line->append(p.values[0], v.watts);
            low = std::min(low, v.watts);
            high = std::max(high, v.watts);
        }
        attach(line);
    }
    // The project's own point, on the capacity line.
    const LoadValue& base = study_.baseLoads().capacity;
    if (std::isfinite(current_) && base.defined && markShown_) {
        auto* mark = new QScatterSeries;
        mark->setName(QStringLiteral("Проект"));
        mark->setMarkerSize(11);
        mark->setColor(Qt::black);
        mark->setBorderColor(Qt::white);
        mark->append(current_, base.watts);
        attach(mark);
        low = std::min(low, base.watts);
        high = std::max(high, base.watts);
    }
    const double xLow = std::min(axis_.from, axis_.to), xHigh = std::max(axis_.from, axis_.to);
    if (!points_.empty()) x->setRange(xLow, xHigh > xLow ? xHigh : xLow + 1);
    // As many ticks as their labels have room for across the chart.
    roundTicks(x, x->min(), x->max(), std::clamp(width / 70, 3, 8));
    // The watts from a round value to a round value, zero included.
    if (high <= low) high = low + 1;
    const double step = RoundTickStep(high - low, 8);
    y->setRange(std::floor(low / step) * step, std::ceil(high * 1.02 / step) * step);
    roundTicks(y, y->min(), y->max(), 8);
    return chart;
}

// The table as the chart's list has it: the parameter, the capacity and the total first, then
// the components; the heads on two lines, so that the figures, not the heads, set the widths.
void StudyWindow::showTable() {
    const TextTable rows = StudyTable({axis_}, points_, true);
    std::vector<std::size_t> order{0};
    const auto& components = LoadComponents();
    for (LoadId id : drawnLoads())
        for (std::size_t i = 0; i < components.size(); ++i)
            if (components[i].id == id) order.push_back(1 + i);
    for (std::size_t c = 1; c < rows[0].size(); ++c)
        if (std::find(order.begin(), order.end(), c) == order.end()) order.push_back(c);
    table_->clear();
    table_->setColumnCount(static_cast<int>(order.size()));
    table_->setRowCount(static_cast<int>(rows.size()) - 1);
    for (std::size_t c = 0; c < order.size(); ++c) {
        // A component's short head where its label is long; the whole label on pointing.
        const bool component = order[c] >= 1 && order[c] <= components.size();
        const char* shortHead = component ? components[order[c] - 1].pageHead : nullptr;
        auto* head = new QTableWidgetItem(TwoLineHead(shortHead ? q(shortHead) : q(rows[0][order[c]])));
        head->setToolTip(q(rows[0][order[c]]));
        table_->setHorizontalHeaderItem(static_cast<int>(c), head);
    }
    for (std::size_t r = 1; r < rows.size(); ++r)
        for (std::size_t c = 0; c < order.size(); ++c) {
            auto* item = new QTableWidgetItem(q(rows[r][order[c]]));
            if (c + 1 < order.size()) item->setTextAlignment(Qt::AlignRight | Qt::AlignVCenter);
            table_->setItem(static_cast<int>(r) - 1, static_cast<int>(c), item);
        }
    table_->resizeColumnsToContents();
}

bool StudyWindow::saveCsv(const QString& path) {
    std::string error;
    if (!WriteTableCsv(withSuffix(path, "csv").toStdString(), StudyCsvTable({axis_}, points_), error)) {
        status_->setText(q(error));
        return false;
    }
    return true;
}

// The chart alone, with a legend of its own under it, on a white sheet of a size of its own:
// the window's check boxes and background are no part of it.
bool StudyWindow::savePng(const QString& path) {
    const QString file = withSuffix(path, "png");
    QChartView view(buildChart(kPictureSize.width()));
    view.chart()->legend()->setAlignment(Qt::AlignBottom);
    view.chart()->setBackgroundRoundness(0);
    view.setRenderHint(QPainter::Antialiasing);
    view.setBackgroundBrush(Qt::white);
    view.setFrameShape(QFrame::NoFrame);
    view.resize(kPictureSize);
    if (view.grab().save(file, "PNG")) return true;
    status_->setText(QStringLiteral("Не удалось записать ") + file);
    return false;
}

StudyWindow* ShowStudyWindow(Program& program, QWidget* owner, QSettings* settings) {
    auto* window = owner->findChild<StudyWindow*>(QStringLiteral("StudyWindow"));
    if (!window) {
        window = new StudyWindow(program, owner, settings);
        FitToScreen(*window);
    }
    BringToFront(*window);
    return window;
}

}  // namespace coldroom
