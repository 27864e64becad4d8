// coldroom-calc: computes a saved project the way the desktop program shows it after opening
// that file, and prints the results as a table or as JSON.
//
//     coldroom-calc [--db PATH] [--json] [--save OUT.cfg] [--html OUT] [--csv OUT] [--pdf OUT]
//                   [PROJECT.cfg]
//
// A report named "-" goes to standard output in place of the results.
//
// It starts the program as a person would (the task dialog comes up and is confirmed as it
// stands, the main window loads and activates), then runs the Open command on PROJECT.cfg.
// Without a project it shows the start-up project. Messages go to stderr as "title: text";
// questions are answered No.
//
// Exit codes: 0 success, 1 internal error, 2 wrong arguments, 3 the project file could not
// be read, 4 the reference database could not be opened, 5 a file asked for (--save, a
// report) could not be written.
#include <algorithm>
#include <cstdio>
#include <exception>
#include <iostream>
#include <sstream>
#include <string>
#include <string_view>
#include <vector>

#include "app/calc_output.h"
#include "refdb/database_location.h"
#include "refdb/reference_db.h"
#include "reports/report_dispatch.h"
#include "reports/report_pdf.h"
#include "ui/headless_ui.h"
#include "ui/main/commands.h"
#include "ui/print/print_options_form.h"
#include "ui/program.h"

namespace {

using namespace coldroom;

constexpr int kExitOk = 0, kExitInternal = 1, kExitUsage = 2, kExitUnreadable = 3, kExitDatabase = 4,
              kExitNotSaved = 5;
const char* kUsage =
    "Использование: coldroom-calc [--db PATH] [--json] [--save OUT.cfg] [--html OUT] [--csv OUT] [--pdf OUT] "
    "[PROJECT.cfg]";

struct Options {
    std::string database;
    std::string project;
    std::string saveTo;
    std::string html, csv, pdf;  // reports to write
    bool json = false;
    bool help = false;
};

bool parseArguments(int argc, char** argv, Options& options, std::string& error) {
    bool optionsEnd = false;
    for (int i = 1; i < argc; ++i) {
        std::string_view arg = argv[i];
        if (!optionsEnd && arg.size() > 1 && arg[0] == '-') {
            if (arg == "--") {
                optionsEnd = true;
            } else if (arg == "--json") {
                options.json = true;
            } else if (arg == "--help" || arg == "-h") {
                options.help = true;
            } else if (std::string* target = arg == "--db"     ? &options.database
                                             : arg == "--save" ? &options.saveTo
                                             : arg == "--html" ? &options.html
                                             : arg == "--csv"  ? &options.csv
                                             : arg == "--pdf"  ? &options.pdf
                                                               : nullptr) {
                if (i + 1 >= argc || std::string_view(argv[i + 1]).empty()) {
                    error = "после " + std::string(arg) + " нужен путь к файлу";
                    return false;
                }
                *target = argv[++i];
            } else {
                error = "неизвестный параметр " + std::string(arg);
                return false;
            }
        } else if (options.project.empty()) {
            if (arg.empty()) {
                error = "пустое имя файла проекта";
                return false;
            }
            options.project = arg;
        } else {
            error = "указано больше одного файла проекта";
            return false;
        }
    }
    return true;
}

int run(int argc, char** argv) {
    Options options;
    std::string error;
    if (!parseArguments(argc, argv, options, error)) {
        std::cerr << "coldroom-calc: " << error << '\n' << kUsage << '\n';
        return kExitUsage;
    }
    if (options.help) {
        std::cout << kUsage << '\n';
        return kExitOk;
    }
    // "-" sends a report to standard output instead of the results, so it can be piped.
    const int toStdout = (options.html == "-") + (options.csv == "-") + (options.pdf == "-");
    if (toStdout > 1 || (toStdout == 1 && options.json)) {
        std::cerr << "coldroom-calc: на стандартный вывод можно направить только один отчет\n" << kUsage << '\n';
        return kExitUsage;
    }
    if (options.database.empty()) options.database = EffectiveDatabasePath(DefaultDatabasePath());

    HeadlessUi ui;
    ui.echo = &std::cerr;
    Program program(ui, options.database);
    ui.attach(program);

    // The start as a person sees it: the task dialog comes up and is confirmed as it stands.
    if (!program.Start(error)) {
        ui.message(error, kAppTitle, MsgIcon::Critical);
        return kExitDatabase;
    }
    ui.showWindow(WindowId::TaskDialog);
    program.task.OK_btn.onClick();
    if (!program.main.loaded()) return kExitDatabase;  // its loading has said why

    if (!options.project.empty()) {
        ui.fileNames.push_back(options.project);
        std::string detail;
        if (!OpenCommand(program, ui, &detail)) {
            std::cerr << "coldroom-calc: " << options.project << ": " << detail << '\n';
            return kExitUnreadable;
        }
    }
    int status = kExitOk;
    if (!options.saveTo.empty()) {
        ui.fileNames.push_back(options.saveTo);
        if (!SaveCommand(program, ui)) status = kExitNotSaved;
    }
    // Reports as the report options would make them, with the window's title and the author.
    const std::pair<const std::string*, ReportKind> reports[] = {
        {&options.html, ReportKind::Html}, {&options.csv, ReportKind::Csv}, {&options.pdf, ReportKind::Pdf}};
    for (const auto& [path, kind] : reports) {
        if (path->empty()) continue;
        ReportInput input = GatherReportInput(program.main.controls(), program.state,
                                              program.main.Name_txt.text, program.state.ReportAuthor,
                                              ShortDateToday());
        std::string reportError;
        bool written = kind == ReportKind::Pdf ? WriteReportPdf(*path, input, reportError)
                                               : MakeReport(kind, *path, input, nullptr, reportError);
        if (!written) {
            ui.message(reportError, kAppTitle, MsgIcon::Critical);
            status = kExitNotSaved;
        }
    }
    if (options.json)
        PrintJson(std::cout, program, ui);
    else if (toStdout == 0)
        PrintTable(std::cout, program);
    std::cout.flush();
    return status;
}

}  // namespace

int main(int argc, char** argv) {
    try {
        return run(argc, argv);
    } catch (const std::exception& e) {
        std::cerr << "coldroom-calc: внутренняя ошибка: " << e.what() << '\n';
        return kExitInternal;
    }
}
