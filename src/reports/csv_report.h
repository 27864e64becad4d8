// The semicolon-separated report for a spreadsheet: 50 lines with standard doors, 51 with
// special door conditions.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "reports/report_model.h"

namespace coldroom {

// A cell as the spreadsheet reads it: a text holding ";", a double quote or a line break
// is quoted with its inner quotes doubled, anything else is written as it is. A text that a
// spreadsheet would run as a formula (starting with =, +, -, @, a tab or a carriage return)
// gets a leading apostrophe; a number with or without its unit stays as it is.
bool StartsFormula(std::string_view text);
std::string CsvCell(std::string_view text);
// A cell of the store's and the studies' tables: a figure ("-3.5") with the decimal comma
// ("-3,5"), so that a spreadsheet set to Russian reads a number and not a date; any other text
// as CsvCell writes it. The room's report keeps its own fixed form.
std::string CsvFigureCell(std::string_view text);

// The report's lines (UTF-8, without line ends).
std::vector<std::string> CsvReportLines(const ReportModel& model);

// Writes the report to `path` in Windows-1251 with CR LF, replacing the file atomically.
// Returns false with a Russian message in `error` when it cannot.
bool WriteCsvReport(const std::string& path, const ReportModel& model, std::string& error);

}  // namespace coldroom
