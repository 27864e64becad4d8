// The reference tables one calculation reads, loaded once and then only read. The task
// dialog's tables (tasks, products, packaging) are read again after the reference editor
// writes; the main window's (locations, parameters, coatings, materials) stay as the program
// started with them, since a project refers to their rows by position.
#pragma once

#include <memory>
#include <string>

#include "refdb/reference_db.h"

namespace coldroom {

struct ReferenceData {
    RefTable Task_array, Prod_array, Tara_array;
    RefTable Loc_array, Oth_array, Upp_array, Mat_array;

    // The global parameters of Others, as the calculations hold them.
    float Illum_store = 0, Illum_techno = 0, Att_Koef_StripCurtain = 0, Att_Koef_AirCurtain = 0;
    double Koef_ElectroEva = 0;

    // Reads the values above from Oth_array.
    void ReadParameters();
};

// Reads the tables of the task dialog (Tasks, ProdMeat, Tara) from `path` into `data`.
// False with a Russian message naming the file, table, row and column.
bool LoadTaskTables(const std::string& path, ReferenceData& data, std::string& error);
// Reads the tables of the main window (Location, Others, Upper, Isolation).
bool LoadRoomTables(const std::string& path, ReferenceData& data, std::string& error);
// All seven.
std::shared_ptr<const ReferenceData> LoadReferenceData(const std::string& path, std::string& error);

}  // namespace coldroom
