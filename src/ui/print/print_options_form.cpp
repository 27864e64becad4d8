#include "ui/print/print_options_form.h"

#include "ui/main/main_form.h"

namespace coldroom {

PrintOptionsForm::PrintOptionsForm(RoomSession& session, MainForm& main, UserInterface& ui, ReportPrinter* printer)
    : session_(session), main_(main), ui_(ui), printer_(printer) {
    OK_btn.caption = "Печать";
    Cancel_btn.caption = "Отмена";
    OK_btn.onClick = [this] { OK_btn_Click(); };
    Cancel_btn.onClick = [this] { Cancel_btn_Click(); };
    Print_Note_chk.onClick = [this] { Print_Note_chk_Click(); };
    registry_.add("Print_Printer_opt", &Print_Printer_opt);
    registry_.add("Print_Html_opt", &Print_Html_opt);
    registry_.add("Print_File_opt", &Print_File_opt);
    registry_.add("Print_Pdf_opt", &Print_Pdf_opt);
    registry_.add("Print_Note_chk", &Print_Note_chk);
    registry_.add("NameProject_txt", &NameProject_txt);
    registry_.add("Company_txt", &Company_txt);
    registry_.add("ProjectNumber_txt", &ProjectNumber_txt);
    registry_.add("Checker_txt", &Checker_txt);
    registry_.add("OK_btn", &OK_btn);
    registry_.add("Cancel_btn", &Cancel_btn);
    Open();
}

void PrintOptionsForm::Open() {
    OptionButton* const outputs[] = {&Print_Printer_opt, &Print_Html_opt, &Print_File_opt, &Print_Pdf_opt};
    outputs[static_cast<int>(choice.kind)]->setValue(true);
    Print_Note_chk.setValue(choice.note);
    NameProject_txt.text = session_.project.Name_txt;
    Company_txt.text = session_.project.ReportAuthor;
    ProjectNumber_txt.text = signature.projectNumber;
    Checker_txt.text = signature.checker;
}

void PrintOptionsForm::keepTitleAndAuthor() {
    session_.project.ProjectTitle = NameProject_txt.text;
    session_.project.Name_txt = NameProject_txt.text;
    session_.project.ReportAuthor = Company_txt.text;
    main_.Show();
    if (onProjectChanged) onProjectChanged();
}

void PrintOptionsForm::OK_btn_Click() {
    ReportKind kind = Print_Html_opt.value()  ? ReportKind::Html
                      : Print_File_opt.value() ? ReportKind::Csv
                      : Print_Pdf_opt.value()  ? ReportKind::Pdf
                                               : ReportKind::Printer;
    const bool note = Print_Note_chk.value();
    std::string path;
    if (kind == ReportKind::Html)
        path = ui_.saveFileName(note ? "Файлы HTML (*.html) | *.html" : "Файлы HTML (*.htm) | *.htm");
    if (kind == ReportKind::Csv) path = ui_.saveFileName("Файлы отчетов (*.csv) | *.csv");
    if (kind == ReportKind::Pdf) path = ui_.saveFileName("Документы PDF (*.pdf) | *.pdf");
    const ReportHeading heading{NameProject_txt.text, Company_txt.text, today()};
    std::string error;
    const bool made =
        note ? MakeNote(kind, path,
                        BuildCalculationNote(session_.project, session_.result, *session_.data,
                                             NoteOptions{heading, main_.DesignMargin, ProjectNumber_txt.text,
                                                         Checker_txt.text, databasePath}),
                        printer_, error)
             : MakeReport(kind, path, BuildReportModel(session_.project, session_.result, *session_.data, heading),
                          printer_, error);
    if (!made) {
        ui_.message(error, kAppTitle, MsgIcon::Critical);
        return;  // the options stay open so the person can choose another place
    }
    keepTitleAndAuthor();
    const NoteSignature typed{ProjectNumber_txt.text, Checker_txt.text};
    if (note && typed != signature) {
        signature = typed;
        if (onSignatureKept) onSignatureKept(signature);
    }
    choice = {kind, note};
    if (onChoiceKept) onChoiceKept(choice);
    close();
}

void PrintOptionsForm::Print_Note_chk_Click() {
    const bool note = Print_Note_chk.value();
    if (note && Print_File_opt.value()) Print_Html_opt.setValue(true);
    Print_File_opt.enabled = !note;
}

// Отмена (and Escape) leave the project as it was.
void PrintOptionsForm::Cancel_btn_Click() { close(); }

void PrintOptionsForm::close() { ui_.hideWindow(WindowId::PrintOptions); }

}  // namespace coldroom
