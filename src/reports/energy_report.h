// The plant and the annual energy of a store as one sheet of texts: the plant per level, the
// energy month by month, the rooms, the figures to compare and the settings with their
// sources. The window shows it, the store's reports carry it as parts of their sheet, and the
// store note adds every formula with the numbers put in.
#pragma once

#include <array>
#include <string>
#include <vector>

#include "model/energy_insulation.h"
#include "reports/store_report.h"

namespace coldroom {

struct EnergySheet {
    std::string title, dateText;
    std::vector<StoreColumn> levelColumns;
    std::vector<std::vector<std::string>> levels;  // each level with rooms, then the store
    std::vector<StoreColumn> monthColumns;
    std::vector<std::vector<std::string>> months;  // each level, then the store, kWh
    std::vector<StoreColumn> roomColumns;
    std::vector<std::vector<std::string>> rooms;
    std::vector<std::string> summary;   // the year's figures, one sentence each
    std::vector<std::string> settings;  // each setting with its source
    std::vector<std::string> notes;     // problems and warnings
    std::array<double, 12> monthKWh{};  // for the chart
};

EnergySheet MakeEnergySheet(const Store& store, const StoreEnergy& energy, const std::string& dateText);

// A figure with `decimals` digits after the point ("-" for a value that is not finite).
std::string FixedText(double value, int decimals);

// The sheet as parts of the store's: the plant per level, the months, the rooms, the year's
// figures, the settings with their sources and the warnings.
std::vector<SheetPart> EnergyParts(const EnergySheet& sheet);
std::string EnergyJson(const StoreEnergy& energy);
// The store note: an HTML page with every formula and number put in.
std::vector<std::string> EnergyNoteLines(const Store& store, const StoreEnergy& energy, const EnergySheet& sheet);

// The thickness study as a table, as a part of the store's sheet (with the settings it was
// costed at) and as JSON.
std::vector<StoreColumn> InsulationColumns();
std::vector<std::vector<std::string>> InsulationRows(const InsulationStudy& study);
SheetPart InsulationPart(const Store& store, const InsulationStudy& study);
std::string InsulationJson(const InsulationStudy& study);

// The store note, HTML (UTF-8), written atomically; "-" writes to standard output.
bool WriteEnergyNote(const std::string& path, const Store& store, const StoreEnergy& energy, const EnergySheet& sheet,
                     std::string& error);

}  // namespace coldroom
