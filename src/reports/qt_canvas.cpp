#include "reports/qt_canvas.h"

#include <algorithm>

#include <cerrno>

#include <QBuffer>
#include <QFontDatabase>
#include <QFontMetricsF>
#include <QPageLayout>
#include <QPageSize>
#include <QPdfWriter>
#include <QPen>

#include "files/atomic_file.h"

namespace coldroom {
namespace {

constexpr double kMmPerInch = 25.4;
constexpr double kPointsPerInch = 72;
// Outline width of the boxes: a fine line, as a printer's one-pixel line would be.
constexpr double kLineWidthMm = 0.15;

QString toQt(const std::string& text) {
    return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

}  // namespace

QtCanvas::QtCanvas(QPainter& painter) : painter_(painter) {
    painter_.save();
    const QPaintDevice* device = painter_.device();
    // From here on one painter unit is 1/kUnitsPerMm millimetre, whatever the resolution.
    painter_.scale(device->logicalDpiX() / kMmPerInch / kUnitsPerMm,
                   device->logicalDpiY() / kMmPerInch / kUnitsPerMm);
    QPen pen(Qt::black);
    pen.setWidthF(kLineWidthMm * kUnitsPerMm);
    pen.setJoinStyle(Qt::MiterJoin);
    painter_.setPen(pen);
    painter_.setBrush(Qt::NoBrush);
}

QtCanvas::~QtCanvas() { painter_.restore(); }

QString QtCanvas::FontFamily() {
    static const QString family = [] {
        const QString wanted = QStringLiteral("Liberation Sans");
        if (QFontDatabase::families().contains(wanted)) return wanted;
        return QFontDatabase::systemFont(QFontDatabase::GeneralFont).family();
    }();
    return family;
}

QFont QtCanvas::FontFor(const TextStyle& style) {
    QFont font(FontFamily());
    font.setStyleHint(QFont::SansSerif);
    // Hinting would snap glyphs to a grid of our hundredths of a millimetre.
    font.setHintingPreference(QFont::PreferNoHinting);
    const double mm = style.sizePt * kMmPerInch / kPointsPerInch;
    font.setPixelSize(qMax(1, qRound(mm * kUnitsPerMm)));
    font.setBold(style.bold);
    font.setItalic(style.italic);
    return font;
}

void QtCanvas::Rectangle(double x1, double y1, double x2, double y2) {
    const QRectF r(QPointF(qMin(x1, x2) * kUnitsPerMm, qMin(y1, y2) * kUnitsPerMm),
                   QPointF(qMax(x1, x2) * kUnitsPerMm, qMax(y1, y2) * kUnitsPerMm));
    painter_.drawRect(r);
}

void QtCanvas::Text(double x, double y, const std::string& text, const TextStyle& style, double maxWidth) {
    constexpr double kSmallestPt = 6;
    QString shown = toQt(text);
    QFont font = FontFor(style);
    const double room = maxWidth * kUnitsPerMm;
    if (room > 0) {
        const double width = QFontMetricsF(font, painter_.device()).horizontalAdvance(shown);
        if (width > room && style.sizePt > kSmallestPt) {
            TextStyle smaller = style;
            smaller.sizePt = std::max(kSmallestPt, style.sizePt * room / width);
            font = FontFor(smaller);
        }
        const QFontMetricsF fitted(font, painter_.device());
        if (fitted.horizontalAdvance(shown) > room) shown = fitted.elidedText(shown, Qt::ElideRight, room);
    }
    painter_.setFont(font);
    // The position is the text's top left corner; Qt draws from the baseline. A text set
    // smaller keeps its top where the full-size text would have it.
    const QFontMetricsF metrics(font, painter_.device());
    painter_.drawText(QPointF(x * kUnitsPerMm, y * kUnitsPerMm + metrics.ascent()), shown);
}

bool PaintPrintedReport(QPagedPaintDevice& device, const ReportInput& input, std::string& error) {
    QPainter painter;
    if (!painter.begin(&device)) {
        error = "Не удается начать печать отчета";
        return false;
    }
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setRenderHint(QPainter::TextAntialiasing);
    {
        QtCanvas canvas(painter);
        DrawPrintedReport(input, canvas);
    }
    if (!painter.end()) {
        error = "Не удается завершить печать отчета";
        return false;
    }
    return true;
}

bool WritePrintedReportPdf(const std::string& path, const ReportInput& input, std::string& error,
                           WriteFault fault) {
    // The PDF engine says nothing about failed writes to a file, so the page is made in
    // memory and written with every write, the flush and the close checked: a full disk
    // then keeps the old file and is named as the cause.
    QByteArray bytes;
    {
        QBuffer buffer(&bytes);
        if (!buffer.open(QIODevice::WriteOnly)) {
            error = FileWriteError(path, ENOMEM);
            return false;
        }
        QPdfWriter writer(&buffer);
        writer.setPageSize(QPageSize(QPageSize::A4));
        writer.setPageOrientation(QPageLayout::Portrait);
        writer.setPageMargins(QMarginsF(0, 0, 0, 0), QPageLayout::Millimeter);
        writer.setResolution(1200);
        writer.setTitle(toQt(input.projectTitle));
        writer.setCreator(QStringLiteral("ColdRoom"));
        std::string why;
        if (!PaintPrintedReport(writer, input, why)) {
            error = FileWriteError(path, why);
            return false;
        }
    }
    // A finished PDF ends with its end-of-file mark; anything short of it is no page.
    if (!bytes.trimmed().endsWith("%%EOF")) {
        error = FileWriteError(path, EIO);
        return false;
    }
    const std::string_view content(bytes.constData(), static_cast<size_t>(bytes.size()));
    if (path == kStandardOutput) return WriteToStandardOutput(content, error);
    return WriteFileAtomically(path, content, error, fault);
}

}  // namespace coldroom
