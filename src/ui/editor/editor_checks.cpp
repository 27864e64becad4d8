#include "ui/editor/editor_checks.h"

#include <map>

#include "core/numtext.h"

namespace coldroom {
namespace {

using Kind = EditorCheck::Kind;

// Two message lines as the message box shows them.
#define LINES(a, b) a "\r\n" b

const char* const kConductivity = LINES("Коэффициент теплопроводности должен быть", "в пределах от 0 до 4 Вт/м2°С");
const char* const kConductivityBlank = LINES("Коэффициент теплопроводности должен быть", " в пределах от 0 до 4 Вт/м2°С");
const char* const kHeatCapacity = LINES("Удельная теплоемкость должна быть", "в пределах от 0 до 4.5 кДж/кг°С");

EditorCheck Name(const char* message) { return {Kind::Name, 0, 0, false, false, message, nullptr}; }
// low < v <= high, the most common range.
EditorCheck Above(double low, double high, const char* leave, const char* enter = nullptr) {
    return {Kind::Range, low, high, false, true, leave, enter};
}
// low <= v <= high.
EditorCheck Between(double low, double high, const char* message) {
    return {Kind::Range, low, high, true, true, message, nullptr};
}

const std::map<std::string_view, EditorCheck>& Checks() {
    static const std::map<std::string_view, EditorCheck> checks = {
        {"txtTask", Name("Введите название задачи!")},
        {"txtTcell", Between(-50, 20, LINES("Температура в камере должна быть", " в пределах от -50°С до +20°С"))},
        {"txtTstart", {Kind::TempStart, -20, 40, true, true, "Температура начала охлаждения должна", nullptr}},
        {"txtTend", {Kind::TempEnd, -40, 15, true, true, "Температура конца охлаждения должна", nullptr}},
        {"txtCooltime", Above(0, 24, "Время охлаждения должно быть в пределах от 0 до 24 часов")},
        {"txtVelocity", Above(0, 20, LINES("Скорость движения воздуха в камере", " должна быть в пределах от 0 до 20 м/с"),
                              LINES("Скорость движения воздуха в камере ", "должна быть в пределах от 0 до 20 м/с"))},
        {"txtHumidity", Between(20, 100, LINES("Влажность в камере должна быть", "в пределах от 20 до 100 %"))},
        {"txtIsoName", Name("Введите название материала изоляции")},
        {"txtConduct", Above(0, 4, kConductivity)},
        {"txtProduct", Name("Введите название продукта")},
        {"txtNorma", Above(0, 1, LINES("Неверно задана норма хранения. ",
                                       "Значение должно лежать в интервале от 0 до 1 тонна/куб.м"))},
        {"txtHeatCap", Above(0, 4.5, kHeatCapacity)},
        {"txtHeatCap_freez", Above(0, 4.5, kHeatCapacity)},
        {"txtWlaga", Above(0, 1, "Влагосодержание должно быть в пределах от 0 до 1")},
        {"txtCond", Above(0, 4, kConductivity, kConductivityBlank)},
        {"txtCond_freez", Above(0, 4, kConductivityBlank)},
        {"txtSize", Above(0, 1, LINES("Характерный размер продукта должен", " быть в пределах от 0 до 1 м"))},
        {"txtShape",
         {Kind::Shape, 0, 0, false, false,
          "Коэффициент формы может принимать значения: \r\n0.56 (для мясных полутуш и четвертин); \r\n"
          "1 (для продуктов в форме пластин и брикетов); \r\n0.5 (для продуктов в форме цилиндра); \r\n"
          "0.33 (для продуктов в форме шара)",
          "Коэффициент формы может принимать значения:\r\n 0.56 (для мясных полутуш и четвертин);\r\n"
          " 1 (для продуктов в форме пластин и брикетов); \r\n0.5 (для продуктов в форме цилиндра); \r\n"
          "0.33 (для продуктов в форме шара)"}},
        {"txtDensity", Above(10, 1500, LINES("Плотность продуктов должна быть", "в пределах от 10 до 1500 кг/куб.м"))},
        {"txtCryo", Above(-10, 0, LINES("Криоскопическая температура должна быть", "в пределах от -10 до 0 °С"))},
        {"txtFreez", Above(100, 400, LINES("Удельная теплота замерзания должна", "быть в пределах от 100 до 400 кДж/кг"))},
        {"txtEnthalpy", Above(0, 1000, LINES("Значения энтальпии следует привести", "к диапазону от 0 до 1000 кДж/кг"))},
        {"txtCity", Name("Введите место расположения камеры")},
        {"txtLongitude", Above(0, 80, "Широта места должна лежать в интервале от 0 до 80°")},
        {"txtSummerTemp", Between(10, 50, LINES("Расчетная летняя температура должна", " быть в пределах от 10°С до 50°С"))},
        {"txtHumid", Between(20, 100, LINES("Влажность воздуха должна быть", "в пределах от 20 до 100 %"))},
        {"txtTara", Name("Введите тип тары!")},
        {"txtHeatTara", Between(0, 4, LINES("Удельная теплоемкость должна быть", "в пределах от 0 до 4 кДж/кг°С"))},
        {"txtCoat", Name("Введите тип внешнего покрытия камеры")},
        {"txtAbsorp", Above(0, 1, LINES("Коэффициент поглощения солнечного излучения", "должен быть в пределах от 0 до 1"))},
    };
    return checks;
}

#undef LINES

bool InRange(const EditorCheck& c, double v) {
    const bool aboveLow = c.lowIncluded ? v >= c.low : v > c.low;
    const bool belowHigh = c.highIncluded ? v <= c.high : v < c.high;
    return aboveLow && belowHigh;
}

}  // namespace

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
    const double v = LeadingNumber(text);
    auto second = [&](const char* line) { return std::string(message) + "\r\n" + line; };
    switch (check.kind) {
    case Kind::Shape:
        return v == 1 || v == 0.56 || v == 0.5 || v == 0.33 ? "" : message;
    case Kind::TempStart:
        if (!InRange(check, v)) return second(" быть в пределах от -20°С до +40°С");
        if (v < valueOf("txtTcell")) return second(" быть больше температуры в камере");
        if (v < valueOf("txtTend")) return second(" быть больше температуры конца охлаждения");
        return "";
    case Kind::TempEnd:
        if (!InRange(check, v)) return second(" быть в пределах от -40°С до +15°С");
        if (v < valueOf("txtTcell")) return second(" быть больше температуры в камере");
        if (v > valueOf("txtTstart")) return second(" быть меньше температуры начала охлаждения");
        return "";
    default:
        return InRange(check, v) ? "" : message;
    }
}

}  // namespace coldroom
