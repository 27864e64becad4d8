// coldroom-calc: computes a saved project the way the desktop program shows it after opening
// that file, and prints the results as a table or as JSON.
//
//     coldroom-calc [--db PATH] [--json] [--save OUT.cfg] [--html OUT] [--csv OUT] [--pdf OUT]
//                   [--note OUT] [--margin N] [--set NAME=TEXT]... [--vary NAME=FROM:TO:STEP]...
//                   [PROJECT.cfg...]
//     coldroom-calc --restore-reference-data
//     coldroom-calc [--db PATH] [--json] [--energy] [--insulation FROM:TO:STEP] [--insulation-room FILE]
//                   [--html OUT] [--csv OUT] [--pdf OUT] --store STORE.coldstore
//     coldroom-calc --help | --version
//
// A report named "-" goes to standard output in place of the results.
//
// It starts the program as a person would (the task dialog comes up and is confirmed as it
// stands, the main window loads and activates), then runs the Open command on PROJECT.cfg.
// Without a project it shows the start-up project. --set enters values as a person does;
// --vary runs a study and several projects give a summary (calc_study.h). Messages go to
// stderr as "title: text"; questions are answered No.
//
// Exit codes: 0 success, 1 internal error, 2 wrong arguments, 3 the project file could not
// be read, 4 the reference database could not be opened, 5 a file asked for (--save, a
// report) could not be written, 6 a value given with --set was not taken (refused by its
// check, or no choice of the list or check box).
#include <algorithm>
#include <cctype>
#include <cmath>
#include <cstdio>
#include <exception>
#include <iostream>
#include <sstream>
#include <string>
#include <string_view>
#include <vector>

#include "app/calc_options.h"
#include "app/calc_output.h"
#include "app/calc_pdf.h"
#include "app/calc_store.h"
#include "app/calc_study.h"
#include "core/design_margin.h"
#include "io/settings_file.h"
#include "core/numtext.h"
#include "refdb/database_location.h"
#include "refdb/reference_db.h"
#include "reports/calculation_note.h"
#include "reports/report_dispatch.h"
#include "reports/report_model.h"
#include "ui/headless_ui.h"
#include "ui/main/commands.h"
#include "ui/program.h"

namespace {

using namespace coldroom;

constexpr int kExitOk = 0, kExitInternal = 1, kExitUsage = 2, kExitDatabase = 4,
              kExitNotSaved = 5;
const char* kUsage =
    "Использование: coldroom-calc [--db PATH] [--json] [--save OUT.cfg] [--html OUT] [--csv OUT] [--pdf OUT] "
    "[--note OUT] [--margin N] [--title ТЕКСТ] [--author ТЕКСТ] [--set ИМЯ=ТЕКСТ]... [--vary ИМЯ=ОТ:ДО:ШАГ]... [--restore-reference-data] "
    "[PROJECT.cfg... | --store STORE.coldstore [--energy] [--insulation ОТ:ДО:ШАГ] [--insulation-room ФАЙЛ]]";
const char* kHelp =
    "Рассчитывает проект ColdRoom (файл .cfg) так, как его показывает программа после открытия,\n"
    "и выводит теплопритоки и требуемую холодопроизводительность. Без проекта рассчитывается\n"
    "начальный проект.\n"
    "\n"
    "Параметры:\n"
    "  --db PATH      справочная база данных (по умолчанию — ваша измененная копия\n"
    "                 ~/.local/share/coldroom/Data.dtx, если она есть, иначе база данных программы)\n"
    "  --json         вывести результаты в формате JSON вместо таблицы\n"
    "  --save OUT.cfg сохранить проект в файл, как команда «Сохранить конфигурацию»\n"
    "  --html OUT     записать отчет в формате HTML\n"
    "  --csv OUT      записать отчет в файл .csv (формат Excel)\n"
    "  --pdf OUT      записать отчет в файл PDF (страница A4)\n"
    "  --note OUT     записать расчётную записку: HTML (UTF-8), а если OUT оканчивается на .pdf — PDF\n"
    "  --margin N     запас к требуемой холодопроизводительности в таблице, записке и сводке\n"
    "                 холодильника, % (0–100; по умолчанию — запас из настроек программы, а без них 10;\n"
    "                 0 — не показывать)\n"
    "  --title ТЕКСТ  название проекта в заголовке отчетов и записки (по умолчанию — из проекта)\n"
    "  --author ТЕКСТ исполнитель в отчетах и записке (по умолчанию — из проекта)\n"
    "  --set ИМЯ=ТЕКСТ  ввести значение в поле ИМЯ, как человек (Enter и переход к другому полю);\n"
    "                 для списка — номер позиции, для переключателя и флажка — 1 или 0;\n"
    "                 поля окна задачи — с приставкой Produkt.\n"
    "  --vary ИМЯ=ОТ:ДО:ШАГ  исследование параметра: расчет для каждого значения (два --vary — сетка);\n"
    "                 Panels_D — толщина первого слоя всех стен, потолка и пола\n"
    "  несколько проектов — сводная таблица по всем\n"
    "  --restore-reference-data  вернуться к исходным справочным данным программы; измененная\n"
    "                 копия не удаляется, а сохраняется рядом как Data.dtx.broken-ДАТА\n"
    "  --store FILE   холодильник: камеры, суммы по уровням (машинам) и нагрузка на компрессоры;\n"
    "                 с --json, --html, --csv, --pdf — его отчеты, с установкой и электроэнергией\n"
    "                 (CSV — с десятичной запятой)\n"
    "  --energy       с --store: напечатать и установку по уровням кипения, годовую электроэнергию\n"
    "                 и исследование толщины панелей; --html пишет расчетную записку холодильника\n"
    "  --insulation ОТ:ДО:ШАГ  с --energy: толщины первого слоя изоляции для исследования, мм\n"
    "                 (по умолчанию 50:250:25)\n"
    "  --insulation-room ФАЙЛ  с --energy: исследовать толщину только этой камеры (файл, как в\n"
    "                 таблице холодильника); без него — всех камер\n"
    "  -h, --help     показать эту справку\n"
    "  --version      показать версию программы\n"
    "\n"
    "Коды завершения: 0 — готово, 1 — внутренняя ошибка, 2 — неверные параметры,\n"
    "3 — не удается прочитать файл проекта (или холодильника, или файл одной из его камер),\n"
    "4 — не удается открыть справочную базу данных,\n"
    "5 — не удается записать файл (--save, отчет), 6 — значение --set не принято (отклонено\n"
    "проверкой поля или нет такой позиции списка, у флажка — не 0 и не 1).\n";

// The calculation note: a PDF when the name ends in .pdf, else the HTML page.
bool WriteNote(Program& program, const std::string& path, int margin, const ReportHeading& heading, HeadlessUi& ui) {
    const CalculationNote note = BuildCalculationNote(program.project(), program.session.result, program.data(),
                                                      NoteOptions{heading, margin, {}, {}, program.databasePath()});
    std::string lower = path;
    for (char& c : lower) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    const bool pdf = lower.size() > 4 && lower.compare(lower.size() - 4, 4, ".pdf") == 0;
    std::string error;
    if (pdf ? WriteNotePdfOnDemand(path, note, error) : WriteCalculationNoteHtml(path, note, error)) return true;
    ui.message(error, kAppTitle, MsgIcon::Critical);
    return false;
}

int run(int argc, char** argv) {
    CalcOptions options;
    std::string error;
    if (!ParseCalcArguments(argc, argv, options, error)) {
        std::cerr << "coldroom-calc: " << error << '\n' << kUsage << '\n';
        return kExitUsage;
    }
    if (options.margin < 0) {
        // The margin the person set in the desktop program, so that both show one capacity.
        double percent = -1;
        const auto kept = ReadSettingsValue(UserSettingsFile(), "calculation/designMargin");
        options.margin = kept && StrictNumber(*kept, percent) && percent == std::floor(percent) && percent >= 0 &&
                                 percent <= kMaxDesignMargin
                             ? static_cast<int>(percent)
                             : kDefaultDesignMargin;
    }
    if (options.help) {
        std::cout << kUsage << "\n\n" << kHelp;
        return kExitOk;
    }
    if (options.version) {
        std::cout << "coldroom-calc " << COLDROOM_VERSION << '\n';
        return kExitOk;
    }
    // "-" sends a report to standard output instead of the results, so it can be piped.
    const int toStdout = (options.html == "-") + (options.csv == "-") + (options.pdf == "-") + (options.note == "-");
    if (toStdout > 1 || (toStdout == 1 && options.json)) {
        std::cerr << "coldroom-calc: на стандартный вывод можно направить только один отчет\n" << kUsage << '\n';
        return kExitUsage;
    }
    if (options.restore) {
        if (!options.database.empty()) {
            std::cerr << "coldroom-calc: --restore-reference-data восстанавливает справочные данные программы, "
                         "а не файл --db\n"
                      << kUsage << '\n';
            return kExitUsage;
        }
        const std::string kept = MoveCopyAside(UserDatabasePath(), "broken", error);
        if (!error.empty()) {
            std::cerr << "coldroom-calc: " << error << '\n';
            return kExitDatabase;
        }
        std::cerr << "coldroom-calc: "
                  << (kept.empty() ? "измененной копии справочных данных нет, программа работает с исходными данными."
                                   : "восстановлены исходные справочные данные; прежняя копия сохранена как «" +
                                         kept + "».")
                  << '\n';
        // Alone, the option only restores.
        const bool moreToDo = !options.project.empty() || !options.settings.empty() || !options.axes.empty() ||
                              !options.saveTo.empty() || !options.html.empty() || !options.csv.empty() ||
                              !options.pdf.empty() || !options.note.empty() || options.json || !options.store.empty();
        if (!moreToDo) return kExitOk;
    }
    if (options.database.empty()) {
        const StartupDatabase found = CheckStartupDatabase(DefaultDatabasePath(), UserDatabasePath(), false);
        if (found.state == StartupDatabase::State::Broken) {
            std::cerr << "coldroom-calc: измененные справочные данные «" << found.copy << "» не загружаются:\n"
                      << found.problem << "\n"
                      << "Чтобы вернуться к исходным справочным данным, запустите coldroom-calc "
                         "--restore-reference-data (копия сохранится рядом как «"
                      << AsideName(found.copy, "broken") << "») или удалите файл «" << found.copy << "».\n";
            return kExitDatabase;
        }
        options.database = found.path;
    }

    if (!options.store.empty()) {
        if (!options.project.empty() || !options.axes.empty() || !options.settings.empty() || !options.saveTo.empty()) {
            std::cerr << "coldroom-calc: --store рассчитывает холодильник, без проектов, --set, --vary и --save\n"
                      << kUsage << '\n';
            return kExitUsage;
        }
        StoreRequest request{options.database, options.store, options.html, options.csv, options.pdf, options.json,
                             options.energy, options.margin};
        if ((!options.insulation.empty() || !options.insulationRoom.empty()) && !options.energy) {
            std::cerr << "coldroom-calc: --insulation и --insulation-room — только вместе с --energy\n" << kUsage << '\n';
            return kExitUsage;
        }
        if (!options.insulation.empty() &&
            !ParseThicknessRange(options.insulation, request.fromMm, request.toMm, request.stepMm, error)) {
            std::cerr << "coldroom-calc: --insulation: " << error << '\n' << kUsage << '\n';
            return kExitUsage;
        }
        request.studyRoom = options.insulationRoom;
        return RunStoreRequest(request, std::cout);
    }

    if (options.energy || !options.insulation.empty() || !options.insulationRoom.empty()) {
        std::cerr << "coldroom-calc: --energy, --insulation и --insulation-room рассчитываются только для холодильника "
                     "(--store)\n"
                  << kUsage << '\n';
        return kExitUsage;
    }

    if (!options.axes.empty() || !options.moreProjects.empty()) {
        if (!options.saveTo.empty() || !options.html.empty() || !options.pdf.empty() || !options.note.empty()) {
            std::cerr << "coldroom-calc: --save, --html, --pdf и --note пишут один проект, без --vary и без "
                         "нескольких проектов\n"
                      << kUsage << '\n';
            return kExitUsage;
        }
        StudyRequest request{options.database, {}, options.settings, options.axes, options.csv, options.json};
        if (!options.project.empty()) request.projects.push_back(options.project);
        request.projects.insert(request.projects.end(), options.moreProjects.begin(), options.moreProjects.end());
        return RunStudyRequest(request, std::cout);
    }

    HeadlessUi ui;
    ui.echo = &std::cerr;
    Program program(ui, options.database);
    ui.attach(program);
    if (int code = StartAndOpen(program, ui, options.project, options.settings)) return code;

    int status = kExitOk;
    if (!options.saveTo.empty()) {
        ui.fileNames.push_back(options.saveTo);
        if (!SaveAsCommand(program, ui)) status = kExitNotSaved;
    }
    // Reports as the report options would make them, with the window's title and the author
    // unless the command line gives others.
    const ReportHeading heading{options.title.empty() ? program.project().Name_txt : options.title,
                                options.author.empty() ? program.project().ReportAuthor : options.author,
                                ShortDateToday()};
    const std::pair<const std::string*, ReportKind> reports[] = {
        {&options.html, ReportKind::Html}, {&options.csv, ReportKind::Csv}, {&options.pdf, ReportKind::Pdf}};
    for (const auto& [path, kind] : reports) {
        if (path->empty()) continue;
        const ReportModel model = BuildReportModel(program.project(), program.session.result, program.data(), heading);
        std::string reportError;
        bool written = kind == ReportKind::Pdf ? WritePdfOnDemand(*path, model, reportError)
                                               : MakeReport(kind, *path, model, nullptr, reportError);
        if (!written) {
            ui.message(reportError, kAppTitle, MsgIcon::Critical);
            status = kExitNotSaved;
        }
    }
    if (!options.note.empty() && !WriteNote(program, options.note, options.margin, heading, ui)) status = kExitNotSaved;
    if (options.json)
        PrintJson(std::cout, program, ui);
    else if (toStdout == 0)
        PrintTable(std::cout, program, options.margin);
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
