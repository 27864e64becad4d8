// A study as a table of texts: a head row, then one row per point with the parameter values,
// every load component as its result field shows it, and a note for a refused point. The
// command line prints and writes it, the study window shows and saves it.
#pragma once

#include <string>
#include <vector>

#include "ui/study/study.h"

namespace coldroom {

using TextTable = std::vector<std::vector<std::string>>;

// `byCaption`: the parameters' heads are their captions ("Температура в камере, °C"), as a
// window shows them; otherwise their names, as the command line takes them. `units`: the load
// components' heads name their unit ("Суммарные потери, Вт"), as a spreadsheet needs them.
TextTable StudyTable(const std::vector<StudyAxis>& axes, const std::vector<StudyPoint>& points,
                     bool byCaption = false, bool units = false);
// The table's head and one point's row, for a table formed a row at a time.
std::vector<std::string> StudyHead(const std::vector<StudyAxis>& axes, bool byCaption = false, bool units = false);
std::vector<std::string> StudyRow(const StudyPoint& point);
// The study's table for a spreadsheet: the heads with their units.
TextTable StudyCsvTable(const std::vector<StudyAxis>& axes, const std::vector<StudyPoint>& points);
// A load component's head with its unit.
std::string LoadHeadWithUnit(const std::string& label);

// Writes a table as CSV: ';' between cells, Windows-1251, CR LF; a figure with the decimal
// comma, so that a spreadsheet set to Russian reads a number, not a date. False with a Russian
// `error`; nothing is written then. The path "-" writes to standard output.
bool WriteTableCsv(const std::string& path, const TextTable& table, std::string& error);
// One row as such a CSV line, still in UTF-8 and without its line end.
std::string CsvTableLine(const std::vector<std::string>& row);

}  // namespace coldroom
