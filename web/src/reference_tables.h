// The reference tables from the CSV sources in data/, as the page carries them: the same seven
// tables the desktop program reads from Data.dtx, value for value.
#pragma once

#include <memory>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "model/reference_data.h"

namespace coldroom {

// A table's name and its CSV text.
using CsvTable = std::pair<std::string, std::string_view>;

// Reads every table of the schema from `tables` (a number column's value as the database gives
// it back: its shortest text). Null with `error` naming the table and line when one is missing
// or malformed.
std::shared_ptr<const ReferenceData> ReferenceDataFromCsv(const std::vector<CsvTable>& tables, std::string& error);

}  // namespace coldroom
