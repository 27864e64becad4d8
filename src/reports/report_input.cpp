#include "reports/report_input.h"

#include <ctime>

#include "core/envelope.h"
#include "core/load_components.h"
#include "core/load_value.h"
#include "core/numtext.h"

namespace coldroom {
namespace {

// The reports list the surfaces south first.
const char* const kSurfaces[] = {kSurfacePrefixes[kSouth], kSurfacePrefixes[kNorth],   kSurfacePrefixes[kEast],
                                 kSurfacePrefixes[kWest],  kSurfacePrefixes[kCeiling], kSurfacePrefixes[kFloor]};

ReportFieldNameSet makeFieldNames() {
    ReportFieldNameSet names;
    auto& t = names.text;
    t = {"Length_txt", "Width_txt", "Height_txt", "Volume_txt"};
    for (const char* s : kSurfaces)
        for (int layer = 1; layer <= 3; ++layer) {
            t.push_back(std::string(s) + std::to_string(layer) + "_Mt_cmb");
            t.push_back(std::string(s) + std::to_string(layer) + "_D_txt");
        }
    const char* const others[] = {
        "CeilSurf_cmb", "TempIn_txt", "TempSouth_txt", "TempNord_txt", "TempEast_txt",
        "TempWest_txt", "TempCeil_txt", "TempFloor_txt", "TypeOfProduct_lbl", "Loading_lbl",
        "Oborot_lbl", "TempIn_lbl", "TempEnd_lbl", "AirSpeed_lbl", "Tara_lbl",
        "TimeReal_lbl", "TimeMin_lbl", "Location_cmb", "TypeOfCell_cmb", "Door_H_txt",
        "Door_W_txt", "Door_Open_txt", "TypeOfCurtain_cmb", "TempOut_txt", "HumidOut_txt",
        "Cycle_txt", "NofPeople_txt", "TimePeople_txt", "Electro_txt", "Lifter_txt",
        "ElectroEva_txt"};
    t.insert(t.end(), std::begin(others), std::end(others));
    // The results the reports show, by their fields in the table of load components.
    for (LoadId id : {LoadId::Floor, LoadId::Ceiling, LoadId::Product, LoadId::Packaging, LoadId::Operation,
                      LoadId::Total, LoadId::Capacity})
        t.push_back(LoadControl(id));
    names.option = {"CeilIns_opt", "FloorHeat_Opt", "FloorGrunt_Opt", "Door_Standard_opt"};
    names.enabled.assign(LayerListNames().begin(), LayerListNames().end());
    return names;
}

}  // namespace

const std::string& ReportInput::Text(const std::string& name) const {
    static const std::string empty;
    const auto it = text.find(name);
    return it == text.end() ? empty : it->second;
}

bool ReportInput::Option(const std::string& name) const {
    const auto it = option.find(name);
    return it != option.end() && it->second;
}

bool ReportInput::Enabled(const std::string& name) const {
    const auto it = enabled.find(name);
    return it == enabled.end() || it->second;
}

const std::array<std::string, 12>& LayerListNames() {
    static const std::array<std::string, 12> names = [] {
        std::array<std::string, 12> n;
        size_t i = 0;
        for (const char* s : kSurfaces)
            for (int layer = 2; layer <= 3; ++layer)
                n[i++] = std::string(s) + std::to_string(layer) + "_Mt_cmb";
        return n;
    }();
    return names;
}

std::array<std::string, 12> LayerMaterialNames(const ReportInput& input) {
    std::array<std::string, 12> names;
    const auto& lists = LayerListNames();
    for (size_t i = 0; i < lists.size(); ++i)
        names[i] = input.Enabled(lists[i]) ? input.Text(lists[i]) : "...";
    return names;
}

int LayerIndex(const std::string& surface, int layer) {
    for (int i = 0; i < 6; ++i)
        if (surface == kSurfaces[i]) return i * 2 + (layer == 3 ? 1 : 0);
    return -1;
}

std::string PeopleLoadText(const ReportInput& input) {
    return GeneralText(LeadingNumber(input.Text("NofPeople_txt")) *
                       LeadingNumber(input.Text("TimePeople_txt")));
}

std::string WallLossText(const ReportInput& input) {
    return input.wallLossDefined ? GeneralText(input.wallLossTotal) : kUndefinedText;
}

std::string ShortDateToday() {
    std::time_t now = std::time(nullptr);
    std::tm local{};
    localtime_r(&now, &local);
    char buf[16];
    size_t n = std::strftime(buf, sizeof buf, "%d.%m.%Y", &local);
    return std::string(buf, n);
}

const ReportFieldNameSet& ReportFieldNames() {
    static const ReportFieldNameSet names = makeFieldNames();
    return names;
}

std::vector<std::string> MissingReportFields(const ReportInput& input) {
    std::vector<std::string> missing;
    const auto& names = ReportFieldNames();
    for (const auto& n : names.text)
        if (!input.text.count(n)) missing.push_back(n);
    for (const auto& n : names.option)
        if (!input.option.count(n)) missing.push_back("option:" + n);
    for (const auto& n : names.enabled)
        if (!input.enabled.count(n)) missing.push_back("enabled:" + n);
    return missing;
}

}  // namespace coldroom
