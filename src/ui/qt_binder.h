// Binds the widgets of a window to the controls of its form by name. A widget whose
// objectName is a registered control shows that control's state; what the person does to
// it goes into the control (its text, position or option) and runs the control's handler.
// After every event it handled the binder calls `refresh`, which the program points at a
// routine that refreshes every bound window from its form. A tab widget shows a list: its
// entries are the tab captions and its position the page shown. Enter in a text field runs
// the field's handler and goes no further (a dialog's default button is not pressed by it); a
// button keeps the Alt letter its window gave its caption.
#pragma once

#include <QObject>
#include <QPointer>

#include <functional>
#include <string>
#include <vector>

#include "ui/controls.h"
#include "ui/qt_user_interface.h"

class QWidget;

namespace coldroom {

class QtBinder : public QObject {
    Q_OBJECT

public:
    using RefreshFn = std::function<void()>;

    // The handler that is running now. Focus that moves while a handler runs is the
    // program's doing (a message box, a rejected value put back into its field), not the
    // person leaving a field, with one exception: a field whose own handler moves the focus
    // on has been left and commits afterwards. The windows of one program share one, so a
    // handler of one window moving the focus in another is seen too.
    struct Running {
        int depth = 0;
        QWidget* current = nullptr;
        QPointer<QWidget> pendingLeave;
    };

    // Binds every child of `root` whose objectName is registered. The registry and its
    // controls must outlive the binder. An empty `refreshAll` refreshes this binder alone.
    // A caption or button whose control has no text yet takes the widget's own text, so a
    // form need not repeat the window's fixed captions.
    QtBinder(QWidget* root, const ControlRegistry& registry, RefreshFn refreshAll = {},
             QObject* parent = nullptr);
    ~QtBinder() override;

    // Joins the binder to its program: what a handler throws is told through `ui`, and the
    // running handler is the one of `running`, shared by the program's windows. Both must
    // outlive the binder. Unjoined, it tells errors in plain message boxes and tracks its
    // own handlers.
    void join(UserInterface& ui, Running& running);

    // Runs `fn` as an event of this window that is no control's (a menu command): what it
    // throws is told, then every bound window is refreshed.
    void run(const Handler& fn);

    // Commits the field of this window that holds the keyboard focus, exactly as leaving it
    // would. Returns whether there was such a field.
    bool commitPendingEdit();

    // Shows the controls' state in the widgets. Signals are blocked meanwhile, so this never
    // runs a handler; only properties that differ from what was shown last are set.
    void refresh();
    // Runs the refresh callback (every bound window), or refresh() when there is none.
    void refreshAll();

    // The bound widget of a control, or null.
    QWidget* widget(const std::string& name) const;
    int boundCount() const { return static_cast<int>(bindings_.size()); }
    // Registered controls without a widget of a kind that can show them (missing in the
    // window, or a widget of the wrong kind). Lets a test prove a window shows its whole form.
    std::vector<std::string> unboundControls() const;

    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    struct Binding;

    void bindWidget(QWidget* w, const std::string& name, const ControlRef& ref);
    void refreshBinding(Binding& b);
    // Runs a handler of `b` as a handled event: counts it as running (for the focus rules
    // below), then refreshes.
    void dispatch(Binding* b, const Handler& handler);
    Binding* bindingOf(QObject* widget) const;

    const ControlRegistry& registry_;
    RefreshFn refresh_;
    QtUserInterface ownUi_;
    UserInterface* ui_ = &ownUi_;
    Running ownRunning_;
    Running* running_ = &ownRunning_;
    QPointer<QWidget> root_;
    std::vector<Binding*> bindings_;
};

}  // namespace coldroom
