#include "app/calc_output.h"

#include <algorithm>
#include <cstdio>
#include <ostream>
#include <vector>

#include "core/design_margin.h"
#include "core/load_components.h"
#include "core/load_value.h"
#include "core/numtext.h"
#include "ui/headless_ui.h"
#include "ui/program.h"

namespace coldroom {


namespace {

// ---- JSON ---------------------------------------------------------------------------------


struct JsonParts {
    std::vector<std::pair<std::string, std::string>> fields, lists, options;
};

// Every text box, caption, list, option and check box of a form, by name (prefixed for the
// task dialog). Buttons carry no project data and are left out.
void collect(const ControlRegistry& registry, const std::string& prefix, JsonParts& parts) {
    for (const auto& [name, ref] : registry.all()) {
        const std::string key = prefix + name;
        if (auto* t = std::get_if<TextBox*>(&ref)) {
            parts.fields.emplace_back(key, JsonString((*t)->text));
        } else if (auto* c = std::get_if<Caption*>(&ref)) {
            parts.fields.emplace_back(key, JsonString((*c)->text));
        } else if (auto* l = std::get_if<ListBox*>(&ref)) {
            parts.lists.emplace_back(key, "{\"index\": " + std::to_string((*l)->index()) +
                                              ", \"text\": " + JsonString((*l)->text()) + "}");
        } else if (auto* o = std::get_if<OptionButton*>(&ref)) {
            parts.options.emplace_back(key, (*o)->value() ? "true" : "false");
        } else if (auto* b = std::get_if<CheckBox*>(&ref)) {
            parts.options.emplace_back(key, (*b)->value() ? "true" : "false");
        }
    }
}

void writeObject(std::ostream& out, const char* name, const std::vector<std::pair<std::string, std::string>>& members) {
    out << "  " << JsonString(name) << ": {";
    for (std::size_t i = 0; i < members.size(); ++i)
        out << (i ? ",\n    " : "\n    ") << JsonString(members[i].first) << ": " << members[i].second;
    out << (members.empty() ? "}" : "\n  }");
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

}  // namespace

void PrintJson(std::ostream& out, Program& program, const HeadlessUi& ui) {
    JsonParts parts;
    collect(program.main.controls(), "", parts);
    collect(program.task.controls(), "Produkt.", parts);
    parts.fields.emplace_back("WallLossTotal", JsonString(LoadText(program.session.result.wallTotal)));
    parts.fields.emplace_back("ProjectTitle", JsonString(program.project().ProjectTitle));
    out << "{\n";
    writeObject(out, "fields", parts.fields);
    out << ",\n";
    writeObject(out, "lists", parts.lists);
    out << ",\n";
    writeObject(out, "options", parts.options);
    out << ",\n  \"messages\": [";
    for (std::size_t i = 0; i < ui.messages.size(); ++i)
        out << (i ? ",\n    " : "\n    ") << "{\"title\": " << JsonString(ui.messages[i].title)
            << ", \"text\": " << JsonString(ui.messages[i].text) << "}";
    out << (ui.messages.empty() ? "]" : "\n  ]") << "\n}\n";
}

void PrintTable(std::ostream& out, Program& program, int marginPercent) {
    const MainForm& m = program.main;
    const TaskForm& t = program.task;
    out << "Проект: " << program.project().ProjectTitle << '\n';
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
        if (c.id == LoadId::Respiration && !program.session.result.task.respiration) continue;  // only a breathing product has it
        if (c.id == LoadId::Fans) {
            // Their heat over the work cycle in whole watts, as the chart draws it, and then their
            // power, which is no heat gain of its own.
            const LoadValue& heat = c.value(program.session.result.loads);
            table.row(label, heat.defined ? WholeText(heat.watts) : LoadText(heat), W);
            table.row("Мощность вентиляторов воздухоохладителей", m.ElectroEva_txt.text,
                      m.AutoEva_opt.value() ? "Вт (автоматически)" : W);
            continue;
        }
        if (c.id == LoadId::Capacity) table.row("Рабочий цикл агрегата", m.Cycle_txt.text, "%");
        table.row(label, LoadText(c.value(program.session.result.loads)), W);
        if (c.id == LoadId::Capacity && marginPercent > 0)
            table.row("  " + DesignMarginLabel(marginPercent),
                      DesignMarginKilowatts(program.session.result.loads.capacity, marginPercent), "кВт");
    }
    table.heading("Время охлаждения/домораживания");
    table.row("  Желаемое время", m.TimeReal_lbl.text, "ч");
    table.row("  Охлаждение", m.TimeCooling_lbl.text, "ч");
    table.row("  Замораживание", m.TimeFreezing_lbl.text, "ч");
    table.row("  Домораживание", m.TimeAfterFreezing_lbl.text, "ч");
    table.row("  Общее время", m.TimeMin_lbl.text, "ч");
    table.print(out);
    if (!m.ResultsProblem.empty()) out << "\nВнимание: " << m.ResultsProblem << '\n';
    // What the window tells beneath the results.
    std::string_view notices = m.ResultsNotice_lbl.text;
    while (!notices.empty()) {
        const std::size_t end = notices.find('\n');
        out << "Внимание: " << notices.substr(0, end) << '\n';
        notices.remove_prefix(end == std::string_view::npos ? notices.size() : end + 1);
    }
}

}  // namespace coldroom
