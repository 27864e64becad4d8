#include "reports/csv_report.h"

#include <initializer_list>
#include <utility>

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
std::string printForm(const ReportModel& m) {
    return (m.wallsBelowZero ? "" : " ") + m.walls.value + " ";
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

std::string CsvFigureCell(std::string_view text) {
    double ignored = 0;
    if (!StrictNumber(text, ignored)) return CsvCell(text);
    const auto first = text.find_first_not_of(" \t"), last = text.find_last_not_of(" \t");
    std::string figure(text.substr(first, last - first + 1));
    for (char& c : figure)
        if (c == '.') c = ',';
    return figure;
}

std::vector<std::string> CsvReportLines(const ReportModel& m) {
    namespace rt = report_text;
    auto layer = [&](int surface, int n) { return m.surfaces[surface].material[n]; };
    auto mm = [&](int surface, int n) { return m.surfaces[surface].thickness[n] + " мм"; };
    // Two walls side by side, one layer each: the first row names them, the others leave a blank.
    auto walls = [&](int left, int right, int n) {
        const std::string leftName = n == 0 ? m.surfaces[left].side : " ";
        const std::string rightName = n == 0 ? m.surfaces[right].side : " ";
        return row({leftName, layer(left, n), "", mm(left, n), rightName, layer(right, n), "", mm(right, n)});
    };
    const auto& side = m.sideTemperature;

    std::vector<std::string> l;
    l.reserve(51);
    l.push_back(row({kReportHeading, "", "", "", "", "Дата:  " + m.heading.date}));
    l.push_back(row({m.heading.title, ""}));
    l.push_back(rt::kDimensions);
    for (const ReportLine* d : {&m.length, &m.width, &m.height, &m.volume})
        l.push_back(row({d->label, "", d->withUnit()}));
    l.push_back("");
    l.push_back(rt::kInsulation);
    l.push_back(rt::kWalls);
    // 11
    for (int n = 0; n < 3; ++n) l.push_back(walls(kSouth, kNorth, n));
    for (int n = 0; n < 3; ++n) l.push_back(walls(kEast, kWest, n));
    l.push_back(row({"ПОТОЛОК", m.ceilingCoating, "", "",
                     m.floorOnGround ? "ПОЛ на грунте" : "ПОЛ над помещением"}));
    l.push_back(row({m.ceilingIsSlab ? "перекрытие" : "крыша", layer(kCeiling, 0), "", mm(kCeiling, 0), "",
                     layer(kFloor, 0), "", mm(kFloor, 0)}));
    l.push_back(row({"", layer(kCeiling, 1), "", mm(kCeiling, 1), m.floorHeated ? " с подогревом" : " без подогрева",
                     layer(kFloor, 1), "", mm(kFloor, 1)}));
    l.push_back(row({"", layer(kCeiling, 2), "", mm(kCeiling, 2), "", layer(kFloor, 2), "", mm(kFloor, 2)}));
    // 21
    l.push_back("");
    l.push_back(rt::kTemperatures);
    l.push_back(row({m.roomTemperature.label, "", m.roomTemperature.withUnit()}));
    for (auto [left, right] : std::initializer_list<std::pair<int, int>>{{kSouth, kNorth}, {kEast, kWest}, {kCeiling, kFloor}})
        l.push_back(row({side[left].label, "", side[left].withUnit(), side[right].label, "", side[right].withUnit()}));
    l.push_back("");
    l.push_back(rt::kProducts);
    l.push_back(row({m.product.label, "", m.product.value}));
    // Two values on a row, each after its label and two empty cells.
    auto pair = [](const std::string& leftLabel, const ReportLine& left, const std::string& rightLabel,
                   const ReportLine& right) {
        return row({leftLabel, "", "", left.withUnit(), "", rightLabel, "", "", right.withUnit()});
    };
    l.push_back(pair(m.loading.label, m.loading, m.turnover.label, m.turnover));
    // The Latin "T" in these two labels is the file's own spelling.
    l.push_back(pair("Начальная T продукта", m.productStart, "Конечная T продукта", m.productEnd));
    l.push_back(pair(m.airSpeed.label, m.airSpeed, m.packaging.label, m.packaging));
    l.push_back(pair(m.requestedTime.label, m.requestedTime, m.shortestTime.label, m.shortestTime));
    l.push_back("");
    l.push_back(rt::kOperation);
    l.push_back(row({m.location.label, "", "", m.location.value}));
    if (m.standardDoors) {
        l.push_back(row({m.roomType.label, "", m.roomType.value}));
    } else {
        l.push_back(row({m.doorHeight.label, "", m.doorHeight.withUnit(), "", m.doorWidth.label, "",
                         m.doorWidth.withUnit(), ""}));
        l.push_back(row({m.doorOpen.label, "", m.doorOpen.withUnit(), "", m.curtain.label, "", m.curtain.value}));
    }
    // The file words the cycle, the equipment and the fans more briefly.
    l.push_back(pair("Рабочий цикл", m.cycle, m.people.label, m.people));
    l.push_back(pair("Теплоприток от технологич. оборудования", m.equipment, m.lifter.label, m.lifter));
    l.push_back(row({"Мощность эл-двигателей воздухоохлад.", "", "", "", m.fanPower.withUnit()}));
    l.push_back("");
    l.push_back(rt::kLosses);
    l.push_back(row({rt::kThrough, "", "", "", m.walls.label, printForm(m), m.floor.label, m.floor.value,
                     m.ceiling.label, m.ceiling.value}));
    l.push_back(row({m.productLoad.label, "", "", m.productLoad.value, m.packagingLoad.label, "", "",
                     m.packagingLoad.value}));
    l.push_back(row({m.operation.label, "", "", m.operation.value}));
    l.push_back("");
    l.push_back(row({m.total.label, "", "", "", "", m.total.withUnit()}));
    l.push_back(row({m.capacity.label, "", "", "", "", m.capacity.withUnit()}));
    l.push_back("");
    // What the person was told of the inputs, before the signature: never a figure silently.
    for (const std::string& w : m.warnings) l.push_back(row({"Внимание:", w}));
    if (!m.warnings.empty()) l.push_back("");
    // The author starts at the next print zone of 14 columns; the label fills the first zone
    // exactly, so at least one blank always separates them.
    std::string signature = std::string(rt::kSignature) + ":";
    signature.append(kPrintZone - characterCount(signature) % kPrintZone, ' ');
    l.push_back(CsvCell(signature + m.heading.author));
    return l;
}

bool WriteCsvReport(const std::string& path, const ReportModel& model, std::string& error) {
    return WriteReportLines(path, CsvReportLines(model), model.Values(), error);
}

}  // namespace coldroom
