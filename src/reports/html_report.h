// The HTML report: a centred column of bordered tables, one per section, 55 lines.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "reports/report_model.h"

namespace coldroom {

// Replaces "&", "<", ">" and the double quote by their entities, and a control character by a
// blank.
std::string HtmlEscape(std::string_view text);

// The report's lines (UTF-8, without line ends). Every value taken from the person or the
// reference data is escaped, so a title such as "Склад <А&Б>" shows as typed.
std::vector<std::string> HtmlReportLines(const ReportModel& model);

// Writes the report to `path` in Windows-1251 with CR LF, replacing the file atomically.
// Returns false with a Russian message in `error` when it cannot.
bool WriteHtmlReport(const std::string& path, const ReportModel& model, std::string& error);

}  // namespace coldroom
