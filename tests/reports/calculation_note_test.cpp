// The calculation note against the result it explains: every figure the results show reads
// the same in the note, its sums add up, the margin line follows the setting alone, and the
// pages carry the page's text.
#include "reports/calculation_note.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <filesystem>
#include <limits>
#include <regex>
#include <sstream>

#include "core/design_margin.h"
#include "core/load_components.h"
#include "core/numtext.h"
#include "files/project_codec.h"
#include "io/cp1251.h"
#include "refdb/database_location.h"
#include "reports/calculation_note_figures.h"
#include "temp_dir.h"

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
            if (comp.id == LoadId::Respiration && !r.task.respiration) continue;
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
        c.project.Cycle_txt = "1e308";         // and a cycle beyond the task's single precision
        c.project.task.RabCoef = std::numeric_limits<float>::infinity();
        c.result = ComputeRoom(c.project, Shipped());
        const std::string page = CalculationNoteHtml(NoteOf(c));
        EXPECT_TRUE(WellFormedUtf8(page)) << velocity;
        EXPECT_EQ(std::count_if(page.begin(), page.end(), [](char ch) { return ch != '\n' && ch >= 0 && ch < 0x20; }), 0)
            << velocity;
        const std::string formula = "αв = 5.83 + 3.95 · v − 0.03 · v² = 5.83 + 3.95 · ";
        const size_t at = page.find(formula);
        ASSERT_NE(at, std::string::npos) << velocity;
        const std::string term = page.substr(at + formula.size(), 40);  // a negative one in brackets
        const double shown = LeadingNumber(term.substr(term[0] == '(' ? 1 : 0));
        EXPECT_NEAR(shown / LeadingNumber(velocity), 1, 1e-14) << velocity;
    }
}

// The summary lists the components of the total from the load table, each with its symbol and
// the number of the section that formed it, and sums them by their symbols.
TEST(CalculationNote, TheSummaryPointsToTheSectionOfEachComponent) {
    for (const Computed& c : TestProjects()) {
        const CalculationNote note = NoteOf(c);
        std::string sum;
        for (LoadId id : PartsOf(LoadId::Total)) {
            const std::string symbol = LoadComponentOf(id).symbol;
            const NoteRow* listed = nullptr;
            for (const NoteBlock& b : note.blocks)
                for (const NoteRow& r : b.rows)
                    if (!listed && r.formula.rfind(symbol, 0) == 0 && r.formula.find("(раздел ") != std::string::npos)
                        listed = &r;
            ASSERT_NE(listed, nullptr) << c.file << ": " << symbol;
            const std::string number = listed->formula.substr(listed->formula.find("(раздел ") + 14);
            const std::string heading = number.substr(0, number.find(')')) + ". ";
            bool formedThere = false, inSection = false;
            for (const NoteBlock& b : note.blocks) {
                if (b.kind == NoteBlock::Kind::Section) inSection = b.text.rfind(heading, 0) == 0;
                for (const NoteRow& r : b.rows)
                    formedThere = formedThere || (inSection && r.formula.rfind(symbol, 0) == 0);
            }
            EXPECT_TRUE(formedThere) << c.file << ": " << symbol << " in " << heading;
            sum += (sum.empty() ? "" : " + ") + symbol;
        }
        bool summed = false;
        for (const NoteBlock& b : note.blocks)
            for (const NoteRow& r : b.rows) summed = summed || std::regex_replace(r.formula, std::regex("′"), "").find(sum) != std::string::npos;
        EXPECT_TRUE(summed) << c.file << ": " << sum;
    }
}

// A figure gets the places the formulas reading it need; a number whose whole part is taken
// never reads as the next whole number; any double prints as text that reads back.
TEST(CalculationNote, FiguresCarryThePlacesTheirFormulasNeed) {
    using namespace note;
    Figures f;
    Figure* k = f.Computed(1 / 0.38337, 4);
    Figure* area = f.Exact(564);
    Figure* difference = f.Computed(84.26100158691406, 3, true);
    Figure* gain = f.BeforeWhole(k->value * 564 * difference->value, 2, true);
    f.Require(Expr(k) * area * difference, gain);
    EXPECT_EQ(f.Fit(), 0);
    EXPECT_GT(k->decimals, 4);
    EXPECT_NEAR(std::stod(k->text()) * 564 * std::stod(difference->text()), std::stod(gain->text()), 0.06);
    for (const auto& [value, text] : std::vector<std::pair<double, std::string>>{
             {365.99996, "365.99996"}, {-2.000004, "-2.000004"}, {12.5, "12.5"}, {-0.0, "0"}})
        EXPECT_EQ(f.BeforeWhole(value, 2)->text(), text);
    struct Printed {
        double value;
        int decimals;
        std::string text;
    };
    for (const Printed& p : std::vector<Printed>{{1e300, 15, "1e+300"}, {-1.5e300, 2, "-1.5e+300"}, {5e-324, 15, "0"},
                                                 {-0.001, 2, "0"}, {2.5, 40, "2.5"}, {std::nan(""), 3, kUndefinedText},
                                                 {-std::numeric_limits<double>::infinity(), 2, kUndefinedText}})
        EXPECT_EQ(Num(p.value, p.decimals), p.text) << p.value;
}

// The heading says which reference data the calculation read: the shipped file or the
// person's edited copy, each with its date.
TEST(CalculationNote, TheHeadingNamesTheReferenceDataRead) {
    test::TempDir home;
    ::setenv("XDG_DATA_HOME", home.path().c_str(), 1);
    const std::string copy = UserDatabasePath(), shipped = home.file("Data.dtx");
    std::filesystem::create_directories(std::filesystem::path(copy).parent_path());
    std::ofstream(copy) << "x";
    std::ofstream(shipped) << "x";
    const std::regex date("\\d\\d\\.\\d\\d\\.\\d{4}");
    EXPECT_EQ(ReferenceDataOrigin(shipped).rfind("справочник, поставляемый с программой (Data.dtx от ", 0), 0u);
    EXPECT_EQ(ReferenceDataOrigin(copy).rfind("справочник, изменённый пользователем (" + copy + ", изменён ", 0), 0u);
    EXPECT_TRUE(std::regex_search(ReferenceDataOrigin(copy), date));
    const Computed known = TestProjects().front();
    const CalculationNote note =
        BuildCalculationNote(known.project, known.result, Shipped(), {{"К", "Иванов", "01.02.2025"}, 0, "П-1", "", copy});
    EXPECT_EQ(note.heading.back(), "Справочные данные: " + ReferenceDataOrigin(copy));
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
