#include "reports/report_dispatch.h"

#include "core/shared_texts.h"

#include "reports/csv_report.h"
#include "reports/html_report.h"

namespace coldroom {

bool MakeReport(ReportKind kind, const std::string& path, const ReportModel& model, ReportPrinter* printer,
                std::string& error) {
    if (kind != ReportKind::Printer && path.empty()) {
        error = kNoFileChosen;
        return false;
    }
    switch (kind) {
    case ReportKind::Html:
        return WriteHtmlReport(path, model, error);
    case ReportKind::Csv:
        return WriteCsvReport(path, model, error);
    case ReportKind::Pdf:
    case ReportKind::Printer:
        if (!printer) {
            error = "Печать недоступна: не найден ни один принтер.";
            return false;
        }
        return kind == ReportKind::Pdf ? printer->WritePdf(path, model, error) : printer->PrintPage(model, error);
    }
    return false;
}

}  // namespace coldroom
