// Test helper: builds small reference databases (SQLite files) in a private temporary folder.
//
//     TestDatabase db;
//     db.addTable("Tara", {"Type", "SpecificHeat"}, {{"Ящики", 2.5}, {"Без упаковки", 0}});
//     std::string path = db.write();          // <temp dir>/Data.dtx
//
// or start from the whole schema with the fewest valid rows and change what the test needs:
//
//     TestDatabase db = MinimalReferenceDatabase();
//     db.table("Tasks").rows[10][7] = "27,28";
//     db.table("Location").rows.resize(12);
//     db.removeTable("Upper");
//
// Values keep their SQLite type (TEXT, INTEGER, REAL, NULL) because the columns are created
// without a declared type. The folder is removed with the object.
#pragma once

#include "refdb/reference_db.h"

#include <sqlite3.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <stdexcept>
#include <string>
#include <utility>
#include <variant>
#include <vector>

namespace coldroom::test {

// One cell: text, integer, real or NULL.
struct TestValue {
    std::variant<std::nullptr_t, std::string, long long, double> value;

    TestValue(std::nullptr_t) : value(nullptr) {}
    TestValue(const char* text) : value(std::string(text)) {}
    TestValue(std::string text) : value(std::move(text)) {}
    TestValue(int number) : value(static_cast<long long>(number)) {}
    TestValue(long long number) : value(number) {}
    TestValue(double number) : value(number) {}
};

using TestRow = std::vector<TestValue>;

struct TestTable {
    std::string name;
    std::vector<std::string> columns;
    std::vector<TestRow> rows;
};

class TestDatabase {
public:
    TestDatabase() {
        std::string pattern =
            (std::filesystem::temp_directory_path() / "coldroom-test-XXXXXX").string();
        if (!mkdtemp(pattern.data())) throw std::runtime_error("cannot create a temporary folder");
        dir_ = pattern;
    }
    ~TestDatabase() {
        std::error_code ec;
        if (!dir_.empty()) std::filesystem::remove_all(dir_, ec);
    }
    TestDatabase(TestDatabase&& other) noexcept
        : dir_(std::exchange(other.dir_, {})), tables_(std::move(other.tables_)) {}
    TestDatabase& operator=(TestDatabase&&) = delete;
    TestDatabase(const TestDatabase&) = delete;
    TestDatabase& operator=(const TestDatabase&) = delete;

    // Adds a table (or replaces one of the same name), columns in this order.
    TestDatabase& addTable(const std::string& name, std::vector<std::string> columns,
                           std::vector<TestRow> rows = {}) {
        removeTable(name);
        tables_.push_back({name, std::move(columns), std::move(rows)});
        return *this;
    }
    TestDatabase& addRows(const std::string& name, const std::vector<TestRow>& rows) {
        auto& target = table(name).rows;
        target.insert(target.end(), rows.begin(), rows.end());
        return *this;
    }
    TestDatabase& removeTable(const std::string& name) {
        std::erase_if(tables_, [&](const TestTable& t) { return t.name == name; });
        return *this;
    }
    TestTable& table(const std::string& name) {
        for (auto& t : tables_)
            if (t.name == name) return t;
        throw std::out_of_range("no test table " + name);
    }
    bool hasTable(const std::string& name) const {
        for (const auto& t : tables_)
            if (t.name == name) return true;
        return false;
    }

    // The temporary folder, and a path inside it.
    const std::filesystem::path& directory() const { return dir_; }
    std::string pathOf(const std::string& fileName) const { return (dir_ / fileName).string(); }

    // Writes the tables into a fresh SQLite file in the folder; rowid order is row order.
    std::string write(const std::string& fileName = "Data.dtx") const {
        const std::string path = pathOf(fileName);
        std::filesystem::remove(path);
        sqlite3* db = nullptr;
        if (sqlite3_open_v2(path.c_str(), &db, SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE,
                            nullptr) != SQLITE_OK) {
            sqlite3_close(db);
            throw std::runtime_error("cannot create " + path);
        }
        auto check = [&](int rc, const std::string& what) {
            if (rc == SQLITE_OK || rc == SQLITE_DONE) return;
            std::string message = what + ": " + sqlite3_errmsg(db);
            sqlite3_close(db);
            throw std::runtime_error(message);
        };
        check(sqlite3_exec(db, "BEGIN", nullptr, nullptr, nullptr), "begin");
        for (const auto& t : tables_) {
            std::string create = "CREATE TABLE " + Identifier(t.name) + " (";
            std::string insert = "INSERT INTO " + Identifier(t.name) + " VALUES (";
            for (size_t c = 0; c < t.columns.size(); ++c) {
                create += (c ? ", " : "") + Identifier(t.columns[c]);
                insert += c ? ", ?" : "?";
            }
            check(sqlite3_exec(db, (create + ")").c_str(), nullptr, nullptr, nullptr), create);
            sqlite3_stmt* stmt = nullptr;
            check(sqlite3_prepare_v2(db, (insert + ")").c_str(), -1, &stmt, nullptr), insert);
            for (const auto& row : t.rows) {
                sqlite3_reset(stmt);
                sqlite3_clear_bindings(stmt);  // a short row leaves NULLs
                for (size_t c = 0; c < row.size() && c < t.columns.size(); ++c)
                    Bind(stmt, static_cast<int>(c) + 1, row[c]);
                int rc = sqlite3_step(stmt);
                if (rc != SQLITE_DONE) sqlite3_finalize(stmt);
                check(rc, "insert into " + t.name);
            }
            sqlite3_finalize(stmt);
        }
        check(sqlite3_exec(db, "COMMIT", nullptr, nullptr, nullptr), "commit");
        sqlite3_close(db);
        return path;
    }

    // Copies a database file (the shipped one, say) into the folder, for tests that write.
    std::string copyFrom(const std::string& source, const std::string& fileName = "Data.dtx") const {
        const std::string path = pathOf(fileName);
        std::filesystem::copy_file(source, path,
                                   std::filesystem::copy_options::overwrite_existing);
        return path;
    }

    // Writes any bytes into a file of the folder (a damaged database, a text file).
    std::string writeFile(const std::string& fileName, const std::string& bytes) const {
        const std::string path = pathOf(fileName);
        std::ofstream out(path, std::ios::binary | std::ios::trunc);
        out << bytes;
        return path;
    }

private:
    static std::string Identifier(const std::string& name) {
        std::string out = "\"";
        for (char c : name) {
            out += c;
            if (c == '"') out += '"';
        }
        return out + "\"";
    }
    static void Bind(sqlite3_stmt* stmt, int at, const TestValue& v) {
        if (auto* s = std::get_if<std::string>(&v.value))
            sqlite3_bind_text(stmt, at, s->data(), static_cast<int>(s->size()), SQLITE_TRANSIENT);
        else if (auto* i = std::get_if<long long>(&v.value))
            sqlite3_bind_int64(stmt, at, *i);
        else if (auto* d = std::get_if<double>(&v.value))
            sqlite3_bind_double(stmt, at, *d);
        else
            sqlite3_bind_null(stmt, at);
    }

    std::filesystem::path dir_;
    std::vector<TestTable> tables_;
};

// Runs SQL on an existing database file (an index, a changed row, a damaged schema).
inline void ExecuteSql(const std::string& path, const std::string& sql) {
    sqlite3* db = nullptr;
    int rc = sqlite3_open_v2(path.c_str(), &db, SQLITE_OPEN_READWRITE, nullptr);
    char* message = nullptr;
    if (rc == SQLITE_OK) rc = sqlite3_exec(db, sql.c_str(), nullptr, nullptr, &message);
    std::string error = message ? message : (db ? sqlite3_errmsg(db) : "out of memory");
    sqlite3_free(message);
    sqlite3_close(db);
    if (rc != SQLITE_OK) throw std::runtime_error(sql + ": " + error);
}

// The default 38-point temperature-enthalpy table of a new product.
inline const char* DefaultTemperatures() {
    return "-30,-28,-26,-24,-22,-20,-18,-16,-14,-12,-10,-8,-6,-4,-3,-2,-1,0,1,2,3,4,6,8,10,12,"
           "14,16,18,20,22,24,26,28,30,32,34,36";
}
inline const char* DefaultEnthalpies() {
    return "19.9,24.4,28.9,33.6,38.5,43.5,48.9,54.5,60.6,67.2,74.8,83.8,95.6,114.0,129.8,159.3,"
           "258.7,300.9,304.4,308,311.6,315.1,322.3,329.6,336.9,344.2,351.6,359,366.3,373.7,"
           "380.9,388.2,395.4,402.5,409.7,416.9,424.1,431.3";
}

// The seven reference tables with their exact columns and the fewest valid rows each:
// 17 tasks "Задача 1".."Задача 17" (each offering product 1), one product "Продукт 1" with the
// default enthalpy table, 35 locations "Место 1".."Место 35", one material, one packaging,
// one coating and the five parameters. Numbers are stored as text, as an edited database may
// hold them; every value lies inside the editor's ranges.
inline TestDatabase MinimalReferenceDatabase() {
    TestDatabase db;
    auto columnsOf = [](const char* table) {
        std::vector<std::string> names;
        for (const char* c : FindTableSchema(table)->columns) names.emplace_back(c);
        return names;
    };
    std::vector<TestRow> tasks;
    for (int i = 1; i <= 17; ++i)
        tasks.push_back({"Задача " + std::to_string(i), "0", "20", "4", "90", "24", "0.5", "1"});
    db.addTable("Tasks", columnsOf("Tasks"), tasks);
    db.addTable("ProdMeat", columnsOf("ProdMeat"),
                {{"Продукт 1", "0.3", "1.6", "2.2", DefaultTemperatures(), DefaultEnthalpies(),
                  "0.7", "0.5", "1.3", "0.1", "1", "1000", "-1", "230"}});
    db.addTable("Isolation", columnsOf("Isolation"), {{"Материал 1", "0.024"}});
    std::vector<TestRow> places;
    for (int i = 1; i <= 35; ++i) places.push_back({"Место " + std::to_string(i), "55.8", "26", "55"});
    db.addTable("Location", columnsOf("Location"), places);
    db.addTable("Tara", columnsOf("Tara"), {{"Тара 1", "2.5"}});
    db.addTable("Upper", columnsOf("Upper"), {{"Покрытие 1", "0.45"}});
    db.addTable("Others", columnsOf("Others"),
                {{"Освещение камер хранения", "2.3"},
                 {"Освещение помещений обработки", "4.7"},
                 {"Полосовая завеса", "0.15"},
                 {"Воздушная завеса", "0.35"},
                 {"Вентиляторы воздухоохладителей", "0.05"}});
    return db;
}

// The Data.dtx that the build makes from data/*.csv.
inline std::string ShippedDatabasePath() {
#ifdef COLDROOM_BIN_DIR
    return std::string(COLDROOM_BIN_DIR) + "/Data.dtx";
#else
    return "Data.dtx";
#endif
}

}  // namespace coldroom::test
