// The main window "Расчет холодопроизводительности": the results frame with a chart of the
// load components, the project title, and the tabs of room, insulation, temperatures,
// operation and product. It only builds widgets named after the main form's controls and
// binds them; menus and toolbar run commands that the application supplies.
#pragma once

#include <QMainWindow>

#include <array>
#include <functional>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "ui/controls.h"

class QAction;
class QMenu;
class QFrame;
class QLabel;

namespace coldroom {

struct LoadBreakdown;
class QtBinder;
class LoadChart;

class MainWindow : public QMainWindow {
    Q_OBJECT

public:
    enum class Command { New, Open, Save, SaveAs, Print, Parameters, Help, About, Exit };
    using Rgb = std::array<int, 3>;

    explicit MainWindow(QWidget* parent = nullptr);
    ~MainWindow() override;

    // Binds the widgets to the form's controls. `refreshAll` refreshes every bound window
    // after each handled event; empty, this window alone is refreshed.
    void bind(const ControlRegistry& controls, std::function<void()> refreshAll = {});
    // Shows the form's state, the temperature shapes' colour and the chart.
    void refresh();
    QtBinder* binder() const { return binder_.get(); }

    // A command of the menus, the toolbar and (for Exit) the "ВЫХОД" button and the title-bar
    // close. Entries whose command is not set are disabled. What a command throws is told
    // through the binder's user interface; every window is refreshed after it.
    void setCommand(Command command, std::function<void()> fn);
    // What every command goes through: `runner` gets the command and decides whether it runs
    // (the program first commits the field being edited). Unset, commands simply run.
    void setCommandRunner(std::function<void(const std::function<void()>&)> runner) { runner_ = std::move(runner); }
    // The title bar: the project's name and, while it has unsaved changes, the mark.
    void setDocumentTitle(const QString& name, bool modified);
    // The recent projects in the "Файлы" menu, latest first; choosing one runs `open` with it.
    void setRecentProjects(const std::vector<std::string>& paths, std::function<void(const std::string&)> open);
    // Where the two temperature shapes take their fill colour from after each refresh.
    void setShapeColourSource(std::function<Rgb()> source) { shapeColour_ = std::move(source); }
    // Where the chart takes the load components from after each refresh.
    void setResultsSource(std::function<const LoadBreakdown*()> source);
    // Where the line beneath the required capacity (the capacity with the design margin)
    // takes its text from after each refresh; empty hides it.
    void setMarginSource(std::function<std::string()> source) { margin_ = std::move(source); }

    LoadChart* chart() const { return chart_; }
    Rgb shownShapeColour() const { return shownColour_; }

protected:
    void closeEvent(QCloseEvent* event) override;

private:
    void buildMenus();
    QWidget* buildResults();
    QWidget* buildDimensionsTab();
    QWidget* buildOperationTab();
    QWidget* buildProductTab();
    void updateShapes();
    void updateChart();
    void runCommand(Command command);
    QAction* addCommandAction(Command command, const char* name, const QString& text);

    std::unique_ptr<QtBinder> binder_;
    std::multimap<Command, QAction*> actions_;
    std::map<Command, std::function<void()>> commands_;
    std::function<void(const std::function<void()>&)> runner_;
    QMenu* recentMenu_ = nullptr;
    std::function<Rgb()> shapeColour_;
    std::function<const LoadBreakdown*()> results_;
    std::function<std::string()> margin_;
    QLabel* marginLabel_ = nullptr;
    Rgb shownColour_{-1, -1, -1};
    std::array<QFrame*, 2> shapes_{};
    LoadChart* chart_ = nullptr;
};

}  // namespace coldroom
