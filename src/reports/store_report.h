// The reports of a cold store: the rooms as a table (every load component, the total, the
// capacity and the room's part of its compressors' load), the sums per plant level and for
// the whole store, the settings used, and parts added after them (the plant and its annual
// energy). One sheet of texts is formed once; the window, the command line, HTML, CSV and the
// PDF pages all show it.
#pragma once

#include <string>
#include <vector>

#include "model/store.h"
#include "model/store_loads.h"

namespace coldroom {

// The rooms' table's column of how many identical rooms an entry stands for.
inline constexpr const char* kRoomCountHead = "Количество";

struct StoreSheetOptions {
    std::string storePath;     // the store's file: room files are named relative to its folder
    std::string dateText;      // dd.mm.yyyy
    double marginPercent = 0;  // the design margin the capacities are shown with; 0 shows none
};

struct StoreColumn {
    std::string head;
    bool number = false;   // a figure, set right
    bool surface = false;  // one surface of the envelope: left out where room is short
    // A load component's column: its width on the printed page (mm) and the head printed there
    // when the sheet's is too long; 0 and nullptr for the other columns.
    double pageWidth = 0;
    const char* pageHead = nullptr;
    std::string unit = {};  // the figures' unit where the head does not name it: the CSV's head adds it
};

// A part of the sheet after the store's own tables: a caption, a table (none when it has no
// columns) and sentences below it.
struct SheetPart {
    std::string caption;
    std::vector<StoreColumn> columns;
    std::vector<std::vector<std::string>> rows;
    bool boldLast = false;  // the last row is a total
    std::vector<std::string> lines;
};

struct StoreSheet {
    std::string title;
    std::string dateText;
    std::vector<StoreColumn> roomColumns;
    std::vector<std::vector<std::string>> rooms;  // one row per room, a cell per column
    std::vector<StoreColumn> levelColumns;
    std::vector<std::vector<std::string>> levels;  // each level that has rooms, then the store
    std::vector<std::string> settings;             // the rules and shares used, one sentence each
    std::vector<std::string> notes;                // why a figure is missing
    std::vector<SheetPart> parts;                  // what follows: the plant and its energy
};

// The store's levels and its compressor load as sentences with their sources: the rule that
// places a room, Q0 = k · ΣQкм with the shares and k, and that the store's total adds
// different machines.
std::vector<std::string> LevelRuleSentences(const Store& store);

StoreSheet MakeStoreSheet(const Store& store, const std::vector<StoreRoomData>& rooms, const StoreLoads& loads,
                          const StoreSheetOptions& options);

// The warning for a file the store lists `times` times.
std::string RepeatedFileNote(const std::string& file, int times);

// Watts as kilowatts with two decimals ("3707" → "3.71"), or the dash.
std::string KilowattText(const LoadValue& watts);

// The sheet as aligned text, as the command line prints it (UTF-8, no line ends).
std::vector<std::string> StoreTextLines(const StoreSheet& sheet);
// The CSV report's lines (UTF-8, no line ends): a figure with the decimal comma, the units in
// the heads; cells as the CSV report quotes and guards them.
std::vector<std::string> StoreCsvLines(const StoreSheet& sheet);
// The HTML report's lines: a UTF-8 page, every text escaped.
std::vector<std::string> StoreHtmlLines(const StoreSheet& sheet);

// Write the reports atomically ("-" writes to standard output): CSV in Windows-1251 with
// CR LF, HTML in UTF-8. False with a Russian `error`; nothing is written then.
bool WriteStoreCsv(const std::string& path, const StoreSheet& sheet, std::string& error);
bool WriteStoreHtml(const std::string& path, const StoreSheet& sheet, std::string& error);

// The tables of the store's sheets as aligned text, HTML (class `kind`) and one CSV row;
// writing bytes atomically or to standard output ("-").
std::vector<std::string> AlignedTableLines(const std::vector<StoreColumn>& columns,
                                           const std::vector<std::vector<std::string>>& rows);
std::vector<std::string> HtmlTableLines(const std::vector<StoreColumn>& columns,
                                        const std::vector<std::vector<std::string>>& rows, const char* kind);
std::string CsvRowText(const std::vector<std::string>& cells);
// The CSV lines of a table: the heads with their units, the figures with the decimal comma.
std::vector<std::string> CsvTableLines(const std::vector<StoreColumn>& columns,
                                       const std::vector<std::vector<std::string>>& rows);
bool WriteReportBytes(const std::string& path, const std::string& bytes, std::string& error);

}  // namespace coldroom
