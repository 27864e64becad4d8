#include "ui/study/study.h"

#include <algorithm>
#include <cmath>

#include "core/numtext.h"
#include "model/compute_room.h"
#include "model/field_catalogue.h"

namespace coldroom {
namespace {

// A number with a point or a comma, the whole text.
bool number(std::string text, double& value) {
    if (auto comma = text.find(','); comma != std::string::npos) text[comma] = '.';
    return StrictNumber(text, value) && std::isfinite(value);
}

}  // namespace

double StudyAxis::count() const {
    if (step == 0 || (to - from) / step < 0) return 1;
    // A small allowance so that 0.1 steps reach the end they were meant to reach.
    return std::floor((to - from) / step + 1e-9) + 1;
}

std::vector<double> StudyAxis::values() const {
    std::vector<double> out;
    const double n = count();
    if (!(n <= static_cast<double>(kMaxStudyPoints))) return out;
    out.reserve(static_cast<std::size_t>(n));
    for (double i = 0; i < n; ++i) {
        const double v = from + i * step;
        // The text a person would type: no trace of the binary sum (0.30000000000000004). Only
        // values whose ninth decimal means something are rounded there; a huge one stays as it is.
        out.push_back(std::fabs(v) < 1e6 ? LeadingNumber(GeneralText(std::round(v * 1e9) / 1e9)) : v);
    }
    return out;
}

bool ParseAxis(const std::string& text, StudyAxis& axis, std::string& error) {
    Setting s;
    if (!ParseSetting(text, s)) {
        error = "ожидается ИМЯ=ОТ:ДО:ШАГ, а не " + text;
        return false;
    }
    const auto a = s.text.find(':'), b = a == std::string::npos ? a : s.text.find(':', a + 1);
    StudyAxis parsed{s.name};
    if (b == std::string::npos || !number(s.text.substr(0, a), parsed.from) ||
        !number(s.text.substr(a + 1, b - a - 1), parsed.to) || !number(s.text.substr(b + 1), parsed.step)) {
        error = s.name + ": ожидается ОТ:ДО:ШАГ, а не " + s.text;
        return false;
    }
    if (parsed.step == 0 && parsed.to != parsed.from) {
        error = s.name + ": шаг не может быть равен 0";
        return false;
    }
    if (parsed.step != 0 && (parsed.to - parsed.from) / parsed.step < 0) {
        error = s.name + ": шагом " + GeneralText(parsed.step) + " от " + GeneralText(parsed.from) + " не дойти до " +
                GeneralText(parsed.to);
        return false;
    }
    if (!(parsed.count() <= static_cast<double>(kMaxStudyPoints))) {
        error = s.name + ": слишком много точек: " + GeneralText(parsed.count()) + " (не больше " +
                std::to_string(kMaxStudyPoints) + ")";
        return false;
    }
    // Steps so fine that neighbours read as one number would compute the same point again.
    const std::vector<double> values = parsed.values();
    for (std::size_t i = 1; i < values.size(); ++i) {
        if (values[i] == values[i - 1]) {
            error = s.name + ": шаг " + GeneralText(parsed.step) + " слишком мал: значения повторяются";
            return false;
        }
    }
    axis = parsed;
    return true;
}

static void ForEachGridPoint(const std::vector<StudyAxis>& axes, const std::function<void(const std::vector<double>&)>& each) {
    std::vector<std::vector<double>> values;
    double total = 1;
    for (const StudyAxis& axis : axes) {
        total *= axis.count();
        values.push_back(axis.values());
    }
    if (!(total <= static_cast<double>(kMaxStudyPoints))) return;
    std::vector<std::size_t> at(axes.size(), 0);
    std::vector<double> point(axes.size());
    for (std::size_t n = 0; n < static_cast<std::size_t>(total); ++n) {
        for (std::size_t k = 0; k < axes.size(); ++k) point[k] = values[k][at[k]];
        each(point);
        // The last axis moves fastest.
        for (std::size_t k = axes.size(); k-- > 0;) {
            if (++at[k] < values[k].size()) break;
            at[k] = 0;
        }
    }
}

std::vector<std::vector<double>> StudyGrid(const std::vector<StudyAxis>& axes) {
    std::vector<std::vector<double>> grid;
    ForEachGridPoint(axes, [&](const std::vector<double>& point) { grid.push_back(point); });
    return grid;
}

const std::vector<StudyParameter>& StudyParameters() {
    static const std::vector<StudyParameter> parameters = [] {
        std::vector<StudyParameter> list;
        for (const char* name :
             {kPanelsGroup, "Nord1_D_txt", "South1_D_txt", "East1_D_txt", "West1_D_txt", "Ceil1_D_txt",
              "Floor1_D_txt", "TempIn_txt", kOutsideGroup, "TempOut_txt", "TempNord_txt", "HumidOut_txt",
              "Length_txt", "Width_txt", "Height_txt", "Door_W_txt", "Door_H_txt", "Door_Open_txt", "NofPeople_txt",
              "TimePeople_txt", "Electro_txt", "Lifter_txt", "Cycle_txt", "Produkt.Oborot_tonn_txt",
              "Produkt.Load_prod_txt", "Produkt.Tin_Prod_txt", "Produkt.Real_time_txt"})
            list.push_back({name, StudyCaption(name)});
        return list;
    }();
    return parameters;
}

std::string StudyCaption(const std::string& name) {
    if (name == kPanelsGroup) return "Толщина панелей: все стены, потолок и пол, мм";
    if (name == kOutsideGroup) return "Наружная температура (все стороны), °C";
    const FieldSpec* f = FindFieldBySetName(name);
    return f ? f->captionWithUnit() : name;
}

Study::Study(std::shared_ptr<const ReferenceData> data) : data_(std::move(data)) {}

void Study::Begin(const RoomProject& project, const TaskDialogState& dialog) {
    base_ = project;
    dialog_ = dialog;
    baseLoads_ = ComputeRoom(base_, *data_).loads;
}

bool Study::Check(const std::vector<StudyAxis>& axes, std::string& error) const {
    double total = 1;
    for (const StudyAxis& axis : axes) {
        total *= axis.count();
        if (IsSettable(axis.name)) continue;
        error = "нет поля " + axis.name;
        const auto close = CloseNames(axis.name);
        for (std::size_t i = 0; i < close.size(); ++i) error += (i ? ", " : "; похожие: ") + close[i];
        return false;
    }
    // Two axes that type into one field would label points with values never computed.
    for (std::size_t a = 0; a < axes.size(); ++a)
        for (std::size_t b = a + 1; b < axes.size(); ++b) {
            if (axes[a].name == axes[b].name) {
                error = axes[a].name + ": параметр задан дважды; каждый параметр можно изменять только один раз";
                return false;
            }
            for (const std::string& field : EnteredFields(axes[a].name)) {
                const std::vector<std::string> other = EnteredFields(axes[b].name);
                if (std::find(other.begin(), other.end(), field) == other.end()) continue;
                error = axes[a].name + " и " + axes[b].name + " изменяют одно и то же поле " + field +
                        "; оставьте один из них";
                return false;
            }
        }
    if (!(total <= static_cast<double>(kMaxStudyPoints))) {
        error = "слишком много точек: " + GeneralText(total) + " (не больше " + std::to_string(kMaxStudyPoints) + ")";
        return false;
    }
    return true;
}

StudyPoint Study::Point(const std::vector<Setting>& settings) const {
    work_ = base_;
    workDialog_ = dialog_;
    const SetResult result = ApplySettings(work_, workDialog_, *data_, settings);
    StudyPoint point;
    point.refused = result.status != SetStatus::Done;
    point.message = result.message;
    if (!point.refused) point.loads = ComputeRoom(work_, *data_).loads;
    return point;
}

void Study::Each(const std::vector<StudyAxis>& axes, const std::function<void(StudyPoint&)>& each) const {
    // The text fields each axis types into, found once for the whole grid.
    std::vector<std::vector<const FieldSpec*>> entered(axes.size());
    for (std::size_t k = 0; k < axes.size(); ++k)
        for (const std::string& name : EnteredFields(axes[k].name))
            if (const FieldSpec* f = FindFieldBySetName(name); f && f->kind == FieldKind::Text) entered[k].push_back(f);
    std::vector<Setting> settings(axes.size());
    StudyPoint point;
    ForEachGridPoint(axes, [&](const std::vector<double>& values) {
        for (std::size_t k = 0; k < axes.size(); ++k) settings[k] = {axes[k].name, GeneralText(values[k])};
        point = Point(settings);
        point.values = values;
        // A point is labelled with the values it was computed with, or not at all: an entry
        // that moves another axis's field (the volume moves the length) leaves it refused.
        for (std::size_t k = 0; k < axes.size() && !point.refused; ++k) {
            const double typed = LeadingNumber(settings[k].text);
            for (const FieldSpec* f : entered[k]) {
                if (LeadingNumber(f->textOf(work_)) == typed) continue;
                point.refused = true;
                point.message = f->setName() + " = " + f->textOf(work_) + ", а не " + settings[k].text +
                                ": значение изменил ввод другого параметра";
                break;
            }
        }
        each(point);
    });
}

std::vector<StudyPoint> Study::Run(const std::vector<StudyAxis>& axes) const {
    std::vector<StudyPoint> points;
    double total = 1;
    for (const StudyAxis& axis : axes) total *= axis.count();
    if (total <= static_cast<double>(kMaxStudyPoints)) points.reserve(static_cast<std::size_t>(total));
    Each(axes, [&](StudyPoint& point) { points.push_back(std::move(point)); });
    return points;
}

}  // namespace coldroom
