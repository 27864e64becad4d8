// The reference database Data.dtx (SQLite): seven tables read whole into arrays that are
// addressed [column, row]; row order is ascending rowid.
#pragma once

#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "core/quantity_ranges.h"

namespace coldroom {

// One table read whole. Values are kept as text and read with the number-text rules.
class RefTable {
public:
    std::string name;
    std::vector<std::string> columns;
    std::vector<std::vector<std::string>> rows;  // rows[row][column]

    int rowCount() const { return static_cast<int>(rows.size()); }
    // Column `column` of row `row`; a row of -1 reads row 0; out of range reads "".
    std::string text(int column, int row) const;
    // The same read with the leading-number parse.
    double number(int column, int row) const;
};

// The seven tables with their columns in order.
struct TableSchema {
    const char* name;
    std::vector<const char*> columns;
    int minimumRows;
};
const std::vector<TableSchema>& ReferenceSchema();
// The schema entry of a table (names compare without regard to ASCII case, as SQLite's do);
// nullptr for a table outside the schema.
const TableSchema* FindTableSchema(const std::string& table);
// Table and column names match as SQLite matches them: ASCII letters without regard to case.
bool SameNameIgnoringCase(std::string_view a, std::string_view b);
// A table or column name quoted for SQL text: "name", an inner quote doubled.
std::string QuotedIdentifier(const std::string& name);

class ReferenceDatabase {
public:
    ReferenceDatabase();
    ~ReferenceDatabase();
    ReferenceDatabase(ReferenceDatabase&&) noexcept;
    ReferenceDatabase& operator=(ReferenceDatabase&&) noexcept;

    // Opens an existing file and reads the seven tables of the schema in one read
    // transaction, so that they are read as one moment of the file: a task's product numbers
    // and the product table always belong together, whatever another program writes
    // meanwhile. A writer is waited for up to `waitMs`. On failure returns false and sets
    // `error` to a Russian message naming the file and what is wrong; `busy`, when given,
    // tells whether the file was only kept busy by another program.
    bool open(const std::string& path, std::string& error, bool* busy = nullptr, int waitMs = kBusyWaitMs);
    bool isOpen() const;
    const std::string& path() const;

    // A table of the schema as read when the file was opened; another table is read now.
    // Checks its columns (names and order), the minimum row count of the schema and every
    // value (CheckTableValues). On failure returns nullopt and sets `error` (Russian).
    std::optional<RefTable> loadTable(const std::string& table, std::string& error) const;

    // The engine's own check of every page and index of the open file. False with `error`.
    bool checkIntegrity(std::string& error) const;

    static constexpr int kBusyWaitMs = 5000;

private:
    struct Impl;
    std::unique_ptr<Impl> impl_;
};

// What one column of a reference table may hold. The parameter editor checks its fields with
// these rules and the loader refuses what they refuse, so a table the editor wrote loads.
struct ValueRule {
    enum class Kind { Free, Name, Number, NumberList, ProductList, Shape };
    Kind kind = Kind::Free;
    QuantityRange range{0, 0};  // of a number, or of each element of a list
    // 0 loads as well, though the editor asks for more: tables written before the editor
    // checked may hold it, and the loads then show undefined rather than a wrong figure.
    bool zeroLoads = false;

    // The range (Number, each element of a NumberList) or the shape coefficients (Shape).
    bool accepts(double v) const;
};
// The rule of a column of a schema table; nullptr for another table or column.
const ValueRule* FindValueRule(std::string_view table, int column);

// Checks every value of a schema table: names not empty, numbers within the ranges the program
// computes with (before anything casts them), product numbers of a task naming rows of a
// product table of `productRows` rows. On failure sets `error` naming the file, the table, the
// row and the column, and returns false.
bool CheckTableValues(const RefTable& table, const std::string& file, int productRows, std::string& error);

// The Data.dtx shipped with the running program: beside it, or in ../share/coldroom once installed.
std::string DefaultDatabasePath();

}  // namespace coldroom
