#include "model/field_catalogue.h"

#include <map>

#include "core/numtext.h"
#include "model/task_derived.h"
#include "refdb/reference_columns.h"

namespace coldroom {
namespace {

using Q = QuantityRange;

// Accessors: a member of the project, or an element of one of its arrays.
template <std::string RoomProject::*M> std::string& roomText(RoomProject& p, int) { return p.*M; }
template <std::string TaskValues::*M> std::string& taskText(RoomProject& p, int) { return p.task.*M; }
template <int RoomProject::*M> int& roomPosition(RoomProject& p, int) { return p.*M; }
template <int TaskValues::*M> int& taskPosition(RoomProject& p, int) { return p.task.*M; }
template <bool RoomProject::*M> bool& roomOption(RoomProject& p, int) { return p.*M; }
std::string& thicknessText(RoomProject& p, int i) { return p.thickness[i / 3][i % 3]; }
int& materialPosition(RoomProject& p, int i) { return p.material[i / 3][i % 3]; }
std::string& sideTempText(RoomProject& p, int s) { return p.sideTemp[s]; }
int& coatingPosition(RoomProject& p, int s) { return p.coating[s]; }
bool& outerOption(RoomProject& p, int s) { return p.outer[s]; }

const char* const kSurfaceGenitive[kSurfaceCount] = {"северной стены", "южной стены", "восточной стены",
                                                      "западной стены", "потолка",     "пола"};
const char* const kSurfaceWord[kSurfaceCount] = {"Север", "Юг", "Восток", "Запад", "Потолок", "Пол"};
const char* const kOptionSurface[5] = {"North", "South", "East", "West", "Ceil"};
const char* const kSideTemp[kSurfaceCount] = {"TempNord_txt", "TempSouth_txt", "TempEast_txt",
                                              "TempWest_txt", "TempCeil_txt",  "TempFloor_txt"};
const char* const kSideTempCaption[kSurfaceCount] = {
    "Температура за северной стеной", "Температура за южной стеной", "Температура за восточной стеной",
    "Температура за западной стеной", "Температура над потолком",   "Температура под полом"};
// Lines of the project file: side temperatures in the file's order N, W, E, S, floor, ceiling;
// thickness and materials by surface (N, S, E, W, ceiling, floor) and layer; the walls' and
// ceiling's option and coating by pairs in the order N, S, W, E, ceiling.
constexpr int kSideTempItem[kSurfaceCount] = {20, 23, 22, 21, 25, 24};
constexpr int kOuterItem[5] = {62, 64, 68, 66, 70};

FieldSpec text(std::string control, FieldForm form, std::string caption, std::string unit, const Q* range,
               int item, std::string& (*access)(RoomProject&, int), std::string refusal = {}) {
    FieldSpec f;
    f.control = std::move(control);
    f.form = form;
    f.kind = FieldKind::Text;
    f.caption = std::move(caption);
    f.unit = std::move(unit);
    f.range = range;
    f.refusal = std::move(refusal);
    f.fileItem = item;
    f.text = access;
    return f;
}

FieldSpec list(std::string control, FieldForm form, std::string caption, int item,
               int& (*access)(RoomProject&, int), FieldKind kind = FieldKind::List) {
    FieldSpec f;
    f.control = std::move(control);
    f.form = form;
    f.kind = kind;
    f.caption = std::move(caption);
    f.fileItem = item;
    f.position = access;
    return f;
}

FieldSpec option(std::string control, std::string other, std::string caption, bool selects, int item,
                 bool& (*access)(RoomProject&, int), int index = 0) {
    FieldSpec f;
    f.control = std::move(control);
    f.kind = FieldKind::Option;
    f.caption = std::move(caption);
    f.selects = selects;
    f.other = std::move(other);
    f.fileItem = item;
    f.option = access;
    f.index = index;
    return f;
}

std::vector<FieldSpec> makeCatalogue() {
    constexpr FieldForm M = FieldForm::Main, T = FieldForm::Task;
    using RP = RoomProject;
    using TV = TaskValues;
    std::vector<FieldSpec> c;

    // ---- The task dialog ----------------------------------------------------------------
    c.push_back(list("Task_cmb", T, "Технологическая задача", 4, &taskPosition<&TV::Task_cmb>));
    c.push_back(list("Produkt_cmb", T, "Тип продукта", 2, &taskPosition<&TV::Produkt_cmb>));
    c.push_back(list("Packing_cmb", T, "Тара и упаковка", 3, &taskPosition<&TV::Packing_cmb>));
    c.push_back(list("Smena_cmb", T, "Режим работы", 0, &taskPosition<&TV::Smena_cmb>));
    c.push_back(text("TempIn_txt", T, "Температура в камере", "°C", &Quantity::kRoomTemperature, 0,
                     &taskText<&TV::TempIn_txt>));
    c.push_back(text("Tin_Prod_txt", T, "Начальная температура продукта", "°C", &Quantity::kProductStart, 6,
                     &taskText<&TV::Tin_Prod_txt>));
    c.push_back(text("Tend_Prod_txt", T, "Конечная температура продукта", "°C", &Quantity::kProductEnd, 7,
                     &taskText<&TV::Tend_Prod_txt>));
    c.push_back(text("Load_prod_txt", T, "Загрузка камеры", "т", &Quantity::kNonNegative, 8,
                     &taskText<&TV::Load_prod_txt>));
    c.push_back(text("Oborot_Prod_txt", T, "Суточный оборот", "% от загрузки", &Quantity::kPercent, 9,
                     &taskText<&TV::Oborot_Prod_txt>));
    c.push_back(text("Oborot_tonn_txt", T, "Суточный оборот продуктов", "т", nullptr, 0,
                     &taskText<&TV::Oborot_tonn_txt>));
    c.push_back(text("Real_time_txt", T, "Время охлаждения", "ч", &Quantity::kCoolingTime, 10,
                     &taskText<&TV::Real_time_txt>));
    c.push_back(text("Velocity_txt", T, "Скорость движения воздуха", "м/с", &Quantity::kAirVelocity, 11,
                     &taskText<&TV::Velocity_txt>));
    c.push_back(text("HumidIn_txt", T, "Относительная влажность в камере", "%", &Quantity::kPercent, 12,
                     &taskText<&TV::HumidIn_txt>));
    c.push_back(text("Dimens_txt", T, "Характерный размер продукта", "см", nullptr, 0,
                     &taskText<&TV::Dimens_txt>));

    // ---- The room ---------------------------------------------------------------------------
    c.push_back(text("Name_txt", M, "Название задачи", "", nullptr, 13, &roomText<&RP::Name_txt>));
    c.push_back(text("Length_txt", M, "Длина камеры", "м", &Quantity::kPositive, 14, &roomText<&RP::Length_txt>,
                     "Длина камеры должна быть больше 0 м"));
    c.push_back(text("Width_txt", M, "Ширина камеры", "м", &Quantity::kPositive, 15, &roomText<&RP::Width_txt>,
                     "Ширина камеры должна быть больше 0 м"));
    c.push_back(text("Height_txt", M, "Высота камеры", "м", &Quantity::kPositive, 16, &roomText<&RP::Height_txt>,
                     "Высота камеры должна быть больше 0 м"));
    c.push_back(text("Volume_txt", M, "Объем камеры", "м³", nullptr, 17, &roomText<&RP::Volume_txt>));
    c.push_back(list("Location_cmb", M, "Расположение камеры", 18, &roomPosition<&RP::Location_cmb>));
    c.push_back(text("TempIn_txt", M, "Температура в камере", "°C", &Quantity::kRoomTemperature, 19,
                     &roomText<&RP::TempIn_txt>,
                     "Температура в камере должна быть в пределах от -50°С до +20°С"));
    for (int s = 0; s < kSurfaceCount; ++s) {
        FieldSpec f = text(kSideTemp[s], M, kSideTempCaption[s], "°C", nullptr, kSideTempItem[s], &sideTempText);
        f.index = s;
        c.push_back(f);
    }
    c.push_back(list("optAll_Temp", M, "Одинаковая внешняя температура", 0, &roomPosition<&RP::optAll_Temp>,
                     FieldKind::Check));
    c.push_back(list("optAll_as_one", M, "Одинаковые параметры для всех стен", 0,
                     &roomPosition<&RP::optAll_as_one>, FieldKind::Check));
    for (int s = 0; s < kSurfaceCount; ++s)
        for (int l = 0; l < 3; ++l) {
            const std::string base = std::string(kSurfacePrefixes[s]) + std::to_string(l + 1);
            FieldSpec t = text(base + "_D_txt", M,
                               "Толщина слоя " + std::to_string(l + 1) + " изоляции " + kSurfaceGenitive[s], "мм",
                               &Quantity::kNonNegative, 26 + s * 3 + l, &thicknessText);
            t.index = s * 3 + l;
            c.push_back(t);
            FieldSpec m = list(base + "_Mt_cmb", M,
                               std::string(kSurfaceWord[s]) + ", слой " + std::to_string(l + 1) + ": материал",
                               44 + s * 3 + l, &materialPosition);
            m.index = s * 3 + l;
            c.push_back(m);
        }
    for (int s = 0; s < 5; ++s) {
        const std::string out = std::string(kOptionSurface[s]) + "Out_opt", ins = std::string(kOptionSurface[s]) + "Ins_opt";
        const std::string word = kSurfaceWord[s];
        c.push_back(option(out, ins, word + ": наружная", true, 0, &outerOption, s));
        c.push_back(option(ins, out, word + ": внутренняя", false, kOuterItem[s], &outerOption, s));
        FieldSpec coat = list(std::string(kOptionSurface[s]) + "Surf_cmb", M, word + ": внешнее покрытие",
                              kOuterItem[s] + 1, &coatingPosition);
        coat.index = s;
        c.push_back(coat);
    }
    c.push_back(option("FloorGrunt_Opt", "FloorAir_Opt", "Пол на грунте", true, 72, &roomOption<&RP::FloorGrunt_Opt>));
    c.push_back(option("FloorAir_Opt", "FloorGrunt_Opt", "Пол над помещением", false, 0, &roomOption<&RP::FloorGrunt_Opt>));
    c.push_back(option("FloorHeat_Opt", "FloorCold_Opt", "Пол с обогревом", true, 73, &roomOption<&RP::FloorHeat_Opt>));
    c.push_back(option("FloorCold_Opt", "FloorHeat_Opt", "Пол без обогрева", false, 0, &roomOption<&RP::FloorHeat_Opt>));

    // ---- Doors and operation ------------------------------------------------------------------
    c.push_back(option("Door_Standard_opt", "Door_Special_opt", "Стандартные условия открывания дверей", true, 82,
                       &roomOption<&RP::Door_Standard_opt>));
    c.push_back(option("Door_Special_opt", "Door_Standard_opt", "Специальные условия открывания дверей", false, 0,
                       &roomOption<&RP::Door_Standard_opt>));
    c.push_back(list("TypeOfCell_cmb", M, "Тип камеры", 79, &roomPosition<&RP::TypeOfCell_cmb>));
    c.push_back(list("TypeOfCurtain_cmb", M, "Тип занавеси", 78, &roomPosition<&RP::TypeOfCurtain_cmb>));
    c.push_back(text("Door_W_txt", M, "Ширина двери", "м", &Quantity::kNonNegative, 84, &roomText<&RP::Door_W_txt>));
    c.push_back(text("Door_H_txt", M, "Высота двери", "м", &Quantity::kNonNegative, 83, &roomText<&RP::Door_H_txt>));
    c.push_back(text("Door_Open_txt", M, "Время, когда дверь открыта", "ч/сут", &Quantity::kNonNegative, 85,
                     &roomText<&RP::Door_Open_txt>));
    c.push_back(text("TempOut_txt", M, "Наружная температура (у двери)", "°C", nullptr, 86, &roomText<&RP::TempOut_txt>));
    c.push_back(text("HumidOut_txt", M, "Относительная влажность снаружи", "%", nullptr, 87,
                     &roomText<&RP::HumidOut_txt>));
    c.push_back(text("NofPeople_txt", M, "Число людей", "чел.", &Quantity::kNonNegative, 80,
                     &roomText<&RP::NofPeople_txt>));
    c.push_back(text("TimePeople_txt", M, "Время пребывания людей", "ч", &Quantity::kNonNegative, 81,
                     &roomText<&RP::TimePeople_txt>));
    c.push_back(text("Electro_txt", M, "Теплоприток от технологического оборудования", "кВт·ч",
                     &Quantity::kNonNegative, 76, &roomText<&RP::Electro_txt>));
    c.push_back(text("Lifter_txt", M, "Теплоприток от электропогрузчиков", "кВт·ч", &Quantity::kNonNegative, 75,
                     &roomText<&RP::Lifter_txt>));
    c.push_back(text("ElectroEva_txt", M, "Мощность вентиляторов", "Вт", &Quantity::kNonNegative, 77,
                     &roomText<&RP::ElectroEva_txt>));
    c.push_back(option("AutoEva_opt", "ManualEva_opt", "Мощность вентиляторов: автоматически", true, 0,
                       &roomOption<&RP::AutoEva_opt>));
    c.push_back(option("ManualEva_opt", "AutoEva_opt", "Мощность вентиляторов: задана", false, 0,
                       &roomOption<&RP::AutoEva_opt>));
    c.push_back(text("Cycle_txt", M, "Рабочий цикл агрегата", "%", &Quantity::kPercent, 74, &roomText<&RP::Cycle_txt>,
                     "Значение должно быть между 0% и 100% !"));
    using E = FieldSpec::Enabling;
    for (FieldSpec& f : c) {
        const std::string& n = f.control;
        if (f.form == FieldForm::Task) continue;
        if (n.find("_Mt_cmb") != std::string::npos) f.enabling = E::Material;
        else if (n == "TempFloor_txt") f.enabling = E::FloorTemperature;
        else if (n == "FloorHeat_Opt" || n == "FloorCold_Opt") f.enabling = E::FloorHeating;
        else if (n == "ElectroEva_txt") f.enabling = E::FanPower;
        else if (n == "TypeOfCell_cmb") f.enabling = E::StandardDoor;
        else if (n == "Door_W_txt" || n == "Door_H_txt" || n == "Door_Open_txt" || n == "TempOut_txt" ||
                 n == "HumidOut_txt" || n == "TypeOfCurtain_cmb")
            f.enabling = E::SpecialDoor;
    }
    return c;
}

}  // namespace

std::string FieldSpec::setName() const { return form == FieldForm::Task ? kTaskPrefix + control : control; }

std::string FieldSpec::captionWithUnit() const { return unit.empty() ? caption : caption + ", " + unit; }

std::string FieldSpec::refusalText() const {
    return refusal.empty() ? caption + ": значение не может быть меньше 0" : refusal;
}

const std::vector<FieldSpec>& FieldCatalogue() {
    static const std::vector<FieldSpec> catalogue = makeCatalogue();
    return catalogue;
}

const FieldSpec* FindField(std::string_view control, FieldForm form) {
    static const auto index = [] {
        std::map<std::pair<std::string, FieldForm>, const FieldSpec*, std::less<>> m;
        for (const FieldSpec& f : FieldCatalogue()) m[{f.control, f.form}] = &f;
        return m;
    }();
    auto it = index.find(std::pair<std::string, FieldForm>(std::string(control), form));
    return it == index.end() ? nullptr : it->second;
}

const FieldSpec* FindFieldBySetName(std::string_view name) {
    const std::string_view prefix = kTaskPrefix;
    if (name.substr(0, prefix.size()) == prefix) return FindField(name.substr(prefix.size()), FieldForm::Task);
    return FindField(name, FieldForm::Main);
}

const FieldSpec* FieldOfFileItem(int item) {
    static const auto byItem = [] {
        std::map<int, const FieldSpec*> m;
        for (const FieldSpec& f : FieldCatalogue())
            if (f.fileItem > 0) m[f.fileItem] = &f;
        return m;
    }();
    auto it = byItem.find(item);
    return it == byItem.end() ? nullptr : it->second;
}

int ListCount(const FieldSpec& f, const RoomProject& p, const ReferenceData& d) {
    const std::string& c = f.control;
    if (c == "Location_cmb") return d.Loc_array.rowCount();
    if (c == "TypeOfCell_cmb") return static_cast<int>(RoomTypeNames().size());
    if (c == "TypeOfCurtain_cmb") return static_cast<int>(CurtainNames().size());
    if (c == "Task_cmb") return static_cast<int>(p.task.OfferedTasks.size());
    if (c == "Produkt_cmb") return static_cast<int>(TaskProductList(p.task, d).size());
    if (c == "Packing_cmb") return d.Tara_array.rowCount();
    if (c == "Smena_cmb") return static_cast<int>(ShiftNames().size());
    if (c.size() > 8 && c.compare(c.size() - 7, 7, "_Mt_cmb") == 0) return d.Mat_array.rowCount();
    if (c.size() > 8 && c.compare(c.size() - 8, 8, "Surf_cmb") == 0) return d.Upp_array.rowCount();
    return 0;
}

std::string ListText(const FieldSpec& f, const RoomProject& p, const ReferenceData& d, int position) {
    if (position < 0 || position >= ListCount(f, p, d)) return {};
    const std::string& c = f.control;
    auto row = [](double number) { return WholeOr(number, -1) - 1; };
    if (c == "Location_cmb") return d.Loc_array.text(0, position);
    if (c == "TypeOfCell_cmb") return RoomTypeNames()[position];
    if (c == "TypeOfCurtain_cmb") return CurtainNames()[position];
    if (c == "Smena_cmb") return ShiftNames()[position];
    if (c == "Task_cmb") return d.Task_array.text(TaskColumn::Name, row(p.task.OfferedTasks[position]));
    if (c == "Produkt_cmb") return d.Prod_array.text(ProductColumn::Name, row(TaskProductList(p.task, d)[position]));
    if (c == "Packing_cmb") return d.Tara_array.text(0, position);
    if (c.compare(c.size() - 7, 7, "_Mt_cmb") == 0) return d.Mat_array.text(0, position);
    return d.Upp_array.text(0, position);
}

std::vector<std::string> FieldsOutOfRange(const RoomProject& p) {
    std::vector<std::string> out;
    for (const FieldSpec& f : FieldCatalogue()) {
        // The task's parameters may come from the reference tasks beyond what typing allows
        // (a product already at room temperature); the dialog checks them as they are typed.
        if (f.form != FieldForm::Main || f.kind != FieldKind::Text || !f.range) continue;
        // The fans' power is a result, not an entry, while the program chooses it.
        if (f.control == "ElectroEva_txt" && p.AutoEva_opt) continue;
        const std::string& t = f.textOf(p);
        if (!f.range->contains(LeadingNumber(t))) out.push_back(f.caption + ": " + t);
    }
    return out;
}

}  // namespace coldroom
