// The printed report: one A4 page of boxed cells. The page is described in millimetres
// (0..210 across, 0..297 down, origin top left) and drawn through a small canvas interface,
// so the layout is tested without a printer and the painting lives in the toolkit layer.
#pragma once

#include <functional>
#include <string>
#include <vector>

#include "reports/report_model.h"

namespace coldroom {

inline constexpr double kPageWidthMm = 210;
inline constexpr double kPageHeightMm = 297;

struct TextStyle {
    double sizePt = 8;
    bool bold = false;
    bool italic = false;
    bool operator==(const TextStyle&) const = default;
};

class ReportCanvas {
public:
    virtual ~ReportCanvas() = default;
    // The outline of the rectangle with corners (x1, y1) and (x2, y2), black, not filled.
    virtual void Rectangle(double x1, double y1, double x2, double y2) = 0;
    // `text` with its top left corner at (x, y). Nothing is clipped or wrapped.
    // `maxWidth` (millimetres, 0 for no limit) is the room the text has before the next cell:
    // a painter may set a longer text smaller or cut it rather than print over its neighbour.
    virtual void Text(double x, double y, const std::string& text, const TextStyle& style,
                      double maxWidth = 0) = 0;
    // A cell's text that may take a second line in its box, whose rows run from `top` to
    // `bottom`: a painter that measures text sets it as FitText says; this one as Text() does.
    virtual void WrappedText(double x, double y, const std::string& text, const TextStyle& style,
                             double maxWidth, double /*top*/, double /*bottom*/) {
        Text(x, y, text, style, maxWidth);
    }
};

// The smallest size a text on the page is set in; what does not fit even so is cut.
inline constexpr double kSmallestTextPt = 6;

// How a text is set in its room: one line or two, and the size.
struct FittedText {
    std::vector<std::string> lines;
    double sizePt = 0;
};
// The width in millimetres of `text` set at `sizePt` in the face of the text being fitted.
using TextWidth = std::function<double(const std::string& text, double sizePt)>;

// Sets `text` in a room `width` across and `height` down (millimetres); two lines take
// `twoLinesMmPerPt` × size in points of height. A text that fits stays on one line at
// `sizePt`; a longer one is split at a blank into two lines of about equal width, at the
// largest size up to `sizePt` at which both fit, when that is at least the smallest size;
// otherwise it stays on one line set smaller, down to the smallest size (the painter cuts
// what still sticks out).
FittedText FitText(const std::string& text, double sizePt, double width, double height,
                   double twoLinesMmPerPt, const TextWidth& measure);

// One step of the page: a boxed cell (text at x1 + dx, y1 + dy), or, with boxed false, a
// text printed at (x1 + dx, y1 + dy) with no outline.
struct PrintCell {
    std::string text;
    double x1 = 0, y1 = 0, x2 = 0, y2 = 0;
    double dx = 0, dy = 0;
    TextStyle style;
    bool boxed = true;
    bool wraps = false;  // a long text takes a second line in its box before it is set smaller
};

// The cells of the page in drawing order; a later box is drawn over an earlier one, which
// gives the grid.
std::vector<PrintCell> PrintedReportCells(const ReportModel& model);

// The room a cell's text has: from where it starts to the end of its box or to the first
// box drawn later over the same row to its right, whichever comes first (0: no box).
double TextRoom(const std::vector<PrintCell>& cells, size_t index);

// Draws the page's cells in order.
void DrawPrintedReport(const ReportModel& model, ReportCanvas& canvas);

}  // namespace coldroom
