// State and handlers of the report options " Параметры печати отчета": where the report
// goes, its title and author. Both buttons keep the title and author for the whole run.
#pragma once

#include <functional>
#include <string>

#include "core/controls.h"
#include "core/program_state.h"
#include "core/user_interface.h"
#include "reports/report_input.h"

namespace coldroom {

class MainForm;

// Printing belongs to the toolkit: the desktop program shows the printer dialog with a
// preview and paints the page; PDF files are painted the same way.
class ReportPrinter {
public:
    virtual ~ReportPrinter() = default;
    // Shows the printer dialog and prints the page. A cancelled dialog prints nothing and
    // is no failure. Returns false with a Russian message when printing failed.
    virtual bool PrintPage(const ReportInput& input, std::string& error) = 0;
    // Writes the printed page as a PDF file, atomically.
    virtual bool WritePdf(const std::string& path, const ReportInput& input, std::string& error) = 0;
};

// Everything a report reads, gathered generically from the main window's controls.
ReportInput GatherReportInput(MainForm& main, const ProgramState& state, const std::string& title,
                              const std::string& author, const std::string& dateText);

// Today's date as the user writes it (the C library's locale date format).
std::string ShortDateToday();

enum class ReportKind { Printer, Html, Csv, Pdf };

// Writes one report of the chosen kind. `path` is unused for the printer. Returns false with
// a Russian message; the printer may be null when there is none.
bool MakeReport(ReportKind kind, const std::string& path, const ReportInput& input, ReportPrinter* printer,
                std::string& error);

class PrintOptionsForm {
public:
    PrintOptionsForm(ProgramState& state, MainForm& main, UserInterface& ui, ReportPrinter* printer);
    PrintOptionsForm(const PrintOptionsForm&) = delete;
    PrintOptionsForm& operator=(const PrintOptionsForm&) = delete;

    OptionButton Print_Printer_opt, Print_Html_opt, Print_File_opt, Print_Pdf_opt;
    TextBox NameProject_txt, Company_txt;
    Button OK_btn, Cancel_btn;

    // Every opening starts again from the main window's title and the kept author.
    void Open();
    void OK_btn_Click();
    void Cancel_btn_Click();

    ControlRegistry& controls() { return registry_; }
    std::function<std::string()> today = ShortDateToday;

private:
    void keepTitleAndAuthor();
    void close();

    ProgramState& state_;
    MainForm& main_;
    UserInterface& ui_;
    ReportPrinter* printer_;
    OptionGroup destination_{&Print_Printer_opt, &Print_Html_opt, &Print_File_opt, &Print_Pdf_opt};
    ControlRegistry registry_;
};

}  // namespace coldroom
