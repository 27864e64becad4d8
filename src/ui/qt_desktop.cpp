#include "ui/qt_desktop.h"

#include <QApplication>
#include <QMessageBox>
#include <QStatusBar>

#include "reports/print_options_dialog.h"
#include "reports/print_options_form.h"
#include "ui/main/about_dialog.h"
#include "ui/main/commands.h"
#include "ui/main/help_window.h"
#include "ui/main/main_window.h"
#include "ui/task/task_dialog.h"

namespace coldroom {

std::string ProgramFolder() {
    std::string path = DefaultDatabasePath();
    auto slash = path.rfind('/');
    return slash == std::string::npos ? std::string(".") : path.substr(0, slash);
}

DesktopProgram::DesktopProgram(std::string databasePath, QObject* parent)
    : QObject(parent), program_(ui_, std::move(databasePath)) {
    ui_.setInitialFolder(QString::fromStdString(ProgramFolder()));
    taskDialog_ = std::make_unique<TaskDialog>();
    taskDialog_->bind(program_.task.controls(), [this] { refreshAll(); });
    taskDialog_->setOnActivate([this] { program_.task.Activate(); });
    ui_.registerWindow(WindowId::TaskDialog, taskDialog_.get());
    ui_.setWindowCommands(
        WindowId::TaskDialog,
        [this] {
            taskDialog_->show();
            taskDialog_->raise();
            taskDialog_->activateWindow();
        },
        [this] { taskDialog_->hide(); });
    ui_.setWindowCommands(WindowId::MainWindow, [this] { showMainWindow(); },
                          [this] {
                              if (mainWindow_) mainWindow_->hide();
                          });
    ui_.setWindowCommands(WindowId::PrintOptions, [this] { showPrintOptions(); }, [this] { closePrintOptions(); });
    program_.onEnded = [this] {
        closePrintOptions();
        if (helpWindow_) helpWindow_->close();
        if (aboutBox_) aboutBox_->close();
        QApplication::quit();
    };
}

DesktopProgram::~DesktopProgram() = default;

bool DesktopProgram::start() {
    std::string error;
    if (!program_.Start(error)) {
        QMessageBox::critical(nullptr, QString::fromUtf8(kAppTitle), QString::fromStdString(error));
        return false;
    }
    ui_.showWindow(WindowId::TaskDialog);
    refreshAll();
    return true;
}

void DesktopProgram::refreshAll() {
    taskDialog_->refresh();
    if (mainWindow_) {
        mainWindow_->refresh();
        // Why a result is undefined stays reachable: on the results and in the status line.
        const QString problem = QString::fromStdString(program_.main.ResultsProblem);
        for (const char* name : {"Total_poteri", "Capacity_need"})
            if (auto* field = mainWindow_->findChild<QWidget*>(QString::fromLatin1(name))) field->setToolTip(problem);
        if (problem != shownProblem_) {
            if (problem.isEmpty())
                mainWindow_->statusBar()->clearMessage();
            else
                mainWindow_->statusBar()->showMessage(problem);
            shownProblem_ = problem;
        }
    }
    if (printDialog_) printDialog_->refresh();
}

void DesktopProgram::createMainWindow() {
    mainWindow_ = std::make_unique<MainWindow>();
    mainWindow_->bind(program_.main.controls(), [this] { refreshAll(); });
    mainWindow_->setShapeColourSource([this] { return program_.main.TempShapeColour; });
    mainWindow_->setResultsSource([this] { return &program_.main.results(); });
    mainWindow_->setOnActivate([this] { program_.main.Activate(); });
    mainWindow_->setCommand(MainWindow::Command::Open, [this] { openProject(); });
    mainWindow_->setCommand(MainWindow::Command::Save, [this] { saveProject(); });
    mainWindow_->setCommand(MainWindow::Command::Print, [this] { showPrintOptions(); });
    mainWindow_->setCommand(MainWindow::Command::Help, [this] { showHelp(); });
    mainWindow_->setCommand(MainWindow::Command::About, [this] { showAbout(); });
    mainWindow_->setCommand(MainWindow::Command::Exit, [this] { program_.Exit(); });
    ui_.registerWindow(WindowId::MainWindow, mainWindow_.get());
}

void DesktopProgram::showMainWindow() {
    std::string error;
    if (!program_.EnsureMainLoaded(error)) {
        QMessageBox::critical(nullptr, QString::fromUtf8(kAppTitle), QString::fromStdString(error));
        QApplication::exit(1);
        return;
    }
    if (!mainWindow_) createMainWindow();
    mainWindow_->refresh();
    mainWindow_->show();
    mainWindow_->raise();
    mainWindow_->activateWindow();
}

void DesktopProgram::openProject() {
    OpenCommand(program_, ui_);
    refreshAll();
}

void DesktopProgram::saveProject() { SaveCommand(program_, ui_); }

void DesktopProgram::showPrintOptions() {
    if (printDialog_) {
        printDialog_->raise();
        printDialog_->activateWindow();
        return;
    }
    if (!printer_) printer_ = std::make_unique<QtReportPrinter>(mainWindow_.get());
    printForm_ = std::make_unique<PrintOptionsForm>(program_.state, program_.main, ui_, printer_.get());
    auto* dialog = new PrintOptionsDialog(mainWindow_.get());
    dialog->setWindowFlag(Qt::Window);
    dialog->bind(printForm_->controls(), [this] { refreshAll(); });
    printDialog_ = dialog;
    ui_.registerWindow(WindowId::PrintOptions, dialog);
    dialog->refresh();
    dialog->show();
    dialog->raise();
    dialog->activateWindow();
}

// The options close from their own buttons: hidden now, deleted once their event is over.
// (close() would ask the window, whose answer to a close is "Отмена".)
void DesktopProgram::closePrintOptions() {
    if (!printDialog_) return;
    printDialog_->hide();
    printDialog_->deleteLater();
}

void DesktopProgram::showHelp() { helpWindow_ = ShowHelp(DefaultHelpPagePath(), mainWindow_.get()); }

void DesktopProgram::showAbout() { aboutBox_ = ShowAbout(mainWindow_.get()); }

}  // namespace coldroom
