#include "reference_tables.h"

#include "core/numtext.h"
#include "csv_reader.h"
#include "refdb/reference_db.h"

namespace coldroom {
namespace {

bool readTable(const TableSchema& schema, std::string_view text, RefTable& table, std::string& error) {
    const std::string where = std::string(schema.name) + ".csv: ";
    std::vector<csv::Record> records;
    if (!csv::Parse(text, records, error)) {
        error = where + error;
        return false;
    }
    if (records.empty() || records.front().fields.size() != schema.columns.size()) {
        error = where + "заголовок не совпадает со схемой";
        return false;
    }
    table.name = schema.name;
    table.columns.clear();
    for (std::size_t c = 0; c < schema.columns.size(); ++c) {
        if (records.front().fields[c] != schema.columns[c]) {
            error = where + "столбец " + std::to_string(c + 1) + " должен называться " + schema.columns[c];
            return false;
        }
        table.columns.emplace_back(schema.columns[c]);
    }
    table.rows.clear();
    for (std::size_t r = 1; r < records.size(); ++r) {
        std::vector<std::string>& fields = records[r].fields;
        if (fields.size() != schema.columns.size()) {
            error = where + "строка " + std::to_string(records[r].line) + ": неверное число значений";
            return false;
        }
        for (std::size_t c = 0; c < fields.size(); ++c) {
            if (csv::IsTextColumn(schema.columns[c])) continue;
            double value = 0;
            if (!StrictNumber(fields[c], value)) {
                error = where + "строка " + std::to_string(records[r].line) + ": " + schema.columns[c] + " не число";
                return false;
            }
            fields[c] = GeneralText(value);
        }
        table.rows.push_back(std::move(fields));
    }
    if (table.rowCount() < schema.minimumRows) {
        error = where + "строк меньше " + std::to_string(schema.minimumRows);
        return false;
    }
    return true;
}

RefTable* tableOf(ReferenceData& d, const std::string& name) {
    const std::pair<const char*, RefTable*> tables[] = {
        {"Tasks", &d.Task_array}, {"ProdMeat", &d.Prod_array}, {"Tara", &d.Tara_array},     {"Location", &d.Loc_array},
        {"Others", &d.Oth_array}, {"Upper", &d.Upp_array},     {"Isolation", &d.Mat_array},
    };
    for (const auto& [n, t] : tables)
        if (name == n) return t;
    return nullptr;
}

}  // namespace

std::shared_ptr<const ReferenceData> ReferenceDataFromCsv(const std::vector<CsvTable>& tables, std::string& error) {
    auto data = std::make_shared<ReferenceData>();
    for (const TableSchema& schema : ReferenceSchema()) {
        const CsvTable* found = nullptr;
        for (const CsvTable& t : tables)
            if (t.first == schema.name) found = &t;
        RefTable* table = tableOf(*data, schema.name);
        if (!found || !table) {
            error = std::string("нет таблицы ") + schema.name;
            return nullptr;
        }
        if (!readTable(schema, found->second, *table, error)) return nullptr;
    }
    data->ReadTaskNumbers();
    data->ReadRoomNumbers();
    return data;
}

}  // namespace coldroom
