#include "ui/qt_binder.h"

#include <QAbstractItemView>
#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QEvent>
#include <QFocusEvent>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QSignalBlocker>
#include <QStyle>
#include <QTabWidget>
#include <QtDebug>

#include <algorithm>
#include <set>

namespace coldroom {

namespace {

QString q(const std::string& s) { return QString::fromStdString(s); }

// A button's text as the person reads it: "&&" is an ampersand, a lone '&' marks the Alt letter.
QString withoutMnemonic(const QString& text) {
    QString plain;
    for (qsizetype i = 0; i < text.size(); ++i) {
        if (text[i] == u'&' && i + 1 < text.size()) ++i;
        plain += text[i];
    }
    return plain;
}

bool isEnter(QEvent* event) {
    if (event->type() != QEvent::KeyPress) return false;
    auto* key = static_cast<QKeyEvent*>(event);
    const auto modifiers = key->modifiers() & ~Qt::KeypadModifier;
    return (key->key() == Qt::Key_Return || key->key() == Qt::Key_Enter) && modifiers == Qt::NoModifier;
}

}  // namespace

struct QtBinder::Binding {
    enum Kind { LineEdit, Label, Combo, Radio, Check, PushButton, Tabs };

    std::string name;
    ControlRef control;
    QPointer<QWidget> widget;
    Kind kind = Label;

    // What was shown last; the first refresh shows everything.
    bool known = false;
    bool shownEnabled = true;
    std::string shownText;
    std::vector<std::string> shownItems;
    // A button's caption as the window wrote it, with its Alt letter: shown while the form's
    // caption is the same text.
    QString mnemonicText;
};

namespace {

// The binding kind for a widget that can show the control, or -1 when it cannot.
int kindFor(QWidget* w, const ControlRef& ref) {
    const bool text = std::holds_alternative<TextBox*>(ref) || std::holds_alternative<Caption*>(ref);
    if (qobject_cast<QLineEdit*>(w) && text) return 0;
    if (qobject_cast<QLabel*>(w) && text) return 1;
    if (qobject_cast<QComboBox*>(w) && std::holds_alternative<ListBox*>(ref)) return 2;
    if (qobject_cast<QRadioButton*>(w) && std::holds_alternative<OptionButton*>(ref)) return 3;
    if (qobject_cast<QCheckBox*>(w) && std::holds_alternative<CheckBox*>(ref)) return 4;
    if (qobject_cast<QPushButton*>(w) && std::holds_alternative<Button*>(ref)) return 5;
    if (qobject_cast<QTabWidget*>(w) && std::holds_alternative<ListBox*>(ref)) return 6;
    return -1;
}

// The drop-down of a list is made wide enough for its longest entry, whatever the width
// the list itself has in its window.
void showWholeItems(QComboBox* combo, const QStringList& items) {
    QAbstractItemView* view = combo->view();
    const QFontMetrics metrics = view->fontMetrics();
    int widest = 0;
    for (const QString& item : items) widest = std::max(widest, metrics.horizontalAdvance(item));
    const bool scrolls = items.size() > combo->maxVisibleItems();
    const int scrollBar = scrolls ? view->style()->pixelMetric(QStyle::PM_ScrollBarExtent) : 0;
    // Item padding and the popup's frame on both sides.
    const int extra = 2 * metrics.averageCharWidth() + 2 * view->frameWidth() + scrollBar;
    view->setMinimumWidth(widest > 0 ? widest + extra : 0);
}

const std::string& textOf(const ControlRef& ref) {
    if (auto* const* box = std::get_if<TextBox*>(&ref)) return (*box)->text;
    return std::get<Caption*>(ref)->text;
}

bool enabledOf(const ControlRef& ref) {
    return std::visit([](auto* c) { return c->enabled; }, ref);
}

}  // namespace

QtBinder::QtBinder(QWidget* root, const ControlRegistry& registry, RefreshFn refreshAll,
                   QObject* parent)
    : QObject(parent), registry_(registry), refresh_(std::move(refreshAll)), root_(root) {
    if (root) {
        const auto children = root->findChildren<QWidget*>();
        for (QWidget* w : children) {
            const QString objectName = w->objectName();
            if (objectName.isEmpty()) continue;
            const std::string name = objectName.toStdString();
            if (const ControlRef* ref = registry.find(name)) bindWidget(w, name, *ref);
        }
    }
    refresh();
}

QtBinder::~QtBinder() {
    for (Binding* b : bindings_) {
        if (b->widget) b->widget->removeEventFilter(this);
        delete b;
    }
}

void QtBinder::bindWidget(QWidget* w, const std::string& name, const ControlRef& ref) {
    const int kind = kindFor(w, ref);
    if (kind < 0) {
        qWarning("coldroom: widget %s cannot show its control", name.c_str());
        return;
    }
    auto* b = new Binding;
    b->name = name;
    b->control = ref;
    b->widget = w;
    b->kind = static_cast<Binding::Kind>(kind);
    bindings_.push_back(b);

    switch (b->kind) {
    case Binding::LineEdit: {
        auto* edit = static_cast<QLineEdit*>(w);
        auto* box = std::get_if<TextBox*>(&ref);
        if (!box) {
            edit->setReadOnly(true);  // a caption shown in a field: nothing to type
            break;
        }
        TextBox* tb = *box;
        connect(edit, &QLineEdit::textEdited, this, [this, b, tb](const QString& text) {
            tb->text = text.toStdString();
            b->shownText = tb->text;
            GuardedCall(*ui_, [this] { refreshAll(); });
        });
        connect(edit, &QLineEdit::returnPressed, this, [this, b, tb, edit] {
            if (edit->isReadOnly()) return;
            dispatch(b, tb->onEnter);
        });
        edit->installEventFilter(this);
        break;
    }
    case Binding::Label: {
        auto* label = static_cast<QLabel*>(w);
        label->setTextFormat(Qt::PlainText);
        if (auto* cap = std::get_if<Caption*>(&ref); cap && (*cap)->text.empty())
            (*cap)->text = label->text().toStdString();
        break;
    }
    case Binding::Combo: {
        auto* combo = static_cast<QComboBox*>(w);
        ListBox* list = std::get<ListBox*>(ref);
        connect(combo, &QComboBox::activated, this, [this, b, list](int index) {
            dispatch(b, [list, index] { list->setIndex(index); });
        });
        if (combo->isEditable()) {
            combo->setInsertPolicy(QComboBox::NoInsert);
            connect(combo->lineEdit(), &QLineEdit::textEdited, this,
                    [this, list](const QString& text) {
                        list->setText(text.toStdString());
                        GuardedCall(*ui_, [this] { refreshAll(); });
                    });
        }
        break;
    }
    case Binding::Radio: {
        auto* radio = static_cast<QRadioButton*>(w);
        OptionButton* option = std::get<OptionButton*>(ref);
        connect(radio, &QRadioButton::clicked, this, [this, b, option](bool checked) {
            // Clicking the chosen option again changes nothing; the refresh puts it back.
            dispatch(b, [option, checked] {
                if (checked) option->setValue(true);
            });
        });
        break;
    }
    case Binding::Check: {
        auto* check = static_cast<QCheckBox*>(w);
        CheckBox* box = std::get<CheckBox*>(ref);
        connect(check, &QCheckBox::clicked, this, [this, b, box](bool checked) {
            dispatch(b, [box, checked] { box->setValue(checked ? 1 : 0); });
        });
        break;
    }
    case Binding::PushButton: {
        auto* push = static_cast<QPushButton*>(w);
        Button* button = std::get<Button*>(ref);
        if (push->text().contains(u'&')) b->mnemonicText = push->text();
        if (button->caption.empty()) button->caption = withoutMnemonic(push->text()).toStdString();
        connect(push, &QPushButton::clicked, this, [this, b, button] { dispatch(b, button->onClick); });
        break;
    }
    case Binding::Tabs: {
        // The list's entries are the tab captions and its position the tab shown.
        auto* tabs = static_cast<QTabWidget*>(w);
        ListBox* list = std::get<ListBox*>(ref);
        if (list->items.empty())
            for (int i = 0; i < tabs->count(); ++i) list->addItem(tabs->tabText(i).toStdString());
        connect(tabs, &QTabWidget::currentChanged, this, [this, b, list](int index) {
            dispatch(b, [list, index] { list->setIndex(index); });
        });
        break;
    }
    }
}

void QtBinder::refresh() {
    for (Binding* b : bindings_)
        if (b->widget) refreshBinding(*b);
}

void QtBinder::refreshBinding(Binding& b) {
    QWidget* w = b.widget;
    const QSignalBlocker blocker(w);

    const bool enabled = enabledOf(b.control);
    if (!b.known || enabled != b.shownEnabled) {
        w->setEnabled(enabled);
        b.shownEnabled = enabled;
    }

    switch (b.kind) {
    case Binding::LineEdit:
    case Binding::Label: {
        const std::string& text = textOf(b.control);
        if (!b.known || text != b.shownText) {
            if (b.kind == Binding::LineEdit) {
                auto* edit = static_cast<QLineEdit*>(w);
                edit->setText(q(text));
                edit->setCursorPosition(0);  // long texts show their beginning
            } else {
                static_cast<QLabel*>(w)->setText(q(text));
            }
            b.shownText = text;
        }
        break;
    }
    case Binding::Combo: {
        auto* combo = static_cast<QComboBox*>(w);
        const ListBox& list = *std::get<ListBox*>(b.control);
        if (!b.known || list.items != b.shownItems) {
            combo->clear();
            QStringList items;
            items.reserve(list.count());
            for (const auto& item : list.items) items.push_back(q(item));
            combo->addItems(items);
            b.shownItems = list.items;
            showWholeItems(combo, items);
        }
        if (combo->currentIndex() != list.index()) combo->setCurrentIndex(list.index());
        if (combo->isEditable()) {
            const QString text = q(list.text());
            if (combo->currentText() != text) combo->setEditText(text);
        }
        // A list narrower than its entry still shows the entry whole when pointed at.
        if (combo->toolTip() != combo->currentText()) combo->setToolTip(combo->currentText());
        break;
    }
    case Binding::Radio: {
        auto* radio = static_cast<QRadioButton*>(w);
        const bool value = std::get<OptionButton*>(b.control)->value();
        if (radio->isChecked() != value) {
            // An exclusive group refuses to clear its chosen button; the form may clear all.
            const bool exclusive = radio->autoExclusive();
            if (!value && exclusive) radio->setAutoExclusive(false);
            radio->setChecked(value);
            if (!value && exclusive) radio->setAutoExclusive(true);
        }
        break;
    }
    case Binding::Check: {
        auto* check = static_cast<QCheckBox*>(w);
        const bool value = std::get<CheckBox*>(b.control)->value() != 0;
        if (check->isChecked() != value) check->setChecked(value);
        break;
    }
    case Binding::Tabs: {
        auto* tabs = static_cast<QTabWidget*>(w);
        const ListBox& list = *std::get<ListBox*>(b.control);
        if (!b.known || list.items != b.shownItems) {
            for (int i = 0; i < tabs->count() && i < list.count(); ++i)
                tabs->setTabText(i, q(list.items[static_cast<size_t>(i)]));
            b.shownItems = list.items;
        }
        if (list.index() >= 0 && tabs->currentIndex() != list.index()) tabs->setCurrentIndex(list.index());
        break;
    }
    case Binding::PushButton: {
        const std::string& caption = std::get<Button*>(b.control)->caption;
        if (!b.known || caption != b.shownText) {
            QString text = q(caption);
            if (!b.mnemonicText.isEmpty() && withoutMnemonic(b.mnemonicText) == text)
                text = b.mnemonicText;
            else
                text.replace(u'&', QStringLiteral("&&"));  // the form's '&' is a character
            static_cast<QPushButton*>(w)->setText(text);
            b.shownText = caption;
        }
        break;
    }
    }
    b.known = true;
}

QWidget* QtBinder::widget(const std::string& name) const {
    for (Binding* b : bindings_)
        if (b->name == name) return b->widget;
    return nullptr;
}

std::vector<std::string> QtBinder::unboundControls() const {
    std::set<std::string> bound;
    for (Binding* b : bindings_) bound.insert(b->name);
    std::vector<std::string> missing;
    for (const auto& [name, ref] : registry_.all())
        if (!bound.count(name)) missing.push_back(name);
    return missing;
}

QtBinder::Binding* QtBinder::bindingOf(QObject* widget) const {
    for (Binding* b : bindings_)
        if (b->widget == widget) return b;
    return nullptr;
}

void QtBinder::join(UserInterface& ui, Running& running) {
    ui_ = &ui;
    running_ = &running;
}

void QtBinder::run(const Handler& fn) {
    GuardedCall(*ui_, fn);
    // What ran up to a failure is shown too.
    GuardedCall(*ui_, [this] { refreshAll(); });
}

void QtBinder::dispatch(Binding* b, const Handler& handler) {
    Running& running = *running_;
    QWidget* const source = b ? b->widget.data() : nullptr;
    ++running.depth;
    QWidget* const outer = running.current;
    running.current = source;
    GuardedCall(*ui_, handler);
    running.current = outer;
    --running.depth;

    // The field moved the focus on from its own handler (Enter accepted): it has been left.
    if (source && running.pendingLeave == source) {
        running.pendingLeave = nullptr;
        if (!source->hasFocus()) {
            dispatch(b, std::get<TextBox*>(b->control)->onLeave);
            return;
        }
    }
    GuardedCall(*ui_, [this] { refreshAll(); });
}

bool QtBinder::commitPendingEdit() {
    QWidget* focus = QApplication::focusWidget();
    Binding* b = focus ? bindingOf(focus) : nullptr;
    if (!b || b->kind != Binding::LineEdit || !std::holds_alternative<TextBox*>(b->control)) return false;
    if (static_cast<QLineEdit*>(b->widget.data())->isReadOnly()) return false;
    dispatch(b, std::get<TextBox*>(b->control)->onLeave);
    return true;
}

void QtBinder::refreshAll() {
    if (refresh_)
        refresh_();
    else
        refresh();
}

bool QtBinder::eventFilter(QObject* watched, QEvent* event) {
    if (isEnter(event)) {
        // Enter in a field commits the field, and that is all: the key goes no further, so a
        // dialog's default button is not pressed with it.
        Binding* b = bindingOf(watched);
        if (!b || b->kind != Binding::LineEdit || !std::holds_alternative<TextBox*>(b->control) ||
            static_cast<QLineEdit*>(b->widget.data())->isReadOnly())
            return QObject::eventFilter(watched, event);
        static_cast<QObject*>(b->widget.data())->event(event);
        event->accept();
        return true;
    }
    if (event->type() != QEvent::FocusOut) return QObject::eventFilter(watched, event);
    Binding* b = bindingOf(watched);
    if (!b || b->kind != Binding::LineEdit || !std::holds_alternative<TextBox*>(b->control))
        return QObject::eventFilter(watched, event);
    auto* edit = static_cast<QLineEdit*>(b->widget.data());
    const Qt::FocusReason reason = static_cast<QFocusEvent*>(event)->reason();
    // A context menu, a list popup, or another window coming to the front (our own message
    // boxes included) does not leave the field: the focus comes back to it.
    if (edit->isReadOnly() || reason == Qt::PopupFocusReason || reason == Qt::ActiveWindowFocusReason)
        return QObject::eventFilter(watched, event);
    if (running_->depth > 0) {
        if (running_->current == edit) running_->pendingLeave = edit;
        return QObject::eventFilter(watched, event);
    }
    // Let the field finish losing the focus before the handler, which may put it back.
    static_cast<QObject*>(edit)->event(event);
    dispatch(b, std::get<TextBox*>(b->control)->onLeave);
    return true;
}

}  // namespace coldroom
