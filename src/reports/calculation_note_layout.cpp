// The calculation note as an HTML page and as A4 pages: the same blocks in the same order, so
// the printed note reads exactly as the page.
#include <algorithm>

#include "core/numtext.h"
#include "io/atomic_file.h"
#include "reports/calculation_note.h"
#include "reports/html_report.h"

namespace coldroom {
namespace {

const char* const kColumnTitles[4] = {"Величина", "Формула, подстановка", "Значение", "Ед. изм."};

const char* const kStyle = R"(body { font-family: "Liberation Sans", Arial, sans-serif; font-size: 10pt; color: #000;
       max-width: 190mm; margin: 1em auto; padding: 0 1em; }
h1 { font-size: 16pt; margin: 0 0 2pt; }
p.title { font-size: 12pt; font-weight: bold; margin: 0 0 4pt; }
p.head { margin: 0; }
h2 { font-size: 12pt; margin: 14pt 0 4pt; }
h3 { font-size: 10.5pt; margin: 10pt 0 3pt; }
p { margin: 3pt 0; }
table { border-collapse: collapse; width: 100%; margin: 3pt 0; table-layout: fixed; }
th, td { border: 1px solid #888; padding: 2pt 4pt; vertical-align: top; text-align: left; }
th { background: #eee; }
td.v { font-weight: bold; overflow-wrap: anywhere; }
div.sign { margin-top: 14pt; break-inside: avoid; }
div.sign p { margin: 8pt 0 0; }
@page { size: A4; margin: 15mm 15mm 18mm;
        @bottom-right { content: "Лист " counter(page) " из " counter(pages); font-size: 8pt; } }
@media print { h2, h3 { break-after: avoid; } tr { break-inside: avoid; } body { margin: 0; } })";

}  // namespace

std::string CalculationNoteHtml(const CalculationNote& note) {
    std::string h;
    auto line = [&](const std::string& text) { h += text + "\n"; };
    line("<!DOCTYPE html>");
    line("<html lang=\"ru\">");
    line("<head>");
    line("<meta charset=\"utf-8\">");
    line("<title>" + std::string(kNoteTitle) + " — " + HtmlEscape(note.title) + "</title>");
    line(std::string("<style>\n") + kStyle + "\n</style>");
    line("</head>");
    line("<body>");
    line(std::string("<h1>") + kNoteTitle + "</h1>");
    line("<p class=\"title\">" + HtmlEscape(note.title) + "</p>");
    for (const std::string& l : note.heading) line("<p class=\"head\">" + HtmlEscape(l) + "</p>");
    for (size_t i = 0; i < note.blocks.size(); ++i) {
        const NoteBlock& b = note.blocks[i];
        const bool signature = b.kind == NoteBlock::Kind::Signature;
        // The signature lines stay together on one page.
        if (signature && (i == 0 || note.blocks[i - 1].kind != NoteBlock::Kind::Signature)) line("<div class=\"sign\">");
        switch (b.kind) {
        case NoteBlock::Kind::Section: line("<h2>" + HtmlEscape(b.text) + "</h2>"); break;
        case NoteBlock::Kind::Subsection: line("<h3>" + HtmlEscape(b.text) + "</h3>"); break;
        case NoteBlock::Kind::Text: line("<p>" + HtmlEscape(b.text) + "</p>"); break;
        case NoteBlock::Kind::Signature: line("<p>" + HtmlEscape(b.text) + "</p>"); break;
        case NoteBlock::Kind::Rows:
            line("<table><colgroup><col style=\"width:31%\"><col style=\"width:45%\"><col style=\"width:14%\">"
                 "<col style=\"width:10%\"></colgroup>");
            line(std::string("<tr><th>") + kColumnTitles[0] + "</th><th>" + kColumnTitles[1] + "</th><th>" +
                 kColumnTitles[2] + "</th><th>" + kColumnTitles[3] + "</th></tr>");
            for (const NoteRow& r : b.rows)
                line("<tr><td>" + HtmlEscape(r.label) + "</td>" +
                     (r.wide() ? "<td colspan=\"2\" class=\"v\">"
                               : "<td>" + HtmlEscape(r.formula) + "</td><td class=\"v\">") +
                     HtmlEscape(r.value) + "</td><td>" + HtmlEscape(r.unit) + "</td></tr>");
            line("</table>");
            break;
        }
        if (signature && (i + 1 == note.blocks.size() || note.blocks[i + 1].kind != NoteBlock::Kind::Signature))
            line("</div>");
    }
    line("</body>");
    line("</html>");
    return h;
}

bool WriteCalculationNoteHtml(const std::string& path, const CalculationNote& note, std::string& error) {
    const std::string page = CalculationNoteHtml(note);
    if (path == kStandardOutput) return WriteToStandardOutput(page, error);
    return WriteFileAtomically(path, page, error);
}

// ---- Pages --------------------------------------------------------------------------------

namespace {

constexpr double kLeft = 20, kRight = 200, kTop = 15, kBottom = 280, kFooterY = 285;
constexpr double kColumns[5] = {kLeft, 78, 155, 181, kRight};  // label, formula, value, unit
constexpr double kPad = 1;         // mm of room inside a cell, left and top
constexpr double kLineFactor = 0.3528 * 1.2;  // mm of line per point of size

const TextStyle kTitleStyle{14, true, false}, kProjectStyle{12, true, false}, kHeadStyle{9, false, false},
    kSectionStyle{11, true, false}, kSubsectionStyle{9.5, true, false}, kTextStyle{8.5, false, false},
    kCellStyle{8, false, false}, kHeaderCellStyle{8, true, false}, kValueStyle{8, true, false};

double lineHeight(const TextStyle& s) { return s.sizePt * kLineFactor; }

// The text in lines no wider than `width`, broken at blanks; a word wider than the line
// stands alone on its own.
std::vector<std::string> wrap(const std::string& text, const TextStyle& style, double width,
                              const StyledWidth& measure) {
    std::vector<std::string> lines;
    std::string current;
    size_t at = 0;
    while (at < text.size()) {
        size_t end = text.find(' ', at);
        if (end == std::string::npos) end = text.size();
        const std::string word = text.substr(at, end - at);
        at = end + 1;
        if (word.empty()) continue;
        const std::string candidate = current.empty() ? word : current + " " + word;
        if (current.empty() || measure(candidate, style) <= width) {
            current = candidate;
        } else {
            lines.push_back(current);
            current = word;
        }
    }
    if (!current.empty() || lines.empty()) lines.push_back(current);
    return lines;
}

class Pages {
public:
    explicit Pages(const StyledWidth& measure) : measure_(measure) { pages_.emplace_back(); }

    // Room for `height` more millimetres on this page, else a new page.
    void need(double height) {
        if (y_ + height > kBottom && y_ > kTop) {
            pages_.emplace_back();
            y_ = kTop;
        }
    }
    void gap(double mm) { y_ += mm; }
    // A paragraph across the page.
    void paragraph(const std::string& text, const TextStyle& style, double keepWithNext = 0) {
        const auto lines = wrap(text, style, kRight - kLeft, measure_);
        const double lh = lineHeight(style);
        need(lh * std::min<size_t>(lines.size(), 2) + keepWithNext);
        for (const std::string& l : lines) {
            need(lh);
            put(l, kLeft, y_, style);
            y_ += lh;
        }
    }
    // One row of the four columns, boxed; `wide`: the value takes the formula's column too.
    void row(const std::array<std::string, 4>& texts, const std::array<TextStyle, 4>& styles, bool wide = false) {
        std::array<double, 5> edge{kColumns[0], kColumns[1], kColumns[2], kColumns[3], kColumns[4]};
        if (wide) edge[2] = edge[1];  // the formula's cell has no width
        std::array<std::vector<std::string>, 4> lines;
        size_t most = 1;
        for (int c = 0; c < 4; ++c) {
            if (edge[c + 1] == edge[c]) continue;
            lines[c] = wrap(texts[c], styles[c], edge[c + 1] - edge[c] - 2 * kPad, measure_);
            most = std::max(most, lines[c].size());
        }
        const double lh = lineHeight(kCellStyle);
        const double height = most * lh + 2 * kPad - 0.4;
        need(height);
        for (int c = 0; c < 4; ++c)
            if (edge[c + 1] > edge[c]) box(edge[c], y_, edge[c + 1], y_ + height);
        for (int c = 0; c < 4; ++c)
            for (size_t i = 0; i < lines[c].size(); ++i)
                if (!lines[c][i].empty()) put(lines[c][i], edge[c] + kPad, y_ + kPad - 0.3 + i * lh, styles[c]);
        y_ += height;
    }
    std::vector<std::vector<PrintCell>> take() {
        const int count = static_cast<int>(pages_.size());
        for (int i = 0; i < count; ++i)
            pages_[i].push_back({NotePageFooter(i + 1, count), 175, kFooterY, 175, kFooterY, 0, 0, kCellStyle, false});
        return std::move(pages_);
    }

private:
    void put(const std::string& text, double x, double y, const TextStyle& style) {
        pages_.back().push_back({text, x, y, x, y, 0, 0, style, false});
    }
    void box(double x1, double y1, double x2, double y2) {
        pages_.back().push_back({"", x1, y1, x2, y2, 0, 0, kCellStyle, true});
    }

    const StyledWidth& measure_;
    std::vector<std::vector<PrintCell>> pages_;
    double y_ = kTop;
};

}  // namespace

std::vector<std::vector<PrintCell>> CalculationNotePages(const CalculationNote& note, const StyledWidth& measure) {
    Pages p(measure);
    p.paragraph(kNoteTitle, kTitleStyle);
    p.gap(1);
    p.paragraph(note.title, kProjectStyle);
    p.gap(1);
    for (const std::string& l : note.heading) p.paragraph(l, kHeadStyle);
    const std::array<TextStyle, 4> header{kHeaderCellStyle, kHeaderCellStyle, kHeaderCellStyle, kHeaderCellStyle};
    const std::array<TextStyle, 4> cells{kCellStyle, kCellStyle, kValueStyle, kCellStyle};
    // A heading keeps the first lines of what it heads on its page.
    const double keep = 3 * lineHeight(kCellStyle);
    // The signature block stays whole, and with the line before it.
    constexpr double kSignatureGap = 3;
    double signatures = 0;
    for (const NoteBlock& b : note.blocks)
        if (b.kind == NoteBlock::Kind::Signature) signatures += kSignatureGap + lineHeight(kHeadStyle);
    for (size_t i = 0; i < note.blocks.size(); ++i) {
        const NoteBlock& b = note.blocks[i];
        const bool beforeSignatures = i + 1 < note.blocks.size() && note.blocks[i + 1].kind == NoteBlock::Kind::Signature;
        switch (b.kind) {
        case NoteBlock::Kind::Section:
            p.gap(4);
            p.paragraph(b.text, kSectionStyle, keep);
            p.gap(1);
            break;
        case NoteBlock::Kind::Subsection:
            p.gap(2.5);
            p.paragraph(b.text, kSubsectionStyle, keep);
            p.gap(0.5);
            break;
        case NoteBlock::Kind::Text:
            p.gap(0.8);
            p.paragraph(b.text, kTextStyle, beforeSignatures ? signatures : 0);
            p.gap(0.8);
            break;
        case NoteBlock::Kind::Signature:
            if (i == 0 || note.blocks[i - 1].kind != NoteBlock::Kind::Signature) p.need(signatures);
            p.gap(kSignatureGap);
            p.paragraph(b.text, kHeadStyle);
            break;
        case NoteBlock::Kind::Rows:
            p.need(2 * lineHeight(kCellStyle) + 4);
            p.row({kColumnTitles[0], kColumnTitles[1], kColumnTitles[2], kColumnTitles[3]}, header);
            for (const NoteRow& r : b.rows) p.row({r.label, r.formula, r.value, r.unit}, cells, r.wide());
            break;
        }
    }
    return p.take();
}

void DrawNotePage(const std::vector<PrintCell>& cells, ReportCanvas& canvas) {
    for (const PrintCell& c : cells) {
        if (c.boxed) canvas.Rectangle(c.x1, c.y1, c.x2, c.y2);
        if (!c.text.empty()) canvas.Text(c.x1 + c.dx, c.y1 + c.dy, c.text, c.style);
    }
}

}  // namespace coldroom
