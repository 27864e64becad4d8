#include "ui/study/study.h"

#include <cmath>

#include "core/numtext.h"
#include "ui/headless_ui.h"
#include "ui/program.h"
#include "ui/study/program_snapshot.h"

namespace coldroom {
namespace {

// A number with a point or a comma, the whole text.
bool number(std::string text, double& value) {
    if (auto comma = text.find(','); comma != std::string::npos) text[comma] = '.';
    return StrictNumber(text, value) && std::isfinite(value);
}

}  // namespace

std::vector<double> StudyAxis::values() const {
    std::vector<double> out;
    if (step == 0 || (to - from) / step < 0) return {from};
    // A small allowance so that 0.1 steps reach the end they were meant to reach.
    const double n = std::floor((to - from) / step + 1e-9);
    for (double i = 0; i <= n && out.size() < kMaxStudyPoints; ++i) {
        const double v = from + i * step;
        // The text a person would type: no trace of the binary sum (0.30000000000000004).
        out.push_back(LeadingNumber(GeneralText(std::round(v * 1e9) / 1e9)));
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
    if ((parsed.to - parsed.from) / (parsed.step == 0 ? 1 : parsed.step) >= kMaxStudyPoints) {
        error = s.name + ": слишком много точек";
        return false;
    }
    axis = parsed;
    return true;
}

std::vector<std::vector<double>> StudyGrid(const std::vector<StudyAxis>& axes) {
    std::vector<std::vector<double>> grid{{}};
    for (const StudyAxis& axis : axes) {
        std::vector<std::vector<double>> next;
        for (const auto& head : grid)
            for (double v : axis.values()) {
                if (next.size() >= kMaxStudyPoints) break;
                next.push_back(head);
                next.back().push_back(v);
            }
        grid = std::move(next);
    }
    return grid;
}

const std::vector<StudyParameter>& StudyParameters() {
    static const std::vector<StudyParameter> parameters = {
        {kPanelsGroup, "Толщина панелей: все стены, потолок и пол, мм"},
        {"Nord1_D_txt", "Стена Север, слой 1, мм"},
        {"South1_D_txt", "Стена Юг, слой 1, мм"},
        {"East1_D_txt", "Стена Восток, слой 1, мм"},
        {"West1_D_txt", "Стена Запад, слой 1, мм"},
        {"Ceil1_D_txt", "Потолок, слой 1, мм"},
        {"Floor1_D_txt", "Пол, слой 1, мм"},
        {"TempIn_txt", "Температура в камере, °C"},
        {"TempOut_txt", "Наружная температура, °C"},
        {"TempNord_txt", "Температура за стеной Север, °C"},
        {"HumidOut_txt", "Относительная влажность снаружи, %"},
        {"Length_txt", "Длина камеры, м"},
        {"Width_txt", "Ширина камеры, м"},
        {"Height_txt", "Высота камеры, м"},
        {"Door_W_txt", "Ширина двери, м"},
        {"Door_H_txt", "Высота двери, м"},
        {"Door_Open_txt", "Дверь открыта, ч в сутки"},
        {"NofPeople_txt", "Число людей"},
        {"TimePeople_txt", "Время работы людей, ч"},
        {"Electro_txt", "Освещение и оборудование, Вт"},
        {"Lifter_txt", "Погрузчики, Вт"},
        {"Cycle_txt", "Рабочий цикл агрегата, %"},
        {"Produkt.Oborot_tonn_txt", "Суточный оборот продуктов, т"},
        {"Produkt.Load_prod_txt", "Загрузка камеры, т"},
        {"Produkt.Tin_Prod_txt", "Начальная температура продукта, °C"},
        {"Produkt.Real_time_txt", "Время охлаждения, ч"},
    };
    return parameters;
}

Study::Study(std::string databasePath) : databasePath_(std::move(databasePath)) {}
Study::~Study() = default;

bool Study::Start(std::string& error) {
    ui_ = std::make_unique<HeadlessUi>();
    worker_ = std::make_unique<Program>(*ui_, databasePath_);
    ui_->attach(*worker_);
    // The copy never exits: the decimal separator it fixes is the one the program runs with.
    if (!worker_->Start(error)) return false;
    ui_->showWindow(WindowId::TaskDialog);
    worker_->task.OK_btn.onClick();
    if (!worker_->main.loaded()) {
        error = ui_->messages.empty() ? "не удалось открыть окно расчета" : ui_->messages.back().text;
        return false;
    }
    return true;
}

void Study::Begin(Program& source) { base_ = std::make_unique<ProgramSnapshot>(source); }

const LoadBreakdown& Study::baseLoads() const { return base_->results(); }

bool Study::Check(const std::vector<StudyAxis>& axes, std::string& error) {
    for (const StudyAxis& axis : axes) {
        if (IsSettable(*worker_, axis.name)) continue;
        error = "нет поля " + axis.name;
        const auto close = CloseNames(*worker_, axis.name);
        for (std::size_t i = 0; i < close.size(); ++i) error += (i ? ", " : "; похожие: ") + close[i];
        return false;
    }
    return true;
}

StudyPoint Study::Point(const std::vector<Setting>& settings) {
    base_->RestoreInto(*worker_);
    ui_->messages.clear();
    const SetResult result = ApplySettings(*worker_, *ui_, settings);
    StudyPoint point;
    point.refused = result.status != SetStatus::Done;
    point.message = result.message;
    if (!point.refused) point.loads = worker_->main.results();
    return point;
}

std::vector<StudyPoint> Study::Run(const std::vector<StudyAxis>& axes) {
    std::vector<StudyPoint> points;
    const auto grid = StudyGrid(axes);
    points.reserve(grid.size());
    std::vector<Setting> settings(axes.size());
    for (const auto& values : grid) {
        for (std::size_t k = 0; k < axes.size(); ++k) settings[k] = {axes[k].name, GeneralText(values[k])};
        points.push_back(Point(settings));
        points.back().values = values;
    }
    return points;
}

}  // namespace coldroom
