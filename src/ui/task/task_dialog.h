// The technological task window " Выбор технологической задачи": the product group buttons,
// the task, product and packaging lists and the task's typical parameters. It only builds
// the widgets; their state and every handler live in the task form, bound by name.
#pragma once

#include <QDialog>

#include <functional>
#include <memory>
#include <string>

#include "ui/controls.h"

namespace coldroom {

class QtBinder;

class TaskDialog : public QDialog {
    Q_OBJECT

public:
    explicit TaskDialog(QWidget* parent = nullptr);
    ~TaskDialog() override;

    // Binds the widgets to the form's controls. `refreshAll` refreshes every bound window
    // after each handled event; empty, this window alone is refreshed.
    void bind(const ControlRegistry& controls, std::function<void()> refreshAll = {});
    // Shows the form's state, and the group of the chosen task pressed.
    void refresh();
    QtBinder* binder() const { return binder_.get(); }

    // What the person's wish to close the window (title-bar button, Escape) does; the window
    // itself stays as it is. Without it such a wish presses "Отмена".
    void setCloseRequest(std::function<void()> fn) { closeRequest_ = std::move(fn); }
    // What Escape does; without it Escape is a wish to close.
    void setEscapeRequest(std::function<void()> fn) { escapeRequest_ = std::move(fn); }
    // Where the refresh learns which group button the chosen task belongs to. Unset, or
    // telling no name, the button last clicked stays pressed.
    void setGroupSource(std::function<std::string()> source) { groupSource_ = std::move(source); }

protected:
    void closeEvent(QCloseEvent* event) override;
    void reject() override;

private:
    void requestClose();

    std::unique_ptr<QtBinder> binder_;
    std::function<void()> closeRequest_;
    std::function<void()> escapeRequest_;
    std::function<std::string()> groupSource_;
};

}  // namespace coldroom
