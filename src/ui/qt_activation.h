// Tells the program which of its windows became the active one; the program decides what
// that activates (Program::WindowActivated). Only the windows told to the tracker are
// reported: message boxes, file dialogs and the print dialog are not windows of the program
// in this sense, and the window they return to was never left.
#pragma once

#include <QObject>
#include <QPointer>

#include <functional>
#include <map>
#include <optional>

#include "ui/user_interface.h"

class QWidget;

namespace coldroom {

class ActivationTracker : public QObject {
public:
    using Report = std::function<void(WindowId)>;

    explicit ActivationTracker(Report report, QObject* parent = nullptr);

    // The widget that is window `id`; a window deleted on closing is simply forgotten.
    void track(WindowId id, QWidget* window);
    // The program has just shown window `id` and activated it itself. Until the window
    // system makes it active, the activation of another window is a leftover of what was
    // on the screen before (a message box closing over the window being left) and is not
    // reported.
    void expect(WindowId id);

    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    std::optional<WindowId> idOf(const QWidget* window) const;

    Report report_;
    std::map<WindowId, QPointer<QWidget>> windows_;
    std::optional<WindowId> expected_;
};

}  // namespace coldroom
