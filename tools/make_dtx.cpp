// make_dtx DATA_DIR OUTPUT
//
// Builds the reference database Data.dtx from the CSV sources: one table per file
// DATA_DIR/<Table>.csv, columns in the order of the file's header (which must be the schema's),
// rows in file order so that rowid order is file order. Names, lists of numbers and other
// texts are stored as TEXT exactly as written; number columns as REAL. Any doubt about the
// sources stops the build: a half-right reference database is worse than none.
#include "csv_reader.h"
#include "refdb/reference_db.h"

#include <sqlite3.h>

#include <charconv>
#include <cmath>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

namespace fs = std::filesystem;
using coldroom::TableSchema;

namespace {

struct Table {
    const TableSchema* schema = nullptr;
    std::vector<coldroom::csv::Record> rows;
    std::vector<bool> isText;
};

bool ReadFile(const fs::path& file, std::string& text) {
    std::ifstream in(file, std::ios::binary);
    if (!in) return false;
    std::ostringstream buffer;
    buffer << in.rdbuf();
    text = buffer.str();
    return !in.bad();
}

bool IsNumberText(const std::string& text) {
    double value = 0;
    const char* end = text.data() + text.size();
    auto result = std::from_chars(text.data(), end, value);
    return !text.empty() && result.ec == std::errc() && result.ptr == end && std::isfinite(value);
}

double NumberOf(const std::string& text) {
    double value = 0;
    std::from_chars(text.data(), text.data() + text.size(), value);
    return value;
}

bool Load(const fs::path& dir, const TableSchema& schema, Table& table, std::string& error) {
    const fs::path file = dir / (std::string(schema.name) + ".csv");
    const std::string where = file.string();
    std::string text;
    if (!ReadFile(file, text)) {
        error = where + ": cannot read the file";
        return false;
    }
    std::vector<coldroom::csv::Record> records;
    if (!coldroom::csv::Parse(text, records, error)) {
        error = where + ": " + error;
        return false;
    }
    if (records.empty()) {
        error = where + ": the file is empty; a header line is needed";
        return false;
    }

    const auto& header = records.front().fields;
    std::string expected, found;
    for (const char* c : schema.columns) expected += (expected.empty() ? "" : ",") + std::string(c);
    for (const auto& c : header) found += (found.empty() ? "" : ",") + c;
    if (expected != found) {
        error = where + ": the header must be\n  " + expected + "\nbut is\n  " + found;
        return false;
    }

    table.schema = &schema;
    table.isText.clear();
    for (const char* c : schema.columns) table.isText.push_back(coldroom::csv::IsTextColumn(c));
    table.rows.assign(records.begin() + 1, records.end());
    for (const auto& row : table.rows) {
        const std::string at = where + ":" + std::to_string(row.line) + ": ";
        if (row.fields.size() != header.size()) {
            error = at + std::to_string(row.fields.size()) + " fields, the header has " +
                    std::to_string(header.size());
            return false;
        }
        for (size_t c = 0; c < row.fields.size(); ++c) {
            const std::string& value = row.fields[c];
            if (value.empty()) {
                error = at + "column " + schema.columns[c] + " is empty";
                return false;
            }
            if (!table.isText[c] && !IsNumberText(value)) {
                error = at + "column " + schema.columns[c] + " holds \"" + value +
                        "\", which is not a number";
                return false;
            }
        }
    }
    if (static_cast<int>(table.rows.size()) < schema.minimumRows) {
        error = where + ": " + std::to_string(table.rows.size()) + " rows, at least " +
                std::to_string(schema.minimumRows) + " are needed";
        return false;
    }
    return true;
}

bool Exec(sqlite3* db, const std::string& sql, std::string& error) {
    char* message = nullptr;
    if (sqlite3_exec(db, sql.c_str(), nullptr, nullptr, &message) == SQLITE_OK) return true;
    error = message ? message : sqlite3_errmsg(db);
    sqlite3_free(message);
    return false;
}

bool WriteTable(sqlite3* db, const Table& table, std::string& error) {
    const TableSchema& schema = *table.schema;
    std::string create = "CREATE TABLE " + coldroom::QuotedIdentifier(schema.name) + " (";
    std::string insert = "INSERT INTO " + coldroom::QuotedIdentifier(schema.name) + " VALUES (";
    for (size_t c = 0; c < schema.columns.size(); ++c) {
        create += (c ? ", " : "") + coldroom::QuotedIdentifier(schema.columns[c]) +
                  (table.isText[c] ? " TEXT" : " REAL");
        insert += c ? ", ?" : "?";
    }
    create += ")";
    insert += ")";
    if (!Exec(db, create, error)) return false;

    sqlite3_stmt* stmt = nullptr;
    if (sqlite3_prepare_v2(db, insert.c_str(), -1, &stmt, nullptr) != SQLITE_OK) {
        error = sqlite3_errmsg(db);
        return false;
    }
    bool ok = true;
    for (const auto& row : table.rows) {
        sqlite3_reset(stmt);
        for (size_t c = 0; c < row.fields.size(); ++c) {
            const int at = static_cast<int>(c) + 1;
            const std::string& value = row.fields[c];
            if (table.isText[c])
                sqlite3_bind_text(stmt, at, value.data(), static_cast<int>(value.size()),
                                  SQLITE_TRANSIENT);
            else
                sqlite3_bind_double(stmt, at, NumberOf(value));
        }
        if (sqlite3_step(stmt) != SQLITE_DONE) {
            error = sqlite3_errmsg(db);
            ok = false;
            break;
        }
    }
    sqlite3_finalize(stmt);
    return ok;
}

// Writes every table into a fresh file; false leaves the half-written file for the caller.
bool WriteDatabase(const fs::path& file, const std::vector<Table>& tables, std::string& error) {
    sqlite3* db = nullptr;
    if (sqlite3_open_v2(file.c_str(), &db, SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE,
                        nullptr) != SQLITE_OK) {
        error = db ? sqlite3_errmsg(db) : "out of memory";
        sqlite3_close(db);
        return false;
    }
    bool ok = Exec(db, "BEGIN", error);
    for (const Table& table : tables) {
        if (!ok) break;
        if (!WriteTable(db, table, error)) {
            error = std::string(table.schema->name) + ": " + error;
            ok = false;
        }
    }
    if (ok) ok = Exec(db, "COMMIT", error);
    if (sqlite3_close(db) != SQLITE_OK && ok) {
        error = "cannot close the database";
        ok = false;
    }
    return ok;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 3) {
        std::fprintf(stderr, "usage: %s DATA_DIR OUTPUT\n", argv[0]);
        return 2;
    }
    const fs::path dir = argv[1];
    const fs::path output = argv[2];

    std::vector<Table> tables;
    std::string error;
    for (const TableSchema& schema : coldroom::ReferenceSchema()) {
        Table table;
        if (!Load(dir, schema, table, error)) {
            std::fprintf(stderr, "make_dtx: %s\n", error.c_str());
            return 1;
        }
        tables.push_back(std::move(table));
    }

    // Written beside the target and renamed over it, so a failed build never leaves a
    // truncated Data.dtx for the program to trip on.
    std::error_code ec;
    if (output.has_parent_path()) fs::create_directories(output.parent_path(), ec);
    fs::path temporary = output;
    temporary += ".tmp";
    fs::remove(temporary, ec);
    if (!WriteDatabase(temporary, tables, error)) {
        std::fprintf(stderr, "make_dtx: %s: %s\n", temporary.c_str(), error.c_str());
        fs::remove(temporary, ec);
        return 1;
    }
    fs::rename(temporary, output, ec);
    if (ec) {
        std::fprintf(stderr, "make_dtx: cannot replace %s: %s\n", output.c_str(),
                     ec.message().c_str());
        fs::remove(temporary, ec);
        return 1;
    }
    return 0;
}
