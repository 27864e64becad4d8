#include "reports/store_page.h"

#include <algorithm>


namespace coldroom {
namespace {

constexpr double kLeft = 10, kRight = kLandscapeWidthMm - 10, kTop = 10, kBottom = kLandscapeHeightMm - 12;
constexpr double kHeadHeight = 10, kRowHeight = 7, kLineHeight = 4.5;
constexpr double kSettingsChars = 185;  // characters of a settings line at 8 pt across the page

const TextStyle kTitle{12, true, false}, kText{8, false, false}, kHead{6.5, true, false}, kCell{7, false, false},
    kBold{7, true, false};

// How a column of the sheet is set on the page: its width and the head it prints, shortened
// where the sheet's own would not fit. The load components' columns carry their own; the last
// column takes what is left.
struct PageColumn {
    const char* head;  // the sheet's head
    double width;
    const char* shown;  // nullptr: the head as it is
};
const PageColumn kPageColumns[] = {
    {"Камера", 40, nullptr}, {"Файл", 24, nullptr}, {"Количество", 10, "Кол."}, {"Объем, м3", 12, nullptr}, {"Температура, °C", 11, "Темп., °C"},
    {"Уровень", 13, nullptr}, {"Δt, K", 10, nullptr}, {"На компрессоры", 17, nullptr},
};
constexpr double kMarginColumn = 28;  // "с запасом N %, кВт"

double widthOf(const StoreColumn& c) {
    if (c.pageWidth > 0) return c.pageWidth;
    for (const PageColumn& p : kPageColumns)
        if (c.head == p.head) return p.width;
    return kMarginColumn;
}

std::string headText(const StoreColumn& c) {
    if (c.pageHead) return c.pageHead;
    for (const PageColumn& p : kPageColumns)
        if (c.head == p.head && p.shown) return p.shown;
    return c.head;
}

// A figure's width in digits: the dash of an undefined value is about two.
double ems(const std::string& text) {
    double n = 0;
    for (char c : text)
        if ((static_cast<unsigned char>(c) & 0xC0) != 0x80) n += static_cast<unsigned char>(c) < 0x80 ? 1 : 1.8;
    return n;
}

// Splits a sentence into lines of about `chars` characters at blanks.
std::vector<std::string> wrapped(const std::string& text, double chars) {
    std::vector<std::string> lines;
    std::string line;
    std::size_t count = 0;
    std::size_t at = 0;
    while (at < text.size()) {
        std::size_t next = text.find(' ', at);
        if (next == std::string::npos) next = text.size();
        const std::string word = text.substr(at, next - at);
        const std::size_t n = static_cast<std::size_t>(
            std::count_if(word.begin(), word.end(), [](char c) { return (static_cast<unsigned char>(c) & 0xC0) != 0x80; }));
        if (!line.empty() && static_cast<double>(count + 1 + n) > chars) {
            lines.push_back(line);
            line.clear();
            count = 0;
        }
        line += (line.empty() ? "" : " ") + word;
        count += n + (count ? 1 : 0);
        at = next + 1;
    }
    if (!line.empty()) lines.push_back(line);
    return lines;
}

class Pages {
public:
    explicit Pages(const StoreSheet& sheet) : sheet_(sheet) { newPage(); }

    void text(const std::string& t, double x, double y, const TextStyle& style) {
        page().push_back({t, x, y, x, y, 0, 0, style, false});
    }
    void box(const std::string& t, double x1, double y1, double x2, double y2, const TextStyle& style, bool number,
             bool wraps = false) {
        // A figure stands at the right of its box; the painter has no alignment, so its place
        // is estimated from its length (figures and points are about half an em wide).
        double dx = 1.2;
        if (number) dx = std::max(1.2, x2 - x1 - 1.2 - 0.56 * style.sizePt * 0.3528 * ems(t));
        page().push_back({t, x1, y1, x2, y2, dx, 1.6, style, true, wraps});
    }
    // A table: the head row, then the rows, a new page (with the head again) where they run out.
    void table(const std::vector<StoreColumn>& columns, const std::vector<std::size_t>& shown,
               const std::vector<std::vector<std::string>>& rows, bool boldLast) {
        std::vector<double> x{kLeft};
        for (std::size_t i = 0; i < shown.size(); ++i)
            x.push_back(x.back() + widthOf(columns[shown[i]]));
        auto head = [&] {
            for (std::size_t i = 0; i < shown.size(); ++i)
                box(headText(columns[shown[i]]), x[i], y_, x[i + 1], y_ + kHeadHeight, kHead, false, true);
            y_ += kHeadHeight;
        };
        if (y_ + kHeadHeight + kRowHeight > kBottom) newPage();
        head();
        for (std::size_t r = 0; r < rows.size(); ++r) {
            if (y_ + kRowHeight > kBottom) {
                newPage();
                head();
            }
            const TextStyle& style = boldLast && r + 1 == rows.size() ? kBold : kCell;
            // A room's title may take two lines.
            for (std::size_t i = 0; i < shown.size(); ++i)
                box(rows[r][shown[i]], x[i], y_, x[i + 1], y_ + kRowHeight, style, columns[shown[i]].number,
                    !columns[shown[i]].number);
            y_ += kRowHeight;
        }
        y_ += 5;
    }
    void lines(const std::vector<std::string>& sentences) {
        for (const std::string& sentence : sentences) {
            if (sentence.empty()) y_ += kLineHeight;
            for (const std::string& line : wrapped(sentence, kSettingsChars)) {
                if (y_ + kLineHeight > kBottom) newPage();
                text(line, kLeft, y_, kText);
                y_ += kLineHeight;
            }
        }
    }
    void pageBreak() {
        if (y_ > kTop + 9) newPage();
    }
    std::vector<StorePage> take() {
        // Page numbers, once the number of pages is known.
        for (std::size_t i = 0; pages_.size() > 1 && i < pages_.size(); ++i)
            pages_[i].push_back({"Лист " + std::to_string(i + 1) + " из " + std::to_string(pages_.size()), kRight - 22,
                                 kLandscapeHeightMm - 8, kRight - 22, kLandscapeHeightMm - 8, 0, 0, kText, false});
        return std::move(pages_);
    }

private:
    StorePage& page() { return pages_.back(); }
    void newPage() {
        pages_.emplace_back();
        y_ = kTop;
        text("Холодильник: " + sheet_.title, kLeft, y_, kTitle);
        text("Дата: " + sheet_.dateText, kRight - 40, y_ + 1, kText);
        y_ += 9;
    }

    const StoreSheet& sheet_;
    std::vector<StorePage> pages_;
    double y_ = kTop;
};

}  // namespace

std::vector<StorePage> StorePages(const StoreSheet& sheet) {
    Pages pages(sheet);
    // The surfaces are summed in the envelope's column; the rooms' notes follow the table.
    std::vector<std::size_t> roomColumns, levelColumns;
    const std::size_t note = sheet.roomColumns.size() - 1;
    for (std::size_t c = 0; c < note; ++c)
        if (!sheet.roomColumns[c].surface) roomColumns.push_back(c);
    for (std::size_t c = 0; c < sheet.levelColumns.size(); ++c) levelColumns.push_back(c);
    pages.lines({"Камеры, теплопритоки в Вт (через ограждения — сумма стен, пола и потолка)"});
    pages.table(sheet.roomColumns, roomColumns, sheet.rooms, false);
    std::vector<std::string> notes;
    for (const auto& row : sheet.rooms)
        if (!row[note].empty()) notes.push_back("Камера «" + row[1] + "»: " + row[note]);
    if (!notes.empty()) {
        pages.lines(notes);
        pages.lines({""});
    }
    pages.lines({"Уровни (холодильные машины)"});
    pages.table(sheet.levelColumns, levelColumns, sheet.levels, true);
    pages.lines(sheet.settings);
    notes.clear();
    for (const std::string& n : sheet.notes) notes.push_back("Внимание: " + n);
    pages.lines(notes);
    // The plant and its energy from a page of their own.
    if (!sheet.parts.empty()) pages.pageBreak();
    for (const SheetPart& part : sheet.parts) {
        pages.lines({part.caption});
        std::vector<std::size_t> all(part.columns.size());
        for (std::size_t c = 0; c < all.size(); ++c) all[c] = c;
        if (!part.columns.empty()) pages.table(part.columns, all, part.rows, part.boldLast);
        pages.lines(part.lines);
        pages.lines({""});
    }
    return pages.take();
}

void DrawCells(const StorePage& cells, ReportCanvas& canvas) {
    for (std::size_t i = 0; i < cells.size(); ++i) {
        const PrintCell& c = cells[i];
        if (c.boxed) canvas.Rectangle(c.x1, c.y1, c.x2, c.y2);
        const double room = c.boxed ? std::max(0.0, c.x2 - c.x1 - c.dx - 0.5) : 0;
        if (c.wraps)
            canvas.WrappedText(c.x1 + c.dx, c.y1 + c.dy, c.text, c.style, room, c.y1, c.y2);
        else
            canvas.Text(c.x1 + c.dx, c.y1 + c.dy, c.text, c.style, room);
    }
}

}  // namespace coldroom
