// The desktop program: the program object with its Qt windows, dialogs and commands wired
// together. main() only makes the application and this; window tests make it too.
#pragma once

#include <QObject>
#include <QPointer>
#include <QString>
#include <memory>
#include <string>

#include "reports/calculation_note.h"
#include "ui/program.h"
#include "ui/qt_activation.h"
#include "ui/qt_binder.h"
#include "ui/qt_user_interface.h"
#include "ui/recent_projects.h"

class QSettings;

namespace coldroom {

class TaskDialog;
class MainWindow;
class PrintOptionsDialog;
class PrintOptionsForm;
class QtReportPrinter;
class AboutDialog;
class HelpWindow;
class EditorWindow;
class StoreWindow;

class DesktopProgram : public QObject {
public:
    explicit DesktopProgram(std::string databasePath, QObject* parent = nullptr);
    ~DesktopProgram() override;

    // Starts as a person starts the program: the task dialog comes up first. Shows the
    // reason and returns false when the program cannot start.
    bool start();
    // What the event loop returns: 1 when the program ended because it could not go on.
    int exitCode() const { return program_.exitCode(); }

    Program& program() { return program_; }
    TaskDialog* taskDialog() const { return taskDialog_.get(); }
    MainWindow* mainWindow() const { return mainWindow_.get(); }
    QtUserInterface& ui() { return ui_; }
    HelpWindow* helpWindow() const;
    AboutDialog* aboutBox() const;
    // The parameter editor while it is open.
    EditorWindow* editor() const;

    // The reference data the editor changes: a copy of `shipped` at `userCopy`, made at the
    // first change and read by the program from its next start; the restore command drops
    // it. Unset, the editor changes the database the program reads, in place (a database
    // named on the command line, a test's own).
    void setEditedDatabase(std::string shipped, std::string userCopy);

    // Keeps the recent projects, the folder of the last project file and the main window's
    // place in `settings` and starts from what they hold. Without them nothing is read or
    // kept (window tests leave the user's settings alone).
    void useSettings(std::unique_ptr<QSettings> settings);
    // The same with the settings file at `path`, unless what is there is not a regular file
    // nor a link to one: that is neither read nor written (a pipe would hang the start, a
    // device would be replaced), and the main window's status line says so once.
    void useSettingsFile(const QString& path);
    const RecentProjects& recentProjects() const { return recent_; }

    // Refreshes every window from its form.
    void refreshAll();

    // The commands of the main window's menus and toolbar.
    void openProject();
    void openRecentProject(const std::string& path);
    void saveProject();
    void saveProjectAs();
    void showPrintOptions();
    // The help page at `section` (an id of the page), its contents when empty.
    void showHelp(const QString& section = {});
    void showAbout();
    void showEditor();
    // Drops the user's copy of the reference data after asking.
    void restoreReferenceData();
    // The window «Холодильник», made at its first showing.
    void showStore();
    StoreWindow* storeWindow() const;
    // Asks for the design margin the results, the note and the command line show, and keeps it.
    void chooseDesignMargin();

protected:
    // F1 in any window of the program opens the help at that window's section.
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    // The toolkit's half of showing a window; the program loads and activates it.
    void presentTaskDialog();
    void presentMainWindow();
    void presentPrintOptions();
    void createMainWindow();
    void closePrintOptions();
    void adopt(WindowId id, QWidget* window);
    void presentEditor();
    void closeEditor();
    // Shows window `id` through the program's life cycle; `present` puts it on the screen.
    void show(WindowId id, const std::function<void()>& present);
    // Commits the field being edited in the main window or the task dialog.
    void commitPendingEdit();
    // A project file was opened or saved: first of the recent projects, its folder the next
    // dialogs' start.
    void fileUsed(const std::string& path);
    void storeSettings();
    void keepNoteSignature(const NoteSignature& signature);
    void restoreMainWindowPlace();
    void showSettingsNote();
    void showRecentProjects();
    // The store window's ties to the program (qt_desktop_store.cpp).
    void createStoreWindow();
    void openStoreRoom(const std::string& path);
    void showRecentStores();

    QtUserInterface ui_;
    Program program_;
    QtBinder::Running running_;
    ActivationTracker activation_;
    std::unique_ptr<TaskDialog> taskDialog_;
    std::unique_ptr<MainWindow> mainWindow_;
    std::unique_ptr<QtReportPrinter> printer_;
    std::unique_ptr<PrintOptionsForm> printForm_;
    std::pair<int, bool> printChoice_{0, false};  // the report options' output and note box
    QPointer<PrintOptionsDialog> printDialog_;
    QPointer<HelpWindow> helpWindow_;
    QPointer<AboutDialog> aboutBox_;
    QPointer<EditorWindow> editor_;
    std::string editedShipped_, editedUserCopy_;
    QString shownProblem_;
    std::unique_ptr<QSettings> settings_;
    QString settingsNote_;  // why the settings are not kept, until shown
    RecentProjects recent_;
    QPointer<StoreWindow> store_;
    RecentProjects recentStores_;
    NoteSignature noteSignature_;  // the report options' project number and checker, kept in the settings
};

// Where the user's settings are kept on this system: the file QSettings uses for this
// program's organisation and application names.
QString UserSettingsPath();

// Moves a window, title bar and all, to the middle of the free area of its screen.
void CentreOnScreen(QWidget& window);

}  // namespace coldroom
