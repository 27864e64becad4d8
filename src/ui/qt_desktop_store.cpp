// The desktop program's store window: made once, tied to the open project (a room opens in
// the main window, a saved room recomputes its row, unsaved store work is asked about before
// the program ends) and to the recent stores kept in the settings.
#include <QFileInfo>
#include <QSettings>
#include <QStringList>

#include "files/project_codec.h"
#include "ui/main/commands.h"
#include "ui/main/main_window.h"
#include "ui/qt_desktop.h"
#include "ui/qt_form_widgets.h"
#include "ui/store/store_window.h"

namespace coldroom {

namespace {

const QString kRecentStoresKey = QStringLiteral("stores/recent");

}  // namespace

StoreWindow* DesktopProgram::storeWindow() const { return store_.data(); }

void DesktopProgram::showStore() {
    if (!mainWindow_) return;
    if (!store_) createStoreWindow();
    store_->roomFileChanged();
    if (!store_->isVisible()) {
        FitToScreen(*store_);
        // In the middle of the free area, as the main window opens: a window system's cascade
        // would push its bottom under a panel.
        if (!store_->testAttribute(Qt::WA_Moved)) CentreOnScreen(*store_);
    }
    BringToFront(*store_);
}

void DesktopProgram::createStoreWindow() {
    StoreWindow::Hooks hooks;
    hooks.openRoom = [this](const std::string& path) { openStoreRoom(path); };
    hooks.newRoom = [this] { return StartProject(program_.data()); };
    // hooks.designMargin is where a program-wide design margin reaches the store's sums and
    // reports; unset, they show none.
    auto data = [this] { return std::shared_ptr<const ReferenceData>(program_.session.data); };
    store_ = new StoreWindow(ui_, data, std::move(hooks), mainWindow_.get());

    std::vector<std::string> stored;
    if (settings_)
        for (const QString& path : settings_->value(kRecentStoresKey).toStringList()) stored.push_back(path.toStdString());
    recentStores_ = RecentProjects(stored);
    store_->session().onFileUsed = [this](const std::string& path) {
        recentStores_.use(path);
        ui_.setInitialFolder(QFileInfo(QString::fromStdString(path)).absolutePath());
        showRecentStores();
    };
    showRecentStores();

    // A room saved (or opened) in the main window: its row is read again.
    auto fileUsed = program_.onFileUsed;
    program_.onFileUsed = [this, fileUsed](const std::string& path) {
        if (fileUsed) fileUsed(path);
        if (store_) store_->roomFileChanged();
    };
    // Every way out of the program asks about the store's unsaved work first.
    auto guarded = [this](std::function<void()> leave) {
        return [this, leave] {
            if ((!store_ || store_->confirmClose()) && leave) leave();
        };
    };
    program_.main.onQuit = guarded(program_.main.onQuit);
    program_.task.onCancel = guarded(program_.task.onCancel);
    mainWindow_->setCommand(MainWindow::Command::Exit, guarded([this] { program_.RequestExit(); }));
}

void DesktopProgram::showRecentStores() {
    if (!store_) return;
    if (settings_) {
        QStringList paths;
        for (const std::string& path : recentStores_.paths()) paths.push_back(QString::fromStdString(path));
        settings_->setValue(kRecentStoresKey, paths);
        settings_->sync();
    }
    store_->setRecentStores(recentStores_.paths(), [this](const std::string& path) {
        if (!QFileInfo::exists(QString::fromStdString(path))) {
            recentStores_.remove(path);
            showRecentStores();
            ui_.message("Файл холодильника не найден:\r\n" + path + "\r\nОн удален из списка последних холодильников.",
                        kAppTitle, MsgIcon::Warning);
            return;
        }
        if (store_->session().ConfirmLeave()) store_->session().OpenFile(path);
    });
}

// As the recent projects open: the field being edited is committed, the open project's
// unsaved work asked about, then the room's file read.
void DesktopProgram::openStoreRoom(const std::string& path) {
    if (!mainWindow_) return;
    if (!QFileInfo::exists(QString::fromStdString(path))) {
        ui_.message("Файл камеры не найден:\r\n" + path, kAppTitle, MsgIcon::Warning);
        return;
    }
    mainWindow_->binder()->run([&] {
        program_.RunCommand([this] { commitPendingEdit(); }, [&] {
            if (program_.ConfirmLeave()) OpenFileCommand(program_, ui_, path);
        });
    });
    BringToFront(*mainWindow_);
}

}  // namespace coldroom
