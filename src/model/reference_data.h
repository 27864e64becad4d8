// The reference tables one calculation reads, loaded once and then only read. The task
// dialog's tables (tasks, products, packaging) are read again after the reference editor
// writes; the main window's (locations, parameters, coatings, materials) stay as the program
// started with them, since a project refers to their rows by position.
#pragma once

#include <memory>
#include <string>
#include <vector>

#include "core/numtext.h"
#include "refdb/reference_db.h"

namespace coldroom {

// A table's values read as numbers once (as RefTable::number reads them), for the
// calculations that run thousands of times in a study.
class NumberTable {
public:
    NumberTable() = default;
    explicit NumberTable(const RefTable& table);
    // Column `column` of row `row`; a row of -1 reads row 0; out of range reads 0.
    double at(int column, int row) const {
        if (row == -1) row = 0;
        if (row < 0 || row >= static_cast<int>(rows_.size())) return 0;
        const auto& values = rows_[static_cast<std::size_t>(row)];
        return column >= 0 && column < static_cast<int>(values.size()) ? values[static_cast<std::size_t>(column)] : 0;
    }

private:
    std::vector<std::vector<double>> rows_;
};

struct ReferenceData {
    RefTable Task_array, Prod_array, Tara_array;
    RefTable Loc_array, Oth_array, Upp_array, Mat_array;
    // The same tables as numbers (names and number lists read as their leading number).
    NumberTable products, packagings, locations, coatings, materials;

    // The global parameters of Others, as the calculations hold them.
    float Illum_store = 0, Illum_techno = 0, Att_Koef_StripCurtain = 0, Att_Koef_AirCurtain = 0;
    double Koef_ElectroEva = 0;

    // Each product's temperature and enthalpy lists, read once.
    struct ProductTable {
        NumberList temperatures, enthalpies;
    };
    std::vector<ProductTable> productTables;
    // Each task's product numbers as the task dialog reads them.
    std::vector<NumberList> taskProducts;
    // Reads the numbers and lists above from the task dialog's tables, and from the main
    // window's.
    void ReadTaskNumbers();
    void ReadRoomNumbers();
};

// Column `column` of row `row` of a table, without a copy; a row of -1 reads row 0, out of
// range reads "".
const std::string& CellText(const RefTable& table, int column, int row);

// Reads the tables of the task dialog (Tasks, ProdMeat, Tara) from `path` into `data`.
// False with a Russian message naming the file, table, row and column.
bool LoadTaskTables(const std::string& path, ReferenceData& data, std::string& error);
// Reads the tables of the main window (Location, Others, Upper, Isolation).
bool LoadRoomTables(const std::string& path, ReferenceData& data, std::string& error);
// All seven.
std::shared_ptr<const ReferenceData> LoadReferenceData(const std::string& path, std::string& error);

}  // namespace coldroom
