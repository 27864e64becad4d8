#include <QGuiApplication>

#include <cstdio>

#include "reports/qt_canvas.h"
#include "reports/report_pdf.h"

namespace coldroom {

void EnsurePaintingApplication() {
    if (!QCoreApplication::instance()) {
        // Fonts need an application object; a tool without a screen paints offscreen.
        if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
        static int argc = 1;
        static char name[] = "coldroom";
        static char* argv[] = {name, nullptr};
        // Without a desktop session Qt notes that it has no runtime folder: not worth a line
        // on a tool's error output.
        QtMessageHandler previous = qInstallMessageHandler(
            [](QtMsgType, const QMessageLogContext&, const QString& message) {
                if (!message.contains(QLatin1String("XDG_RUNTIME_DIR"))) fprintf(stderr, "%s\n", qPrintable(message));
            });
        static auto* app = new QGuiApplication(argc, argv);
        (void)app;
        qInstallMessageHandler(previous);
    }
}

bool WriteReportPdf(const std::string& path, const ReportModel& model, std::string& error) {
    EnsurePaintingApplication();
    return WritePrintedReportPdf(path, model, error);
}

bool WriteNotePdf(const std::string& path, const CalculationNote& note, std::string& error) {
    EnsurePaintingApplication();
    return WriteCalculationNotePdf(path, note, error);
}

}  // namespace coldroom
