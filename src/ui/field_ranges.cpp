#include "ui/field_ranges.h"

#include "core/controls.h"
#include "core/envelope.h"
#include "core/numtext.h"

namespace coldroom {

namespace {

constexpr double kNone = std::numeric_limits<double>::infinity();

std::vector<FieldRange> makeTable() {
    std::vector<FieldRange> t = {
        {"TempIn_txt", true, -50, 20, false, "Температура в камере"},
        {"Tin_Prod_txt", true, -20, 36, false, "Температура начала охлаждения"},
        {"Tend_Prod_txt", true, -40, 15, false, "Температура конца охлаждения"},
        {"Oborot_Prod_txt", true, 0, 100, false, "Суточный оборот, %"},
        {"Velocity_txt", true, 0, 20, true, "Скорость движения воздуха"},
        {"Real_time_txt", true, 0, kNone, true, "Время охлаждения"},
        {"Load_prod_txt", true, 0, kNone, false, "Загрузка камеры"},
        {"HumidIn_txt", true, 0, 100, false, "Относительная влажность в камере"},
        {"Length_txt", false, 0, kNone, true, "Длина камеры"},
        {"Width_txt", false, 0, kNone, true, "Ширина камеры"},
        {"Height_txt", false, 0, kNone, true, "Высота камеры"},
        {"TempIn_txt", false, -50, 20, false, "Температура в камере"},
        {"Cycle_txt", false, 0, 100, false, "Цикл работы"},
        {"Door_W_txt", false, 0, kNone, false, "Ширина двери"},
        {"Door_H_txt", false, 0, kNone, false, "Высота двери"},
        {"Door_Open_txt", false, 0, kNone, false, "Время, когда дверь открыта"},
        {"NofPeople_txt", false, 0, kNone, false, "Число людей"},
        {"TimePeople_txt", false, 0, kNone, false, "Время пребывания людей"},
        {"Electro_txt", false, 0, kNone, false, "Мощность освещения и оборудования"},
        {"Lifter_txt", false, 0, kNone, false, "Мощность погрузчиков"},
        {"ElectroEva_txt", false, 0, kNone, false, "Мощность вентиляторов"},
    };
    // The layers of insulation: names such as "Nord2_D_txt", described by surface and layer.
    static const char* const surfaces[kSurfaceCount] = {"северной стены", "южной стены", "восточной стены",
                                                         "западной стены", "потолка",     "пола"};
    static std::vector<std::string> names, whats;
    names.reserve(kSurfaceCount * 3);
    whats.reserve(kSurfaceCount * 3);
    for (int s = 0; s < kSurfaceCount; ++s)
        for (int l = 0; l < 3; ++l) {
            names.push_back(std::string(kSurfacePrefixes[s]) + std::to_string(l + 1) + "_D_txt");
            whats.push_back("Толщина слоя " + std::to_string(l + 1) + " изоляции " + surfaces[s]);
        }
    for (size_t i = 0; i < names.size(); ++i) t.push_back({names[i].c_str(), false, 0, kNone, false, whats[i].c_str()});
    return t;
}

}  // namespace

const std::vector<FieldRange>& FieldRanges() {
    static const std::vector<FieldRange> table = makeTable();
    return table;
}

const FieldRange* FindFieldRange(const std::string& control, bool taskForm) {
    for (const FieldRange& r : FieldRanges())
        if (r.taskForm == taskForm && control == r.control) return &r;
    return nullptr;
}

bool InFieldRange(const FieldRange& r, double v) {
    return (r.lowExcluded ? v > r.low : v >= r.low) && v <= r.high;
}

std::string NegativeValueText(const FieldRange& range) {
    return std::string(range.what) + ": значение не может быть меньше 0";
}

std::vector<std::string> FieldsOutOfRange(const ControlRegistry& task, const ControlRegistry& main) {
    std::vector<std::string> out;
    for (const FieldRange& r : FieldRanges()) {
        // The task's parameters may come from the reference tasks beyond what typing allows
        // (a product already at room temperature); the dialog checks them as they are typed.
        if (r.taskForm) continue;
        const TextBox* box = (r.taskForm ? task : main).get<TextBox>(r.control);
        if (box && !InFieldRange(r, LeadingNumber(box->text))) out.push_back(std::string(r.what) + ": " + box->text);
    }
    return out;
}

}  // namespace coldroom
