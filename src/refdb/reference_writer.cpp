#include "refdb/reference_writer.h"

#include "refdb/reference_db.h"
#include "refdb/sqlite_support.h"

#include <sqlite3.h>

#include <filesystem>

namespace coldroom {

RowChange RowChange::Update(std::string table, int row, std::vector<ColumnText> values) {
    return {Kind::Update, std::move(table), row, std::move(values)};
}

RowChange RowChange::Append(std::string table, const std::vector<std::string>& texts) {
    RowChange change{Kind::Append, std::move(table), -1, {}};
    for (size_t c = 0; c < texts.size(); ++c)
        change.values.push_back({static_cast<int>(c), texts[c]});
    return change;
}

RowChange RowChange::Delete(std::string table, int row) { return {Kind::Delete, std::move(table), row, {}}; }

namespace {

// What a failed write means to the user; the engine's own text follows it.
const char* WriteReason(int code) {
    switch (code & 0xff) {
    case SQLITE_READONLY: return "файл базы данных открыт только для чтения";
    case SQLITE_BUSY:
    case SQLITE_LOCKED: return "база данных занята другой программой";
    case SQLITE_CONSTRAINT: return "значение нарушает ограничение таблицы";
    case SQLITE_FULL: return "нет места на диске";
    case SQLITE_IOERR: return "ошибка записи файла";
    case SQLITE_CANTOPEN:
    case SQLITE_PERM:
    case SQLITE_AUTH: return "нет доступа к файлу";
    case SQLITE_CORRUPT:
    case SQLITE_NOTADB: return "файл базы данных поврежден";
    case SQLITE_NOMEM: return "недостаточно памяти";
    default: return "ошибка базы данных";
    }
}

// A failed step: the result code and, when the engine did not say it, our own text.
struct StepError {
    int code = SQLITE_OK;
    std::string text;
};

}  // namespace

struct ReferenceWriter::Impl {
    sqlite3* db = nullptr;
    std::string path;

    ~Impl() { close(); }
    void close() {
        if (db) sqlite3_close_v2(db);
        db = nullptr;
        path.clear();
    }

    // Row position -> rowid; false when the table has no such row.
    bool rowidAt(const std::string& table, int row, sqlite3_int64& rowid, StepError& err) {
        Statement s;
        err.code = s.prepare(db, "SELECT rowid FROM " + QuotedIdentifier(table) +
                                     " ORDER BY rowid LIMIT 1 OFFSET ?1");
        if (err.code == SQLITE_OK) err.code = sqlite3_bind_int(s.get(), 1, row);
        if (err.code == SQLITE_OK) err.code = sqlite3_step(s.get());
        if (err.code == SQLITE_ROW) {
            rowid = sqlite3_column_int64(s.get(), 0);
            err.code = SQLITE_OK;
            return true;
        }
        if (err.code == SQLITE_DONE) {
            err.code = SQLITE_NOTFOUND;
            err.text = "нет строки № " + std::to_string(row + 1);
        }
        return false;
    }

    bool run(const RowChange& change, const TableSchema& schema, StepError& err) {
        const std::string table = QuotedIdentifier(schema.name);
        const int columns = static_cast<int>(schema.columns.size());
        for (const ColumnText& v : change.values) {
            if (v.column < 0 || v.column >= columns) {
                err.code = SQLITE_RANGE;
                err.text = "нет столбца № " + std::to_string(v.column + 1);
                return false;
            }
        }
        std::string sql;
        sqlite3_int64 rowid = 0;
        if (change.kind != RowChange::Kind::Append && !rowidAt(schema.name, change.row, rowid, err))
            return false;
        switch (change.kind) {
        case RowChange::Kind::Update:
            if (change.values.empty()) return true;
            sql = "UPDATE " + table + " SET ";
            for (size_t i = 0; i < change.values.size(); ++i)
                sql += (i ? ", " : "") + QuotedIdentifier(schema.columns[change.values[i].column]) +
                       " = ?" + std::to_string(i + 1);
            sql += " WHERE rowid = ?" + std::to_string(change.values.size() + 1);
            break;
        case RowChange::Kind::Append:
            // Every column gets a value: an empty one is "", never NULL.
            sql = "INSERT INTO " + table + " VALUES (";
            for (int c = 0; c < columns; ++c) sql += (c ? ", ?" : "?") + std::to_string(c + 1);
            sql += ")";
            break;
        case RowChange::Kind::Delete:
            sql = "DELETE FROM " + table + " WHERE rowid = ?1";
            break;
        }
        Statement s;
        err.code = s.prepare(db, sql);
        if (err.code != SQLITE_OK) return false;
        auto bindText = [&](int at, const std::string& text) {
            return sqlite3_bind_text(s.get(), at, text.data(), static_cast<int>(text.size()),
                                     SQLITE_TRANSIENT);
        };
        switch (change.kind) {
        case RowChange::Kind::Update:
            for (size_t i = 0; i < change.values.size() && err.code == SQLITE_OK; ++i)
                err.code = bindText(static_cast<int>(i) + 1, change.values[i].text);
            if (err.code == SQLITE_OK)
                err.code = sqlite3_bind_int64(s.get(), static_cast<int>(change.values.size()) + 1, rowid);
            break;
        case RowChange::Kind::Append:
            for (int c = 0; c < columns && err.code == SQLITE_OK; ++c) err.code = bindText(c + 1, "");
            for (const ColumnText& v : change.values)
                if (err.code == SQLITE_OK) err.code = bindText(v.column + 1, v.text);
            break;
        case RowChange::Kind::Delete:
            err.code = sqlite3_bind_int64(s.get(), 1, rowid);
            break;
        }
        if (err.code != SQLITE_OK) return false;
        err.code = sqlite3_step(s.get());
        if (err.code != SQLITE_DONE) return false;
        err.code = SQLITE_OK;
        return true;
    }
};

ReferenceWriter::ReferenceWriter() : impl_(std::make_unique<Impl>()) {}
ReferenceWriter::~ReferenceWriter() = default;

bool ReferenceWriter::isOpen() const { return impl_->db != nullptr; }
const std::string& ReferenceWriter::path() const { return impl_->path; }
void ReferenceWriter::close() { impl_->close(); }

bool ReferenceWriter::open(const std::string& path, std::string& error, Access access) {
    impl_->close();
    std::error_code ec;
    if (path.empty() || !std::filesystem::is_regular_file(path, ec)) {
        error = "Не удается открыть базу данных " + Quoted(path) + " для записи: файл не найден.";
        return false;
    }
    sqlite3* db = nullptr;
    const int flags = access == Access::ReadOnly ? SQLITE_OPEN_READONLY : SQLITE_OPEN_READWRITE;
    int rc = sqlite3_open_v2(path.c_str(), &db, flags, nullptr);
    if (rc != SQLITE_OK) {
        error = "Не удается открыть базу данных " + Quoted(path) + " для записи: " + WriteReason(rc) +
                " (" + (db ? sqlite3_errmsg(db) : sqlite3_errstr(rc)) + ").";
        sqlite3_close_v2(db);
        return false;
    }
    // The program's windows keep reading connections to the same file.
    sqlite3_busy_timeout(db, 2000);
    if (access == Access::NoSpace) {
        // The page limit cannot go below the pages in use, so it stops the file where it is.
        sqlite3_exec(db, "PRAGMA max_page_count = 1", nullptr, nullptr, nullptr);
    }
    impl_->db = db;
    impl_->path = path;
    return true;
}

bool ReferenceWriter::apply(const std::vector<RowChange>& changes, WriteFailure& failure) {
    const std::string firstTable = changes.empty() ? std::string() : changes.front().table;
    auto fail = [&](const std::string& table, const StepError& err) {
        failure.engineText = !err.text.empty() ? err.text
                             : impl_->db        ? sqlite3_errmsg(impl_->db)
                                                : sqlite3_errstr(err.code);
        failure.message = "Не удается записать изменения в таблицу " + Quoted(table) +
                          " базы данных " + Quoted(impl_->path) + ": " +
                          (err.text.empty() ? WriteReason(err.code) : "ошибка данных") + " (" +
                          failure.engineText + ").";
        return false;
    };
    if (!impl_->db) return fail(firstTable, {SQLITE_MISUSE, "база данных не открыта"});
    for (const RowChange& change : changes)
        if (!FindTableSchema(change.table))
            return fail(change.table, {SQLITE_ERROR, "таблица не входит в справочную базу"});

    StepError err;
    err.code = sqlite3_exec(impl_->db, "BEGIN IMMEDIATE", nullptr, nullptr, nullptr);
    if (err.code != SQLITE_OK) return fail(firstTable, err);
    for (const RowChange& change : changes) {
        if (!impl_->run(change, *FindTableSchema(change.table), err)) {
            // Take the engine's text before the rollback replaces it.
            fail(change.table, err);
            sqlite3_exec(impl_->db, "ROLLBACK", nullptr, nullptr, nullptr);
            return false;
        }
    }
    err.code = sqlite3_exec(impl_->db, "COMMIT", nullptr, nullptr, nullptr);
    if (err.code != SQLITE_OK) {
        fail(firstTable, err);
        sqlite3_exec(impl_->db, "ROLLBACK", nullptr, nullptr, nullptr);
        return false;
    }
    return true;
}

bool ReferenceWriter::updateRow(const std::string& table, int row, std::vector<ColumnText> values,
                                WriteFailure& failure) {
    return apply({RowChange::Update(table, row, std::move(values))}, failure);
}

bool ReferenceWriter::appendRow(const std::string& table, const std::vector<std::string>& texts,
                                WriteFailure& failure) {
    return apply({RowChange::Append(table, texts)}, failure);
}

bool ReferenceWriter::deleteRow(const std::string& table, int row, WriteFailure& failure) {
    return apply({RowChange::Delete(table, row)}, failure);
}

}  // namespace coldroom
