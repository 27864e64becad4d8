// State and handlers of the report options " Параметры печати отчета": where the report
// goes, its title and author. A report made keeps the title (it is the project's) and the
// author for the whole run; Отмена keeps nothing.
#pragma once

#include <functional>
#include <string>

#include "ui/controls.h"
#include "ui/room_session.h"
#include "ui/user_interface.h"
#include "reports/calculation_note.h"
#include "reports/report_dispatch.h"
#include "reports/report_model.h"

namespace coldroom {

class MainForm;

class PrintOptionsForm {
public:
    PrintOptionsForm(RoomSession& session, MainForm& main, UserInterface& ui, ReportPrinter* printer);
    PrintOptionsForm(const PrintOptionsForm&) = delete;
    PrintOptionsForm& operator=(const PrintOptionsForm&) = delete;

    OptionButton Print_Printer_opt, Print_Html_opt, Print_File_opt, Print_Pdf_opt;
    // The calculation note in place of the report: to the printer, HTML or PDF, not CSV.
    CheckBox Print_Note_chk;
    TextBox NameProject_txt, Company_txt;
    // The note's project number and who checks it: kept between runs (see `signature`).
    TextBox ProjectNumber_txt, Checker_txt;
    Button OK_btn, Cancel_btn;

    // Every opening starts again from the main window's title and the kept author.
    void Open();
    void OK_btn_Click();
    void Cancel_btn_Click();
    void Print_Note_chk_Click();

    ControlRegistry& controls() { return registry_; }
    std::function<std::string()> today = ShortDateToday;
    // What the program kept from an earlier run; Open() shows it, a note made keeps the new texts
    // and hands them to `onSignatureKept` (the desktop program stores them in its settings).
    NoteSignature signature;
    std::function<void(const NoteSignature&)> onSignatureKept;
    // The reference database the results were computed from, for the note's heading.
    std::string databasePath;
    // Where the report went last and whether it was the note: every opening starts from it,
    // and a report made keeps it (the program keeps it among the settings).
    struct Choice {
        ReportKind kind = ReportKind::Printer;
        bool note = false;
    };
    Choice choice;
    std::function<void(const Choice&)> onChoiceKept;
    // The project's title changed (the program updates its modified mark).
    std::function<void()> onProjectChanged;

private:
    void keepTitleAndAuthor();
    void close();

    RoomSession& session_;
    MainForm& main_;
    UserInterface& ui_;
    ReportPrinter* printer_;
    OptionGroup destination_{&Print_Printer_opt, &Print_Html_opt, &Print_File_opt, &Print_Pdf_opt};
    ControlRegistry registry_;
};

}  // namespace coldroom
