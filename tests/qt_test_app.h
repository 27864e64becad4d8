// The one application object of the window tests, on the offscreen platform unless another
// is asked for. It is never destroyed: Qt's windows must not outlive their thread storage at
// exit, which a static QApplication's destructor would risk.
#pragma once

#include <QApplication>

namespace coldroom::test {

inline QApplication& TestApplication() {
    if (auto* app = qobject_cast<QApplication*>(QCoreApplication::instance())) return *app;
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    static int argc = 1;
    static char name[] = "coldroom_window_tests";
    static char* argv[] = {name, nullptr};
    static auto* app = new QApplication(argc, argv);
    return *app;
}

}  // namespace coldroom::test
