// The PDF module coldroom-calc loads on demand: the printed report, the calculation note and
// the store's report painted with Qt.
#include <type_traits>

#include "app/calc_pdf.h"
#include "reports/report_pdf.h"
#include "reports/store_page.h"

extern "C" __attribute__((visibility("default"))) bool coldroom_write_report_pdf(
    const std::string& path, const coldroom::ReportModel& model, std::string& error) {
    return coldroom::WriteReportPdf(path, model, error);
}

extern "C" __attribute__((visibility("default"))) bool coldroom_write_store_pdf(
    const std::string& path, const coldroom::StoreSheet& sheet, std::string& error) {
    coldroom::EnsurePaintingApplication();
    return coldroom::WriteStorePdf(path, sheet, error);
}

extern "C" __attribute__((visibility("default"))) bool coldroom_write_note_pdf(
    const std::string& path, const coldroom::CalculationNote& note, std::string& error) {
    return coldroom::WriteNotePdf(path, note, error);
}

// The entry points keep the types the program calls them by.
static_assert(std::is_same_v<decltype(&coldroom_write_report_pdf), coldroom::WritePdfEntry>);
static_assert(std::is_same_v<decltype(&coldroom_write_store_pdf), coldroom::WriteStorePdfEntry>);
static_assert(std::is_same_v<decltype(&coldroom_write_note_pdf), coldroom::WriteNotePdfEntry>);
