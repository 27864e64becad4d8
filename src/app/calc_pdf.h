// The PDF report of coldroom-calc. Qt's painting lives in a small module loaded only when a
// PDF is asked for, so a run without --pdf does not spend its time loading Qt's libraries.
#pragma once

#include <string>

#include "reports/report_model.h"

namespace coldroom {

// The module's file name, and its entry point (WriteReportPdf behind a C name).
inline constexpr const char* kPdfModuleFile = "libcoldroom_pdf.so";
inline constexpr const char* kPdfModuleEntry = "coldroom_write_report_pdf";
using WritePdfEntry = bool (*)(const std::string& path, const ReportModel& model, std::string& error);

// Loads the module beside the program or in ../libexec/coldroom and writes the PDF with it.
// False with a Russian `error` when the module cannot be loaded or the file not written.
bool WritePdfOnDemand(const std::string& path, const ReportModel& model, std::string& error);

}  // namespace coldroom
