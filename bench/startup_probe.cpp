// Start-up probe: `startup_probe bare` shows an empty Qt window, `startup_probe coldroom`
// starts the program as a person does (its first window is the task dialog); both end as
// soon as the window has been painted. Timed side by side with hyperfine:
//
//     hyperfine -N 'build/bin/startup_probe bare' 'build/bin/startup_probe coldroom'
#include <QApplication>
#include <QEvent>
#include <QLabel>
#include <QLibraryInfo>
#include <QLocale>
#include <QTimer>
#include <QTranslator>
#include <QWidget>

#include <cstring>
#include <string>

#include "ui/qt_desktop.h"
#include "ui/task/task_dialog.h"

namespace {

// Ends the event loop once the watched window has been painted.
class QuitWhenPainted : public QObject {
public:
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (event->type() == QEvent::Paint) QTimer::singleShot(0, qApp, &QApplication::quit);
        return QObject::eventFilter(watched, event);
    }
};

}  // namespace

int main(int argc, char* argv[]) {
    const bool bare = argc > 1 && std::strcmp(argv[1], "bare") == 0;
    QApplication app(argc, argv);
    QuitWhenPainted quit;
    if (argc > 1 && std::strcmp(argv[1], "dialog") == 0) {  // the window alone, no program
        coldroom::TaskDialog dialog;
        dialog.installEventFilter(&quit);
        dialog.show();
        return QApplication::exec();
    }
    if (bare) {
        QWidget window;
        if (argc > 2) (new QLabel(QString::fromUtf8(argv[2]), &window))->move(20, 20);  // a text too
        window.installEventFilter(&quit);
        window.resize(780, 520);
        window.show();
        return QApplication::exec();
    }
    QTranslator qtRussian;
    if (qtRussian.load(QStringLiteral("qtbase_ru"), QLibraryInfo::path(QLibraryInfo::TranslationsPath)))
        QApplication::installTranslator(&qtRussian);
    QLocale::setDefault(QLocale::c());
    coldroom::DesktopProgram program(std::string(COLDROOM_BIN_DIR) + "/Data.dtx");
    program.taskDialog()->installEventFilter(&quit);
    if (!program.start()) return 1;
    return QApplication::exec();
}
