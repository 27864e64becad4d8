// Small pieces the database reader and writer share: a statement that is always finalised,
// the reading of a table, and the guillemets a file or table name stands in within a message.
#pragma once

#include <sqlite3.h>

#include <optional>
#include <string>

#include "refdb/reference_db.h"

namespace coldroom {

class Statement {
public:
    Statement() = default;
    Statement(const Statement&) = delete;
    Statement& operator=(const Statement&) = delete;
    ~Statement() { sqlite3_finalize(stmt_); }
    int prepare(sqlite3* db, const std::string& sql) {
        return sqlite3_prepare_v2(db, sql.c_str(), static_cast<int>(sql.size()), &stmt_, nullptr);
    }
    sqlite3_stmt* get() const { return stmt_; }

private:
    sqlite3_stmt* stmt_ = nullptr;
};

inline std::string Quoted(const std::string& name) { return "«" + name + "»"; }

// What an SQLite result code means to the reader.
std::string DescribeSqliteError(int code, sqlite3* db);
// The text a stored value reads as: numbers in the form the number rules write them.
std::string ValueText(sqlite3_stmt* stmt, int column);
// A whole table in row order, its columns and minimum row count checked against the schema
// (not its values). On failure sets a Russian `error` naming the file `file`.
std::optional<RefTable> ReadTable(sqlite3* db, const std::string& table, const std::string& file,
                                  std::string& error);
// Rows of the product table, which the product numbers of the tasks must name.
int ProductRowCount(sqlite3* db);
// The engine opens the journal and WAL files beside a database by their names: a pipe there
// would block it for ever, a device feed it without end. "" when each is missing or a regular
// file, else what stands there and what to do.
std::string CompanionProblem(const std::string& database);

}  // namespace coldroom
