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

// The report's lines (UTF-8, without line ends).
std::vector<std::string> CsvReportLines(const ReportModel& model);

// Writes the report to `path` in Windows-1251 with CR LF, replacing the file atomically.
// Returns false with a Russian message in `error` when it cannot.
bool WriteCsvReport(const std::string& path, const ReportModel& model, std::string& error);

}  // namespace coldroom
