// The calculation note against the result it explains: every figure the results show reads
// the same in the note, its sums add up, the margin line follows the setting alone, and the
// pages carry the page's text.
#include "reports/calculation_note.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <filesystem>
#include <regex>
#include <sstream>

#include "core/design_margin.h"
#include "core/load_components.h"
#include "core/numtext.h"
#include "files/project_codec.h"
#include "io/cp1251.h"

namespace coldroom {
namespace {

struct Computed {
    std::string file;
    RoomProject project;
    RoomResult result;
};

const ReferenceData& Shipped() {
    static const auto data = [] {
        std::string error;
        auto d = LoadReferenceData(std::string(COLDROOM_BIN_DIR) + "/Data.dtx", error);
        if (!d) throw std::runtime_error(error);
        return d;
    }();
    return *data;
}

std::vector<Computed> TestProjects() {
    std::vector<std::string> files{std::string(COLDROOM_TEST_DATA) + "/projects/known.cfg"};
    for (const auto& e : std::filesystem::directory_iterator(std::string(COLDROOM_TEST_DATA) + "/scenarios"))
        files.push_back((e.path() / "project.cfg").string());
    std::vector<Computed> out;
    for (const std::string& f : files) {
        Computed c{f, {}, {}};
        std::string error;
        if (!ReadProject(f, Shipped(), c.project, error)) throw std::runtime_error(f + ": " + error);
        c.result = ComputeRoom(c.project, Shipped());
        out.push_back(std::move(c));
    }
    return out;
}

CalculationNote NoteOf(const Computed& c, int margin = kDefaultDesignMargin) {
    return BuildCalculationNote(c.project, c.result, Shipped(), {"Камера", "Автор", "01.02.2025"}, margin);
}

double Value(const CalculationNote& note, const std::string& key) {
    const NoteRow* row = note.Find(key);
    if (!row) throw std::runtime_error("no row " + key);
    return LeadingNumber(row->value);
}

TEST(CalculationNote, EveryFigureIsTheResultsOwnAndTheSumsAddUp) {
    for (const Computed& c : TestProjects()) {
        const CalculationNote note = NoteOf(c);
        const RoomResult& r = c.result;
        for (const LoadComponent& comp : LoadComponents()) {
            if (comp.id == LoadId::Respiration && !c.project.task.Cheese) continue;
            const NoteRow* row = note.Find(comp.jsonKey);
            ASSERT_NE(row, nullptr) << c.file << ": " << comp.jsonKey;
            EXPECT_EQ(row->value, LoadText(comp.value(r.loads))) << c.file << ": " << comp.jsonKey;
        }
        EXPECT_EQ(note.Find("walls")->value, LoadText(r.wallTotal)) << c.file;
        EXPECT_EQ(note.Find("storage")->value, GeneralText(r.storageCapacity)) << c.file;
        EXPECT_EQ(note.Find("margin")->value, DesignMarginKilowatts(r.loads.capacity, kDefaultDesignMargin));
        const CoolingTimeTexts times = CoolingTimeCaptions(c.project, r);
        EXPECT_EQ(note.Find("time.total")->value, times.total) << c.file;

        EXPECT_EQ(Value(note, "north") + Value(note, "south") + Value(note, "east") + Value(note, "west"),
                  Value(note, "walls"))
            << c.file;
        EXPECT_EQ(Value(note, "walls") + Value(note, "ceiling") + Value(note, "floor"), Value(note, "envelope"))
            << c.file;
        if (!r.loads.capacity.defined) continue;
        const double parts = Value(note, "envelope") + Value(note, "product") + Value(note, "packaging");
        if (r.trace.totals.autoFans) {  // the fans' heat joins the operation and the total once
            EXPECT_EQ(IntFloor(parts + IntFloor(r.trace.operation.sum) + Value(note, "fans")), Value(note, "total"));
        } else {
            EXPECT_DOUBLE_EQ(AsShown(parts + Value(note, "operation")), Value(note, "total")) << c.file;
        }
        EXPECT_EQ(IntFloor(Value(note, "total") * 100 / LeadingNumber(c.project.Cycle_txt)), Value(note, "capacity"));
    }
}

TEST(CalculationNote, TheMarginAddsItsLineAndChangesNothingElse) {
    const Computed known = TestProjects().front();
    const CalculationNote none = NoteOf(known, 0), ten = NoteOf(known, 10), quarter = NoteOf(known, 25);
    EXPECT_EQ(none.Find("margin"), nullptr);
    EXPECT_EQ(ten.Find("margin")->value, "3.32");     // 3022 W with 10 %
    EXPECT_EQ(quarter.Find("margin")->value, "3.78");  // and with 25 %
    auto withoutMargin = [](CalculationNote n) {
        for (NoteBlock& b : n.blocks)
            std::erase_if(b.rows, [](const NoteRow& r) { return r.key == "margin"; });
        return CalculationNoteHtml(n);
    };
    EXPECT_EQ(withoutMargin(ten), CalculationNoteHtml(none));
    EXPECT_EQ(withoutMargin(quarter), CalculationNoteHtml(none));
    EXPECT_EQ(DesignMarginLine(LoadValue::of(3022), 0), "");
    EXPECT_EQ(DesignMarginLine(LoadValue::undefined("нет"), 10), "с запасом 10 %: — кВт");
}

// Values far beyond their ranges, kept as a file held them, are written out whole, and control
// characters a text kept become blanks: the page stays UTF-8 text with nothing of the
// program's memory in it.
TEST(CalculationNote, HugeValuesAreWrittenWhole) {
    for (const char* velocity : {"1e61", "1e200", "1.7976931348623157e308", "-1e300"}) {
        Computed c = TestProjects().front();
        c.project.task.Velocity_txt = velocity;
        c.project.Door_Open_txt = "9\t\x01";  // kept as a file held it
        c.result = ComputeRoom(c.project, Shipped());
        const std::string page = CalculationNoteHtml(NoteOf(c));
        EXPECT_TRUE(WellFormedUtf8(page)) << velocity;
        EXPECT_EQ(std::count_if(page.begin(), page.end(), [](char ch) { return ch != '\n' && ch >= 0 && ch < 0x20; }), 0)
            << velocity;
        char whole[400];
        std::snprintf(whole, sizeof whole, "%.0f", LeadingNumber(velocity));
        EXPECT_NE(page.find("при v = " + std::string(whole) + " м/с"), std::string::npos) << velocity;
    }
}

// The pages hold the page's words in the page's order, whatever the widths of the letters.
TEST(CalculationNote, PagesCarryTheTextOfThePage) {
    const Computed c = TestProjects().front();
    const CalculationNote note = NoteOf(c);
    std::string page = CalculationNoteHtml(note);
    page = page.substr(page.find("<body>"));
    page = std::regex_replace(page, std::regex("<[^>]*>"), " ");
    for (const auto& [entity, text] : {std::pair{"&lt;", "<"}, {"&gt;", ">"}, {"&quot;", "\""}, {"&amp;", "&"}})
        page = std::regex_replace(page, std::regex(entity), text);
    for (double mmPerPt : {0.15, 0.3}) {
        const StyledWidth measure = [mmPerPt](const std::string& text, const TextStyle& style) {
            return mmPerPt * style.sizePt * static_cast<double>(text.size());
        };
        const auto pages = CalculationNotePages(note, measure);
        ASSERT_GT(pages.size(), 1u);
        std::string drawn;
        for (size_t i = 0; i < pages.size(); ++i)
            for (const PrintCell& cell : pages[i]) {
                EXPECT_LE(cell.y2, kPageHeightMm - 5) << cell.text;
                if (cell.text != NotePageFooter(static_cast<int>(i) + 1, static_cast<int>(pages.size())))
                    drawn += cell.text + " ";
            }
        std::istringstream a(page), b(drawn);
        std::vector<std::string> pageWords, drawnWords;
        for (std::string w; a >> w;) pageWords.push_back(w);
        for (std::string w; b >> w;) drawnWords.push_back(w);
        EXPECT_EQ(drawnWords, pageWords) << mmPerPt;
    }
}

}  // namespace
}  // namespace coldroom
