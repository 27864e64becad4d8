// The PDF reports of coldroom-calc. Qt's painting lives in a small module loaded only when a
// PDF is asked for, so a run without --pdf does not spend its time loading Qt's libraries.
#pragma once

#include <string>

#include "reports/report_input.h"
#include "reports/store_report.h"

namespace coldroom {

// The module's file name, and its entry points (the PDF writers behind C names).
inline constexpr const char* kPdfModuleFile = "libcoldroom_pdf.so";
inline constexpr const char* kPdfModuleEntry = "coldroom_write_report_pdf";
inline constexpr const char* kStorePdfModuleEntry = "coldroom_write_store_pdf";
using WritePdfEntry = bool (*)(const std::string& path, const ReportInput& input, std::string& error);
using WriteStorePdfEntry = bool (*)(const std::string& path, const StoreSheet& sheet, std::string& error);

// Loads the module beside the program or in ../libexec/coldroom and writes the PDF with it.
// False with a Russian `error` when the module cannot be loaded or the file not written.
bool WritePdfOnDemand(const std::string& path, const ReportInput& input, std::string& error);
bool WriteStorePdfOnDemand(const std::string& path, const StoreSheet& sheet, std::string& error);

}  // namespace coldroom
