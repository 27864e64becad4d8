// The store's report painted with Qt into an A4 landscape PDF, or on a printer.
#include "reports/qt_store_pdf.h"

#include <QPagedPaintDevice>
#include <QPainter>

#include <algorithm>

#include "reports/qt_canvas.h"

namespace coldroom {

bool PaintStorePages(QPagedPaintDevice& device, const StoreSheet& sheet, std::string& error,
                     const QRectF& printableMm) {
    QPainter painter;
    if (!painter.begin(&device)) {
        error = "не удается начать страницу";
        return false;
    }
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setRenderHint(QPainter::TextAntialiasing);
    if (!printableMm.isEmpty()) {
        const double unitsX = device.logicalDpiX() / 25.4, unitsY = device.logicalDpiY() / 25.4;
        const double scale = std::min({1.0, printableMm.width() / kLandscapeWidthMm,
                                       printableMm.height() / kLandscapeHeightMm});
        const double left = printableMm.left() + (printableMm.width() - kLandscapeWidthMm * scale) / 2;
        painter.translate(left * unitsX, printableMm.top() * unitsY);
        painter.scale(scale, scale);
    }
    const std::vector<StorePage> pages = StorePages(sheet);
    for (std::size_t i = 0; i < pages.size(); ++i) {
        if (i > 0) device.newPage();
        QtCanvas canvas(painter);
        DrawCells(pages[i], canvas);
    }
    if (!painter.end()) {
        error = "не удается завершить страницу";
        return false;
    }
    return true;
}

bool WriteStorePdf(const std::string& path, const StoreSheet& sheet, std::string& error) {
    return WritePdfPages(
        path, sheet.title, [&](QPagedPaintDevice& device, std::string& why) { return PaintStorePages(device, sheet, why); },
        error, QPageLayout::Landscape);
}

}  // namespace coldroom
