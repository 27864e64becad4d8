// The store's report painted with Qt into an A4 landscape PDF.
#include <QPagedPaintDevice>
#include <QPainter>

#include "reports/qt_canvas.h"
#include "reports/store_page.h"

namespace coldroom {

bool WriteStorePdf(const std::string& path, const StoreSheet& sheet, std::string& error) {
    return WritePdfPages(
        path, sheet.title,
        [&](QPagedPaintDevice& device, std::string& why) {
            QPainter painter;
            if (!painter.begin(&device)) {
                why = "не удается начать страницу";
                return false;
            }
            painter.setRenderHint(QPainter::Antialiasing);
            painter.setRenderHint(QPainter::TextAntialiasing);
            const std::vector<StorePage> pages = StorePages(sheet);
            for (std::size_t i = 0; i < pages.size(); ++i) {
                if (i > 0) device.newPage();
                QtCanvas canvas(painter);
                DrawCells(pages[i], canvas);
            }
            if (!painter.end()) {
                why = "не удается завершить страницу";
                return false;
            }
            return true;
        },
        error, QPageLayout::Landscape);
}

}  // namespace coldroom
