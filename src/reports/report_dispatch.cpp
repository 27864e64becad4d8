#include "reports/report_dispatch.h"

#include "core/shared_texts.h"

#include "reports/csv_report.h"
#include "reports/html_report.h"

namespace coldroom {

namespace {

constexpr const char* kNoPrinter = "Печать недоступна: не найден ни один принтер.";

// Where a report goes: a file of its kind, the printer's preview, or the printer's PDF.
template <class Html, class Csv, class Pdf, class Print>
bool dispatch(ReportKind kind, const std::string& path, ReportPrinter* printer, std::string& error, Html html,
              Csv csv, Pdf pdf, Print print) {
    if (kind != ReportKind::Printer && path.empty()) {
        error = kNoFileChosen;
        return false;
    }
    switch (kind) {
    case ReportKind::Html:
        return html();
    case ReportKind::Csv:
        return csv();
    case ReportKind::Pdf:
    case ReportKind::Printer:
        if (!printer) {
            error = kNoPrinter;
            return false;
        }
        return kind == ReportKind::Pdf ? pdf(*printer) : print(*printer);
    }
    return false;
}

}  // namespace

bool MakeReport(ReportKind kind, const std::string& path, const ReportModel& model, ReportPrinter* printer,
                std::string& error) {
    return dispatch(
        kind, path, printer, error, [&] { return WriteHtmlReport(path, model, error); },
        [&] { return WriteCsvReport(path, model, error); },
        [&](ReportPrinter& p) { return p.WritePdf(path, model, error); },
        [&](ReportPrinter& p) { return p.PrintPage(model, error); });
}

bool MakeNote(ReportKind kind, const std::string& path, const CalculationNote& note, ReportPrinter* printer,
              std::string& error) {
    return dispatch(
        kind, path, printer, error, [&] { return WriteCalculationNoteHtml(path, note, error); },
        [&] {
            error = "Расчётная записка не выводится в файл .csv: выберите HTML, PDF или принтер.";
            return false;
        },
        [&](ReportPrinter& p) { return p.WriteNotePdf(path, note, error); },
        [&](ReportPrinter& p) { return p.PrintNote(note, error); });
}

}  // namespace coldroom
