// Tells a window when it becomes the program's active window coming from another window of
// the program: its first showing, a dialog of the program closing over it, or a click on it
// while a modeless window of the program is in front. Message boxes and file dialogs are not
// windows of the program in this sense (the window they return to was never left), and
// coming back from another application to the same window is no activation either.
#pragma once

#include <QObject>

#include <functional>

class QWidget;

namespace coldroom {

class ActivationWatcher : public QObject {
public:
    ActivationWatcher(QWidget* window, std::function<void()> onActivate);
    ~ActivationWatcher() override;

    // Called by the application-wide observer for every window that becomes active.
    static void windowActivated(QWidget* window);

private:
    QWidget* window_;
    std::function<void()> onActivate_;
};

}  // namespace coldroom
