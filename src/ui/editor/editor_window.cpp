#include "ui/editor/editor_window.h"

#include <QCloseEvent>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QSignalBlocker>
#include <QStyle>
#include <QTabWidget>
#include <QVBoxLayout>

#include <algorithm>
#include <string_view>
#include <tuple>

#include "ui/editor/editor_form.h"
#include "ui/editor/qt_enthalpy_curve.h"
#include "ui/qt_binder.h"
#include "ui/qt_form_widgets.h"
#include "ui/qt_user_interface.h"

namespace coldroom {

namespace {

QString s(const char* text) { return QString::fromUtf8(text); }

// The registered name of a control of the form.
std::string NameOf(EditorForm& form, const void* control) {
    for (const auto& [name, ref] : form.controls().all())
        if (std::visit([](auto* c) { return static_cast<const void*>(c); }, ref) == control) return name;
    return {};
}

QPushButton* NamedButton(const std::string& name, const QString& text, int minimumWidth = 0) {
    auto* button = new QPushButton(text);
    button->setObjectName(QString::fromStdString(name));
    button->setAutoDefault(false);  // Enter in a field commits the field, it presses nothing
    if (minimumWidth) button->setMinimumWidth(minimumWidth);
    return button;
}

QLineEdit* TextField(const char* name, int minimumWidth) {
    auto* edit = new QLineEdit;
    edit->setObjectName(QString::fromLatin1(name));
    edit->setMinimumWidth(minimumWidth);
    return edit;
}

// A field that only shows a list the form keeps (the task's product numbers, the points).
QLineEdit* ListText(const char* name) {
    auto* edit = TextField(name, 120);
    edit->setReadOnly(true);
    edit->setFocusPolicy(Qt::ClickFocus);
    return edit;
}

void RetainSizeWhenHidden(QWidget* w) {
    QSizePolicy policy = w->sizePolicy();
    policy.setRetainSizeWhenHidden(true);
    w->setSizePolicy(policy);
}

// White is the field's own look (a locked field stays grey); other colours show even on a
// locked field, as the temperature of a point always is.
void SetBackColour(QWidget* w, const Rgb& colour) {
    if (colour == Rgb{}) {
        if (w->testAttribute(Qt::WA_SetPalette)) w->setPalette(QPalette());
        return;
    }
    const QColor c(colour.red, colour.green, colour.blue);
    QPalette palette = w->palette();
    if (w->testAttribute(Qt::WA_SetPalette) && palette.color(QPalette::Active, QPalette::Base) == c) return;
    for (auto group : {QPalette::Active, QPalette::Inactive, QPalette::Disabled})
        palette.setColor(group, QPalette::Base, c);
    w->setPalette(palette);
}

// A page: the heading, the rows of the table beside the fields, the table's buttons under
// the fields and its navigator at the bottom. `fields` is the page's own part.
QWidget* Page(const BoundView& view, QWidget* rows, QLayout* fields, QWidget* buttons, QWidget* nav) {
    auto* page = new QWidget;
    auto* box = Spaced<QVBoxLayout>(8, page, 10);
    if (*view.heading) {
        auto* heading = CaptionLabel(QString::fromUtf8(view.heading), nullptr, true);
        QFont font = heading->font();
        font.setBold(true);
        heading->setFont(font);
        box->addWidget(heading);
    }
    auto* body = Spaced<QHBoxLayout>(14);
    body->addWidget(rows);
    auto* right = new QVBoxLayout;
    right->addLayout(fields);
    right->addSpacing(6);
    right->addWidget(buttons);
    right->addStretch();
    body->addLayout(right, 1);
    box->addLayout(body, 1);
    if (nav) box->addWidget(nav);
    return page;
}

// The bound fields of a view with their labels, skipping those shown by other controls.
QGridLayout* FieldGrid(const BoundView& view, int labelWidth) {
    auto* grid = new QGridLayout;
    grid->setHorizontalSpacing(10);
    grid->setVerticalSpacing(6);
    int row = 0;
    for (const auto& field : view.fields) {
        if (!*field.label || std::string_view(field.name) == "txtReference") continue;
        // A label wraps only when it is longer than the column allows.
        auto* label = CaptionLabel(QString::fromUtf8(field.label), nullptr, true);
        label->setMinimumWidth(std::min(label->fontMetrics().horizontalAdvance(label->text()) + 6, labelWidth));
        label->setMaximumWidth(labelWidth);
        QLineEdit* edit = field.number ? NumberField(field.name, 90) : TextField(field.name, 160);
        label->setBuddy(edit);
        grid->addWidget(label, row, 0, Qt::AlignLeft | Qt::AlignVCenter);
        if (field.number)
            grid->addWidget(edit, row, 1, Qt::AlignLeft);
        else
            grid->addWidget(edit, row, 1);  // names take the width there is
        ++row;
    }
    grid->setColumnStretch(1, 1);
    return grid;
}

}  // namespace

struct EditorWindow::RowList {
    BoundView* view = nullptr;
    QListWidget* list = nullptr;
    QStringList shown;
};

EditorWindow::EditorWindow(std::unique_ptr<EditorForm> form, QWidget* parent)
    : QWidget(parent), form_(std::move(form)) {
    setObjectName(QStringLiteral("ParaConfig"));
    setWindowTitle(s(EditorForm::kCaption));
    setWindowFlag(Qt::Window);

    auto* root = Spaced<QVBoxLayout>(8, this, 10);

    auto* tabs = new QTabWidget;
    tabs->setObjectName(QStringLiteral("SSTab1"));
    tabs->addTab(buildTaskTab(), s("Задача"));
    tabs->addTab(buildIsolationTab(), s("Изоляция"));
    tabs->addTab(buildProductTab(), s("Продукты"));
    EditorForm& f = *form_;
    tabs->addTab(buildPlainTab(f.datLocus), s("Место"));
    tabs->addTab(buildPlainTab(f.datTara), s("Упаковка"));
    tabs->addTab(buildPlainTab(f.datUpper), s("Покрытие"));
    tabs->addTab(buildPlainTab(f.datOthers), s("Разное"));
    root->addWidget(tabs, 1);

    // The task navigator sits outside the tabs and is shown with the task tab only; its
    // place is kept, so the buttons beside it do not jump.
    auto* bottom = new QHBoxLayout;
    QWidget* taskNavigator = navigator(f.datTask);
    RetainSizeWhenHidden(taskNavigator);
    bottom->addWidget(taskNavigator);
    bottom->addStretch();
    bottom->addWidget(NamedButton("btnCancel", s("&ОТМЕНА"), 110));
    bottom->addWidget(NamedButton("Exit_btn", s("&ВЫХОД с сохранением изменений")));
    root->addLayout(bottom);

    // The wrapped labels of the product tab need the height; the whole fits 1024x700.
    setMinimumHeight(600);
    resize(QSize(1000, 660).expandedTo(minimumSizeHint()));
}

EditorWindow::~EditorWindow() = default;

// ---- pages ------------------------------------------------------------------------------

QWidget* EditorWindow::buildPlainTab(BoundView& view) {
    return Page(view, rowList(view), FieldGrid(view, 340), tabButtons(view), navigator(view));
}

QWidget* EditorWindow::buildIsolationTab() { return buildPlainTab(form_->datIsolation); }

QWidget* EditorWindow::buildTaskTab() {
    EditorForm& f = *form_;
    auto* fields = Spaced<QVBoxLayout>(12);
    fields->addLayout(FieldGrid(f.datTask, 260));

    auto* products = Frame(s(EditorForm::kProductListLabel));
    auto* grid = new QGridLayout(products);
    grid->setHorizontalSpacing(6);
    auto* taskProducts = ListField("cmbProduct", 230);
    auto* remove = NamedButton("btnDelete", s("X"));
    remove->setToolTip(s(EditorForm::kDeleteProductTip));
    auto* add = NamedButton("btnAdd", s("<<"));
    add->setToolTip(s(EditorForm::kAddProductTip));
    auto* all = ListField("cmbNewProd", 230);
    for (QPushButton* b : {remove, add}) b->setFixedWidth(34);
    for (QWidget* w : {static_cast<QWidget*>(remove), static_cast<QWidget*>(add), static_cast<QWidget*>(all)})
        RetainSizeWhenHidden(w);
    grid->addWidget(CaptionLabel(s("в задаче")), 0, 0);
    auto* allCaption = CaptionLabel(s("все продукты"), "cmbNewProd_caption");
    RetainSizeWhenHidden(allCaption);
    grid->addWidget(allCaption, 0, 3);
    grid->addWidget(taskProducts, 1, 0);
    grid->addWidget(remove, 1, 1);
    grid->addWidget(add, 1, 2);
    grid->addWidget(all, 1, 3);
    auto* numbers = new QHBoxLayout;
    numbers->addWidget(CaptionLabel(s("Номера продуктов")));
    numbers->addWidget(ListText("txtReference"), 1);
    grid->addLayout(numbers, 2, 0, 1, 4);
    grid->setColumnStretch(0, 1);
    grid->setColumnStretch(3, 1);
    fields->addWidget(products);
    return Page(f.datTask, rowList(f.datTask), fields, tabButtons(f.datTask), nullptr);
}

QWidget* EditorWindow::buildProductTab() {
    EditorForm& f = *form_;
    auto* fields = Spaced<QHBoxLayout>(16);
    QGridLayout* grid = FieldGrid(f.datProduct, 260);
    fields->addLayout(grid, 1);
    // What the specific heat column holds, on the field and on its label.
    for (int i = 0; i < grid->count(); ++i) {
        auto* label = qobject_cast<QLabel*>(grid->itemAt(i)->widget());
        if (label && label->buddy() && label->buddy()->objectName() == QLatin1String("txtHeatCap")) {
            label->setToolTip(s(EditorForm::kHeatCapTip));
            label->buddy()->setToolTip(s(EditorForm::kHeatCapTip));
        }
    }
    fields->addWidget(pointEditor());
    return Page(f.datProduct, rowList(f.datProduct), fields, tabButtons(f.datProduct), navigator(f.datProduct));
}

QWidget* EditorWindow::pointEditor() {
    auto* frame = Frame(s("Таблица энтальпии"));
    auto* box = new QVBoxLayout(frame);
    auto* grid = new QGridLayout;
    grid->setHorizontalSpacing(8);
    grid->addWidget(CaptionLabel(s(EditorForm::kTemperatureLabel)), 0, 0);
    grid->addWidget(NumberField("txtTemperature", 66), 0, 1);
    grid->addWidget(CaptionLabel(s(EditorForm::kEnthalpyLabel)), 1, 0);
    grid->addWidget(NumberField("txtEnthalpy", 66), 1, 1);
    const std::pair<const char*, QStyle::StandardPixmap> arrows[] = {{"Up_pic", QStyle::SP_ArrowUp},
                                                                      {"Down_pic", QStyle::SP_ArrowDown}};
    for (int i = 0; i < 2; ++i) {
        auto* button = NamedButton(arrows[i].first, QString());
        button->setIcon(style()->standardIcon(arrows[i].second));
        button->setFixedSize(30, 24);
        button->setToolTip(i == 0 ? s("Предыдущая точка") : s("Следующая точка"));
        // The fields take the press colours while the button is held.
        GuardedConnect(button, &QPushButton::pressed, this, [this, i] {
            runOnForm([this, i] { i == 0 ? form_->Up_pic_MouseDown() : form_->Down_pic_MouseDown(); });
        });
        GuardedConnect(button, &QPushButton::released, this, [this, i] {
            runOnForm([this, i] { i == 0 ? form_->Up_pic_MouseUp() : form_->Down_pic_MouseUp(); });
        });
        grid->addWidget(button, i, 2);
    }
    box->addLayout(grid);
    curve_ = new EnthalpyCurve;
    curve_->setObjectName(QStringLiteral("EnthalpyCurve"));
    box->addWidget(curve_, 1);
    auto* lists = new QGridLayout;
    lists->addWidget(CaptionLabel(s("Т, °С")), 0, 0);
    lists->addWidget(ListText("txtT"), 0, 1);
    lists->addWidget(CaptionLabel(s("h, кДж/кг")), 1, 0);
    lists->addWidget(ListText("txtE"), 1, 1);
    box->addLayout(lists);
    frame->setFixedWidth(270);
    return frame;
}

QWidget* EditorWindow::navigator(BoundView& view) {
    auto* bar = new QFrame;
    bar->setFrameShape(QFrame::StyledPanel);
    auto* row = new QHBoxLayout(bar);
    row->setContentsMargins(8, 3, 8, 3);
    row->setSpacing(4);
    const std::string name = view.name;
    auto* caption = CaptionLabel(QString::fromStdString(view.caption.text), name.c_str());
    caption->setMinimumWidth(caption->fontMetrics().horizontalAdvance(caption->text()) + 12);
    row->addWidget(caption);
    const std::tuple<const char*, const char*, const char*> moves[] = {
        {"_First", "|<", "Первая строка"},
        {"_Previous", "<", "Предыдущая строка"},
        {"_Next", ">", "Следующая строка"},
        {"_Last", ">|", "Последняя строка"}};
    for (const auto& [suffix, text, tip] : moves) {
        if (std::string_view(suffix) == "_Next") {
            auto* position = CaptionLabel(QString(), (name + "_Position").c_str());
            position->setAlignment(Qt::AlignCenter);
            position->setMinimumWidth(70);
            row->addWidget(position);
        }
        auto* button = NamedButton(name + suffix, s(text));
        button->setFixedWidth(34);
        button->setToolTip(s(tip));
        row->addWidget(button);
    }
    row->addStretch();
    navigators_.emplace_back(&view, bar);
    return bar;
}

QWidget* EditorWindow::rowList(BoundView& view) {
    auto rows = std::make_unique<RowList>();
    rows->view = &view;
    rows->list = new QListWidget;
    rows->list->setObjectName(QString::fromLatin1(view.name) + QStringLiteral("_rows"));
    // A long task or material name goes on to a second line rather than being cut.
    rows->list->setFixedWidth(220);
    rows->list->setWordWrap(true);
    rows->list->setTextElideMode(Qt::ElideNone);
    rows->list->setResizeMode(QListView::Adjust);
    rows->list->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    // Queued: a row that cannot be left says so in a message box, which must not come up in
    // the middle of the list's own mouse handling.
    BoundView* v = &view;
    connect(rows->list, &QListWidget::currentRowChanged, this,
            [this, v](int row) {
                runOnForm([this, v, row] {
                    if (row >= 0 && row != v->current) form_->MoveTo(*v, row);
                });
            },
            Qt::QueuedConnection);
    QWidget* w = rows->list;
    rowLists_.push_back(std::move(rows));
    return w;
}

QWidget* EditorWindow::tabButtons(BoundView& view) {
    auto* buttons = new QWidget;
    auto* row = Spaced<QHBoxLayout>(8, buttons, 0);
    for (Button* b : {view.add, view.remove, view.update})
        // Alt and the first letter presses the button of the page shown.
        if (b) row->addWidget(NamedButton(NameOf(*form_, b), u'&' + QString::fromStdString(b->caption), 100));
    row->addStretch();
    return buttons;
}

// ---- state ------------------------------------------------------------------------------

void EditorWindow::bind(std::function<void()> refreshAll) {
    if (!refreshAll) refreshAll = [this] { refresh(); };
    binder_ = std::make_unique<QtBinder>(this, form_->controls(), std::move(refreshAll));
    refresh();
}

void EditorWindow::runOnForm(const std::function<void()>& fn) {
    if (binder_) {
        binder_->run(fn);
    } else {
        fn();
        refresh();
    }
}

void EditorWindow::refresh() {
    if (binder_) binder_->refresh();
    EditorForm& f = *form_;
    for (auto& [view, bar] : navigators_)
        if (bar->isVisibleTo(this) != view->visible) bar->setVisible(view->visible);
    // The product list's other controls are there while the task is being edited.
    for (const char* name : {"cmbNewProd", "btnAdd", "btnDelete"})
        if (auto* w = findChild<QWidget*>(QString::fromLatin1(name)); w && w->isVisibleTo(this) != w->isEnabled())
            w->setVisible(w->isEnabled());
    if (auto* caption = findChild<QWidget*>(QStringLiteral("cmbNewProd_caption")))
        caption->setVisible(f.cmbNewProd.enabled);
    for (auto& rows : rowLists_) refreshRows(*rows);
    if (auto* w = findChild<QWidget*>(QStringLiteral("txtTemperature"))) SetBackColour(w, f.TemperatureBackColor);
    if (auto* w = findChild<QWidget*>(QStringLiteral("txtEnthalpy"))) SetBackColour(w, f.EnthalpyBackColor);
    const int last = f.PointLast + 1;
    auto head = [last](const std::vector<double>& v) {
        return std::vector<double>(v.begin(), v.begin() + std::clamp<long>(last, 0, static_cast<long>(v.size())));
    };
    curve_->setPoints(head(f.PointTemps), head(f.PointEnthalpies), f.PointIndex);
}

void EditorWindow::refreshRows(RowList& rows) {
    const BoundView& view = *rows.view;
    QStringList labels;
    for (int r = 0; r < view.data.rowCount(); ++r)
        labels.push_back(QStringLiteral("%1. %2").arg(r + 1).arg(QString::fromStdString(view.data.text(0, r))));
    if (view.adding) labels.push_back(QStringLiteral("%1. %2").arg(view.rowCount()).arg(s("(новая строка)")));
    const QSignalBlocker blocker(rows.list);
    if (labels != rows.shown) {
        rows.list->clear();
        rows.list->addItems(labels);
        for (int r = 0; r < rows.list->count(); ++r) rows.list->item(r)->setToolTip(labels[r]);  // long names
        rows.shown = labels;
    }
    if (rows.list->currentRow() != view.current) rows.list->setCurrentRow(view.current);
}

void EditorWindow::closeEvent(QCloseEvent* event) {
    if (event->spontaneous()) {
        event->ignore();
        runOnForm([this] { form_->btnCancel_Click(); });
        return;
    }
    QWidget::closeEvent(event);
}

}  // namespace coldroom
