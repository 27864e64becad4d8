// The printed page painted with Qt: on a printer, or into an A4 PDF file.
#pragma once

#include <QFont>
#include <QPageLayout>
#include <QPainter>
#include <QRectF>
#include <functional>
#include <string>

#include "reports/calculation_note.h"
#include "reports/printed_report.h"

class QPagedPaintDevice;

namespace coldroom {

// Paints on a page whose device origin is the paper's top left corner. Millimetres map to
// device units by the device's resolution; point sizes become millimetres (1 pt = 25.4/72 mm),
// so the page looks the same at any resolution.
class QtCanvas : public ReportCanvas {
public:
    // With a non-empty `areaMm` (millimetres from the paper's corner) the page is scaled
    // down as a whole, keeping its proportions, to fit that area, centred across it.
    explicit QtCanvas(QPainter& painter, const QRectF& areaMm = {});
    ~QtCanvas() override;

    void Rectangle(double x1, double y1, double x2, double y2) override;
    // A text wider than its room is set smaller, down to 6 pt, and cut with "…" beyond that,
    // so that it never prints over the next cell.
    void Text(double x, double y, const std::string& text, const TextStyle& style,
              double maxWidth = 0) override;
    // A text too long for one line goes on two, set solid with their ink centred between the
    // box rows and clear of its lines, before it is set smaller (FitText).
    void WrappedText(double x, double y, const std::string& text, const TextStyle& style,
                     double maxWidth, double top, double bottom) override;

    // The family used for the page: "Liberation Sans" (metrically the page's original font)
    // when installed, else the default sans-serif.
    static QString FontFamily();
    // The font for a style, sized in the painter's units (hundredths of a millimetre).
    static QFont FontFor(const TextStyle& style);

    // Painter units per millimetre; fractional font sizes survive the integer pixel size.
    static constexpr double kUnitsPerMm = 100;

private:
    FittedText fit(const std::string& text, const TextStyle& style, double maxWidth, double height) const;
    void drawLine(double x, double y, const QString& text, const QFont& font, double maxWidth);

    QPainter& painter_;
};

// Paints the report on a page device (a printer set to the full page, or a QPdfWriter).
// A printer cannot ink the paper's edge: `printableMm`, its printable area, takes the page
// scaled to fit; empty (a PDF) draws the page at full size. Returns false with a Russian
// message when painting cannot start.
bool PaintPrintedReport(QPagedPaintDevice& device, const ReportModel& model, std::string& error,
                        const QRectF& printableMm = {});

// Writes the pages `paint` makes on an A4 PDF page device to `path` ("-": standard output),
// replacing the file atomically. False with a Russian message naming the cause.
bool WritePdfPages(const std::string& path, const std::string& title,
                   const std::function<bool(QPagedPaintDevice&, std::string&)>& paint, std::string& error,
                   QPageLayout::Orientation orientation = QPageLayout::Portrait);

// Writes the printed page to an A4 PDF file at `path`, replacing it atomically.
bool WritePrintedReportPdf(const std::string& path, const ReportModel& model, std::string& error);

// The calculation note on as many pages as it takes, laid out with the device's own text
// widths; as PaintPrintedReport otherwise.
bool PaintCalculationNote(QPagedPaintDevice& device, const CalculationNote& note, std::string& error,
                          const QRectF& printableMm = {});
bool WriteCalculationNotePdf(const std::string& path, const CalculationNote& note, std::string& error);

}  // namespace coldroom
