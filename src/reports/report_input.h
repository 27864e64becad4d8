// What every report reads: the displayed texts of the main window's controls, the options
// and enabled states, the wall total, title, author and date. The report options fill it
// generically from the main window's controls; the reports compute nothing else but the
// people load and the layer names.
#pragma once

#include <array>
#include <map>
#include <string>
#include <vector>

namespace coldroom {

struct ReportInput {
    // Displayed text of each control by name ("Length_txt", "South1_Mt_cmb",
    // "TypeOfProduct_lbl", "Total_poteri").
    std::map<std::string, std::string> text;
    // Option values by name ("CeilIns_opt", "FloorHeat_Opt", "FloorGrunt_Opt",
    // "Door_Standard_opt").
    std::map<std::string, bool> option;
    // Enabled state of the twelve second- and third-layer material lists.
    std::map<std::string, bool> enabled;

    double wallLossTotal = 0;
    bool wallLossDefined = true;  // false: the walls' gain is shown as a dash

    std::string projectTitle;
    std::string author;
    std::string dateText;  // the date of the report as dd.mm.yyyy

    // The text of a control; empty when the form did not supply it.
    const std::string& Text(const std::string& name) const;
    // An option's value; false when not supplied.
    bool Option(const std::string& name) const;
    // A list's enabled state; a list not mentioned counts as enabled.
    bool Enabled(const std::string& name) const;
};

// The twelve lists whose names the layer-name rule looks at, in the order of
// LayerMaterialNames: South2, South3, Nord2, Nord3, East2, East3, West2, West3, Ceil2, Ceil3,
// Floor2, Floor3 (each "<surface><layer>_Mt_cmb").
const std::array<std::string, 12>& LayerListNames();

// LayerMaterialNames: the displayed text of each enabled list above, "..." for a disabled one.
std::array<std::string, 12> LayerMaterialNames(const ReportInput& input);

// Index of a surface's layer in LayerMaterialNames ("South", 2) -> 0; surfaces are South,
// Nord, East, West, Ceil, Floor and layer is 2 or 3.
int LayerIndex(const std::string& surface, int layer);

// The people load: number value of NofPeople_txt times that of TimePeople_txt (each read as
// a leading number), in general number text: 3 people for 8 hours give "24".
std::string PeopleLoadText(const ReportInput& input);

// The walls' transmission gain in general number text, or the dash when undefined.
std::string WallLossText(const ReportInput& input);

// Today's date (local time) as every report shows it: dd.mm.yyyy, whatever the locale.
std::string ShortDateToday();

// Every control name some report reads, by the map it is read from, so that a form can
// check it supplies them all.
struct ReportFieldNameSet {
    std::vector<std::string> text, option, enabled;
};
const ReportFieldNameSet& ReportFieldNames();
// Those that `input` lacks; an option is listed as "option:<name>", an enabled state as
// "enabled:<name>".
std::vector<std::string> MissingReportFields(const ReportInput& input);

}  // namespace coldroom
