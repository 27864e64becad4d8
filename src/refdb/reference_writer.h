// Changes to the reference database made by the parameter editor. Rows are addressed by
// position (ascending rowid, as the reader numbers them); every call is one transaction, so
// a failed write leaves the tables exactly as they were.
#pragma once

#include <memory>
#include <string>
#include <vector>

namespace coldroom {

// One column of a row and the text to store in it; the column's type turns a number text
// into a number, as the build of the database does.
struct ColumnText {
    int column = 0;
    std::string text;
};

struct RowChange {
    enum class Kind { Update, Append, Delete };
    Kind kind = Kind::Update;
    std::string table;
    int row = -1;                    // Update, Delete: row position
    std::vector<ColumnText> values;  // Update: the columns to change; Append: columns left out are ""

    static RowChange Update(std::string table, int row, std::vector<ColumnText> values);
    // A row of texts for every column in order.
    static RowChange Append(std::string table, const std::vector<std::string>& texts);
    static RowChange Delete(std::string table, int row);
};

// Why a write failed: a Russian sentence naming the table and the file, and the database
// engine's own text (also part of `message`).
struct WriteFailure {
    std::string message;
    std::string engineText;
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

private:
    struct Impl;
    std::unique_ptr<Impl> impl_;
};

}  // namespace coldroom
