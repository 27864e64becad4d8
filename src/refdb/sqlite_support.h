// Small pieces the database reader and writer share: a statement that is always finalised and
// the guillemets a file or table name stands in within a message.
#pragma once

#include <sqlite3.h>

#include <string>

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

}  // namespace coldroom
