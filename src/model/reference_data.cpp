#include "model/reference_data.h"

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

void ReferenceData::ReadParameters() {
    Illum_store = static_cast<float>(Oth_array.number(kValueColumn, OthersRow::IllumStore));
    Illum_techno = static_cast<float>(Oth_array.number(kValueColumn, OthersRow::IllumTechno));
    Att_Koef_StripCurtain = static_cast<float>(Oth_array.number(kValueColumn, OthersRow::AttenuationStripCurtain));
    Att_Koef_AirCurtain = static_cast<float>(Oth_array.number(kValueColumn, OthersRow::AttenuationAirCurtain));
    Koef_ElectroEva = Oth_array.number(kValueColumn, OthersRow::FanPowerShare);
}

bool LoadTaskTables(const std::string& path, ReferenceData& data, std::string& error) {
    return loadTables(path, {{"Tasks", &data.Task_array}, {"ProdMeat", &data.Prod_array}, {"Tara", &data.Tara_array}},
                      error);
}

bool LoadRoomTables(const std::string& path, ReferenceData& data, std::string& error) {
    if (!loadTables(path,
                    {{"Location", &data.Loc_array},
                     {"Others", &data.Oth_array},
                     {"Upper", &data.Upp_array},
                     {"Isolation", &data.Mat_array}},
                    error))
        return false;
    data.ReadParameters();
    return true;
}

std::shared_ptr<const ReferenceData> LoadReferenceData(const std::string& path, std::string& error) {
    auto data = std::make_shared<ReferenceData>();
    if (!LoadTaskTables(path, *data, error) || !LoadRoomTables(path, *data, error)) return nullptr;
    return data;
}

}  // namespace coldroom
