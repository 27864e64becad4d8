// ColdRoom, the desktop program.
#include <QApplication>
#include <QIcon>
#include <QLibraryInfo>
#include <QLabel>
#include <QLocale>
#include <QMessageBox>
#include <QPushButton>
#include <QTranslator>

#include <cstring>
#include <string>
#include <utility>
#include <vector>

#include "ui/user_interface.h"
#include "refdb/database_location.h"
#include "refdb/reference_db.h"
#include "ui/qt_desktop.h"

namespace {

// The reference data to read, asked before any window when the user's copy cannot be
// loaded or the shipped data changed since it was made. "" when the person chose to leave.
std::string ChooseDatabase(const std::string& shipped) {
    using namespace coldroom;
    const StartupDatabase found = CheckStartupDatabase(shipped, UserDatabasePath(), true);
    if (found.state == StartupDatabase::State::Ready) return found.path;
    const StartupQuestion question = StartupQuestionOf(found);
    const bool broken = found.state == StartupDatabase::State::Broken;
    QMessageBox box(broken ? QMessageBox::Critical : QMessageBox::Question, QString::fromUtf8(kAppTitle),
                    QString::fromStdString(question.text).replace(QStringLiteral("\r\n"), QStringLiteral("\n")));
    box.setTextFormat(Qt::PlainText);
    // Paths and the loader's sentence read better on wide lines, as the other messages have them.
    if (auto* label = box.findChild<QLabel*>(QStringLiteral("qt_msgbox_label")))
        label->setMinimumWidth(90 * label->fontMetrics().averageCharWidth());
    std::vector<std::pair<QAbstractButton*, StartupChoice>> buttons;
    for (const auto& [choice, caption] : question.answers)
        buttons.emplace_back(box.addButton(QString::fromStdString(caption), QMessageBox::AcceptRole), choice);
    // A broken copy may also be left alone for now, to be looked at first; a newer shipped
    // file is only news, and closing the question keeps the copy.
    QAbstractButton* leave = broken ? box.addButton(QStringLiteral("Выход"), QMessageBox::RejectRole) : nullptr;
    box.setEscapeButton(leave ? leave : buttons.front().first);
    box.setDefaultButton(qobject_cast<QPushButton*>(buttons.front().first));
    box.exec();
    if (leave && box.clickedButton() == leave) return {};
    StartupChoice choice = buttons.front().second;
    for (const auto& [button, c] : buttons)
        if (box.clickedButton() == button) choice = c;
    std::string keptAs, error;
    const std::string path = ApplyStartupChoice(found, choice, shipped, keptAs, error);
    if (!path.empty()) return path;
    // The copy stays where it was; this time the shipped data is read.
    QMessageBox::warning(nullptr, QString::fromUtf8(kAppTitle), QString::fromStdString(error));
    return shipped;
}

}  // namespace

int main(int argc, char* argv[]) {
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("ColdRoom"));
    QApplication::setOrganizationName(QStringLiteral("ColdRoom"));
    QApplication::setApplicationVersion(QStringLiteral(COLDROOM_VERSION));
    QApplication::setWindowIcon(QIcon(QStringLiteral(":/icons/coldroom.png")));
    // Qt's own dialogs and buttons speak Russian like the rest of the program.
    QTranslator qtRussian;
    if (qtRussian.load(QStringLiteral("qtbase_ru"), QLibraryInfo::path(QLibraryInfo::TranslationsPath)))
        QApplication::installTranslator(&qtRussian);
    // Numbers the widgets format use a point, whatever the user's locale.
    QLocale::setDefault(QLocale::c());

    // The reference data the editor changed (the user's copy) unless a file is named.
    const std::string shipped = coldroom::DefaultDatabasePath();
    std::string database;
    bool named = false;
    for (int i = 1; i + 1 < argc; ++i)
        if (std::strcmp(argv[i], "--db") == 0) {
            database = argv[i + 1];
            named = true;
        }
    if (!named) database = ChooseDatabase(shipped);
    if (database.empty()) return 1;

    coldroom::DesktopProgram program(database);
    if (!named) program.setEditedDatabase(shipped, coldroom::UserDatabasePath());
    // Recent projects, the last folder and the window's place, kept for the user.
    program.useSettingsFile(coldroom::UserSettingsPath());
    if (!program.start()) return 1;
    const int status = QApplication::exec();
    return status != 0 ? status : program.exitCode();
}
