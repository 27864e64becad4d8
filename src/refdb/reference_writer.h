// Changes to the reference database made by the parameter editor. Rows are addressed by
// position (ascending rowid, as the reader numbers them); every call is one transaction, so
// a failed write leaves the tables exactly as they were. A change may carry what its row
// held when it was read: another program that changed the row meanwhile makes the write
// fail instead of landing on a row the person never saw. And no change is kept that would
// leave a table the loader refuses.
#pragma once

#include <memory>
#include <string>
#include <utility>
#include <vector>

namespace coldroom {

// One column of a row and the text to store in it; the column's type turns a number text
// into a number, as the build of the database does.
struct ColumnText {
    int column = 0;
    std::string text;
};

struct RowChange {
    // Expect changes nothing: it only checks, like the expectations of the others.
    enum class Kind { Update, Append, Delete, Expect };
    Kind kind = Kind::Update;
    std::string table;
    int row = -1;                    // Update, Delete, Expect: row position
    std::vector<ColumnText> values;  // Update: the columns to change; Append: columns left out are ""
    // Update, Delete, Expect: every column of the row as it was read; empty: not checked.
    std::vector<std::string> expected;
    // The table's row count as it was read, before this change; -1: not checked.
    int expectedRows = -1;

    static RowChange Update(std::string table, int row, std::vector<ColumnText> values);
    // A row of texts for every column in order.
    static RowChange Append(std::string table, const std::vector<std::string>& texts);
    static RowChange Delete(std::string table, int row);
    static RowChange Expect(std::string table, int row, std::vector<std::string> expected);
    // The same change, checked against the row and the row count as they were read.
    RowChange expecting(std::vector<std::string> row, int rows) &&;
};

// Why a write failed: a Russian sentence naming the table and the file, and the database
// engine's own text (also part of `message`).
struct WriteFailure {
    enum class Kind {
        Engine,   // the engine refused or failed (locked, read-only, full disk, a trigger)
        Stale,    // the row is no longer what was read: another program changed it
        Refused,  // the tables would no longer load, or a product is still in a task's list
    };
    Kind kind = Kind::Engine;
    std::string message;
    std::string engineText;
};

// What deleting a product did to the tasks' product lists.
struct ProductDeletion {
    std::vector<int> listedBy;                            // task rows that list it: nothing deleted
    std::vector<std::pair<int, std::string>> renumbered;  // task row and its new list
};

class ReferenceWriter {
public:
    // ReadOnly opens the file the way a write-protected file is opened: reads work, every
    // write is refused by the engine. NoSpace writes as on a full disk: the file cannot grow
    // by a single page, so a change that needs more room fails as it would there.
    enum class Access { ReadWrite, ReadOnly, NoSpace };

    ReferenceWriter();
    ~ReferenceWriter();
    ReferenceWriter(const ReferenceWriter&) = delete;
    ReferenceWriter& operator=(const ReferenceWriter&) = delete;

    // Opens an existing database file (never creates one). On failure sets a Russian `error`.
    bool open(const std::string& path, std::string& error, Access access = Access::ReadWrite);
    void close();
    bool isOpen() const;
    const std::string& path() const;

    // Applies the changes in order, all or none. Row positions of a later change count the
    // rows as the earlier changes left them.
    bool apply(const std::vector<RowChange>& changes, WriteFailure& failure);

    bool updateRow(const std::string& table, int row, std::vector<ColumnText> values,
                   WriteFailure& failure);
    bool appendRow(const std::string& table, const std::vector<std::string>& texts,
                   WriteFailure& failure);
    bool deleteRow(const std::string& table, int row, WriteFailure& failure);

    // Deletes a product (`product`: a Delete of a ProdMeat row, with its expectations) and,
    // in the same transaction, moves every product number above it down by one in the
    // tasks' lists as they are stored. A product that a stored list names is not deleted:
    // the call fails (Refused) and `result.listedBy` names those tasks.
    bool deleteProduct(const RowChange& product, ProductDeletion& result, WriteFailure& failure);

private:
    struct Impl;
    std::unique_ptr<Impl> impl_;
};

}  // namespace coldroom
