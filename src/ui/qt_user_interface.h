// The desktop program's way of speaking to the person: Qt message boxes and file dialogs,
// focus by control name, and the program's windows shown or hidden through what the
// application registers for each of them.
#pragma once

#include <QFont>
#include <QPointer>
#include <QString>
#include <QWidget>

#include <functional>
#include <type_traits>
#include <map>

#include "ui/user_interface.h"

namespace coldroom {

// "Файлы конфигурации (*.cfg) | *.cfg" -> "Файлы конфигурации (*.cfg)". Entries are pairs of
// description and pattern separated by bars; several pairs become Qt's ";;" list. A
// description that does not name its pattern gets it added in brackets.
QString QtFileFilter(const std::string& filter);

// The extension a saved file gets when the person types a name without one ("cfg").
QString DefaultSuffix(const std::string& filter);

// The width a window needs for its `title` (in a window system's bold title `font`) beside the
// title bar's icon and buttons.
int TitleRoom(const QString& title, const QFont& font);

class QtUserInterface : public UserInterface {
public:
    QtUserInterface() = default;

    // The window that holds the controls named in setFocus and that parents the dialogs
    // while it is active.
    void registerWindow(WindowId id, QWidget* window);
    // How a window is shown or hidden (the application may create it on first showing).
    // Without a command, a registered window is simply shown (brought to the front) or hidden.
    void setWindowCommands(WindowId id, std::function<void()> show, std::function<void()> hide);
    // The folder the file dialogs open in; the person's home folder unless set.
    void setInitialFolder(const QString& folder) { initialFolder_ = folder; }
    QString initialFolder() const;

    MsgAnswer message(const std::string& text, const std::string& title, MsgIcon icon,
                      MsgButtons buttons = MsgButtons::Ok) override;
    std::string openFileName(const std::string& filter) override;
    std::string saveFileName(const std::string& filter) override;
    void setFocus(WindowId window, const std::string& control) override;
    void showWindow(WindowId window) override;
    void hideWindow(WindowId window) override;

private:
    QWidget* dialogParent() const;

    struct Entry {
        QPointer<QWidget> window;
        std::function<void()> show;
        std::function<void()> hide;
    };
    std::map<WindowId, Entry> windows_;
    QString initialFolder_;
};

namespace detail {
template <class Fn, class R, class... A>
auto guardedSlot(Fn fn, R (Fn::*)(A...) const) {
    return [fn = std::move(fn)](A... args) {
        QtUserInterface ui;
        GuardedCall(ui, [&] { fn(args...); });
    };
}
}  // namespace detail

// Connects `signal` of `sender` to `fn` (a lambda), run as an event of the program the way the
// binder runs a control's handler: what it throws is told to the person in a message box and
// goes no further than this event. The slot takes the arguments `fn` takes.
template <class Sender, class Signal, class Fn>
QMetaObject::Connection GuardedConnect(Sender* sender, Signal signal, const QObject* context, Fn fn) {
    return QObject::connect(sender, signal, context, detail::guardedSlot(std::move(fn), &Fn::operator()));
}

}  // namespace coldroom
