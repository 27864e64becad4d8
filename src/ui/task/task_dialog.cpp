#include "ui/task/task_dialog.h"

#include <QButtonGroup>
#include <QCloseEvent>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QPushButton>
#include <QVBoxLayout>

#include "ui/qt_binder.h"
#include "ui/qt_form_widgets.h"

namespace coldroom {

namespace {

// The group whose tasks are offered stays pressed, in bold, until another is chosen.
QPushButton* groupButton(const char* name, const QString& caption, QButtonGroup* group) {
    auto* button = new QPushButton(caption);
    button->setObjectName(QString::fromLatin1(name));
    // Enter presses the group whose button has the focus, as Space does.
    button->setAutoDefault(true);
    button->setMinimumHeight(30);
    QFont bold = button->font();
    bold.setBold(true);
    button->setMinimumWidth(QFontMetrics(bold).horizontalAdvance(caption) + 32);
    button->setCheckable(true);
    QObject::connect(button, &QPushButton::toggled, button, [button](bool chosen) {
        QFont font = button->font();
        font.setBold(chosen);
        button->setFont(font);
    });
    group->addButton(button);
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

    auto* root = Spaced<QVBoxLayout>(10, this, 12);

    // Product group buttons beside the task, product and packaging lists.
    auto* top = Spaced<QHBoxLayout>(14);
    auto* groups = Spaced<QVBoxLayout>(4);
    auto* chosen = new QButtonGroup(this);
    chosen->setExclusive(true);
    // The program starts with the meat tasks offered.
    // Each button and list has an Alt letter of its own.
    groups->addWidget(groupButton("btn_Meat", QStringLiteral("&Мясо, птица и субпродукты"), chosen));
    chosen->buttons().front()->setChecked(true);
    groups->addWidget(groupButton("btn_Kolb", QStringLiteral("&Колбасы и колбасные изделия"), chosen));
    groups->addWidget(groupButton("btn_Fish", QStringLiteral("&Рыба и рыбопродукты"), chosen));
    groups->addWidget(groupButton("btn_Milk", QStringLiteral("&Яйца, сыр и молочные продукты"), chosen));
    groups->addWidget(groupButton("btn_Ice", QStringLiteral("Моро&женое"), chosen));
    groups->addWidget(groupButton("btn_Special", QStringLiteral("&Специальные задачи"), chosen));
    groups->addStretch();
    top->addLayout(groups);

    auto* choice = new QGridLayout;
    choice->setHorizontalSpacing(10);
    choice->setVerticalSpacing(8);
    auto* task = ListField("Task_cmb", 320);
    task->setEditable(true);
    auto* taskCaption = CaptionLabel(QStringLiteral("Технологическая &задача"));
    taskCaption->setBuddy(task);
    choice->addWidget(taskCaption, 0, 0, 1, 2);
    choice->addWidget(task, 1, 0, 1, 2);
    choice->setRowMinimumHeight(2, 6);
    auto* product = ListField("Produkt_cmb", 260);
    auto* productCaption = CaptionLabel(QStringLiteral("&Тип продукта"));
    productCaption->setBuddy(product);
    choice->addWidget(productCaption, 3, 0);
    choice->addWidget(product, 3, 1);
    auto* packing = ListField("Packing_cmb", 260);
    auto* packingCaption = CaptionLabel(QStringLiteral("Тара и &упаковка"));
    packingCaption->setBuddy(packing);
    choice->addWidget(packingCaption, 4, 0);
    choice->addWidget(packing, 4, 1);
    choice->setColumnStretch(1, 1);
    choice->setRowStretch(5, 1);
    top->addLayout(choice, 1);
    root->addLayout(top);

    // The task's typical parameters: temperatures and air on the left, load, turnover and
    // work mode on the right, the two long-captioned values across the bottom.
    auto* params = Frame(QStringLiteral("Типичные параметры задачи"));
    auto* paramsBox = new QVBoxLayout(params);
    paramsBox->setSpacing(8);
    auto* columns = Spaced<QHBoxLayout>(28);
    const QString degrees = QStringLiteral("°C");

    auto* left = new QGridLayout;
    left->setHorizontalSpacing(8);
    left->setVerticalSpacing(7);
    addRow(left, 0, 0, CaptionLabel(QStringLiteral("Температура в камере")), NumberField("TempIn_txt"),
           UnitLabel(degrees));
    addRow(left, 1, 0, CaptionLabel(QStringLiteral("Начальная Т продукта")), NumberField("Tin_Prod_txt"),
           UnitLabel(degrees));
    addRow(left, 2, 0, CaptionLabel(QStringLiteral("Конечная Т продукта")), NumberField("Tend_Prod_txt"),
           UnitLabel(degrees));
    addRow(left, 3, 0, CaptionLabel(QStringLiteral("Скорость  воздуха в камере, м/с")),
           NumberField("Velocity_txt"));
    addRow(left, 4, 0, CaptionLabel(QStringLiteral("Влажность воздуха, %")), NumberField("HumidIn_txt"));
    left->setColumnMinimumWidth(2, 18);
    left->setRowStretch(5, 1);
    columns->addLayout(left);

    auto* right = new QGridLayout;
    right->setHorizontalSpacing(8);
    right->setVerticalSpacing(7);
    addRow(right, 0, 0, CaptionLabel(QStringLiteral("Загрузка камеры, т")), NumberField("Load_prod_txt"));
    addRow(right, 1, 0, CaptionLabel(QStringLiteral("охлаждается")), NumberField("Oborot_Prod_txt"),
           UnitLabel(QStringLiteral("%")), UnitLabel(QStringLiteral("в % от загрузки")));
    addRow(right, 2, 0, CaptionLabel(QStringLiteral("или")), NumberField("Oborot_tonn_txt"));
    right->addWidget(UnitLabel(QStringLiteral("в тоннах")), 2, 2, 1, 2);
    right->addWidget(CaptionLabel(QStringLiteral("Режим работы")), 3, 0);
    right->addWidget(ListField("Smena_cmb", 120), 3, 1, 1, 2, Qt::AlignLeft);
    // The work cycle the mode hands to the room: the main window takes it on «Далее >>».
    auto* cycle = CaptionLabel(QString(), "Cycle_lbl");
    cycle->setToolTip(QStringLiteral("Рабочий цикл агрегата, который главное окно примет по «Далее >>»: "
                                     "100 %, для непрерывного режима 75 %"));
    right->addWidget(cycle, 3, 3);
    right->setColumnStretch(4, 1);
    right->setRowStretch(4, 1);
    columns->addLayout(right, 1);
    paramsBox->addLayout(columns);

    auto* rule = new QFrame;
    rule->setFrameShape(QFrame::HLine);
    rule->setFrameShadow(QFrame::Sunken);
    paramsBox->addWidget(rule);
    auto* bottom = new QGridLayout;
    bottom->setHorizontalSpacing(8);
    bottom->setVerticalSpacing(7);
    addRow(bottom, 0, 0, CaptionLabel(QStringLiteral("Длительность процесса охлаждения (смены), часов")),
           NumberField("Real_time_txt"));
    addRow(bottom, 1, 0, CaptionLabel(QStringLiteral("Характерный размер продукта, см")),
           NumberField("Dimens_txt"),
           UnitLabel(QStringLiteral("(только для расчета скорости охлаждения/замораживания)")));
    bottom->setColumnStretch(3, 1);
    paramsBox->addLayout(bottom);
    root->addWidget(params);

    root->addWidget(DialogButtons(QStringLiteral("&Далее >>"), QStringLiteral("&Отмена"), 110));

    resize(sizeHint().expandedTo(QSize(780, 0)));
}

TaskDialog::~TaskDialog() = default;

void TaskDialog::bind(const ControlRegistry& controls, std::function<void()> refreshAll) {
    if (!refreshAll) refreshAll = [this] { refresh(); };
    binder_ = std::make_unique<QtBinder>(this, controls, std::move(refreshAll));
}

void TaskDialog::refresh() {
    if (binder_) binder_->refresh();
    if (!groupSource_) return;
    // The group follows the chosen task (a project opened, the tasks offered from code), not
    // only the clicks on the group buttons.
    auto* group = findChild<QPushButton*>(QString::fromStdString(groupSource_()));
    if (group && !group->isChecked()) group->setChecked(true);
}

void TaskDialog::requestClose() {
    if (closeRequest_) {
        if (binder_)
            binder_->run(closeRequest_);
        else
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

// Escape (QDialog's reject); the title-bar close comes through closeEvent.
void TaskDialog::reject() {
    if (!escapeRequest_) {
        requestClose();
    } else if (binder_) {
        binder_->run(escapeRequest_);
    } else {
        escapeRequest_();
    }
}

}  // namespace coldroom
