// The seven reference tables. Kept apart from the database code so that the tool that builds
// Data.dtx from the CSV sources checks against the very same list without linking the core.
#include "refdb/reference_db.h"


namespace coldroom {

const std::vector<TableSchema>& ReferenceSchema() {
    // Rows are addressed by position: the task dialog needs the 17 predefined tasks, the main
    // window selects location 34 and reads the five parameters by row.
    static const std::vector<TableSchema> schema = {
        {"Tasks",
         {"TaskName", "TempCell", "TempIn", "TempOut", "Humidity", "CoolTime", "Velocity",
          "Reference"},
         17},
        {"ProdMeat",
         {"Name", "Norma", "SpecificHeat", "SpecHeat_Freez", "Temperatures", "Enthalpy", "Wlaga",
          "Therm_conduct", "Therm_cond_freez", "Dimension", "ShapeA", "Density", "T_cryoscop",
          "Q_freeze"},
         1},
        {"Isolation", {"material", "conductivity"}, 1},
        {"Location", {"City", "Longitude", "Temperature", "Humidity"}, 35},
        {"Tara", {"Type", "SpecificHeat"}, 1},
        {"Upper", {"Type", "Absorption"}, 1},
        {"Others", {"Parameter", "Value"}, 5},
    };
    return schema;
}

std::string QuotedIdentifier(const std::string& name) {
    std::string out = "\"";
    for (char c : name) {
        out += c;
        if (c == '"') out += '"';
    }
    return out + "\"";
}

bool SameNameIgnoringCase(std::string_view a, std::string_view b) {
    if (a.size() != b.size()) return false;
    auto lower = [](char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c; };
    for (size_t i = 0; i < a.size(); ++i)
        if (lower(a[i]) != lower(b[i])) return false;
    return true;
}

const TableSchema* FindTableSchema(const std::string& table) {
    for (const TableSchema& t : ReferenceSchema())
        if (SameNameIgnoringCase(table, t.name)) return &t;
    return nullptr;
}

}  // namespace coldroom
