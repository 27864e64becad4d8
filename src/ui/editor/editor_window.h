// The parameter editor's window " Изменение расчетных параметров": seven tabs over the
// reference tables, each with its navigator, bound fields and buttons, a list of the table's
// rows to jump to, the current task's product list and the product's point editor with a
// picture of its temperature-enthalpy curve. It builds widgets named after the editor form's
// controls and binds them; the state and every handler live in the form, which the window
// owns from its opening to its closing.
#pragma once

#include <QWidget>

#include <functional>
#include <memory>
#include <vector>

namespace coldroom {

class EditorForm;
class BoundView;
class QtBinder;
class EnthalpyCurve;

class EditorWindow : public QWidget {
    Q_OBJECT

public:
    explicit EditorWindow(std::unique_ptr<EditorForm> form, QWidget* parent = nullptr);
    ~EditorWindow() override;

    EditorForm& form() const { return *form_; }
    // Binds the widgets to the form's controls. `refreshAll` refreshes every bound window
    // after each handled event; empty, this window alone is refreshed.
    void bind(std::function<void()> refreshAll = {});
    // Shows the form's state, the rows of each table and the curve.
    void refresh();
    QtBinder* binder() const { return binder_.get(); }
    EnthalpyCurve* curve() const { return curve_; }

protected:
    // The title-bar close is "ОТМЕНА"; a close from code is let through.
    void closeEvent(QCloseEvent* event) override;

private:
    struct RowList;

    QWidget* buildTaskTab();
    QWidget* buildIsolationTab();
    QWidget* buildProductTab();
    QWidget* buildPlainTab(BoundView& view);
    QWidget* navigator(BoundView& view);
    QWidget* rowList(BoundView& view);
    QWidget* tabButtons(BoundView& view);
    QWidget* pointEditor();
    void refreshRows(RowList& rows);
    void runOnForm(const std::function<void()>& fn);

    // Declared first, so the binder (which reads the form's controls) goes before it.
    std::unique_ptr<EditorForm> form_;
    std::unique_ptr<QtBinder> binder_;
    std::vector<std::unique_ptr<RowList>> rowLists_;
    std::vector<std::pair<BoundView*, QWidget*>> navigators_;
    EnthalpyCurve* curve_ = nullptr;
};

}  // namespace coldroom
