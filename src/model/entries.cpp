#include "model/entries.h"

#include <algorithm>
#include <cctype>
#include <cmath>

#include "core/numtext.h"
#include "model/field_catalogue.h"
#include "model/room_edit.h"

namespace coldroom {
namespace {

bool isTaskName(const std::string& name) { return name.rfind(kTaskPrefix, 0) == 0; }

bool isGroup(const std::string& name) { return name == kPanelsGroup || name == kOutsideGroup; }

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

class EntryRun {
public:
    EntryRun(RoomProject& p, TaskDialogState& dialog, const ReferenceData& d, SetResult& result, EntrySink& sink)
        : p_(p), dialog_(dialog), d_(d), result_(result), sink_(sink) {}

    bool apply(const Setting& s) {
        result_.name = s.name;
        if (s.name == kPanelsGroup) {
            const std::vector<std::string> panels = EnteredFields(kPanelsGroup);
            for (int surface = 0; surface < kSurfaceCount; ++surface) {
                const FieldSpec& f = *FindField(panels[static_cast<std::size_t>(surface)], FieldForm::Main);
                // The walls' mirroring may have filled it already: nothing left to type there.
                if (p_.thickness[surface][0] != NormalizeNumberText(s.text) && !commit(f, s.text)) return false;
            }
            return true;
        }
        if (s.name == kOutsideGroup) {
            for (const std::string& control : EnteredFields(kOutsideGroup))
                if (!commit(*FindField(control, FieldForm::Main), s.text)) return false;
            return true;
        }
        const FieldSpec& f = *FindFieldBySetName(s.name);
        if (f.kind == FieldKind::Text) return usable(f) && commit(f, s.text);
        int value = 0;
        if (f.kind == FieldKind::List) {
            const int count = ListCount(f, p_, d_);
            if (!WholeSettingValue(s.text, value) || value < 0 || value >= count)
                return bad("позиция " + s.text + " вне списка из " + std::to_string(count) + " строк");
            if (!usable(f)) return false;
            choose(f, value);
            return true;
        }
        if (!WholeSettingValue(s.text, value) || (value != 0 && value != 1)) return bad("нужно 1 или 0");
        if (f.kind == FieldKind::Check) return told(SetCheck(p_, d_, f, value));
        if (value == 0) return f.optionOf(p_) != f.selects || bad("вариант снимается выбором другого варианта его группы");
        if (!usable(f)) return false;
        return told(ChooseOption(p_, d_, f));
    }

private:
    // Typed in, Enter, and on to another field; a value its check refuses stops there.
    bool commit(const FieldSpec& f, const std::string& typed) {
        if (f.form == FieldForm::Task) {
            for (int step = 0; step < 2; ++step) {
                const std::string text = step == 0 ? typed : f.textOf(p_);
                const TaskOutcome out = EnterTaskText(p_, dialog_, f, text);
                for (const TaskNotice& n : out.notices) sink_.taskNotice(n);
                for (const TaskNotice& n : out.notices)
                    if (n.kind == TaskNotice::Kind::Refusal) return refused(n.text);
            }
            return true;
        }
        const EditOutcome entered = CommitText(p_, d_, f, typed, Entry::Enter);
        if (!entered.accepted) sink_.refusedText(f, entered.shown);
        if (!told(entered)) return false;
        const EditOutcome left = CommitText(p_, d_, f, entered.shown, Entry::Leave);
        if (!left.accepted) sink_.refusedText(f, left.shown);
        return told(left);
    }
    // Passes an entry's outcome on; false when it was refused.
    bool told(const EditOutcome& out) {
        for (const Notice& n : out.notices) sink_.notice(n);
        if (!out.accepted) {
            for (const Notice& n : out.notices)
                if (n.kind == Notice::Kind::Refusal) return refused(n.text);
            return refused("значение не принято");
        }
        sink_.recomputed(out.recompute);
        return true;
    }
    void choose(const FieldSpec& f, int position) {
        if (f.form == FieldForm::Main) told(ChooseEntry(p_, d_, f, position));
        else ChooseTaskEntry(p_, dialog_, d_, f, position);
    }
    bool usable(const FieldSpec& f) { return FieldEnabled(EnabledControls(p_, d_), f) || refused("поле недоступно для ввода"); }
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

    RoomProject& p_;
    TaskDialogState& dialog_;
    const ReferenceData& d_;
    SetResult& result_;
    EntrySink& sink_;
};

}  // namespace

bool ParseSetting(const std::string& text, Setting& setting) {
    const auto eq = text.find('=');
    if (eq == std::string::npos || eq == 0) return false;
    setting = {text.substr(0, eq), text.substr(eq + 1)};
    return true;
}

bool WholeSettingValue(const std::string& text, int& value) {
    double v = 0;
    // Checked as a number first: a cast of one no int holds is undefined.
    if (!StrictNumber(text, v) || !(std::fabs(v) < 2147483647.0) || v != std::trunc(v)) return false;
    value = static_cast<int>(v);
    return true;
}

std::vector<std::string> EnteredFields(const std::string& name) {
    if (name == kPanelsGroup) {
        std::vector<std::string> fields;
        for (int surface = 0; surface < kSurfaceCount; ++surface)
            fields.push_back(std::string(kSurfacePrefixes[surface]) + "1_D_txt");
        return fields;
    }
    if (name == kOutsideGroup)
        return {"TempOut_txt", "TempNord_txt", "TempSouth_txt", "TempEast_txt", "TempWest_txt", "TempCeil_txt"};
    return {name};
}

bool IsSettable(const std::string& name) { return isGroup(name) || FindFieldBySetName(name) != nullptr; }

std::vector<std::string> CloseNames(const std::string& name) {
    std::vector<std::pair<std::size_t, std::string>> ranked;
    auto consider = [&](const std::string& candidate) {
        std::size_t d = editDistance(name, candidate);
        const bool within = lower(candidate).find(lower(name)) != std::string::npos ||
                            lower(name).find(lower(candidate)) != std::string::npos;
        if (within) d = std::min<std::size_t>(d, 1);
        if (d <= std::max<std::size_t>(2, name.size() / 3)) ranked.emplace_back(d, candidate);
    };
    consider(kPanelsGroup);
    consider(kOutsideGroup);
    for (const FieldSpec& f : FieldCatalogue()) consider(f.setName());
    std::stable_sort(ranked.begin(), ranked.end(), [](auto& a, auto& b) { return a.first < b.first; });
    std::vector<std::string> names;
    for (std::size_t i = 0; i < ranked.size() && i < 5; ++i) names.push_back(ranked[i].second);
    return names;
}

SetResult ApplySettings(RoomProject& p, TaskDialogState& dialog, const ReferenceData& d,
                        const std::vector<Setting>& settings, EntrySink* sink) {
    EntrySink quiet;
    EntrySink& told = sink ? *sink : quiet;
    SetResult result;
    for (const Setting& s : settings) {
        if (!IsSettable(s.name)) {
            result.status = SetStatus::UnknownName;
            result.name = s.name;
            result.closeNames = CloseNames(s.name);
            return result;
        }
    }
    EntryRun entry(p, dialog, d, result, told);
    for (std::size_t i = 0; i < settings.size();) {
        if (!isTaskName(settings[i].name)) {
            if (!entry.apply(settings[i++])) return result;
            continue;
        }
        // The task dialog's entries in a row share one visit: «ИЗМЕНИТЬ», the entries, «Далее >>»,
        // and the main window activated again.
        ActivateTask(p);
        for (; i < settings.size() && isTaskName(settings[i].name); ++i)
            if (!entry.apply(settings[i])) return result;
        const TaskOutcome confirmed = ConfirmTask(p, dialog, d);
        for (const TaskNotice& n : confirmed.notices) told.taskNotice(n);
        if (!confirmed.confirmed) {
            result.status = SetStatus::Refused;
            result.message = confirmed.notices.empty() ? "задача не принята" : confirmed.notices.back().text;
            return result;
        }
        told.activateRoom(p);
    }
    return result;
}

}  // namespace coldroom
