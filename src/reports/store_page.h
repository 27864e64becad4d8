// The store's report on A4 landscape pages of boxed cells, described in millimetres (0..297
// across, 0..210 down) as the printed report is, so the layout is checked without a printer.
// The rooms' table leaves out the six surfaces (the envelope column is their sum); the rooms
// run on over as many pages as they need, each page with the table's head.
#pragma once

#include <string>
#include <vector>

#include "reports/printed_report.h"
#include "reports/store_report.h"

namespace coldroom {

inline constexpr double kLandscapeWidthMm = 297;
inline constexpr double kLandscapeHeightMm = 210;

using StorePage = std::vector<PrintCell>;

std::vector<StorePage> StorePages(const StoreSheet& sheet);

// Draws one page's cells in order, each text kept to its box.
void DrawCells(const StorePage& cells, ReportCanvas& canvas);

// Writes the pages to a PDF file atomically ("-": standard output). Painting needs the
// toolkit: this is implemented in the painting library.
bool WriteStorePdf(const std::string& path, const StoreSheet& sheet, std::string& error);

}  // namespace coldroom
