// ColdRoom, the desktop program.
#include <QApplication>
#include <QIcon>
#include <QLibraryInfo>
#include <QLocale>
#include <QTranslator>

#include <cstring>
#include <string>

#include "refdb/database_location.h"
#include "refdb/reference_db.h"
#include "ui/qt_desktop.h"

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
    std::string database = coldroom::EffectiveDatabasePath(shipped);
    bool named = false;
    for (int i = 1; i + 1 < argc; ++i)
        if (std::strcmp(argv[i], "--db") == 0) {
            database = argv[i + 1];
            named = true;
        }

    coldroom::DesktopProgram program(database);
    if (!named) program.setEditedDatabase(shipped, coldroom::UserDatabasePath());
    // Recent projects, the last folder and the window's place, kept for the user.
    program.useSettingsFile(coldroom::UserSettingsPath());
    if (!program.start()) return 1;
    const int status = QApplication::exec();
    return status != 0 ? status : program.exitCode();
}
