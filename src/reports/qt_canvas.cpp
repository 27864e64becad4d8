#include "reports/qt_canvas.h"

#include <algorithm>
#include <functional>

#include <cerrno>

#include <QBuffer>
#include <QFontDatabase>
#include <QFontMetricsF>
#include <QPageLayout>
#include <QPageSize>
#include <QPdfWriter>
#include <QPen>

#include "io/atomic_file.h"

namespace coldroom {
namespace {

constexpr double kMmPerInch = 25.4;
constexpr double kPointsPerInch = 72;
// Outline width of the boxes: a fine line, as a printer's one-pixel line would be.
constexpr double kLineWidthMm = 0.15;

// Two lines in one cell are set a little closer than the font's line spacing (solid, with a
// twentieth of the size between them), which leaves the box's outlines clear of the ink.
constexpr double kTwoLinePitchEm = 1.05;
// The least room between a two-line text's ink and its box's top and bottom lines.
constexpr double kTwoLineMarginMm = 0.35;

// How far the ink of a text reaches above and below its baseline: brackets and capitals up,
// descenders down.
struct Ink {
    double up, down;
};
Ink inkOf(const QFontMetricsF& m, const QString& text) {
    const QRectF r = m.tightBoundingRect(text);
    return {-r.top(), r.bottom()};
}

// The height of two lines' ink, one pitch apart, per point of size.
double twoLinesInkPerPt(const QFontMetricsF& m, const QFont& font, double sizePt) {
    const Ink tallest = inkOf(m, QStringLiteral("(Ару"));
    return (tallest.up + kTwoLinePitchEm * font.pixelSize() + tallest.down) / sizePt;
}

QString toQt(const std::string& text) {
    return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

}  // namespace

QtCanvas::QtCanvas(QPainter& painter, const QRectF& areaMm) : painter_(painter) {
    painter_.save();
    const QPaintDevice* device = painter_.device();
    // From here on one painter unit is 1/kUnitsPerMm millimetre, whatever the resolution.
    painter_.scale(device->logicalDpiX() / kMmPerInch / kUnitsPerMm,
                   device->logicalDpiY() / kMmPerInch / kUnitsPerMm);
    if (!areaMm.isEmpty()) {
        const double scale = std::min({1.0, areaMm.width() / kPageWidthMm, areaMm.height() / kPageHeightMm});
        const double left = areaMm.left() + (areaMm.width() - kPageWidthMm * scale) / 2;
        painter_.translate(left * kUnitsPerMm, areaMm.top() * kUnitsPerMm);
        painter_.scale(scale, scale);
    }
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

FittedText QtCanvas::fit(const std::string& text, const TextStyle& style, double maxWidth, double height) const {
    QPaintDevice* device = painter_.device();
    const auto width = [&](const std::string& t, double sizePt) {
        TextStyle sized = style;
        sized.sizePt = sizePt;
        return QFontMetricsF(FontFor(sized), device).horizontalAdvance(toQt(t)) / kUnitsPerMm;
    };
    const QFont font = FontFor(style);
    const QFontMetricsF m(font, device);
    const double twoLinesMmPerPt = twoLinesInkPerPt(m, font, style.sizePt) / kUnitsPerMm;
    return FitText(text, style.sizePt, maxWidth, height, twoLinesMmPerPt, width);
}

// One line with its top left corner at (x, y); what is still wider than `maxWidth` is cut.
void QtCanvas::drawLine(double x, double y, const QString& text, const QFont& font, double maxWidth) {
    const QFontMetricsF metrics(font, painter_.device());
    const double room = maxWidth * kUnitsPerMm;
    const QString shown =
        room > 0 && metrics.horizontalAdvance(text) > room ? metrics.elidedText(text, Qt::ElideRight, room) : text;
    painter_.setFont(font);
    // Qt draws from the baseline, one ascent below the top.
    painter_.drawText(QPointF(x * kUnitsPerMm, y * kUnitsPerMm + metrics.ascent()), shown);
}

void QtCanvas::Text(double x, double y, const std::string& text, const TextStyle& style, double maxWidth) {
    TextStyle sized = style;
    if (maxWidth > 0) sized.sizePt = std::min(style.sizePt, fit(text, style, maxWidth, 0).sizePt);
    // A text set smaller keeps its top where the full-size text would have it.
    drawLine(x, y, toQt(text), FontFor(sized), maxWidth);
}

void QtCanvas::WrappedText(double x, double y, const std::string& text, const TextStyle& style, double maxWidth,
                           double top, double bottom) {
    // The lines keep clear of the box's outlines, as a one-line text does, so that they read
    // as two lines of one cell.
    const FittedText fitted = fit(text, style, maxWidth, bottom - top - 2 * kTwoLineMarginMm);
    if (fitted.lines.size() < 2) {
        Text(x, y, text, style, maxWidth);
        return;
    }
    TextStyle sized = style;
    sized.sizePt = fitted.sizePt;
    const QFont font = FontFor(sized);
    const QFontMetricsF m(font, painter_.device());
    const QString first = toQt(fitted.lines[0]), second = toQt(fitted.lines[1]);
    // The ink of these two lines, not the font's line boxes, sits in the middle of the box.
    const double pitch = kTwoLinePitchEm * font.pixelSize() / kUnitsPerMm;
    const double up = inkOf(m, first).up / kUnitsPerMm, down = inkOf(m, second).down / kUnitsPerMm;
    const double baseline = (top + bottom - (up + pitch + down)) / 2 + up;
    const double ascent = m.ascent() / kUnitsPerMm;
    drawLine(x, baseline - ascent, first, font, maxWidth);
    drawLine(x, baseline + pitch - ascent, second, font, maxWidth);
}

bool PaintPrintedReport(QPagedPaintDevice& device, const ReportModel& model, std::string& error,
                        const QRectF& printableMm) {
    QPainter painter;
    if (!painter.begin(&device)) {
        error = "Не удается начать печать отчета";
        return false;
    }
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setRenderHint(QPainter::TextAntialiasing);
    {
        QtCanvas canvas(painter, printableMm);
        DrawPrintedReport(model, canvas);
    }
    if (!painter.end()) {
        error = "Не удается завершить печать отчета";
        return false;
    }
    return true;
}

// The PDF engine says nothing about failed writes to a file, so the pages are made in memory
// and written with every write, the flush and the close checked: a full disk then keeps the
// old file and is named as the cause.
bool WritePdfPages(const std::string& path, const std::string& title,
                   const std::function<bool(QPagedPaintDevice&, std::string&)>& paint, std::string& error,
                   QPageLayout::Orientation orientation) {
    QByteArray bytes;
    {
        QBuffer buffer(&bytes);
        if (!buffer.open(QIODevice::WriteOnly)) {
            error = FileWriteError(path, ENOMEM);
            return false;
        }
        QPdfWriter writer(&buffer);
        writer.setPageSize(QPageSize(QPageSize::A4));
        writer.setPageOrientation(orientation);
        writer.setPageMargins(QMarginsF(0, 0, 0, 0), QPageLayout::Millimeter);
        writer.setResolution(1200);
        writer.setTitle(toQt(title));
        writer.setCreator(QStringLiteral("ColdRoom"));
        std::string why;
        if (!paint(writer, why)) {
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
    return WriteFileAtomically(path, content, error);
}

bool WritePrintedReportPdf(const std::string& path, const ReportModel& model, std::string& error) {
    return WritePdfPages(
        path, model.heading.title,
        [&](QPagedPaintDevice& device, std::string& why) { return PaintPrintedReport(device, model, why); }, error);
}

bool PaintCalculationNote(QPagedPaintDevice& device, const CalculationNote& note, std::string& error,
                          const QRectF& printableMm) {
    QPainter painter;
    if (!painter.begin(&device)) {
        error = "Не удается начать печать расчётной записки";
        return false;
    }
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setRenderHint(QPainter::TextAntialiasing);
    QPaintDevice* target = painter.device();
    const StyledWidth measure = [target](const std::string& text, const TextStyle& style) {
        return QFontMetricsF(QtCanvas::FontFor(style), target).horizontalAdvance(toQt(text)) / QtCanvas::kUnitsPerMm;
    };
    const auto pages = CalculationNotePages(note, measure);
    for (size_t i = 0; i < pages.size(); ++i) {
        if (i > 0 && !device.newPage()) {
            error = "Не удается начать новый лист расчётной записки";
            painter.end();
            return false;
        }
        QtCanvas canvas(painter, printableMm);
        DrawNotePage(pages[i], canvas);
    }
    if (!painter.end()) {
        error = "Не удается завершить печать расчётной записки";
        return false;
    }
    return true;
}

bool WriteCalculationNotePdf(const std::string& path, const CalculationNote& note, std::string& error) {
    return WritePdfPages(
        path, note.title,
        [&](QPagedPaintDevice& device, std::string& why) { return PaintCalculationNote(device, note, why); }, error);
}

}  // namespace coldroom
