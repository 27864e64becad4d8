// What the three fixed reports (HTML, CSV, the printed page) show, built once from the project,
// its result and the reference tables. Every value is the text the results show for it; the
// labels and units the three layouts share are written here once, and a layout that words
// one its own way says so where it does.
#pragma once

#include <array>
#include <string>
#include <vector>

#include "core/envelope.h"
#include "model/compute_room.h"
#include "model/reference_data.h"
#include "model/room_project.h"

namespace coldroom {

// The heading every report opens with ("Раcчет" with a Latin "c", as the reports always had it).
inline constexpr const char* kReportHeading = "Раcчет теплопотерь в холодильной камере";
// The material name of a second or third layer that is not in use.
inline constexpr const char* kUnusedLayer = "...";

// One value as the reports show it: "Длина" "12" "м".
struct ReportLine {
    std::string label;
    std::string value;
    std::string unit;  // "" for none
    // The value and its unit after a blank, as most cells show them.
    std::string withUnit() const { return unit.empty() ? value : value + " " + unit; }
};

struct ReportSurface {
    std::string side;                       // "Юг", "Север", …, "ПОТОЛОК", "ПОЛ"
    std::array<std::string, 3> material;    // layers 2 and 3 read "..." when not in use
    std::array<std::string, 3> thickness;   // mm, as entered
};

// Who made the report, for whom and when.
struct ReportHeading {
    std::string title, author;
    std::string date;  // dd.mm.yyyy
};

// A model built by default holds the labels and units with empty values; BuildReportModel
// fills the values.
struct ReportModel {
    ReportHeading heading;
    // Values kept from a file though outside what they may be, and the results' notices: a
    // report never prints a figure made from them without saying so.
    std::vector<std::string> warnings;

    // РАЗМЕРЫ КАМЕРЫ
    ReportLine length{"Длина", "", "м"}, width{"Ширина", "", "м"}, height{"Высота", "", "м"},
        volume{"Объем", "", "куб.м"};

    // ТЕПЛОИЗОЛЯЦИЯ: by Surface (north, south, east, west, ceiling, floor)
    std::array<ReportSurface, kSurfaceCount> surfaces;
    std::string ceilingCoating;
    bool ceilingIsSlab = false;  // an intermediate slab (CeilIns_opt), otherwise a roof
    bool floorHeated = false;
    bool floorOnGround = false;

    // ТЕМПЕРАТУРНЫЙ РЕЖИМ ("°С" with a Cyrillic С, as the reports write it)
    ReportLine roomTemperature{"В камере", "", "°С"};
    std::array<ReportLine, kSurfaceCount> sideTemperature{{{"Северная стена", "", "°С"},
                                                           {"Южная стена", "", "°С"},
                                                           {"Восточная стена", "", "°С"},
                                                           {"Западная стена", "", "°С"},
                                                           {"Над потолком", "", "°С"},
                                                           {"Под полом", "", "°С"}}};

    // ПРОДУКТЫ В КАМЕРЕ
    ReportLine product{"Тип продукта", "", ""}, loading{"Загрузка камеры", "", "т"},
        turnover{"Масса охлаждаемой продукции", "", "т"},
        productStart{"Начальная температура продукта", "", "°С"},
        productEnd{"Конечная температура продукта", "", "°С"}, airSpeed{"Скорость циркуляции воздуха", "", "м/с"},
        packaging{"Упаковка продукта", "", ""};
    ReportLine requestedTime{"Длительность охлаждения", "", "ч"}, shortestTime{"при минимально возможной", "", "ч"};

    // ПАРАМЕТРЫ ЭКСПЛУАТАЦИИ. Standard door conditions give the kind of room; special ones
    // the door, its curtain and the air outside it.
    bool standardDoors = true;
    ReportLine location{"Место расположения камеры", "", ""}, roomType{"Тип камеры", "", ""};
    ReportLine doorHeight{"Высота дверей", "", "м"}, doorWidth{"Ширина дверей", "", "м"},
        doorOpen{"Двери открыты", "", "ч"}, curtain{"Тип занавеси", "", ""},
        outsideTemperature{"Внешняя температура", "", "°C"},  // a Latin C
        outsideHumidity{"влажность", "", "%"};
    ReportLine cycle{"Рабочий цикл агрегата", "", "%"}, people{"Кол-во работающих людей", "", "чел*час"},
        equipment{"Теплоприток от технологического оборудования", "", "кВт час"},
        lifter{"Теплоприток от двигателей эл. погрузчиков", "", "кВт час"},
        fanPower{"Мощность эл-двигателей воздухоохладителей", "", "Вт"};

    // ТЕПЛОПОТЕРИ, Вт
    ReportLine walls{"СТЕНЫ", "", ""}, floor{"ПОЛ", "", ""}, ceiling{"ПОТОЛОК", "", ""};
    ReportLine productLoad, packagingLoad, operation;  // labelled by the table of load components
    ReportLine total{"СУММАРНЫЕ ПОТЕРИ", "", "Вт"}, capacity{"ТРЕБУЕМАЯ ХОЛОДОПРОИЗВОДИТЕЛЬНОСТЬ", "", "Вт"};
    bool wallsBelowZero = false;  // the walls' gain is defined and negative

    ReportModel();

    // Every text that comes from the person or the reference tables, for naming the one a
    // file cannot hold.
    std::vector<std::string> Values() const;
};

ReportModel BuildReportModel(const RoomProject& project, const RoomResult& result, const ReferenceData& data,
                             const ReportHeading& heading);

// The people load: the number of people times their hours, in general number text:
// 3 people for 8 hours give "24".
std::string PeopleLoadText(const RoomProject& project);

// Today's date (local time) as every report shows it: dd.mm.yyyy, whatever the locale.
std::string ShortDateToday();

// Section headings and labels the layouts share.
namespace report_text {
inline constexpr const char* kDimensions = "РАЗМЕРЫ КАМЕРЫ";
inline constexpr const char* kInsulation = "ТЕПЛОИЗОЛЯЦИЯ";
inline constexpr const char* kWalls = "СТЕНЫ";
inline constexpr const char* kTemperatures = "ТЕМПЕРАТУРНЫЙ РЕЖИМ";
inline constexpr const char* kProducts = "ПРОДУКТЫ В КАМЕРЕ";
inline constexpr const char* kOperation = "ПАРАМЕТРЫ ЭКСПЛУАТАЦИИ";
inline constexpr const char* kLosses = "ТЕПЛОПОТЕРИ, Вт";
inline constexpr const char* kThrough = "Термодиффузия через";
inline constexpr const char* kSignature = "Расчет сделан";
}  // namespace report_text

}  // namespace coldroom
