#include "reports/csv_report.h"

#include <initializer_list>

#include "core/load_components.h"
#include "core/numtext.h"
#include "reports/report_file.h"

namespace coldroom {
namespace {

constexpr size_t kPrintZone = 14;

size_t characterCount(std::string_view utf8) {
    size_t n = 0;
    for (char c : utf8)
        if ((static_cast<unsigned char>(c) & 0xC0) != 0x80) ++n;
    return n;
}

// A report row from its cells; literal cells are the report's own texts and need no quoting,
// but passing every cell through CsvCell keeps the rule in one place.
std::string row(std::initializer_list<std::string> cells) {
    std::string out;
    bool first = true;
    for (const auto& cell : cells) {
        if (!first) out += ';';
        first = false;
        out += CsvCell(cell);
    }
    return out;
}

// The print form of the walls' gain: the sign place (blank or minus), the number, a blank.
std::string printForm(const ReportInput& in) {
    std::string out;
    if (!in.wallLossDefined || in.wallLossTotal >= 0) out.push_back(' ');
    out.append(WallLossText(in));
    out.push_back(' ');
    return out;
}

}  // namespace

bool StartsFormula(std::string_view text) {
    if (text.empty() || std::string_view("=+-@\t\r").find(text.front()) == std::string_view::npos) return false;
    // A number, alone or with its unit ("-20 °С"), is read as the number it is; anything a
    // spreadsheet could take for a formula after the number makes the cell a text again.
    const size_t blank = text.find(' ');
    double ignored = 0;
    if (!StrictNumber(text.substr(0, blank), ignored)) return true;
    return blank != std::string_view::npos &&
           text.find_first_of("=+-@|!()\t\r\n\"", blank) != std::string_view::npos;
}

std::string CsvCell(std::string_view text) {
    std::string guarded;
    if (StartsFormula(text)) {
        // The apostrophe makes a spreadsheet show the text instead of running it.
        guarded = "'" + std::string(text);
        text = guarded;
    }
    if (text.find_first_of(";\"\r\n") == std::string_view::npos) return std::string(text);
    std::string out = "\"";
    for (char c : text) {
        if (c == '"') out += '"';
        out += c;
    }
    out += '"';
    return out;
}

std::vector<std::string> CsvReportLines(const ReportInput& in) {
    const auto layers = LayerMaterialNames(in);
    auto v = [&](const char* name) { return in.Text(name); };
    auto load = [&](LoadId id) { return in.Text(LoadControl(id)); };
    auto layer = [&](const char* surface, int n) {
        return layers[static_cast<size_t>(LayerIndex(surface, n))];
    };
    auto mm = [&](const char* field) { return in.Text(field) + " мм"; };
    auto deg = [&](const char* field) { return in.Text(field) + " °С"; };

    std::vector<std::string> l;
    l.reserve(51);
    l.push_back(row({"Раcчет теплопотерь в холодильной камере", "", "", "", "",
                     "Дата:  " + in.dateText}));
    l.push_back(row({in.projectTitle, ""}));
    l.push_back("РАЗМЕРЫ КАМЕРЫ");
    l.push_back(row({"Длина", "", v("Length_txt") + " м"}));
    l.push_back(row({"Ширина", "", v("Width_txt") + " м"}));
    l.push_back(row({"Высота", "", v("Height_txt") + " м"}));
    l.push_back(row({"Объем", "", v("Volume_txt") + " куб.м"}));
    l.push_back("");
    l.push_back("ТЕПЛОИЗОЛЯЦИЯ");
    l.push_back("СТЕНЫ");
    // 11
    l.push_back(row({"Юг", v("South1_Mt_cmb"), "", mm("South1_D_txt"), "Север",
                     v("Nord1_Mt_cmb"), "", mm("Nord1_D_txt")}));
    l.push_back(row({" ", layer("South", 2), "", mm("South2_D_txt"), " ", layer("Nord", 2), "",
                     mm("Nord2_D_txt")}));
    l.push_back(row({" ", layer("South", 3), "", mm("South3_D_txt"), " ", layer("Nord", 3), "",
                     mm("Nord3_D_txt")}));
    l.push_back(row({"Восток", v("East1_Mt_cmb"), "", mm("East1_D_txt"), "Запад",
                     v("West1_Mt_cmb"), "", mm("West1_D_txt")}));
    l.push_back(row({" ", layer("East", 2), "", mm("East2_D_txt"), " ", layer("West", 2), "",
                     mm("West2_D_txt")}));
    l.push_back(row({" ", layer("East", 3), "", mm("East3_D_txt"), " ", layer("West", 3), "",
                     mm("West3_D_txt")}));
    l.push_back(row({"ПОТОЛОК", v("CeilSurf_cmb"), "", "",
                     in.Option("FloorGrunt_Opt") ? "ПОЛ на грунте" : "ПОЛ над помещением"}));
    l.push_back(row({in.Option("CeilIns_opt") ? "перекрытие" : "крыша", v("Ceil1_Mt_cmb"), "",
                     mm("Ceil1_D_txt"), "", v("Floor1_Mt_cmb"), "", mm("Floor1_D_txt")}));
    l.push_back(row({"", layer("Ceil", 2), "", mm("Ceil2_D_txt"),
                     in.Option("FloorHeat_Opt") ? " с подогревом" : " без подогрева",
                     layer("Floor", 2), "", mm("Floor2_D_txt")}));
    l.push_back(row({"", layer("Ceil", 3), "", mm("Ceil3_D_txt"), "", layer("Floor", 3), "",
                     mm("Floor3_D_txt")}));
    // 21
    l.push_back("");
    l.push_back("ТЕМПЕРАТУРНЫЙ РЕЖИМ");
    l.push_back(row({"В камере", "", deg("TempIn_txt")}));
    l.push_back(row({"Южная стена", "", deg("TempSouth_txt"), "Северная стена", "",
                     deg("TempNord_txt")}));
    l.push_back(row({"Восточная стена", "", deg("TempEast_txt"), "Западная стена", "",
                     deg("TempWest_txt")}));
    l.push_back(row({"Над потолком", "", deg("TempCeil_txt"), "Под полом", "",
                     deg("TempFloor_txt")}));
    l.push_back("");
    l.push_back("ПРОДУКТЫ В КАМЕРЕ");
    l.push_back(row({"Тип продукта", "", v("TypeOfProduct_lbl")}));
    l.push_back(row({"Загрузка камеры", "", "", v("Loading_lbl") + " т", "",
                     "Масса охлаждаемой продукции", "", "", v("Oborot_lbl") + " т"}));
    // The Latin "T" in these two labels is the report's own spelling.
    l.push_back(row({"Начальная T продукта", "", "", deg("TempIn_lbl"), "",
                     "Конечная T продукта", "", "", deg("TempEnd_lbl")}));
    l.push_back(row({"Скорость циркуляции воздуха", "", "", v("AirSpeed_lbl") + " м/с", "",
                     "Упаковка продукта", "", "", v("Tara_lbl")}));
    l.push_back(row({"Длительность охлаждения", "", "", v("TimeReal_lbl") + " ч", "",
                     "при минимально возможной", "", "", v("TimeMin_lbl") + " ч"}));
    l.push_back("");
    l.push_back("ПАРАМЕТРЫ ЭКСПЛУАТАЦИИ");
    l.push_back(row({"Место расположения камеры", "", "", v("Location_cmb")}));
    if (in.Option("Door_Standard_opt")) {
        l.push_back(row({"Тип камеры", "", v("TypeOfCell_cmb")}));
    } else {
        l.push_back(row({"Высота дверей", "", v("Door_H_txt") + " м", "", "Ширина дверей", "",
                         v("Door_W_txt") + " м", ""}));
        l.push_back(row({"Двери открыты", "", v("Door_Open_txt") + " ч", "", "Тип занавеси", "",
                         v("TypeOfCurtain_cmb")}));
    }
    l.push_back(row({"Рабочий цикл", "", "", v("Cycle_txt") + " %", "",
                     "Кол-во работающих людей", "", "", PeopleLoadText(in) + " чел*час"}));
    l.push_back(row({"Теплоприток от технологич. оборудования", "", "",
                     v("Electro_txt") + " кВт час", "",
                     "Теплоприток от двигателей эл. погрузчиков", "", "",
                     v("Lifter_txt") + " кВт час"}));
    l.push_back(row({"Мощность эл-двигателей воздухоохлад.", "", "", "",
                     v("ElectroEva_txt") + " Вт"}));
    l.push_back("");
    l.push_back("ТЕПЛОПОТЕРИ, Вт");
    l.push_back(row({"Термодиффузия через", "", "", "", "СТЕНЫ", printForm(in), "ПОЛ",
                     load(LoadId::Floor), "ПОТОЛОК", load(LoadId::Ceiling)}));
    l.push_back(row({LoadCaption(LoadId::Product), "", "", load(LoadId::Product), LoadCaption(LoadId::Packaging),
                     "", "", load(LoadId::Packaging)}));
    l.push_back(row({LoadCaption(LoadId::Operation), "", "", load(LoadId::Operation)}));
    l.push_back("");
    l.push_back(row({"СУММАРНЫЕ ПОТЕРИ", "", "", "", "", load(LoadId::Total) + " Вт"}));
    l.push_back(row({"ТРЕБУЕМАЯ ХОЛОДОПРОИЗВОДИТЕЛЬНОСТЬ", "", "", "", "",
                     load(LoadId::Capacity) + " Вт"}));
    l.push_back("");
    // The author starts at the next print zone of 14 columns; the label fills the first zone
    // exactly, so at least one blank always separates them.
    std::string signature = "Расчет сделан:";
    signature.append(kPrintZone - characterCount(signature) % kPrintZone, ' ');
    l.push_back(CsvCell(signature + in.author));
    return l;
}

bool WriteCsvReport(const std::string& path, const ReportInput& input, std::string& error) {
    return WriteReportLines(path, CsvReportLines(input), input, error);
}

}  // namespace coldroom
