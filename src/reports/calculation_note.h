// The calculation note («Расчётная записка»): every input and every intermediate value of the
// calculation with its unit and its formula, in the order the calculation takes them, so that
// a reviewer can follow it line by line. Built once from the project, its result (with the
// trace) and the reference tables; written as a UTF-8 HTML page or laid out on A4 pages.
#pragma once

#include <functional>
#include <string>
#include <vector>

#include "reports/printed_report.h"
#include "reports/report_model.h"

namespace coldroom {

inline constexpr const char* kNoteTitle = "Расчётная записка";

// One quantity: what it is, how it is found (the formula with the numbers put in), its value
// and unit. `key` names the figures the results show too ("north", "total"), so that they can
// be checked against them; empty for the others.
struct NoteRow {
    std::string label;
    std::string formula;
    std::string value;
    std::string unit;
    std::string key;
    // A name rather than a number, with no formula: it takes the formula's column too.
    bool wide() const;
};

struct NoteBlock {
    // Signature: one line of the signature block ("Разработал: … / фамилия /").
    enum class Kind { Section, Subsection, Text, Rows, Signature } kind = Kind::Text;
    std::string text;            // a heading, a paragraph or a signature line
    std::vector<NoteRow> rows;   // Kind::Rows
};

struct CalculationNote {
    std::string title;                  // the project's
    std::vector<std::string> heading;   // the kind of calculation, the date, the author
    std::vector<NoteBlock> blocks;

    // The row with `key`, or null.
    const NoteRow* Find(const std::string& key) const;
};

// What the note says besides the calculation: who made it for which project, from which
// reference data, and the capacity margin the results show.
struct NoteOptions {
    ReportHeading heading;      // the project's title, the author, the date
    int marginPercent = 0;      // 0: no line with a margin
    std::string projectNumber;  // "" for none
    std::string checker;        // who checks the calculation; the block leaves a line for a name when ""
    std::string dataPath;       // the reference database the calculation read; "" when unknown
};

// The report options a person fills in once and finds again at the next start.
struct NoteSignature {
    std::string projectNumber, checker;
    bool operator==(const NoteSignature&) const = default;
};

CalculationNote BuildCalculationNote(const RoomProject& project, const RoomResult& result, const ReferenceData& data,
                                     const NoteOptions& options);
inline CalculationNote BuildCalculationNote(const RoomProject& project, const RoomResult& result,
                                            const ReferenceData& data, const ReportHeading& heading,
                                            int marginPercent) {
    return BuildCalculationNote(project, result, data, NoteOptions{heading, marginPercent, {}, {}, {}});
}

// Where the reference data at `path` comes from, as the note's heading says it: the shipped
// file or the person's edited copy, with the date it was last written.
std::string ReferenceDataOrigin(const std::string& path);

// The whole page (UTF-8, LF line ends).
std::string CalculationNoteHtml(const CalculationNote& note);
// Writes the page to `path` ("-": standard output), replacing a file atomically.
bool WriteCalculationNoteHtml(const std::string& path, const CalculationNote& note, std::string& error);

// The width in millimetres of a text set in a style.
using StyledWidth = std::function<double(const std::string& text, const TextStyle& style)>;
// The note on A4 pages, drawing order, texts wrapped to their columns by `measure`. The last
// line of every page is its number: "Лист 2 из 5".
std::vector<std::vector<PrintCell>> CalculationNotePages(const CalculationNote& note, const StyledWidth& measure);

// Draws one of those pages: the boxes and the texts, each text at full size (the layout
// already fitted it).
void DrawNotePage(const std::vector<PrintCell>& cells, ReportCanvas& canvas);

// The footer line of a page.
std::string NotePageFooter(int page, int pages);

}  // namespace coldroom
