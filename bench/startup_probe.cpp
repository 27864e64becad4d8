// Start-up probe: `startup_probe bare` shows an empty Qt window, `startup_probe coldroom`
// starts the program as a person does (its first window is the task dialog), and
// `startup_probe main` goes on through «Далее >>» to the main window with its results and
// chart; each ends as soon as its window has been painted. Timed side by side with hyperfine:
//
//     hyperfine -N 'build/bin/startup_probe bare' 'build/bin/startup_probe coldroom'
#include <QApplication>
#include <QEvent>
#include <QLabel>
#include <QLibraryInfo>
#include <QLocale>
#include <QMessageBox>
#include <QPushButton>
#include <QTimer>
#include <QTranslator>
#include <QWidget>

#include <cstring>
#include <string>

#include "ui/main/main_window.h"
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

// Presses «Далее >>» once the task dialog has been painted, and answers the program's
// questions (the cooling time) "Нет" as they come up.
class ConfirmWhenPainted : public QObject {
public:
    explicit ConfirmWhenPainted(coldroom::DesktopProgram& program, QObject& quit) : program_(program), quit_(quit) {}
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (event->type() == QEvent::Paint && !pressed_) {
            pressed_ = true;
            QTimer::singleShot(0, qApp, [this] {
                program_.taskDialog()->findChild<QPushButton*>(QStringLiteral("OK_btn"))->click();
            });
        }
        return QObject::eventFilter(watched, event);
    }
    void answerQuestions() {
        QObject::connect(&answerer_, &QTimer::timeout, [this] {
            if (auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget())) box->reject();
            if (program_.mainWindow() && !watching_) {
                watching_ = true;
                program_.mainWindow()->installEventFilter(&quit_);
            }
        });
        answerer_.start(1);
    }

private:
    coldroom::DesktopProgram& program_;
    QObject& quit_;
    QTimer answerer_;
    bool pressed_ = false, watching_ = false;
};

}  // namespace

int main(int argc, char* argv[]) {
    const bool bare = argc > 1 && std::strcmp(argv[1], "bare") == 0;
    const bool toMain = argc > 1 && std::strcmp(argv[1], "main") == 0;
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
    ConfirmWhenPainted confirm(program, quit);
    if (toMain) {
        program.taskDialog()->installEventFilter(&confirm);
        confirm.answerQuestions();
    } else {
        program.taskDialog()->installEventFilter(&quit);
    }
    if (!program.start()) return 1;
    return QApplication::exec();
}
