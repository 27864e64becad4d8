// The store's report painted with Qt into an A4 landscape PDF.
#include <cerrno>

#include <QBuffer>
#include <QPageLayout>
#include <QPageSize>
#include <QPdfWriter>

#include "io/atomic_file.h"
#include "reports/qt_canvas.h"
#include "reports/store_page.h"

namespace coldroom {

bool WriteStorePdf(const std::string& path, const StoreSheet& sheet, std::string& error) {
    // Made in memory and written with every step checked, as the room's report is: the PDF
    // engine says nothing about a failed write to a file.
    QByteArray bytes;
    {
        QBuffer buffer(&bytes);
        if (!buffer.open(QIODevice::WriteOnly)) {
            error = FileWriteError(path, ENOMEM);
            return false;
        }
        QPdfWriter writer(&buffer);
        writer.setPageSize(QPageSize(QPageSize::A4));
        writer.setPageOrientation(QPageLayout::Landscape);
        writer.setPageMargins(QMarginsF(0, 0, 0, 0), QPageLayout::Millimeter);
        writer.setResolution(1200);
        writer.setTitle(QString::fromStdString(sheet.title));
        writer.setCreator(QStringLiteral("ColdRoom"));
        QPainter painter;
        if (!painter.begin(&writer)) {
            error = FileWriteError(path, "не удается начать страницу");
            return false;
        }
        painter.setRenderHint(QPainter::Antialiasing);
        painter.setRenderHint(QPainter::TextAntialiasing);
        const std::vector<StorePage> pages = StorePages(sheet);
        for (std::size_t i = 0; i < pages.size(); ++i) {
            if (i > 0) writer.newPage();
            QtCanvas canvas(painter);
            DrawCells(pages[i], canvas);
        }
        if (!painter.end()) {
            error = FileWriteError(path, "не удается завершить страницу");
            return false;
        }
    }
    if (!bytes.trimmed().endsWith("%%EOF")) {
        error = FileWriteError(path, EIO);
        return false;
    }
    const std::string_view content(bytes.constData(), static_cast<size_t>(bytes.size()));
    if (path == kStandardOutput) return WriteToStandardOutput(content, error);
    return WriteFileAtomically(path, content, error);
}

}  // namespace coldroom
