// The printed page and the calculation note as PDF files, for callers that have no window of their own (the
// command-line tool). Painting needs the toolkit, so this is implemented in the Qt library.
#pragma once

#include <string>

#include "reports/calculation_note.h"
#include "reports/report_model.h"

namespace coldroom {

// Writes the printed page to an A4 PDF file, atomically. Starts an offscreen application
// object when the process has none. Returns false with a Russian message.
bool WriteReportPdf(const std::string& path, const ReportModel& model, std::string& error);
// The same for the calculation note's pages.
bool WriteNotePdf(const std::string& path, const CalculationNote& note, std::string& error);

// Starts the offscreen application object painting needs when the process has none.
void EnsurePaintingApplication();

}  // namespace coldroom
