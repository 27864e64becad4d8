// One report of a chosen kind: the HTML and CSV writers here, the printed page through a
// printer the caller supplies (painting belongs to the toolkit).
#pragma once

#include <string>

#include "reports/calculation_note.h"
#include "reports/report_model.h"

namespace coldroom {

// Printing belongs to the toolkit: the desktop program shows the printer dialog with a
// preview and paints the page; PDF files are painted the same way.
class ReportPrinter {
public:
    virtual ~ReportPrinter() = default;
    // Shows the printer dialog and prints the page. A cancelled dialog prints nothing and
    // is no failure. Returns false with a Russian message when printing failed.
    virtual bool PrintPage(const ReportModel& model, std::string& error) = 0;
    // Writes the printed page as a PDF file, atomically.
    virtual bool WritePdf(const std::string& path, const ReportModel& model, std::string& error) = 0;
    // The same for the calculation note's pages.
    virtual bool PrintNote(const CalculationNote& note, std::string& error) = 0;
    virtual bool WriteNotePdf(const std::string& path, const CalculationNote& note, std::string& error) = 0;
};

enum class ReportKind { Printer, Html, Csv, Pdf };

// Writes one report of the chosen kind. `path` is unused for the printer. Returns false with
// a Russian message; the printer may be null when there is none.
bool MakeReport(ReportKind kind, const std::string& path, const ReportModel& model, ReportPrinter* printer,
                std::string& error);
// Writes the calculation note: an HTML page (UTF-8), a PDF file or the printer (no CSV).
bool MakeNote(ReportKind kind, const std::string& path, const CalculationNote& note, ReportPrinter* printer,
              std::string& error);

}  // namespace coldroom
