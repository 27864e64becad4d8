#include "ui/task/task_dialog.h"

#include <QCloseEvent>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QPushButton>
#include <QVBoxLayout>

#include "ui/qt_activation.h"
#include "ui/qt_binder.h"
#include "ui/qt_form_widgets.h"

namespace coldroom {

namespace {

QPushButton* groupButton(const char* name, const QString& caption) {
    auto* button = new QPushButton(caption);
    button->setObjectName(QString::fromLatin1(name));
    button->setAutoDefault(false);  // Enter in a field commits the field, it presses nothing
    button->setMinimumHeight(30);
    button->setStyleSheet(QStringLiteral("text-align: left; padding-left: 10px;"));
    return button;
}

// A caption, a field and what follows the field (a unit, a note) on one row of a grid.
void addRow(QGridLayout* grid, int row, int column, QLabel* caption, QWidget* field,
            QWidget* after = nullptr, QWidget* note = nullptr) {
    grid->addWidget(caption, row, column, Qt::AlignLeft | Qt::AlignVCenter);
    grid->addWidget(field, row, column + 1);
    if (after) grid->addWidget(after, row, column + 2);
    if (note) grid->addWidget(note, row, column + 3);
}

}  // namespace

TaskDialog::TaskDialog(QWidget* parent) : QDialog(parent) {
    setObjectName(QStringLiteral("Produkt"));
    setWindowTitle(QStringLiteral(" Выбор технологической задачи"));
    setModal(false);
    setSizeGripEnabled(true);

    auto* root = new QVBoxLayout(this);
    root->setContentsMargins(12, 12, 12, 12);
    root->setSpacing(10);

    // Product group buttons beside the task, product and packaging lists.
    auto* top = new QHBoxLayout;
    top->setSpacing(14);
    auto* groups = new QVBoxLayout;
    groups->setSpacing(4);
    groups->addWidget(groupButton("btn_Meat", QStringLiteral("Мясо, птица и субпродукты")));
    groups->addWidget(groupButton("btn_Kolb", QStringLiteral("Колбасы и колбасные изделия")));
    groups->addWidget(groupButton("btn_Fish", QStringLiteral("Рыба и рыбопродукты")));
    groups->addWidget(groupButton("btn_Milk", QStringLiteral("Яйца, сыр и молочные продукты")));
    groups->addWidget(groupButton("btn_Ice", QStringLiteral("Мороженое")));
    groups->addWidget(groupButton("btn_Special", QStringLiteral("Специальные задачи")));
    groups->addStretch();
    top->addLayout(groups);

    auto* choice = new QGridLayout;
    choice->setHorizontalSpacing(10);
    choice->setVerticalSpacing(8);
    auto* task = ListField("Task_cmb", 320);
    task->setEditable(true);
    auto* taskCaption = CaptionLabel(QStringLiteral("Технологическая задача"));
    taskCaption->setBuddy(task);
    choice->addWidget(taskCaption, 0, 0, 1, 2);
    choice->addWidget(task, 1, 0, 1, 2);
    choice->setRowMinimumHeight(2, 6);
    auto* product = ListField("Produkt_cmb", 260);
    auto* productCaption = CaptionLabel(QStringLiteral("Тип продукта"));
    productCaption->setBuddy(product);
    choice->addWidget(productCaption, 3, 0);
    choice->addWidget(product, 3, 1);
    auto* packing = ListField("Packing_cmb", 260);
    auto* packingCaption = CaptionLabel(QStringLiteral("Тара и упаковка"));
    packingCaption->setBuddy(packing);
    choice->addWidget(packingCaption, 4, 0);
    choice->addWidget(packing, 4, 1);
    choice->setColumnStretch(1, 1);
    choice->setRowStretch(5, 1);
    top->addLayout(choice, 1);
    root->addLayout(top);

    // The task's typical parameters: temperatures and air on the left, load and time on the
    // right, the product size across the bottom.
    auto* params = Frame(QStringLiteral("Типичные параметры задачи"));
    auto* grid = new QGridLayout(params);
    grid->setHorizontalSpacing(8);
    grid->setVerticalSpacing(7);
    const QString degrees = QStringLiteral("°C");
    addRow(grid, 0, 0, CaptionLabel(QStringLiteral("Температура в камере")), NumberField("TempIn_txt"),
           UnitLabel(degrees));
    addRow(grid, 1, 0, CaptionLabel(QStringLiteral("Начальная Т продукта")), NumberField("Tin_Prod_txt"),
           UnitLabel(degrees));
    addRow(grid, 2, 0, CaptionLabel(QStringLiteral("Конечная Т продукта")), NumberField("Tend_Prod_txt"),
           UnitLabel(degrees));
    addRow(grid, 3, 0, CaptionLabel(QStringLiteral("Скорость  воздуха в камере, м/с")),
           NumberField("Velocity_txt"));
    addRow(grid, 4, 0, CaptionLabel(QStringLiteral("Влажность воздуха, %")), NumberField("HumidIn_txt"));

    grid->setColumnMinimumWidth(3, 24);  // gap between the two columns
    addRow(grid, 0, 4, CaptionLabel(QStringLiteral("Загрузка камеры, т")), NumberField("Load_prod_txt"));
    addRow(grid, 1, 4, CaptionLabel(QStringLiteral("охлаждается")), NumberField("Oborot_Prod_txt"),
           UnitLabel(QStringLiteral("%")), UnitLabel(QStringLiteral("в % от загрузки")));
    addRow(grid, 2, 4, CaptionLabel(QStringLiteral("или")), NumberField("Oborot_tonn_txt"),
           UnitLabel(QStringLiteral("в тоннах")));
    auto* smena = ListField("Smena_cmb", 72);
    addRow(grid, 3, 4, CaptionLabel(QStringLiteral("Режим работы")), smena);
    auto* timeCaption =
        CaptionLabel(QStringLiteral("Длительность процесса охлаждения (смены), часов"), nullptr, true);
    timeCaption->setMaximumWidth(230);
    addRow(grid, 4, 4, timeCaption, NumberField("Real_time_txt"));
    // The list reads best as wide as its longest entry, spanning the unit columns.
    grid->addWidget(smena, 3, 5, 1, 3, Qt::AlignLeft);

    auto* rule = new QFrame;
    rule->setFrameShape(QFrame::HLine);
    rule->setFrameShadow(QFrame::Sunken);
    grid->addWidget(rule, 5, 0, 1, 8);
    addRow(grid, 6, 0, CaptionLabel(QStringLiteral("Характерный размер продукта, см")),
           NumberField("Dimens_txt"));
    auto* sizeNote = UnitLabel(QStringLiteral("(только для расчета скорости охлаждения/замораживания)"));
    grid->addWidget(sizeNote, 6, 2, 1, 6);
    grid->setColumnStretch(7, 1);
    root->addWidget(params);

    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    auto* ok = new QPushButton(QStringLiteral("Далее >>"));
    ok->setObjectName(QStringLiteral("OK_btn"));
    auto* cancel = new QPushButton(QStringLiteral("Отмена"));
    cancel->setObjectName(QStringLiteral("Cancel_btn"));
    for (QPushButton* b : {ok, cancel}) {
        b->setAutoDefault(false);
        b->setMinimumWidth(110);
        buttons->addWidget(b);
    }
    root->addLayout(buttons);

    setStyleSheet(QStringLiteral("QLabel[unit=\"true\"] { color: palette(dark); }"));
    resize(sizeHint().expandedTo(QSize(780, 0)));
}

TaskDialog::~TaskDialog() = default;

void TaskDialog::bind(const ControlRegistry& controls, std::function<void()> refreshAll) {
    if (!refreshAll) refreshAll = [this] { refresh(); };
    binder_ = std::make_unique<QtBinder>(this, controls, std::move(refreshAll));
}

void TaskDialog::refresh() {
    if (binder_) binder_->refresh();
}

void TaskDialog::setOnActivate(std::function<void()> fn) {
    onActivate_ = std::move(fn);
    if (!activation_)
        activation_ = new ActivationWatcher(this, [this] {
            if (onActivate_) onActivate_();
            if (binder_) binder_->refreshAll();
        });
}

void TaskDialog::requestClose() {
    if (closeRequest_) {
        closeRequest_();
    } else if (auto* cancel = findChild<QPushButton*>(QStringLiteral("Cancel_btn"))) {
        if (cancel->isEnabled()) cancel->click();
    }
}

void TaskDialog::closeEvent(QCloseEvent* event) {
    // The person's close goes through the program's own command; the program's own close
    // (close() from code) is let through.
    if (event->spontaneous()) {
        event->ignore();
        requestClose();
        return;
    }
    QWidget::closeEvent(event);  // not QDialog's, which would press "Отмена" again
}

void TaskDialog::reject() { requestClose(); }

}  // namespace coldroom
