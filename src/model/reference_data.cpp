#include "model/reference_data.h"

#include "loads/loads.h"
#include "refdb/reference_columns.h"

namespace coldroom {
namespace {

bool loadTables(const std::string& path, std::initializer_list<std::pair<const char*, RefTable*>> tables,
                std::string& error) {
    ReferenceDatabase db;
    if (!db.open(path, error)) return false;
    for (const auto& [name, into] : tables) {
        auto table = db.loadTable(name, error);
        if (!table) return false;
        *into = std::move(*table);
    }
    return true;
}

}  // namespace

void ReferenceData::ReadRoomNumbers() {
    locations = NumberTable(Loc_array);
    coatings = NumberTable(Upp_array);
    materials = NumberTable(Mat_array);
    Illum_store = static_cast<float>(Oth_array.number(kValueColumn, OthersRow::IllumStore));
    Illum_techno = static_cast<float>(Oth_array.number(kValueColumn, OthersRow::IllumTechno));
    Att_Koef_StripCurtain = static_cast<float>(Oth_array.number(kValueColumn, OthersRow::AttenuationStripCurtain));
    Att_Koef_AirCurtain = static_cast<float>(Oth_array.number(kValueColumn, OthersRow::AttenuationAirCurtain));
    Koef_ElectroEva = Oth_array.number(kValueColumn, OthersRow::FanPowerShare);
}

const std::string& CellText(const RefTable& table, int column, int row) {
    static const std::string none;
    if (row == -1) row = 0;
    if (row < 0 || row >= table.rowCount()) return none;
    const auto& values = table.rows[static_cast<std::size_t>(row)];
    return column >= 0 && column < static_cast<int>(values.size()) ? values[static_cast<std::size_t>(column)] : none;
}

NumberTable::NumberTable(const RefTable& table) {
    rows_.reserve(table.rows.size());
    for (const auto& row : table.rows) {
        auto& values = rows_.emplace_back();
        values.reserve(row.size());
        for (const std::string& text : row) values.push_back(LeadingNumber(text));
    }
}

void ReferenceData::ReadTaskNumbers() {
    products = NumberTable(Prod_array);
    packagings = NumberTable(Tara_array);
    productTables.clear();
    for (int row = 0; row < Prod_array.rowCount(); ++row)
        productTables.push_back({ParseNumberList(Prod_array.text(ProductColumn::Temperatures, row), kEnthalpyTableCapacity),
                                 ParseNumberList(Prod_array.text(ProductColumn::Enthalpy, row), kEnthalpyTableCapacity)});
    taskProducts.clear();
    for (int row = 0; row < Task_array.rowCount(); ++row)
        taskProducts.push_back(ParseNumberList(Task_array.text(TaskColumn::Reference, row), kTaskProductsInDialog));
}

bool LoadTaskTables(const std::string& path, ReferenceData& data, std::string& error) {
    if (!loadTables(path, {{"Tasks", &data.Task_array}, {"ProdMeat", &data.Prod_array}, {"Tara", &data.Tara_array}},
                    error))
        return false;
    data.ReadTaskNumbers();
    return true;
}

bool LoadRoomTables(const std::string& path, ReferenceData& data, std::string& error) {
    if (!loadTables(path,
                    {{"Location", &data.Loc_array},
                     {"Others", &data.Oth_array},
                     {"Upper", &data.Upp_array},
                     {"Isolation", &data.Mat_array}},
                    error))
        return false;
    data.ReadRoomNumbers();
    return true;
}

std::shared_ptr<const ReferenceData> LoadReferenceData(const std::string& path, std::string& error) {
    auto data = std::make_shared<ReferenceData>();
    if (!LoadTaskTables(path, *data, error) || !LoadRoomTables(path, *data, error)) return nullptr;
    return data;
}

}  // namespace coldroom
