// The store's pages painted with Qt on any page device: a PDF file or a printer.
#pragma once

#include <QRectF>
#include <string>

#include "reports/store_page.h"

class QPagedPaintDevice;

namespace coldroom {

// Paints the store's A4 landscape pages on `device` (a printer set to the full page, or a PDF
// writer). A printer cannot ink the paper's edge: `printableMm`, its printable area, takes
// each page scaled down to fit, centred across it; empty draws the pages at full size.
bool PaintStorePages(QPagedPaintDevice& device, const StoreSheet& sheet, std::string& error,
                     const QRectF& printableMm = {});

}  // namespace coldroom
