#include "ui/study/settings.h"

#include <algorithm>
#include <cctype>
#include <variant>

#include "core/numtext.h"
#include "ui/headless_ui.h"
#include "ui/program.h"

namespace coldroom {
namespace {

bool isTaskName(const std::string& name) { return name.rfind(kTaskPrefix, 0) == 0; }

// The control a setting names, in the form it belongs to.
const ControlRef* findControl(Program& program, const std::string& name) {
    if (isTaskName(name)) return program.task.controls().find(name.substr(std::string(kTaskPrefix).size()));
    return program.main.controls().find(name);
}

bool takesEntries(const ControlRef& ref) {
    if (auto* t = std::get_if<TextBox*>(&ref)) return (*t)->onEnter || (*t)->onLeave;
    return std::holds_alternative<ListBox*>(ref) || std::holds_alternative<CheckBox*>(ref) ||
           std::holds_alternative<OptionButton*>(ref);
}

std::size_t editDistance(const std::string& a, const std::string& b) {
    std::vector<std::size_t> row(b.size() + 1);
    for (std::size_t j = 0; j <= b.size(); ++j) row[j] = j;
    for (std::size_t i = 1; i <= a.size(); ++i) {
        std::size_t diagonal = row[0];
        row[0] = i;
        for (std::size_t j = 1; j <= b.size(); ++j) {
            const std::size_t up = row[j];
            const bool same = std::tolower(static_cast<unsigned char>(a[i - 1])) ==
                              std::tolower(static_cast<unsigned char>(b[j - 1]));
            row[j] = std::min({row[j] + 1, row[j - 1] + 1, diagonal + (same ? 0 : 1)});
            diagonal = up;
        }
    }
    return row[b.size()];
}

std::string lower(std::string s) {
    for (char& c : s) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    return s;
}

class Entry {
public:
    Entry(Program& program, HeadlessUi& ui, SetResult& result) : program_(program), ui_(ui), result_(result) {}

    bool apply(const Setting& s) {
        result_.name = s.name;
        if (s.name == kPanelsGroup) {
            const std::string typed = NormalizeNumberText(s.text);
            for (int surface = 0; surface < kSurfaceCount; ++surface) {
                TextBox& box = *program_.main.thickness[surface][0];
                // The walls' mirroring may have filled it already: nothing left to type there.
                if (box.text != typed && !commit(box, s.text)) return false;
            }
            return true;
        }
        const ControlRef& ref = *findControl(program_, s.name);
        if (auto* t = std::get_if<TextBox*>(&ref)) return usable((*t)->enabled) && commit(**t, s.text);
        if (auto* l = std::get_if<ListBox*>(&ref)) {
            int position = 0;
            if (!whole(s.text, position) || position < 0 || position >= (*l)->count())
                return bad("позиция " + s.text + " вне списка из " + std::to_string((*l)->count()) + " строк");
            if (!usable((*l)->enabled)) return false;
            (*l)->setIndex(position);
            return true;
        }
        int value = 0;
        if (!whole(s.text, value) || (value != 0 && value != 1)) return bad("нужно 1 или 0");
        if (auto* c = std::get_if<CheckBox*>(&ref)) {
            if (!usable((*c)->enabled)) return false;
            (*c)->setValue(value);
            return true;
        }
        OptionButton& option = *std::get<OptionButton*>(ref);
        if (value == 0) return !option.value() || bad("вариант снимается выбором другого варианта его группы");
        if (!usable(option.enabled)) return false;
        option.setValue(true);
        return true;
    }

private:
    // Typed in, Enter, and on to another field; a value its check refuses stops there.
    bool commit(TextBox& box, const std::string& text) {
        box.text = text;
        for (Handler* step : {&box.onEnter, &box.onLeave}) {
            const std::size_t before = ui_.messages.size();
            if (*step) (*step)();
            for (std::size_t i = before; i < ui_.messages.size(); ++i)
                if (ui_.messages[i].title == kInputErrorTitle) return refused(ui_.messages[i].text);
        }
        return true;
    }
    bool usable(bool enabled) { return enabled || refused("поле недоступно для ввода"); }
    bool refused(const std::string& why) {
        result_.status = SetStatus::Refused;
        result_.message = why;
        return false;
    }
    bool bad(const std::string& why) {
        result_.status = SetStatus::BadValue;
        result_.message = why;
        return false;
    }
    static bool whole(const std::string& text, int& value) {
        double v = 0;
        if (!StrictNumber(text, v) || v != static_cast<int>(v)) return false;
        value = static_cast<int>(v);
        return true;
    }

    Program& program_;
    HeadlessUi& ui_;
    SetResult& result_;
};

}  // namespace

bool ParseSetting(const std::string& text, Setting& setting) {
    const auto eq = text.find('=');
    if (eq == std::string::npos || eq == 0) return false;
    setting = {text.substr(0, eq), text.substr(eq + 1)};
    return true;
}

bool IsSettable(Program& program, const std::string& name) {
    if (name == kPanelsGroup) return true;
    const ControlRef* ref = findControl(program, name);
    return ref && takesEntries(*ref);
}

std::vector<std::string> CloseNames(Program& program, const std::string& name) {
    std::vector<std::pair<std::size_t, std::string>> ranked;
    auto consider = [&](const std::string& candidate) {
        std::size_t d = editDistance(name, candidate);
        const bool within = lower(candidate).find(lower(name)) != std::string::npos ||
                            lower(name).find(lower(candidate)) != std::string::npos;
        if (within) d = std::min<std::size_t>(d, 1);
        if (d <= std::max<std::size_t>(2, name.size() / 3)) ranked.emplace_back(d, candidate);
    };
    consider(kPanelsGroup);
    for (const auto& [n, ref] : program.main.controls().all())
        if (takesEntries(ref)) consider(n);
    for (const auto& [n, ref] : program.task.controls().all())
        if (takesEntries(ref)) consider(kTaskPrefix + n);
    std::stable_sort(ranked.begin(), ranked.end(), [](auto& a, auto& b) { return a.first < b.first; });
    std::vector<std::string> names;
    for (std::size_t i = 0; i < ranked.size() && i < 5; ++i) names.push_back(ranked[i].second);
    return names;
}

SetResult ApplySettings(Program& program, HeadlessUi& ui, const std::vector<Setting>& settings) {
    SetResult result;
    for (const Setting& s : settings) {
        if (!IsSettable(program, s.name)) {
            result.status = SetStatus::UnknownName;
            result.name = s.name;
            result.closeNames = CloseNames(program, s.name);
            return result;
        }
    }
    Entry entry(program, ui, result);
    for (std::size_t i = 0; i < settings.size();) {
        if (!isTaskName(settings[i].name)) {
            if (!entry.apply(settings[i++])) return result;
            continue;
        }
        // The task dialog's entries in a row share one visit: «ИЗМЕНИТЬ», the entries, «Далее >>».
        program.main.Change_btn.onClick();
        for (; i < settings.size() && isTaskName(settings[i].name); ++i)
            if (!entry.apply(settings[i])) return result;
        const std::size_t before = ui.messages.size();
        program.task.OK_btn.onClick();
        if (ui.visible.count(WindowId::TaskDialog)) {
            result.status = SetStatus::Refused;
            result.message = ui.messages.size() > before ? ui.messages.back().text : "задача не принята";
            return result;
        }
    }
    return result;
}

}  // namespace coldroom
