// coldroom-calc: computes a saved project the way the desktop program shows it after opening
// that file, and prints the results as a table or as JSON.
//
//     coldroom-calc [--db PATH] [--json] [--save OUT.cfg] [--html OUT] [--csv OUT] [--pdf OUT]
//                   [PROJECT.cfg]
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

#include "core/load_components.h"
#include "core/load_value.h"
#include "core/numtext.h"
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

// ---- JSON ---------------------------------------------------------------------------------

// A JSON string literal. Texts are UTF-8 already; a byte that is not part of well-formed
// UTF-8 becomes U+FFFD so that the output always parses.
std::string jsonString(std::string_view s) {
    std::string out = "\"";
    for (std::size_t i = 0; i < s.size();) {
        const auto c = static_cast<unsigned char>(s[i]);
        if (c < 0x80) {
            switch (c) {
            case '"': out += "\\\""; break;
            case '\\': out += "\\\\"; break;
            case '\n': out += "\\n"; break;
            case '\r': out += "\\r"; break;
            case '\t': out += "\\t"; break;
            default:
                if (c < 0x20 || c == 0x7F) {
                    char buf[8];
                    std::snprintf(buf, sizeof buf, "\\u%04X", c);
                    out += buf;
                } else {
                    out += static_cast<char>(c);
                }
            }
            ++i;
            continue;
        }
        std::size_t len = (c & 0xE0) == 0xC0 ? 2 : (c & 0xF0) == 0xE0 ? 3 : (c & 0xF8) == 0xF0 ? 4 : 0;
        bool ok = len > 0 && i + len <= s.size();
        char32_t cp = ok ? (c & (0x7F >> len)) : 0;
        for (std::size_t k = 1; ok && k < len; ++k) {
            const auto b = static_cast<unsigned char>(s[i + k]);
            ok = (b & 0xC0) == 0x80;
            cp = (cp << 6) | (b & 0x3F);
        }
        static const char32_t kMin[5] = {0, 0, 0x80, 0x800, 0x10000};
        ok = ok && cp >= kMin[len] && cp <= 0x10FFFF && !(cp >= 0xD800 && cp <= 0xDFFF);
        if (ok) {
            out.append(s.substr(i, len));
            i += len;
        } else {
            out += "\xEF\xBF\xBD";
            ++i;
        }
    }
    return out + "\"";
}

struct JsonParts {
    std::vector<std::pair<std::string, std::string>> fields, lists, options;
};

// Every text box, caption, list, option and check box of a form, by name (prefixed for the
// task dialog). Buttons carry no project data and are left out.
void collect(const ControlRegistry& registry, const std::string& prefix, JsonParts& parts) {
    for (const auto& [name, ref] : registry.all()) {
        const std::string key = prefix + name;
        if (auto* t = std::get_if<TextBox*>(&ref)) {
            parts.fields.emplace_back(key, jsonString((*t)->text));
        } else if (auto* c = std::get_if<Caption*>(&ref)) {
            parts.fields.emplace_back(key, jsonString((*c)->text));
        } else if (auto* l = std::get_if<ListBox*>(&ref)) {
            parts.lists.emplace_back(key, "{\"index\": " + std::to_string((*l)->index()) +
                                              ", \"text\": " + jsonString((*l)->text()) + "}");
        } else if (auto* o = std::get_if<OptionButton*>(&ref)) {
            parts.options.emplace_back(key, (*o)->value() ? "true" : "false");
        } else if (auto* b = std::get_if<CheckBox*>(&ref)) {
            parts.options.emplace_back(key, (*b)->value() ? "true" : "false");
        }
    }
}

void writeObject(std::ostream& out, const char* name, const std::vector<std::pair<std::string, std::string>>& members) {
    out << "  " << jsonString(name) << ": {";
    for (std::size_t i = 0; i < members.size(); ++i)
        out << (i ? ",\n    " : "\n    ") << jsonString(members[i].first) << ": " << members[i].second;
    out << (members.empty() ? "}" : "\n  }");
}

void printJson(std::ostream& out, Program& program, const HeadlessUi& ui) {
    JsonParts parts;
    collect(program.main.controls(), "", parts);
    collect(program.task.controls(), "Produkt.", parts);
    parts.fields.emplace_back("WallLossTotal", jsonString(program.state.WallLossDefined
                                                              ? GeneralText(program.state.WallLossTotal)
                                                              : kUndefinedText));
    parts.fields.emplace_back("ProjectTitle", jsonString(program.state.ProjectTitle));
    out << "{\n";
    writeObject(out, "fields", parts.fields);
    out << ",\n";
    writeObject(out, "lists", parts.lists);
    out << ",\n";
    writeObject(out, "options", parts.options);
    out << ",\n  \"messages\": [";
    for (std::size_t i = 0; i < ui.messages.size(); ++i)
        out << (i ? ",\n    " : "\n    ") << "{\"title\": " << jsonString(ui.messages[i].title)
            << ", \"text\": " << jsonString(ui.messages[i].text) << "}";
    out << (ui.messages.empty() ? "]" : "\n  ]") << "\n}\n";
}

// ---- Table --------------------------------------------------------------------------------

std::size_t displayWidth(std::string_view s) {
    std::size_t n = 0;
    for (char c : s)
        if ((static_cast<unsigned char>(c) & 0xC0) != 0x80) ++n;
    return n;
}

class Table {
public:
    void heading(std::string text) { rows_.push_back({std::move(text), {}, {}, true}); }
    void row(std::string label, std::string value, std::string unit) {
        rows_.push_back({std::move(label), std::move(value), std::move(unit), false});
    }
    void print(std::ostream& out) const {
        std::size_t labelWidth = 0, valueWidth = 0;
        for (const auto& r : rows_) {
            if (r.heading) continue;
            labelWidth = std::max(labelWidth, displayWidth(r.label));
            valueWidth = std::max(valueWidth, displayWidth(r.value));
        }
        for (const auto& r : rows_) {
            if (r.heading) {
                out << r.label << '\n';
                continue;
            }
            out << r.label << std::string(labelWidth - displayWidth(r.label) + 2, ' ')
                << std::string(valueWidth - displayWidth(r.value), ' ') << r.value;
            if (!r.unit.empty()) out << ' ' << r.unit;
            out << '\n';
        }
    }

private:
    struct Row {
        std::string label, value, unit;
        bool heading;
    };
    std::vector<Row> rows_;
};

void printTable(std::ostream& out, Program& program) {
    const MainForm& m = program.main;
    const TaskForm& t = program.task;
    out << "Проект: " << program.state.ProjectTitle << '\n';
    out << "Продукт: " << t.Produkt_cmb.text() << "; упаковка: " << t.Packing_cmb.text() << '\n';
    out << "Камера " << m.Length_txt.text << " × " << m.Width_txt.text << " × " << m.Height_txt.text
        << " м, " << m.Volume_txt.text << " м³, температура " << m.TempIn_txt.text << " °C; "
        << m.Location_cmb.text() << "\n\n";

    Table table;
    const char* W = "Вт";
    table.heading("Теплопритоки через ограждения");
    for (const LoadComponent& c : LoadComponents()) {
        // Surfaces and parts stand indented beneath the heading or the component they belong to.
        const std::string label = (c.role == LoadRole::Surface || c.role == LoadRole::Part ? "  " : "") + c.caption;
        if (c.id == LoadId::Respiration && !t.Cheese) continue;  // only a breathing product has it
        if (c.id == LoadId::Fans) {  // listed by their power, which has its own field
            table.row(label, m.ElectroEva_txt.text, m.AutoEva_opt.value() ? "Вт (автоматически)" : W);
            continue;
        }
        if (c.id == LoadId::Capacity) table.row("Рабочий цикл агрегата", m.Cycle_txt.text, "%");
        table.row(label, m.controls().get<TextBox>(c.control)->text, W);
    }
    table.heading("Время охлаждения/домораживания");
    table.row("  Желаемое время", m.TimeReal_lbl.text, "ч");
    table.row("  Охлаждение", m.TimeCooling_lbl.text, "ч");
    table.row("  Замораживание", m.TimeFreezing_lbl.text, "ч");
    table.row("  Домораживание", m.TimeAfterFreezing_lbl.text, "ч");
    table.row("  Общее время", m.TimeMin_lbl.text, "ч");
    table.print(out);
    if (!m.ResultsProblem.empty()) out << "\nВнимание: " << m.ResultsProblem << '\n';
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
        printJson(std::cout, program, ui);
    else
        printTable(std::cout, program);
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
