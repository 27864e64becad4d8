#include "ui/editor/editor_checks.h"

#include <map>
#include <stdexcept>

#include "core/numtext.h"
#include "core/quantity_ranges.h"
#include "refdb/reference_columns.h"

namespace coldroom {
namespace {

using Kind = EditorCheck::Kind;

// Two message lines as the message box shows them.
#define LINES(a, b) a "\r\n" b

const char* const kConductivity = LINES("Коэффициент теплопроводности должен быть", "больше 0 и не больше 4 Вт/(м·К)");
const char* const kConductivityBlank = LINES("Коэффициент теплопроводности должен быть", " больше 0 и не больше 4 Вт/(м·К)");
const char* const kHeatCapacity = LINES("Удельная теплоемкость должна быть", "больше 0 и не больше 4.5 кДж/(кг·К)");

// The parameters of the "Разное" tab have no message of their own: it is made from the range.
const char* ParameterMessage() {
    static const std::string text = [] {
        const ValueRule& r = *FindValueRule("Others", kValueColumn);
        return "Значение параметра должно быть в пределах от " + GeneralText(r.range.low) + " до " + GeneralText(r.range.high);
    }();
    return text.c_str();
}

EditorCheck Name(const char* table, int column, const char* message) {
    return {Kind::Name, table, column, message, nullptr};
}
EditorCheck Range(const char* table, int column, const char* leave, const char* enter = nullptr) {
    return {Kind::Range, table, column, leave, enter};
}

const std::map<std::string_view, EditorCheck>& Checks() {
    namespace P = ProductColumn;
    namespace T = TaskColumn;
    static const std::map<std::string_view, EditorCheck> checks = {
        {"txtTask", Name("Tasks", T::Name, "Введите название задачи!")},
        {"txtTcell", Range("Tasks", T::TempCell, LINES("Температура в камере должна быть", " в пределах от -50°С до +20°С"))},
        {"txtTstart", {Kind::TempStart, "Tasks", T::TempIn, "Температура начала охлаждения должна", nullptr}},
        {"txtTend", {Kind::TempEnd, "Tasks", T::TempOut, "Температура конца охлаждения должна", nullptr}},
        {"txtCooltime", Range("Tasks", T::CoolTime, "Время охлаждения должно быть больше 0 и не больше 24 часов")},
        {"txtVelocity", Range("Tasks", T::Velocity, LINES("Скорость движения воздуха в камере", " должна быть больше 0 и не больше 20 м/с"),
                              LINES("Скорость движения воздуха в камере ", "должна быть больше 0 и не больше 20 м/с"))},
        {"txtHumidity", Range("Tasks", T::Humidity, LINES("Влажность в камере должна быть", "в пределах от 20 до 100 %"))},
        {"txtIsoName", Name("Isolation", 0, "Введите название материала изоляции")},
        {"txtConduct", Range("Isolation", kValueColumn, kConductivity)},
        {"txtProduct", Name("ProdMeat", P::Name, "Введите название продукта")},
        {"txtNorma", Range("ProdMeat", P::Norma, LINES("Неверно задана норма хранения. ",
                                                        "Значение должно быть больше 0 и не больше 1 тонна/куб.м"))},
        {"txtHeatCap", Range("ProdMeat", P::SpecificHeat, kHeatCapacity)},
        {"txtHeatCap_freez", Range("ProdMeat", P::SpecificHeatFrozen, kHeatCapacity)},
        {"txtWlaga", Range("ProdMeat", P::Water, "Влагосодержание должно быть больше 0 и не больше 1")},
        {"txtCond", Range("ProdMeat", P::Conductivity, kConductivity, kConductivityBlank)},
        {"txtCond_freez", Range("ProdMeat", P::ConductivityFrozen, kConductivityBlank)},
        {"txtSize", Range("ProdMeat", P::Dimension, LINES("Характерный размер продукта должен", " быть больше 0 и не больше 1 м"))},
        {"txtShape",
         {Kind::Shape, "ProdMeat", P::Shape,
          "Коэффициент формы может принимать значения: \r\n0.56 (для мясных полутуш и четвертин); \r\n"
          "1 (для продуктов в форме пластин и брикетов); \r\n0.5 (для продуктов в форме цилиндра); \r\n"
          "0.33 (для продуктов в форме шара)",
          "Коэффициент формы может принимать значения:\r\n 0.56 (для мясных полутуш и четвертин);\r\n"
          " 1 (для продуктов в форме пластин и брикетов); \r\n0.5 (для продуктов в форме цилиндра); \r\n"
          "0.33 (для продуктов в форме шара)"}},
        {"txtDensity", Range("ProdMeat", P::Density, LINES("Плотность продуктов должна быть", "больше 10 и не больше 1500 кг/куб.м"))},
        {"txtCryo", Range("ProdMeat", P::Cryoscopic, LINES("Криоскопическая температура должна быть", "больше -10 и не больше 0 °С"))},
        {"txtFreez", Range("ProdMeat", P::LatentHeat, LINES("Удельная теплота замерзания должна", "быть больше 100 и не больше 400 кДж/кг"))},
        {"txtEnthalpy", Range("ProdMeat", P::Enthalpy, LINES("Значения энтальпии следует привести", "к диапазону больше 0 и не больше 1000 кДж/кг"))},
        {"txtCity", Name("Location", LocationColumn::City, "Введите место расположения камеры")},
        {"txtLongitude", Range("Location", LocationColumn::Latitude, "Широта места должна быть больше 0 и не больше 80°")},
        {"txtSummerTemp", Range("Location", LocationColumn::Temperature, LINES("Расчетная летняя температура должна", " быть в пределах от 10°С до 50°С"))},
        {"txtHumid", Range("Location", LocationColumn::Humidity, LINES("Влажность воздуха должна быть", "в пределах от 20 до 100 %"))},
        {"txtTara", Name("Tara", 0, "Введите тип тары!")},
        {"txtHeatTara", Range("Tara", kValueColumn, LINES("Удельная теплоемкость должна быть", "в пределах от 0 до 4 кДж/кг°С"))},
        {"txtCoat", Name("Upper", 0, "Введите тип внешнего покрытия камеры")},
        {"txtAbsorp", Range("Upper", kValueColumn, LINES("Коэффициент поглощения солнечного излучения", "должен быть больше 0 и не больше 1"))},
        {"Value_txt", Range("Others", kValueColumn, ParameterMessage())},
    };
    return checks;
}

#undef LINES

}  // namespace

const ValueRule& EditorCheck::rule() const {
    const ValueRule* r = FindValueRule(table, column);
    if (!r) throw std::logic_error(std::string("no value rule for ") + table + " column " + std::to_string(column));
    return *r;
}

const EditorCheck* FindEditorCheck(std::string_view control) {
    auto it = Checks().find(control);
    return it == Checks().end() ? nullptr : &it->second;
}

std::string EditorCheckMessage(const EditorCheck& check, const std::string& text, bool enter,
                               const FieldValue& valueOf) {
    const char* message = enter && check.enterMessage ? check.enterMessage : check.leaveMessage;
    if (check.kind == Kind::Name) {
        // A name of blanks only shows as nothing in every list.
        return text.find_first_not_of(" \t\r\n") == std::string::npos ? message : "";
    }
    if (double typed = 0; check.kind != Kind::Shape && check.rule().kind == ValueRule::Kind::Number &&
                          !TypedNumber(text, typed))
        return "«" + text + "» — не число.\r\n" + message;
    const double v = LeadingNumber(text);
    const bool inRange = check.rule().accepts(v);
    auto second = [&](const char* line) { return std::string(message) + "\r\n" + line; };
    switch (check.kind) {
    case Kind::TempStart:
        if (!inRange) return second(" быть в пределах от -20°С до +36°С");
        switch (TemperatureOrderBroken(valueOf("txtTcell"), valueOf("txtTend"), v, TemperatureOf::Start)) {
        case TemperatureOrder::RoomAboveStart: return second(" быть больше температуры в камере");
        case TemperatureOrder::EndAboveStart: return second(" быть больше температуры конца охлаждения");
        default: return "";
        }
    case Kind::TempEnd:
        if (!inRange) return second(" быть в пределах от -40°С до +15°С");
        switch (TemperatureOrderBroken(valueOf("txtTcell"), v, valueOf("txtTstart"), TemperatureOf::End)) {
        case TemperatureOrder::RoomAboveEnd: return second(" быть больше температуры в камере");
        case TemperatureOrder::EndAboveStart: return second(" быть меньше температуры начала охлаждения");
        default: return "";
        }
    default:
        return inRange ? "" : message;
    }
}

}  // namespace coldroom
