#include "app/calc_study.h"

#include <algorithm>
#include <array>
#include <iostream>
#include <cstdio>
#include <memory>
#include <optional>

#include "app/calc_output.h"
#include "core/load_components.h"
#include "core/numtext.h"
#include "io/atomic_file.h"
#include "io/cp1251.h"
#include "ui/headless_ui.h"
#include "ui/main/commands.h"
#include "ui/program.h"
#include "ui/study/study.h"
#include "ui/study/settings.h"
#include "ui/study/study_table.h"

namespace coldroom {
namespace {

constexpr int kExitUsage = 2, kExitUnreadable = 3, kExitDatabase = 4, kExitNotSaved = 5;

// A table of texts: the study's points or the summary's projects, one row each.
struct Sheet {
    std::vector<std::string> head;
    std::vector<std::vector<std::string>> rows;
    std::size_t firstLoad = 0;  // the column of the first load component
    bool note = false;          // the last column is a free text
    std::vector<std::string> csvHead = {};  // the heads as the CSV has them: captions and units
};

std::size_t width(std::string_view s) {
    return static_cast<std::size_t>(std::count_if(s.begin(), s.end(), [](char c) {
        return (static_cast<unsigned char>(c) & 0xC0) != 0x80;
    }));
}

// One line of an aligned table: the loads (from column `firstLoad`) stand right, the texts
// before them left; a note in the last column runs on freely.
template <class Cell>
void printRow(std::ostream& out, const std::vector<Cell>& cells, const std::vector<std::size_t>& widths,
              std::size_t firstLoad, bool note) {
    std::string text;
    for (std::size_t c = 0; c < cells.size(); ++c) {
        const std::string cell(cells[c]), pad(widths[c] - width(cell), ' ');
        const bool right = c >= firstLoad && !(note && c + 1 == cells.size());
        text += (c ? "  " : "") + (right ? pad + cell : cell + pad);
    }
    while (!text.empty() && text.back() == ' ') text.pop_back();
    out << text << '\n';
}

void printSheet(std::ostream& out, const Sheet& sheet) {
    std::vector<std::size_t> w(sheet.head.size());
    for (std::size_t c = 0; c < w.size(); ++c) {
        w[c] = width(sheet.head[c]);
        for (const auto& row : sheet.rows) w[c] = std::max(w[c], width(row[c]));
    }
    printRow(out, sheet.head, w, sheet.firstLoad, sheet.note);
    for (const auto& row : sheet.rows) printRow(out, row, w, sheet.firstLoad, sheet.note);
}

void loadHead(std::vector<std::string>& head) {
    for (const LoadComponent& c : LoadComponents()) head.push_back(c.label());
}

void loadCells(std::vector<std::string>& row, const LoadBreakdown& b) {
    for (const LoadComponent& c : LoadComponents()) row.push_back(LoadText(c.value(b)));
}

using LoadValues = std::array<LoadValue, kLoadComponentCount>;

LoadValues valuesOf(const LoadBreakdown& b) {
    LoadValues values;
    for (const LoadComponent& c : LoadComponents()) values[static_cast<int>(c.id)] = c.value(b);
    return values;
}

std::string jsonLoads(const LoadValues& values) {
    std::string text = "{";
    for (const LoadComponent& c : LoadComponents()) {
        const LoadValue& v = values[static_cast<int>(c.id)];
        text += (c.id == LoadId::North ? "" : ", ") + JsonString(c.jsonKey) + ": " +
                (v.defined ? GeneralText(AsShown(v.watts)) : "null");
    }
    return text + "}";
}

int emit(const StudyRequest& request, const Sheet& sheet, const std::string& json, std::ostream& out) {
    if (!request.csv.empty()) {
        std::string error;
        TextTable table{sheet.csvHead};
        table.insert(table.end(), sheet.rows.begin(), sheet.rows.end());
        if (!WriteTableCsv(request.csv, table, error)) {
            std::cerr << "coldroom-calc: " << request.csv << ": " << error << '\n';
            return kExitNotSaved;
        }
        if (request.csv == kStandardOutput) return 0;  // the CSV went out in place of the table
    }
    if (request.json)
        out << json;
    else
        printSheet(out, sheet);
    return 0;
}

struct Opened {
    HeadlessUi ui;
    std::unique_ptr<Program> program;
};

int open(const StudyRequest& request, const std::string& project, Opened& opened) {
    opened.ui.echo = &std::cerr;
    opened.program = std::make_unique<Program>(opened.ui, request.database);
    opened.ui.attach(*opened.program);
    return StartAndOpen(*opened.program, opened.ui, project, request.settings);
}

// Texts put aside until the last is known (an aligned table's widths, or what follows a CSV
// file that may still fail): in a temporary file, so that a long study stays out of memory.
class Spool {
public:
    Spool() : file_(std::tmpfile()) {}
    ~Spool() {
        if (file_) std::fclose(file_);
    }
    Spool(const Spool&) = delete;
    Spool& operator=(const Spool&) = delete;

    void add(std::string_view text) {
        if (!file_ || std::fwrite(text.data(), 1, text.size(), file_) != text.size() || std::fputc(kEnd, file_) == EOF) {
            // No room for the temporary file: what is left is kept in memory.
            memory_.append(text).push_back(kEnd);
        }
    }
    // Each text in the order added.
    template <class F> void each(F f) {
        if (file_) {
            std::rewind(file_);
            std::string text;
            for (int c; (c = std::getc(file_)) != EOF;) {
                if (c != kEnd) {
                    text.push_back(static_cast<char>(c));
                    continue;
                }
                f(text);
                text.clear();
            }
        }
        for (std::size_t at = 0, end; (end = memory_.find(kEnd, at)) != std::string::npos; at = end + 1)
            f(std::string_view(memory_).substr(at, end - at));
    }

private:
    static constexpr char kEnd = '\x1e';
    std::FILE* file_;
    std::string memory_;
};

std::string pointJson(const StudyPoint& p) {
    std::string values;
    for (double v : p.values) values += (values.empty() ? "" : ", ") + GeneralText(v);
    return "{\"values\": [" + values + "], \"refused\": " +
           (p.refused ? "true, \"message\": " + JsonString(p.message) : "false, \"loads\": " + jsonLoads(valuesOf(p.loads))) + "}";
}

// A study written as its points are computed, none of them kept: the CSV goes out a line at a
// time, JSON too, and the aligned table once its widths are known. With a CSV file as well,
// what goes to `out` waits until the file is in place, so that a failed file prints nothing.
int runStudy(const StudyRequest& request, std::ostream& out) {
    std::vector<StudyAxis> axes;
    for (const std::string& text : request.axes) {
        std::string error;
        if (!ParseAxis(text, axes.emplace_back(), error)) {
            std::cerr << "coldroom-calc: --vary " << error << '\n';
            return kExitUsage;
        }
    }
    Opened opened;
    if (int code = open(request, request.projects.empty() ? "" : request.projects[0], opened)) return code;
    Study study(opened.program->session.data);
    std::string error;
    if (!study.Check(axes, error)) {
        std::cerr << "coldroom-calc: --vary: " << error << '\n';
        return kExitUsage;
    }
    study.Begin(opened.program->project(), opened.program->session.dialog);

    const bool csvOnly = request.csv == kStandardOutput;
    std::optional<StreamedFile> csv;
    if (!request.csv.empty()) csv.emplace(request.csv);
    const auto csvLine = [&](const std::vector<std::string>& row) {
        std::string bytes;
        return Utf8ToCp1251(CsvTableLine(row) + "\r\n", bytes, error) && csv->write(bytes, error);
    };
    if (csv && !(csv->open(error) && csvLine(StudyHead(axes, true, true)))) {
        std::cerr << "coldroom-calc: " << request.csv << ": " << error << '\n';
        return kExitNotSaved;
    }
    const bool json = request.json && !csvOnly, table = !request.json && !csvOnly;
    const bool jsonNow = json && !csv;  // nothing can fail after it
    Spool spool;
    const std::vector<std::string> head = StudyHead(axes);
    std::vector<std::size_t> widths(head.size());
    for (std::size_t c = 0; c < head.size(); ++c) widths[c] = width(head[c]);

    std::string names;
    for (std::size_t k = 0; k < axes.size(); ++k) names += (k ? ", " : "") + JsonString(axes[k].name);
    const std::string jsonHead = "{\n  \"parameters\": [" + names + "],\n  \"points\": [";
    if (jsonNow) out << jsonHead;
    bool first = true, failed = false;
    study.Each(axes, [&](StudyPoint& point) {
        if (failed) return;
        const std::vector<std::string> row = StudyRow(point);
        if (csv && !csvLine(row)) {
            failed = true;
            return;
        }
        if (json) {
            const std::string text = std::string(first ? "\n    " : ",\n    ") + pointJson(point);
            if (jsonNow) out << text;
            else spool.add(text);
        } else if (table) {
            std::string cells;
            for (std::size_t c = 0; c < row.size(); ++c) {
                widths[c] = std::max(widths[c], width(row[c]));
                cells += (c ? "\x1f" : "") + row[c];
            }
            spool.add(cells);
        }
        first = false;
    });
    if (csv && (failed || !csv->commit(error))) {
        std::cerr << "coldroom-calc: " << request.csv << ": " << error << '\n';
        return kExitNotSaved;
    }
    if (json) {
        if (!jsonNow) out << jsonHead;
        spool.each([&](std::string_view text) { out << text; });
        out << (first ? "]\n}\n" : "\n  ]\n}\n");
    } else if (table) {
        printRow(out, head, widths, axes.size(), true);
        std::vector<std::string_view> cells;
        spool.each([&](std::string_view text) {
            cells.clear();
            for (std::size_t at = 0;;) {
                const std::size_t end = text.find('\x1f', at);
                cells.push_back(text.substr(at, end == std::string_view::npos ? std::string_view::npos : end - at));
                if (end == std::string_view::npos) break;
                at = end + 1;
            }
            printRow(out, cells, widths, axes.size(), true);
        });
    }
    return 0;
}

int runSummary(const StudyRequest& request, std::ostream& out) {
    // The CSV is Windows-1251, which has no "³". Projects of one title tell apart by their file.
    Sheet sheet{{"Файл", "Проект", "Объем, м3", "Температура, °C"}, {}, 4};
    loadHead(sheet.head);
    sheet.csvHead = sheet.head;
    for (std::size_t c = sheet.firstLoad; c < sheet.csvHead.size(); ++c) sheet.csvHead[c] = LoadHeadWithUnit(sheet.csvHead[c]);
    std::string json = "{\n  \"projects\": [";
    LoadValues sums{};
    for (std::size_t i = 0; i < request.projects.size(); ++i) {
        Opened opened;
        if (int code = open(request, request.projects[i], opened)) return code;
        const Program& p = *opened.program;
        const LoadBreakdown& b = p.main.results();
        auto& row = sheet.rows.emplace_back();
        row = {request.projects[i], p.project().ProjectTitle, p.main.Volume_txt.text, p.main.TempIn_txt.text};
        loadCells(row, b);
        for (const LoadComponent& c : LoadComponents()) {
            LoadValue& sum = sums[static_cast<int>(c.id)];
            const LoadValue& v = c.value(b);
            sum = sum.defined && v.defined ? LoadValue::of(sum.watts + AsShown(v.watts)) : LoadValue::undefined(v.problem);
        }
        json += std::string(i ? ",\n    " : "\n    ") + "{\"file\": " + JsonString(request.projects[i]) +
                ", \"title\": " + JsonString(p.project().ProjectTitle) + ", \"volume\": " +
                JsonString(p.main.Volume_txt.text) + ", \"roomTemperature\": " + JsonString(p.main.TempIn_txt.text) +
                ", \"loads\": " + jsonLoads(valuesOf(b)) + "}";
    }
    auto& total = sheet.rows.emplace_back(std::vector<std::string>{"Итого", "", "", ""});
    for (const LoadComponent& c : LoadComponents()) total.push_back(LoadText(sums[static_cast<int>(c.id)]));
    json += "\n  ],\n  \"total\": " + jsonLoads(sums) + "\n}\n";
    return emit(request, sheet, json, out);
}

}  // namespace

int StartAndOpen(Program& program, HeadlessUi& ui, const std::string& project, const std::vector<Setting>& settings) {
    std::string error;
    if (!program.Start(error)) {
        ui.message(error, kAppTitle, MsgIcon::Critical);
        return kExitDatabase;
    }
    // The start as a person sees it: the task dialog comes up and is confirmed as it stands.
    ui.showWindow(WindowId::TaskDialog);
    program.task.OK_btn.onClick();
    if (!program.main.loaded()) return kExitDatabase;  // its loading has said why
    if (!project.empty()) {
        ui.fileNames.push_back(project);
        std::string detail;
        // The read-error message names the file and what is wrong with it.
        if (!OpenCommand(program, ui, &detail)) return kExitUnreadable;
    }
    const SetResult set = ApplySettings(program, settings);
    switch (set.status) {
    case SetStatus::Done:
        return 0;
    case SetStatus::UnknownName: {
        std::cerr << "coldroom-calc: --set: нет поля " << set.name;
        for (std::size_t i = 0; i < set.closeNames.size(); ++i) std::cerr << (i ? ", " : "; похожие: ") << set.closeNames[i];
        std::cerr << '\n';
        return kExitUsage;
    }
    case SetStatus::BadValue:
        // A value the field does not take, like one its check refuses: the argument itself was understood.
        std::cerr << "coldroom-calc: --set " << set.name << ": " << set.message << '\n';
        return kExitRefused;
    case SetStatus::Refused:
        break;
    }
    // The check's own message box has been printed already; a field that cannot be used has none.
    std::cerr << "coldroom-calc: --set " << set.name << ": значение не принято: " << set.message << '\n';
    return kExitRefused;
}

std::string JsonLoads(const LoadBreakdown& b) { return jsonLoads(valuesOf(b)); }

int RunStudyRequest(const StudyRequest& request, std::ostream& out) {
    return request.axes.empty() ? runSummary(request, out) : runStudy(request, out);
}

}  // namespace coldroom
