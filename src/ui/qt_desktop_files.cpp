// The desktop program's project files: the recent projects, the folder the file dialogs
// start in and the main window's place, kept in the settings between runs.
#include <algorithm>

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QInputDialog>
#include <QSettings>
#include <QStandardPaths>
#include <QStatusBar>
#include <QStringList>

#include "io/atomic_file.h"
#include "io/settings_file.h"
#include "reports/report_dispatch.h"

#include "ui/main/commands.h"
#include "ui/main/main_window.h"
#include "ui/qt_desktop.h"

namespace coldroom {

namespace {

const QString kRecentKey = QStringLiteral("files/recent");
const QString kFolderKey = QStringLiteral("files/lastFolder");
const QString kPlaceKey = QStringLiteral("mainWindow/geometry");
const QString kMarginKey = QStringLiteral("calculation/designMargin");
const QString kProjectNumberKey = QStringLiteral("report/projectNumber");
const QString kCheckerKey = QStringLiteral("report/checker");
const QString kReportOutputKey = QStringLiteral("reports/output");
const QString kReportNoteKey = QStringLiteral("reports/note");

}  // namespace

void DesktopProgram::useSettings(std::unique_ptr<QSettings> settings) {
    settings_ = std::move(settings);
    if (!settings_) return;
    std::vector<std::string> stored;
    for (const QString& path : settings_->value(kRecentKey).toStringList()) stored.push_back(path.toStdString());
    recent_ = RecentProjects(stored);
    const QString folder = settings_->value(kFolderKey).toString();
    if (!folder.isEmpty() && QFileInfo(folder).isDir()) ui_.setInitialFolder(folder);
    program_.main.DesignMargin =
        std::clamp(settings_->value(kMarginKey, kDefaultDesignMargin).toInt(), 0, kMaxDesignMargin);
    noteSignature_ = {settings_->value(kProjectNumberKey).toString().toStdString(),
                      settings_->value(kCheckerKey).toString().toStdString()};
    printChoice_ = {std::clamp(settings_->value(kReportOutputKey, 0).toInt(), 0, static_cast<int>(ReportKind::Pdf)),
                    settings_->value(kReportNoteKey, false).toBool()};
    showRecentProjects();
    restoreMainWindowPlace();
}

QString UserSettingsPath() {
    // The command-line tool reads the design margin from the same file.
    if (const std::string path = UserSettingsFile(); !path.empty()) return QString::fromStdString(path);
    return QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation) + QStringLiteral("/ColdRoom/ColdRoom.conf");
}

void DesktopProgram::useSettingsFile(const QString& path) {
    // A few kilobytes of keys; anything much larger is no settings file of this program, and
    // reading it whole would hold up the start.
    constexpr qint64 kMaxSettingsBytes = 1 << 20;
    const bool replaceable = IsReplaceableFile(path.toStdString());
    if (replaceable && QFileInfo(path).size() <= kMaxSettingsBytes) {
        useSettings(std::make_unique<QSettings>(path, QSettings::IniFormat));
        return;
    }
    settingsNote_ = replaceable ? QStringLiteral("Настройки программы не сохраняются: «%1» больше 1 МБ — это не файл "
                                                 "настроек программы, он оставлен как есть. Удалите или переименуйте его.")
                                      .arg(path)
                                : QStringLiteral("Настройки программы не сохраняются: «%1» — не обычный файл и не ссылка "
                                                 "на обычный файл, он оставлен как есть.")
                                      .arg(path);
    useSettings(nullptr);
    showSettingsNote();
}

void DesktopProgram::showSettingsNote() {
    if (settingsNote_.isEmpty() || !mainWindow_) return;
    mainWindow_->statusBar()->showMessage(settingsNote_, 15000);
    settingsNote_.clear();
}

void DesktopProgram::storeSettings() {
    if (!settings_) return;
    QStringList paths;
    for (const std::string& path : recent_.paths()) paths.push_back(QString::fromStdString(path));
    settings_->setValue(kRecentKey, paths);
    if (mainWindow_) settings_->setValue(kPlaceKey, mainWindow_->saveGeometry());
    settings_->setValue(kReportOutputKey, printChoice_.first);
    settings_->setValue(kReportNoteKey, printChoice_.second);
    settings_->sync();
}

void DesktopProgram::keepNoteSignature(const NoteSignature& signature) {
    noteSignature_ = signature;
    if (!settings_) return;
    settings_->setValue(kProjectNumberKey, QString::fromStdString(signature.projectNumber));
    settings_->setValue(kCheckerKey, QString::fromStdString(signature.checker));
    settings_->sync();
}

void DesktopProgram::restoreMainWindowPlace() {
    if (!settings_ || !mainWindow_) return;
    const QByteArray place = settings_->value(kPlaceKey).toByteArray();
    if (!place.isEmpty()) mainWindow_->restoreGeometry(place);
}

void DesktopProgram::fileUsed(const std::string& path) {
    recent_.use(path);
    const QString folder = QFileInfo(QString::fromStdString(path)).absolutePath();
    ui_.setInitialFolder(folder);
    if (settings_) settings_->setValue(kFolderKey, folder);
    storeSettings();
    showRecentProjects();
}

void DesktopProgram::showRecentProjects() {
    if (!mainWindow_) return;
    mainWindow_->setRecentProjects(recent_.paths(), [this](const std::string& path) { openRecentProject(path); });
}

void DesktopProgram::chooseDesignMargin() {
    bool ok = false;
    const int percent = QInputDialog::getInt(
        mainWindow_.get(), QStringLiteral("Запас холодопроизводительности"),
        QStringLiteral("Запас к требуемой холодопроизводительности, % (0 — не показывать):"),
        program_.main.DesignMargin, 0, kMaxDesignMargin, 1, &ok);
    if (!ok) return;
    program_.main.DesignMargin = percent;
    if (settings_) {
        settings_->setValue(kMarginKey, percent);
        settings_->sync();
    }
    program_.main.Show();
    refreshAll();
}

void DesktopProgram::openRecentProject(const std::string& path) {
    if (!QFileInfo::exists(QString::fromStdString(path))) {
        recent_.remove(path);
        storeSettings();
        showRecentProjects();
        ui_.message(MissingRecentProjectText(path), kAppTitle, MsgIcon::Warning);
        return;
    }
    if (program_.ConfirmLeave()) OpenFileCommand(program_, ui_, path);
    refreshAll();
}

}  // namespace coldroom
