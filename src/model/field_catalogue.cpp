#include "model/field_catalogue.h"

#include <cmath>
#include <map>
#include <tuple>

#include "core/numtext.h"
#include "model/task_derived.h"
#include "model/task_edit.h"
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

// A row's facts beyond its kind and place, set where the row is made.
struct Facts {
    FieldRole role = FieldRole::Operation;
    FieldGroup group = FieldGroup::Operation;
    FieldSpec::Enabling enabling = FieldSpec::Enabling::Always;
    ListSource list = ListSource::None;
    int check = -1;
};

FieldSpec with(FieldSpec f, const Facts& facts) {
    f.role = facts.role;
    f.group = facts.group;
    f.enabling = facts.enabling;
    f.list = facts.list;
    f.check = facts.check;
    return f;
}

FieldSpec text(std::string control, FieldForm form, std::string caption, std::string unit, const Q* range,
               int item, std::string& (*access)(RoomProject&, int), const Facts& facts, std::string refusal = {}) {
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
    return with(std::move(f), facts);
}

FieldSpec list(std::string control, FieldForm form, std::string caption, int item,
               int& (*access)(RoomProject&, int), const Facts& facts, FieldKind kind = FieldKind::List) {
    FieldSpec f;
    f.control = std::move(control);
    f.form = form;
    f.kind = kind;
    f.caption = std::move(caption);
    f.fileItem = item;
    f.position = access;
    return with(std::move(f), facts);
}

FieldSpec option(std::string control, std::string other, std::string caption, bool selects, int item,
                 bool& (*access)(RoomProject&, int), const Facts& facts, int index = 0) {
    FieldSpec f;
    f.control = std::move(control);
    f.kind = FieldKind::Option;
    f.caption = std::move(caption);
    f.selects = selects;
    f.other = std::move(other);
    f.fileItem = item;
    f.option = access;
    f.index = index;
    return with(std::move(f), facts);
}

std::vector<FieldSpec> makeCatalogue() {
    constexpr FieldForm M = FieldForm::Main, T = FieldForm::Task;
    using RP = RoomProject;
    using TV = TaskValues;
    using R = FieldRole;
    using G = FieldGroup;
    using E = FieldSpec::Enabling;
    using L = ListSource;
    std::vector<FieldSpec> c;

    // ---- The task dialog ----------------------------------------------------------------
    const auto checked = [](TaskCheck k) { return Facts{R::TaskChecked, G::Task, E::Always, L::None, k}; };
    c.push_back(list("Task_cmb", T, "Технологическая задача", 4, &taskPosition<&TV::Task_cmb>,
                     {R::TaskChoice, G::Task, E::Always, L::Tasks}));
    c.push_back(list("Produkt_cmb", T, "Тип продукта", 2, &taskPosition<&TV::Produkt_cmb>,
                     {R::ProductChoice, G::Task, E::Always, L::Products}));
    c.push_back(list("Packing_cmb", T, "Тара и упаковка", 3, &taskPosition<&TV::Packing_cmb>,
                     {R::PackingChoice, G::Task, E::Always, L::Packagings}));
    c.push_back(list("Smena_cmb", T, "Режим работы", 0, &taskPosition<&TV::Smena_cmb>,
                     {R::ShiftChoice, G::Task, E::Always, L::Shifts}));
    c.push_back(text("TempIn_txt", T, "Температура в камере", "°C", &Quantity::kRoomTemperature, 0,
                     &taskText<&TV::TempIn_txt>, checked(CheckRoomTemperature)));
    c.push_back(text("Tin_Prod_txt", T, "Начальная температура продукта", "°C", &Quantity::kProductStart, 6,
                     &taskText<&TV::Tin_Prod_txt>, checked(CheckProductStart)));
    c.push_back(text("Tend_Prod_txt", T, "Конечная температура продукта", "°C", &Quantity::kProductEnd, 7,
                     &taskText<&TV::Tend_Prod_txt>, checked(CheckProductEnd)));
    c.push_back(text("Load_prod_txt", T, "Загрузка камеры", "т", &Quantity::kNonNegative, 8,
                     &taskText<&TV::Load_prod_txt>, checked(CheckLoad)));
    c.push_back(text("Oborot_Prod_txt", T, "Суточный оборот", "% от загрузки", &Quantity::kPercent, 9,
                     &taskText<&TV::Oborot_Prod_txt>, checked(CheckTurnover)));
    c.push_back(text("Oborot_tonn_txt", T, "Суточный оборот продуктов", "т", nullptr, 0,
                     &taskText<&TV::Oborot_tonn_txt>, {R::TurnoverTonnes, G::Task}));
    c.push_back(text("Real_time_txt", T, "Время охлаждения", "ч", &Quantity::kCoolingTime, 10,
                     &taskText<&TV::Real_time_txt>, checked(CheckCoolingTime)));
    c.push_back(text("Velocity_txt", T, "Скорость движения воздуха", "м/с", &Quantity::kAirVelocity, 11,
                     &taskText<&TV::Velocity_txt>, checked(CheckAirVelocity)));
    c.push_back(text("HumidIn_txt", T, "Относительная влажность в камере", "%", &Quantity::kPercent, 12,
                     &taskText<&TV::HumidIn_txt>, checked(CheckHumidity)));
    c.push_back(text("Dimens_txt", T, "Характерный размер продукта", "см", &Quantity::kProductSize, 0,
                     &taskText<&TV::Dimens_txt>, {R::ProductSize, G::Task}));

    // ---- The room ---------------------------------------------------------------------------
    c.push_back(text("Name_txt", M, "Название задачи", "", nullptr, 13, &roomText<&RP::Name_txt>, {R::Title, G::Room}));
    for (auto [control, caption, item, access] :
         {std::tuple{"Length_txt", "Длина камеры", 14, &roomText<&RP::Length_txt>},
          std::tuple{"Width_txt", "Ширина камеры", 15, &roomText<&RP::Width_txt>},
          std::tuple{"Height_txt", "Высота камеры", 16, &roomText<&RP::Height_txt>}})
        c.push_back(text(control, M, caption, "м", &Quantity::kPositive, item, access, {R::Dimension, G::Room},
                         std::string(caption) + " должна быть больше 0 м"));
    c.push_back(text("Volume_txt", M, "Объем камеры", "м³", &Quantity::kPositive, 17, &roomText<&RP::Volume_txt>,
                     {R::Volume, G::Room}));
    c.push_back(list("Location_cmb", M, "Расположение камеры", 18, &roomPosition<&RP::Location_cmb>,
                     {R::Location, G::Room, E::Always, L::Locations}));
    c.push_back(text("TempIn_txt", M, "Температура в камере", "°C", &Quantity::kRoomTemperature, 19,
                     &roomText<&RP::TempIn_txt>, {R::RoomTemperature, G::Room},
                     "Температура в камере должна быть в пределах от -50°С до +20°С"));
    for (int s = 0; s < kSurfaceCount; ++s) {
        FieldSpec f = text(kSideTemp[s], M, kSideTempCaption[s], "°C", &Quantity::kSideTemperature, kSideTempItem[s],
                           &sideTempText,
                           {R::SideTemperature, G::Walls, s == kFloor ? E::FloorTemperature : E::Always});
        f.index = s;
        c.push_back(f);
    }
    c.push_back(list("optAll_Temp", M, "Одинаковая внешняя температура", 0, &roomPosition<&RP::optAll_Temp>,
                     {R::ShareTemperatures, G::Walls}, FieldKind::Check));
    c.push_back(list("optAll_as_one", M, "Одинаковые параметры для всех стен", 0,
                     &roomPosition<&RP::optAll_as_one>, {R::ShareLayers, G::Walls}, FieldKind::Check));
    for (int s = 0; s < kSurfaceCount; ++s)
        for (int l = 0; l < 3; ++l) {
            const std::string base = std::string(kSurfacePrefixes[s]) + std::to_string(l + 1);
            FieldSpec t = text(base + "_D_txt", M,
                               "Толщина слоя " + std::to_string(l + 1) + " изоляции " + kSurfaceGenitive[s], "мм",
                               &Quantity::kThickness, 26 + s * 3 + l, &thicknessText, {R::Thickness, G::Walls});
            t.index = s * 3 + l;
            c.push_back(t);
            FieldSpec m = list(base + "_Mt_cmb", M,
                               std::string(kSurfaceWord[s]) + ", слой " + std::to_string(l + 1) + ": материал",
                               44 + s * 3 + l, &materialPosition, {R::Material, G::Walls, E::Material, L::Materials});
            m.index = s * 3 + l;
            c.push_back(m);
        }
    for (int s = 0; s < 5; ++s) {
        const std::string out = std::string(kOptionSurface[s]) + "Out_opt", ins = std::string(kOptionSurface[s]) + "Ins_opt";
        const std::string word = kSurfaceWord[s];
        c.push_back(option(out, ins, word + ": наружная", true, 0, &outerOption, {R::WallPosition, G::Walls}, s));
        c.push_back(option(ins, out, word + ": внутренняя", false, kOuterItem[s], &outerOption, {R::WallPosition, G::Walls}, s));
        FieldSpec coat = list(std::string(kOptionSurface[s]) + "Surf_cmb", M, word + ": внешнее покрытие",
                              kOuterItem[s] + 1, &coatingPosition, {R::Coating, G::Walls, E::Always, L::Coatings});
        coat.index = s;
        c.push_back(coat);
    }
    const Facts floorPosition{R::FloorPosition, G::Walls}, floorHeating{R::FloorHeating, G::Walls, E::FloorHeating};
    c.push_back(option("FloorGrunt_Opt", "FloorAir_Opt", "Пол на грунте", true, 72, &roomOption<&RP::FloorGrunt_Opt>, floorPosition));
    c.push_back(option("FloorAir_Opt", "FloorGrunt_Opt", "Пол над помещением", false, 0, &roomOption<&RP::FloorGrunt_Opt>, floorPosition));
    c.push_back(option("FloorHeat_Opt", "FloorCold_Opt", "Пол с обогревом", true, 73, &roomOption<&RP::FloorHeat_Opt>, floorHeating));
    c.push_back(option("FloorCold_Opt", "FloorHeat_Opt", "Пол без обогрева", false, 0, &roomOption<&RP::FloorHeat_Opt>, floorHeating));

    // ---- Doors and operation ------------------------------------------------------------------
    const Facts doorMode{R::DoorMode}, special{R::Operation, G::Operation, E::SpecialDoor};
    c.push_back(option("Door_Standard_opt", "Door_Special_opt", "Стандартные условия открывания дверей", true, 82,
                       &roomOption<&RP::Door_Standard_opt>, doorMode));
    c.push_back(option("Door_Special_opt", "Door_Standard_opt", "Специальные условия открывания дверей", false, 0,
                       &roomOption<&RP::Door_Standard_opt>, doorMode));
    c.push_back(list("TypeOfCell_cmb", M, "Тип камеры", 79, &roomPosition<&RP::TypeOfCell_cmb>,
                     {R::DoorKind, G::Operation, E::StandardDoor, L::RoomTypes}));
    c.push_back(list("TypeOfCurtain_cmb", M, "Тип занавеси", 78, &roomPosition<&RP::TypeOfCurtain_cmb>,
                     {R::DoorKind, G::Operation, E::SpecialDoor, L::Curtains}));
    c.push_back(text("Door_W_txt", M, "Ширина двери", "м", &Quantity::kDoorSize, 84, &roomText<&RP::Door_W_txt>, special));
    c.push_back(text("Door_H_txt", M, "Высота двери", "м", &Quantity::kDoorSize, 83, &roomText<&RP::Door_H_txt>, special));
    c.push_back(text("Door_Open_txt", M, "Время, когда дверь открыта", "ч/сут", &Quantity::kHoursPerDay, 85,
                     &roomText<&RP::Door_Open_txt>, special));
    c.push_back(text("TempOut_txt", M, "Наружная температура (у двери)", "°C", &Quantity::kOutsideAir, 86, &roomText<&RP::TempOut_txt>,
                     special));
    c.push_back(text("HumidOut_txt", M, "Относительная влажность снаружи", "%", &Quantity::kPercent, 87,
                     &roomText<&RP::HumidOut_txt>, special));
    c.push_back(text("NofPeople_txt", M, "Число людей", "чел.", &Quantity::kNonNegative, 80,
                     &roomText<&RP::NofPeople_txt>, {}));
    c.push_back(text("TimePeople_txt", M, "Время пребывания людей", "ч", &Quantity::kHoursPerDay, 81,
                     &roomText<&RP::TimePeople_txt>, {}));
    c.push_back(text("Electro_txt", M, "Теплоприток от технологического оборудования", "кВт·ч",
                     &Quantity::kNonNegative, 76, &roomText<&RP::Electro_txt>, {}));
    c.push_back(text("Lifter_txt", M, "Теплоприток от электропогрузчиков", "кВт·ч", &Quantity::kNonNegative, 75,
                     &roomText<&RP::Lifter_txt>, {}));
    c.push_back(text("ElectroEva_txt", M, "Мощность вентиляторов", "Вт", &Quantity::kNonNegative, 77,
                     &roomText<&RP::ElectroEva_txt>, {R::Operation, G::Operation, E::FanPower}));
    c.push_back(option("AutoEva_opt", "ManualEva_opt", "Мощность вентиляторов: автоматически", true, 0,
                       &roomOption<&RP::AutoEva_opt>, {R::FanMode}));
    c.push_back(option("ManualEva_opt", "AutoEva_opt", "Мощность вентиляторов: задана", false, 0,
                       &roomOption<&RP::AutoEva_opt>, {R::FanMode}));
    c.push_back(text("Cycle_txt", M, "Рабочий цикл агрегата", "%", &Quantity::kPercent, 74, &roomText<&RP::Cycle_txt>,
                     {}, "Значение должно быть между 0% и 100% !"));
    return c;
}

}  // namespace

std::string FieldSpec::setName() const { return form == FieldForm::Task ? kTaskPrefix + control : control; }

std::string FieldSpec::captionWithUnit() const { return unit.empty() ? caption : caption + ", " + unit; }

namespace {

std::string bound(double v) { return GeneralText(v); }

// A range as it is checked, ends included or not: "от 0 до 24", "больше 0".
std::string rangeText(double low, bool lowOut, double high, bool highOut) {
    const bool lowSet = std::isfinite(low), highSet = std::isfinite(high);
    if (lowSet && highSet) {
        if (!lowOut && !highOut) return "от " + bound(low) + " до " + bound(high);
        return std::string(lowOut ? "больше " : "не меньше ") + bound(low) + (highOut ? " и меньше " : " и не больше ") +
               bound(high);
    }
    if (lowSet) return (lowOut ? "больше " : "не меньше ") + bound(low);
    if (highSet) return (highOut ? "меньше " : "не больше ") + bound(high);
    return "любое";
}

}  // namespace

std::string FieldSpec::refusalText() const {
    if (!refusal.empty()) return refusal;
    if (!range || (range->low == 0 && !range->lowExcluded && !std::isfinite(range->high)))
        return caption + ": значение не может быть меньше 0";
    return caption + ": значение должно быть " +
           rangeText(range->low, range->lowExcluded, range->high, range->highExcluded) + (unit.empty() ? "" : " " + unit);
}

std::string FieldSpec::unusualText(const std::string& typed) const {
    if (!range || range->usual(LeadingNumber(typed))) return {};
    return captionWithUnit() + ": " + typed + " — необычное значение (обычно " +
           rangeText(range->usualLow, false, range->usualHigh, false) + "). Проверьте, не опечатка ли это.";
}

std::string FieldSpec::notANumberText(const std::string& typed) const {
    return "«" + typed + "» — не число.\r\nПоле «" + captionWithUnit() + "» сохраняет прежнее значение.";
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
    switch (f.list) {
    case ListSource::None: return 0;
    case ListSource::Locations: return d.Loc_array.rowCount();
    case ListSource::RoomTypes: return static_cast<int>(RoomTypeNames().size());
    case ListSource::Curtains: return static_cast<int>(CurtainNames().size());
    case ListSource::Tasks: return static_cast<int>(p.task.OfferedTasks.size());
    case ListSource::Products: return static_cast<int>(TaskProductList(p.task, d).size());
    case ListSource::Packagings: return d.Tara_array.rowCount();
    case ListSource::Shifts: return static_cast<int>(ShiftNames().size());
    case ListSource::Materials: return d.Mat_array.rowCount();
    case ListSource::Coatings: return d.Upp_array.rowCount();
    }
    return 0;
}

std::string ListText(const FieldSpec& f, const RoomProject& p, const ReferenceData& d, int position) {
    if (position < 0 || position >= ListCount(f, p, d)) return {};
    auto row = [](double number) { return WholeOr(number, -1) - 1; };
    switch (f.list) {
    case ListSource::None: return {};
    case ListSource::Locations: return d.Loc_array.text(0, position);
    case ListSource::RoomTypes: return RoomTypeNames()[position];
    case ListSource::Curtains: return CurtainNames()[position];
    case ListSource::Shifts: return ShiftNames()[position];
    case ListSource::Tasks: return d.Task_array.text(TaskColumn::Name, row(p.task.OfferedTasks[position]));
    case ListSource::Products: return d.Prod_array.text(ProductColumn::Name, row(TaskProductList(p.task, d)[position]));
    case ListSource::Packagings: return d.Tara_array.text(0, position);
    case ListSource::Materials: return d.Mat_array.text(0, position);
    case ListSource::Coatings: return d.Upp_array.text(0, position);
    }
    return {};
}

std::vector<std::string> FieldsOutOfRange(const RoomProject& p) {
    std::vector<std::string> out;
    for (const FieldSpec& f : FieldCatalogue()) {
        // The task's parameters may come from the reference tasks beyond what typing allows
        // (a product already at room temperature); the dialog checks them as they are typed.
        if (f.form != FieldForm::Main || f.kind != FieldKind::Text || !f.range) continue;
        // The fans' power is a result, not an entry, while the program chooses it.
        if (f.enabling == FieldSpec::Enabling::FanPower && p.AutoEva_opt) continue;
        const std::string& t = f.textOf(p);
        if (!f.range->contains(LeadingNumber(t))) out.push_back(f.caption + ": " + t);
    }
    return out;
}

}  // namespace coldroom
