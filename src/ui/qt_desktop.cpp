#include "ui/qt_desktop.h"

#include <QAction>
#include <QApplication>
#include <QFileInfo>
#include <QKeyEvent>
#include <QMenu>
#include <QScreen>
#include <QSettings>
#include <QStatusBar>
#include <QStyle>
#include <QToolBar>

#include "refdb/database_location.h"
#include "ui/editor/editor_form.h"
#include "ui/editor/editor_window.h"
#include "ui/main/about_dialog.h"
#include "ui/main/commands.h"
#include "ui/main/help_window.h"
#include "ui/main/main_window.h"
#include "ui/print/print_options_dialog.h"
#include "ui/print/print_options_form.h"
#include "ui/qt_form_widgets.h"
#include "ui/store/store_window.h"
#include "ui/study/study_window.h"
#include "ui/task/task_dialog.h"
#include "ui/task/task_groups.h"

namespace coldroom {

void CentreOnScreen(QWidget& window) {
    const QScreen* screen = window.screen();
    if (!screen) return;
    QRect place(QPoint(), window.frameGeometry().size());
    place.moveCenter(screen->availableGeometry().center());
    window.move(place.topLeft());
}

DesktopProgram::DesktopProgram(std::string databasePath, QObject* parent)
    : QObject(parent),
      program_(ui_, databasePath),
      activation_([this](WindowId id) {
          GuardedCall(ui_, [&] {
              if (program_.WindowActivated(id)) refreshAll();
          });
      }),
      editedShipped_(std::move(databasePath)) {
    qApp->installEventFilter(this);
    taskDialog_ = std::make_unique<TaskDialog>();
    taskDialog_->bind(program_.task.controls(), [this] { refreshAll(); });
    taskDialog_->binder()->join(ui_, running_);
    taskDialog_->setEscapeRequest([this] { program_.TaskDialogEscape(); });
    // With no task in the list (a group without tasks), the group clicked stays pressed.
    taskDialog_->setGroupSource([this] {
        const ListBox& tasks = program_.task.Task_cmb;
        return tasks.count() ? ChosenTaskGroup(program_.project().task.OfferedTasks, tasks.index()) : std::string();
    });
    adopt(WindowId::TaskDialog, taskDialog_.get());
    ui_.setWindowCommands(
        WindowId::TaskDialog, [this] { show(WindowId::TaskDialog, [this] { presentTaskDialog(); }); },
        [this] { taskDialog_->hide(); });
    ui_.setWindowCommands(
        WindowId::MainWindow, [this] { show(WindowId::MainWindow, [this] { presentMainWindow(); }); },
        [this] {
            if (mainWindow_) mainWindow_->hide();
        });
    ui_.setWindowCommands(
        WindowId::PrintOptions, [this] { show(WindowId::PrintOptions, [this] { presentPrintOptions(); }); },
        [this] { closePrintOptions(); });
    ui_.setWindowCommands(
        WindowId::Editor, [this] { show(WindowId::Editor, [this] { presentEditor(); }); },
        [this] { closeEditor(); });
    program_.onFileUsed = [this](const std::string& path) { fileUsed(path); };
    program_.onEnded = [this] {
        storeSettings();
        closePrintOptions();
        closeEditor();
        if (helpWindow_) helpWindow_->close();
        if (aboutBox_) aboutBox_->close();
        if (program_.exitCode() == 0)
            QApplication::quit();
        else
            QApplication::exit(program_.exitCode());
    };
}

DesktopProgram::~DesktopProgram() = default;

bool DesktopProgram::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() != QEvent::KeyPress || static_cast<QKeyEvent*>(event)->key() != Qt::Key_F1 ||
        static_cast<QKeyEvent*>(event)->modifiers() != Qt::NoModifier || !watched->isWidgetType())
        return false;
    const QString section = HelpSectionOf(static_cast<QWidget*>(watched));
    if (section.isEmpty()) return false;
    GuardedCall(ui_, [&] { showHelp(section); });
    return true;
}

HelpWindow* DesktopProgram::helpWindow() const { return helpWindow_.data(); }

AboutDialog* DesktopProgram::aboutBox() const { return aboutBox_.data(); }

EditorWindow* DesktopProgram::editor() const { return editor_.data(); }

void DesktopProgram::setEditedDatabase(std::string shipped, std::string userCopy) {
    editedShipped_ = std::move(shipped);
    editedUserCopy_ = std::move(userCopy);
}

bool DesktopProgram::start() {
    std::string error;
    bool started = false;
    GuardedCall(ui_, [&] { started = program_.Start(error); });
    if (!started) {
        if (!error.empty()) ui_.message(error, kAppTitle, MsgIcon::Critical);
        return false;
    }
    GuardedCall(ui_, [this] {
        ui_.showWindow(WindowId::TaskDialog);
        refreshAll();
    });
    return !program_.ended();
}

void DesktopProgram::show(WindowId id, const std::function<void()>& present) {
    program_.WindowShown(id, [&] {
        present();
        activation_.expect(id);
    });
}

void DesktopProgram::refreshAll() {
    // Whatever an event changed of what a save writes shows in the title at once.
    program_.NoteChange();
    taskDialog_->refresh();
    if (mainWindow_) {
        mainWindow_->refresh();
        mainWindow_->setDocumentTitle(QString::fromStdString(program_.document.displayName()),
                                      program_.document.modified());
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
        // A note of the last activation is shown once, for a while; a problem stays.
        if (!program_.main.StatusNote.empty()) {
            if (problem.isEmpty())
                mainWindow_->statusBar()->showMessage(QString::fromStdString(program_.main.StatusNote), 15000);
            program_.main.StatusNote.clear();
        }
    }
    if (printDialog_) printDialog_->refresh();
    if (editor_) editor_->refresh();
}

void DesktopProgram::createMainWindow() {
    mainWindow_ = std::make_unique<MainWindow>();
    mainWindow_->bind(program_.main.controls(), [this] { refreshAll(); });
    mainWindow_->binder()->join(ui_, running_);
    mainWindow_->setShapeColourSource([this] { return program_.main.TempShapeColour; });
    mainWindow_->setResultsSource([this] { return &program_.main.results(); });
    mainWindow_->setMarginSource([this] { return program_.main.MarginText; });
    mainWindow_->setCommand(MainWindow::Command::New, [this] { program_.NewProject(); });
    mainWindow_->setCommand(MainWindow::Command::Open, [this] { openProject(); });
    mainWindow_->setCommand(MainWindow::Command::Save, [this] { saveProject(); });
    mainWindow_->setCommand(MainWindow::Command::SaveAs, [this] { saveProjectAs(); });
    mainWindow_->setCommand(MainWindow::Command::Print, [this] { showPrintOptions(); });
    mainWindow_->setCommand(MainWindow::Command::Parameters, [this] { showEditor(); });
    mainWindow_->setCommand(MainWindow::Command::Help, [this] { showHelp(); });
    mainWindow_->setCommand(MainWindow::Command::About, [this] { showAbout(); });
    // Leaving commits the field being edited itself: a refused value is put back, not kept.
    program_.commitPending = [this] { commitPendingEdit(); };
    program_.showForms = [this] { refreshAll(); };
    mainWindow_->setCommand(MainWindow::Command::Exit, [this] { program_.RequestExit(); });
    mainWindow_->setCommandRunner([this](const std::function<void()>& command) {
        program_.RunCommand([this] { commitPendingEdit(); }, command);
    });
    restoreMainWindowPlace();
    showSettingsNote();
    showRecentProjects();
    adopt(WindowId::MainWindow, mainWindow_.get());
    // Beside the editor's own entry, in the same menu.
    if (auto* utils = mainWindow_->findChild<QMenu*>(QStringLiteral("Utils"))) {
        QAction* restore = utils->addAction(QStringLiteral("&Восстановить исходные справочные данные"));
        restore->setObjectName(QStringLiteral("mnRestoreData"));
        // Like every command of the window: the field being edited is committed first.
        auto asCommand = [this](std::function<void()> command) {
            return [this, command] {
                mainWindow_->binder()->run([&] { program_.RunCommand([this] { commitPendingEdit(); }, command); });
            };
        };
        connect(restore, &QAction::triggered, this, asCommand([this] { restoreReferenceData(); }));
        const QIcon chartIcon = QIcon::fromTheme(QStringLiteral("office-chart-line"),
                                                 mainWindow_->style()->standardIcon(QStyle::SP_FileDialogContentsView));
        QAction* study = utils->addAction(chartIcon, QStringLiteral("&Исследование параметра"));
        study->setObjectName(QStringLiteral("mnStudy"));
        connect(study, &QAction::triggered, this, asCommand([this] { ShowStudyWindow(program_, mainWindow_.get(), settings_.get()); }));
        if (auto* bar = mainWindow_->findChild<QToolBar*>(QStringLiteral("Toolbar1"))) bar->addAction(study);
        QAction* margin = utils->addAction(QStringLiteral("&Запас холодопроизводительности…"));
        margin->setObjectName(QStringLiteral("mnDesignMargin"));
        connect(margin, &QAction::triggered, this, asCommand([this] { chooseDesignMargin(); }));
    }
    // A store of several rooms: beside the project's own file commands.
    auto* files = mainWindow_->findChild<QMenu*>(QStringLiteral("Config"));
    auto* recent = mainWindow_->findChild<QMenu*>(QStringLiteral("mnRecent"));
    if (files && recent) {
        QAction* store = new QAction(StoreIcon(), QStringLiteral("&Холодильник…"), files);
        store->setObjectName(QStringLiteral("mnStore"));
        store->setToolTip(QStringLiteral("Холодильник: несколько камер и нагрузка по уровням температур"));
        files->insertAction(recent->menuAction(), store);
        files->insertSeparator(recent->menuAction());
        GuardedConnect(store, &QAction::triggered, this, [this] { showStore(); });
        if (auto* bar = mainWindow_->findChild<QToolBar*>(QStringLiteral("Toolbar1"))) bar->addAction(store);
    }
}

void DesktopProgram::presentTaskDialog() {
    BringToFront(*taskDialog_);
}

void DesktopProgram::presentMainWindow() {
    if (!mainWindow_) createMainWindow();
    mainWindow_->refresh();
    if (!mainWindow_->isVisible()) {
        FitToScreen(*mainWindow_);
        // Where nothing placed it (no place kept from the last run), the window opens in the
        // middle of the screen rather than where the window system's cascade would put it.
        if (!mainWindow_->testAttribute(Qt::WA_Moved)) CentreOnScreen(*mainWindow_);
    }
    BringToFront(*mainWindow_);
}

void DesktopProgram::openProject() {
    OpenCommand(program_, ui_);
    refreshAll();
}

void DesktopProgram::saveProject() { SaveCommand(program_, ui_); }

void DesktopProgram::saveProjectAs() { SaveAsCommand(program_, ui_); }

void DesktopProgram::commitPendingEdit() {
    if (mainWindow_ && mainWindow_->binder() && mainWindow_->binder()->commitPendingEdit()) return;
    if (taskDialog_->binder()) taskDialog_->binder()->commitPendingEdit();
}

void DesktopProgram::showPrintOptions() { ui_.showWindow(WindowId::PrintOptions); }

void DesktopProgram::presentPrintOptions() {
    if (printDialog_) {
        printDialog_->raise();
        printDialog_->activateWindow();
        return;
    }
    if (!printer_) printer_ = std::make_unique<QtReportPrinter>(mainWindow_.get());
    printForm_ = std::make_unique<PrintOptionsForm>(program_.session, program_.main, ui_, printer_.get());
    printForm_->onProjectChanged = [this] { program_.NoteChange(); };
    printForm_->signature = noteSignature_;
    printForm_->databasePath = program_.databasePath();
    printForm_->onSignatureKept = [this](const NoteSignature& s) { keepNoteSignature(s); };
    printForm_->choice = {static_cast<ReportKind>(printChoice_.first), printChoice_.second};
    printForm_->Open();
    printForm_->onChoiceKept = [this](const PrintOptionsForm::Choice& choice) {
        printChoice_ = {static_cast<int>(choice.kind), choice.note};
        storeSettings();
    };
    auto* dialog = new PrintOptionsDialog(mainWindow_.get());
    dialog->setWindowFlag(Qt::Window);
    dialog->bind(printForm_->controls(), [this] { refreshAll(); });
    dialog->binder()->join(ui_, running_);
    printDialog_ = dialog;
    adopt(WindowId::PrintOptions, dialog);
    dialog->refresh();
    BringToFront(*dialog);
}

// A window of the program: messages and focus requests reach it, and its activation counts.
void DesktopProgram::adopt(WindowId id, QWidget* window) {
    ui_.registerWindow(id, window);
    activation_.track(id, window);
}

// The options close from their own buttons: hidden now, deleted once their event is over.
// (close() would ask the window, whose answer to a close is "Отмена".)
void DesktopProgram::closePrintOptions() {
    if (!printDialog_) return;
    printDialog_->hide();
    printDialog_->deleteLater();
}

// The editor reads every table when it opens: a file that cannot be read is told here and
// no window comes up.
void DesktopProgram::showEditor() {
    if (!editor_) {
        auto form = std::make_unique<EditorForm>(ui_);
        std::string error;
        if (!form->Load(editedShipped_, editedUserCopy_, error)) {
            ui_.message(error, kAppTitle, MsgIcon::Critical);
            return;
        }
        // What the task dialog reads follows every change the editor writes.
        form->onWritten = [this, written = form.get()] {
            std::string error;
            if (!program_.ReloadTaskTables(written->writtenPath(), error)) ui_.message(error, kAppTitle, MsgIcon::Critical);
        };
        auto* window = new EditorWindow(std::move(form), mainWindow_.get());
        window->setWindowFlag(Qt::Window);
        window->bind([this] { refreshAll(); });
        window->binder()->join(ui_, running_);
        editor_ = window;
        adopt(WindowId::Editor, window);
    }
    ui_.showWindow(WindowId::Editor);
}

void DesktopProgram::presentEditor() {
    if (!editor_) return;
    editor_->refresh();
    BringToFront(*editor_);
}

// The editor closes from its own buttons, inside their handler: hidden now, deleted (with
// its form) once the event is over.
void DesktopProgram::closeEditor() {
    if (!editor_) return;
    editor_->hide();
    editor_->deleteLater();
    editor_ = nullptr;
    // Back to the main window, whose activation then runs; not every window system
    // activates the parent of a closed window by itself.
    if (mainWindow_ && mainWindow_->isVisible() && !program_.ended()) mainWindow_->activateWindow();
}

void DesktopProgram::restoreReferenceData() {
    if (editor_) {
        ui_.message("Закройте окно изменения расчетных параметров," + std::string("\r\n") +
                        "прежде чем восстанавливать исходные справочные данные.",
                    kAppTitle, MsgIcon::Warning);
        return;
    }
    const std::string copy = editedUserCopy_.empty() ? UserDatabasePath() : editedUserCopy_;
    if (copy.empty() || !QFileInfo::exists(QString::fromStdString(copy))) {
        ui_.message("Изменений справочных данных нет: программа работает с исходными данными.", kAppTitle,
                    MsgIcon::Information);
        return;
    }
    const std::string question = std::string("Восстановить исходные справочные данные?") + "\r\n" +
                                 "Все изменения расчетных параметров будут потеряны.";
    if (ui_.message(question, kAppTitle, MsgIcon::Warning, MsgButtons::YesNo) != MsgAnswer::Yes) return;
    std::string error;
    if (!RestoreShippedDatabase(copy, error)) {
        ui_.message(error, kAppTitle, MsgIcon::Critical);
        return;
    }
    ui_.message(std::string("Исходные справочные данные будут учитываться") + "\r\n" +
                    "только после перезапуска программы!",
                kAppTitle, MsgIcon::Information);
}

void DesktopProgram::showHelp(const QString& section) {
    show(WindowId::Help, [this, section] {
        ShowHelp(helpWindow_, DefaultHelpPagePath(), mainWindow_.get(), section);
        activation_.track(WindowId::Help, helpWindow_);
    });
}

void DesktopProgram::showAbout() {
    show(WindowId::About, [this] {
        ShowAbout(aboutBox_, mainWindow_.get());
        activation_.track(WindowId::About, aboutBox_);
    });
}

}  // namespace coldroom
