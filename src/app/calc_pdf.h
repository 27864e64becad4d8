// The PDF files of coldroom-calc. Qt's painting lives in a small module loaded only when a
// PDF is asked for, so a run without one does not spend its time loading Qt's libraries.
#pragma once

#include <string>

#include "reports/calculation_note.h"
#include "reports/report_model.h"
#include "reports/store_report.h"

namespace coldroom {

// The module's file name, and its entry points (the PDF writers behind C names).
inline constexpr const char* kPdfModuleFile = "libcoldroom_pdf.so";
inline constexpr const char* kPdfModuleEntry = "coldroom_write_report_pdf";
inline constexpr const char* kNotePdfModuleEntry = "coldroom_write_note_pdf";
inline constexpr const char* kStorePdfModuleEntry = "coldroom_write_store_pdf";
using WritePdfEntry = bool (*)(const std::string& path, const ReportModel& model, std::string& error);
using WriteNotePdfEntry = bool (*)(const std::string& path, const CalculationNote& note, std::string& error);
using WriteStorePdfEntry = bool (*)(const std::string& path, const StoreSheet& sheet, std::string& error);

// Loads the module beside the program or in ../libexec/coldroom and writes the PDF with it.
// False with a Russian `error` when the module cannot be loaded or the file not written.
bool WritePdfOnDemand(const std::string& path, const ReportModel& model, std::string& error);
bool WriteNotePdfOnDemand(const std::string& path, const CalculationNote& note, std::string& error);
bool WriteStorePdfOnDemand(const std::string& path, const StoreSheet& sheet, std::string& error);

}  // namespace coldroom
