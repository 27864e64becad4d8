#include "reports/report_dispatch.h"

#include "core/shared_texts.h"

#include "reports/csv_report.h"
#include "reports/html_report.h"

namespace coldroom {

namespace {
constexpr const char* kNoPrinter = "Печать недоступна: не найден ни один принтер.";
}

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
            error = kNoPrinter;
            return false;
        }
        return kind == ReportKind::Pdf ? printer->WritePdf(path, model, error) : printer->PrintPage(model, error);
    }
    return false;
}

bool MakeNote(ReportKind kind, const std::string& path, const CalculationNote& note, ReportPrinter* printer,
              std::string& error) {
    if (kind != ReportKind::Printer && path.empty()) {
        error = kNoFileChosen;
        return false;
    }
    switch (kind) {
    case ReportKind::Html:
        return WriteCalculationNoteHtml(path, note, error);
    case ReportKind::Csv:
        error = "Расчётная записка не выводится в файл .csv: выберите HTML, PDF или принтер.";
        return false;
    case ReportKind::Pdf:
    case ReportKind::Printer:
        if (!printer) {
            error = kNoPrinter;
            return false;
        }
        return kind == ReportKind::Pdf ? printer->WriteNotePdf(path, note, error) : printer->PrintNote(note, error);
    }
    return false;
}

}  // namespace coldroom
