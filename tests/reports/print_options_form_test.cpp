#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include "temp_dir.h"
#include "ui/print/print_options_form.h"
#include "ui/program_harness.h"

namespace coldroom {
namespace {

using test::ProgramHarness;

struct FakePrinter : ReportPrinter {
    int pages = 0;
    bool fail = false;
    ReportModel last;
    bool PrintPage(const ReportModel& input, std::string& error) override {
        if (fail) {
            error = "Принтер недоступен";
            return false;
        }
        ++pages;
        last = input;
        return true;
    }
    bool WritePdf(const std::string&, const ReportModel&, std::string&) override { return true; }
    int notes = 0;
    CalculationNote lastNote;
    bool PrintNote(const CalculationNote& note, std::string&) override {
        ++notes;
        lastNote = note;
        return true;
    }
    bool WriteNotePdf(const std::string&, const CalculationNote&, std::string&) override { return true; }
};

struct Options : ProgramHarness {
    FakePrinter printer;
    std::unique_ptr<PrintOptionsForm> form;
    Options() {
        confirm();
        clearMessages();
        form = std::make_unique<PrintOptionsForm>(program().session, main(), ui, &printer);
        form->today = [] { return std::string("07.12.2026"); };
    }
};

using test::ReadBytes;

// A report made keeps where it went and whether it was the note; every opening starts there.
// Отмена keeps nothing.
TEST(PrintOptions, TheOutputAndTheNoteBoxAreKeptFromAReportMade) {
    test::TempDir dir;
    Options o;
    std::vector<std::pair<ReportKind, bool>> kept;
    o.form->onChoiceKept = [&](const PrintOptionsForm::Choice& c) { kept.emplace_back(c.kind, c.note); };
    o.form->Print_Pdf_opt.setValue(true);
    o.form->Cancel_btn_Click();
    o.form->Print_Html_opt.setValue(true);
    o.form->Print_Note_chk.setValue(1);
    o.ui.fileNames.push_back(dir.file("note.html"));
    o.form->OK_btn_Click();
    ASSERT_EQ(kept, (std::vector<std::pair<ReportKind, bool>>{{ReportKind::Html, true}}));

    PrintOptionsForm next(o.program().session, o.main(), o.ui, &o.printer);
    next.choice = {ReportKind::Html, true};
    next.Open();
    EXPECT_TRUE(next.Print_Html_opt.value());
    EXPECT_TRUE(next.Print_Note_chk.value());
    EXPECT_FALSE(next.Print_File_opt.enabled) << "no note in a .csv file";
}

TEST(PrintOptions, OpensWithTheTitleAndTheKeptAuthor) {
    Options o;
    o.program().project().Name_txt = "Камера №2";
    o.form->Open();
    EXPECT_EQ(o.form->NameProject_txt.text, "Камера №2");
    EXPECT_EQ(o.form->Company_txt.text, "Исполнитель");
    EXPECT_TRUE(o.form->Print_Printer_opt.value());
}

// Отмена leaves the project as it was; a report made renames it, marked as a change at once.
TEST(PrintOptions, CancelKeepsNothingAReportKeepsTheTitleAndAuthor) {
    Options o;
    const std::string title = o.main().Name_txt.text;
    o.form->onProjectChanged = [&o] { o.program().NoteChange(); };
    o.form->NameProject_txt.text = "Новое название";
    o.form->Company_txt.text = "ООО «Холод»";
    o.form->Cancel_btn.onClick();
    EXPECT_EQ(o.main().Name_txt.text, title);
    EXPECT_FALSE(o.program().document.modified());
    EXPECT_EQ(o.printer.pages, 0);

    o.form->Open();
    o.form->NameProject_txt.text = "Новое название";
    o.form->Company_txt.text = "ООО «Холод»";
    o.form->OK_btn.onClick();
    EXPECT_EQ(o.program().project().ProjectTitle, "Новое название");
    EXPECT_TRUE(o.program().document.modified());
    o.form->Open();
    EXPECT_EQ(o.form->Company_txt.text, "ООО «Холод»");
    // The next activation shows the kept title too.
    o.main().Activate();
    EXPECT_EQ(o.main().Name_txt.text, "Новое название");
}

TEST(PrintOptions, PrinterGetsEveryFieldAndTheLayerNames) {
    Options o;
    ProgramHarness::enter(o.main().South2_D_txt, "50");  // layer 2 in use on every wall
    o.form->OK_btn.onClick();
    ASSERT_EQ(o.printer.pages, 1);
    const ReportModel& in = o.printer.last;
    EXPECT_EQ(in.length.value, "10");
    EXPECT_EQ(in.total.value, o.main().Total_poteri.text);
    EXPECT_EQ(in.product.value, "Продукт 1");
    EXPECT_EQ(in.heading.date, "07.12.2026");
    EXPECT_TRUE(in.ceilingIsSlab);
    EXPECT_EQ(in.surfaces[kSouth].material[1], "Материал 1");  // in use
    EXPECT_EQ(in.surfaces[kSouth].material[2], "...");         // not
    EXPECT_EQ(in.surfaces[kCeiling].material[1], "...");
    EXPECT_EQ(o.ui.visible.count(WindowId::PrintOptions), 0u);
}

TEST(PrintOptions, HtmlAndCsvGoToTheChosenFile) {
    Options o;
    test::TempDir dir;
    std::string html = dir.file("r.htm"), csv = dir.file("r.csv");
    o.form->Print_Html_opt.setValue(true);
    o.ui.fileNames = {html};
    o.form->OK_btn.onClick();
    EXPECT_NE(ReadBytes(html).find("</BODY></HTML>\r\n"), std::string::npos);
    o.form->Open();
    o.form->Print_File_opt.setValue(true);
    o.ui.fileNames = {csv};
    o.form->OK_btn.onClick();
    EXPECT_EQ(ReadBytes(csv).substr(0, 6), "\xD0\xE0\x63\xF7\xE5\xF2");  // "Раcчет" in Windows-1251, Latin c
    EXPECT_TRUE(o.ui.messages.empty());
}

// The note goes to the printer, HTML or PDF with the margin the results show, never to CSV.
TEST(PrintOptions, TheNoteInPlaceOfTheReport) {
    Options o;
    o.main().DesignMargin = 20;
    o.form->Print_File_opt.setValue(true);
    o.form->Print_Note_chk.setValue(1);
    EXPECT_FALSE(o.form->Print_File_opt.enabled);
    EXPECT_TRUE(o.form->Print_Html_opt.value());
    test::TempDir dir;
    o.ui.fileNames = {dir.file("note.html")};
    o.form->OK_btn.onClick();
    const std::string page = ReadBytes(dir.file("note.html"));
    EXPECT_NE(page.find("<meta charset=\"utf-8\">"), std::string::npos);
    EXPECT_NE(page.find("с запасом 20 %"), std::string::npos);
    // The note box is kept; the project number and the checker reach the note and are handed on
    // to be kept once.
    std::vector<NoteSignature> kept;
    o.form->onSignatureKept = [&](const NoteSignature& s) { kept.push_back(s); };
    o.form->signature = {"П-17", ""};
    o.form->Open();
    EXPECT_EQ(o.form->ProjectNumber_txt.text, "П-17");
    o.form->Checker_txt.text = "Петров";
    o.form->Print_Printer_opt.setValue(true);
    o.form->OK_btn.onClick();
    EXPECT_EQ(kept, (std::vector<NoteSignature>{{"П-17", "Петров"}}));
    EXPECT_EQ(o.printer.notes, 1);
    EXPECT_EQ(o.printer.pages, 0);
    EXPECT_EQ(o.printer.lastNote.heading[1], "Номер проекта: П-17");
    const auto& blocks = o.printer.lastNote.blocks;
    EXPECT_EQ(blocks[blocks.size() - 2].text, "Проверил: ____________________ / Петров /");
    EXPECT_EQ(o.printer.lastNote.Find("capacity")->value, o.main().Capacity_need.text);
    o.form->Print_Note_chk.setValue(0);
    EXPECT_TRUE(o.form->Print_File_opt.enabled);
}

TEST(PrintOptions, FailuresAreReportedAndNothingIsLost) {
    Options o;
    // No file chosen: a message, the options stay open, the title is not taken yet.
    o.form->Print_Html_opt.setValue(true);
    o.form->NameProject_txt.text = "Другое";
    o.form->OK_btn.onClick();
    ASSERT_EQ(o.messageCount(), 1u);
    EXPECT_EQ(o.lastMessage().text, "Файл не выбран!");
    EXPECT_NE(o.main().Name_txt.text, "Другое");

    // A report that cannot be written (a title outside the file's code page) keeps the old
    // file, and the options stay open with the title not taken.
    test::TempDir dir;
    std::string path = dir.file("old.htm");
    std::ofstream(path) << "old";
    o.form->NameProject_txt.text = "Tromsø";
    o.ui.fileNames = {path};
    o.form->OK_btn.onClick();
    EXPECT_EQ(o.messageCount(), 2u);
    EXPECT_EQ(ReadBytes(path), "old");
    EXPECT_NE(o.main().Name_txt.text, "Tromsø");

    // No printer.
    o.form->Print_Printer_opt.setValue(true);
    o.printer.fail = true;
    o.form->OK_btn.onClick();
    EXPECT_EQ(o.messageCount(), 3u);
    EXPECT_EQ(o.lastMessage().text, "Принтер недоступен");
}

}  // namespace
}  // namespace coldroom
