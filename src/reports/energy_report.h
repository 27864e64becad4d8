// The plant and the annual energy of a store as one sheet of texts: the plant per level, the
// energy month by month, the rooms, the figures to compare and the settings with their
// sources. The window, the command line, the CSV and the store note all show it; the note adds
// every formula with the numbers put in.
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

std::vector<std::string> EnergyTextLines(const EnergySheet& sheet);
// CSV lines: `;` between cells, the decimal comma, units in the headings only.
std::vector<std::string> EnergyCsvLines(const EnergySheet& sheet);
std::string EnergyJson(const StoreEnergy& energy);
// The store note: an HTML page with every formula and number put in.
std::vector<std::string> EnergyNoteLines(const Store& store, const StoreEnergy& energy, const EnergySheet& sheet);

// The thickness study as a table and its CSV lines.
std::vector<StoreColumn> InsulationColumns();
std::vector<std::vector<std::string>> InsulationRows(const InsulationStudy& study);
std::vector<std::string> InsulationCsvLines(const InsulationStudy& study);

// CSV (Windows-1251, CR LF) and HTML (UTF-8) written atomically; "-" writes to standard output.
bool WriteEnergyCsv(const std::string& path, const EnergySheet& sheet, std::string& error);
bool WriteEnergyNote(const std::string& path, const Store& store, const StoreEnergy& energy, const EnergySheet& sheet,
                     std::string& error);

}  // namespace coldroom
