#include "refdb/reference_writer.h"

#include "core/numtext.h"
#include "refdb/reference_columns.h"
#include "refdb/reference_db.h"
#include "refdb/sqlite_support.h"

#include <sqlite3.h>
#include <sys/statvfs.h>
#include <unistd.h>

#include <algorithm>
#include <cmath>
#include <filesystem>
#include <set>

namespace coldroom {

RowChange RowChange::Update(std::string table, int row, std::vector<ColumnText> values) {
    return {Kind::Update, std::move(table), row, std::move(values), {}, -1};
}

RowChange RowChange::Append(std::string table, const std::vector<std::string>& texts) {
    RowChange change{Kind::Append, std::move(table), -1, {}, {}, -1};
    for (size_t c = 0; c < texts.size(); ++c)
        change.values.push_back({static_cast<int>(c), texts[c]});
    return change;
}

RowChange RowChange::Delete(std::string table, int row) { return {Kind::Delete, std::move(table), row, {}, {}, -1}; }

RowChange RowChange::Expect(std::string table, int row, std::vector<std::string> expected) {
    return {Kind::Expect, std::move(table), row, {}, std::move(expected), -1};
}

RowChange RowChange::expecting(std::vector<std::string> row, int rows) && {
    expected = std::move(row);
    expectedRows = rows;
    return std::move(*this);
}

namespace {

// Lists are read whole: a list longer than the task dialog shows keeps every number.
constexpr int kReadWhole = 10000;

// Where a write-protected write comes from: the file, its folder or the whole disk.
std::string ReadOnlyReason(const std::string& path, int extendedCode) {
    namespace fs = std::filesystem;
    const std::string folder = fs::path(path).parent_path().string();
    struct statvfs disk {};
    if (statvfs(folder.empty() ? "." : folder.c_str(), &disk) == 0 && (disk.f_flag & ST_RDONLY))
        return "диск, на котором лежит файл, доступен только для чтения";
    if (extendedCode == SQLITE_READONLY_DIRECTORY || (access(path.c_str(), W_OK) == 0 && !folder.empty() &&
                                                      access(folder.c_str(), W_OK) != 0))
        return "папка " + Quoted(folder) + " доступна только для чтения: в ней нельзя создать журнал изменений";
    return "файл базы данных доступен только для чтения";
}

// What a failed write means to the user; the engine's own text follows it.
std::string WriteReason(int code, const std::string& path) {
    switch (code & 0xff) {
    case SQLITE_READONLY: return ReadOnlyReason(path, code);
    case SQLITE_BUSY:
    case SQLITE_LOCKED: return "база данных занята другой программой";
    case SQLITE_CONSTRAINT: return "значение нарушает ограничение таблицы";
    case SQLITE_FULL: return "нет места на диске";
    case SQLITE_IOERR: return "ошибка записи файла";
    case SQLITE_CANTOPEN:
        // The journal beside the file could not be made.
        if (!path.empty() && access(std::filesystem::path(path).parent_path().c_str(), W_OK) != 0)
            return ReadOnlyReason(path, SQLITE_READONLY_DIRECTORY);
        return "нет доступа к файлу";
    case SQLITE_PERM:
    case SQLITE_AUTH: return "нет доступа к файлу";
    case SQLITE_CORRUPT:
    case SQLITE_NOTADB: return "файл базы данных поврежден";
    case SQLITE_NOMEM: return "недостаточно памяти";
    default: return "ошибка базы данных";
    }
}

// Stored and read texts compare as numbers where both are numbers: "0.030" typed, 0.03 stored.
bool SameValue(const std::string& stored, const std::string& read) {
    if (stored == read) return true;
    double a = 0, b = 0;
    return StrictNumber(stored, a) && StrictNumber(read, b) && a == b;
}

bool ListsProduct(const std::string& reference, long product) {
    if (LeadingNumber(reference) == 0) return false;
    for (double n : ParseNumberList(reference, kReadWhole).values)
        if (std::lround(n) == product) return true;
    return false;
}

// The list with every product number above `deleted` moved down by one; false when none was.
bool Renumbered(const std::string& reference, long deleted, std::string& out) {
    if (LeadingNumber(reference) == 0) return false;
    std::vector<double> numbers = ParseNumberList(reference, kReadWhole).values;
    bool changed = false;
    for (double& n : numbers) {
        if (std::lround(n) > deleted) {
            n -= 1;
            changed = true;
        }
    }
    if (changed) out = JoinNumberList(numbers);
    return changed;
}

// A failed step: the result code, our own text when the engine did not say it, and what
// kind of failure the caller is told.
struct StepError {
    int code = SQLITE_OK;
    std::string text;
    WriteFailure::Kind kind = WriteFailure::Kind::Engine;
};

StepError Stale(const std::string& table, int row) {
    std::string where = row >= 0 ? ", строка " + std::to_string(row + 1) : std::string();
    return {SQLITE_ABORT, "таблица " + Quoted(table) + where + " уже не та, что была прочитана",
            WriteFailure::Kind::Stale};
}

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

    int rowCount(const std::string& table, StepError& err) {
        Statement s;
        err.code = s.prepare(db, "SELECT count(*) FROM " + QuotedIdentifier(table));
        if (err.code == SQLITE_OK) err.code = sqlite3_step(s.get());
        if (err.code != SQLITE_ROW) return -1;
        err.code = SQLITE_OK;
        return static_cast<int>(sqlite3_column_int64(s.get(), 0));
    }

    // The row at a position as the reader reads it; false when there is none.
    bool readRow(const std::string& table, int row, std::vector<std::string>& out, StepError& err) {
        Statement s;
        err.code = s.prepare(db, "SELECT * FROM " + QuotedIdentifier(table) + " ORDER BY rowid LIMIT 1 OFFSET ?1");
        if (err.code == SQLITE_OK) err.code = sqlite3_bind_int(s.get(), 1, row);
        if (err.code == SQLITE_OK) err.code = sqlite3_step(s.get());
        if (err.code == SQLITE_DONE) {
            err.code = SQLITE_OK;
            return false;
        }
        if (err.code != SQLITE_ROW) return false;
        err.code = SQLITE_OK;
        out.clear();
        for (int c = 0; c < sqlite3_column_count(s.get()); ++c) out.push_back(ValueText(s.get(), c));
        return true;
    }

    // The expectations of a change: the table's row count and the row as they were read.
    bool expectationsHold(const RowChange& change, const TableSchema& schema, StepError& err) {
        if (change.expectedRows >= 0) {
            const int rows = rowCount(schema.name, err);
            if (err.code != SQLITE_OK) return false;
            if (rows != change.expectedRows) {
                err = Stale(schema.name, -1);
                return false;
            }
        }
        if (change.expected.empty()) return true;
        std::vector<std::string> stored;
        if (!readRow(schema.name, change.row, stored, err)) {
            if (err.code == SQLITE_OK) err = Stale(schema.name, change.row);
            return false;
        }
        bool same = stored.size() == change.expected.size();
        for (size_t c = 0; same && c < stored.size(); ++c) same = SameValue(stored[c], change.expected[c]);
        if (!same) err = Stale(schema.name, change.row);
        return same;
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
        if (!expectationsHold(change, schema, err)) return false;
        if (change.kind == RowChange::Kind::Expect) return true;
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
        case RowChange::Kind::Expect:
            return true;
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
        case RowChange::Kind::Expect:
            break;
        }
        if (err.code != SQLITE_OK) return false;
        err.code = sqlite3_step(s.get());
        if (err.code != SQLITE_DONE) return false;
        err.code = SQLITE_OK;
        return true;
    }

    // The tables the changes touched, read back inside the transaction with the loader's own
    // checks: what the program could not load at its next start is never committed. A
    // changed product table is judged with the tasks' lists, which number its rows.
    bool stillLoads(const std::set<std::string>& tables, StepError& err) {
        const int products = ProductRowCount(db);
        for (const TableSchema& schema : ReferenceSchema()) {
            const bool touched = tables.count(schema.name) ||
                                 (std::string_view(schema.name) == "Tasks" && tables.count("ProdMeat"));
            if (!touched) continue;
            std::string error;
            auto table = ReadTable(db, schema.name, path, error);
            if (table && CheckTableValues(*table, path, products, error)) continue;
            err = {SQLITE_CONSTRAINT, error, WriteFailure::Kind::Refused};
            return false;
        }
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
    const std::string problem = CompanionProblem(path);
    if (path.empty() || !std::filesystem::is_regular_file(path, ec) || !problem.empty()) {
        error = "Не удается открыть базу данных " + Quoted(path) + " для записи: " +
                (problem.empty() ? "файл не найден" : problem) + ".";
        return false;
    }
    sqlite3* db = nullptr;
    const int flags = access == Access::ReadOnly ? SQLITE_OPEN_READONLY : SQLITE_OPEN_READWRITE;
    int rc = sqlite3_open_v2(path.c_str(), &db, flags, nullptr);
    if (rc != SQLITE_OK) {
        error = "Не удается открыть базу данных " + Quoted(path) + " для записи: " + WriteReason(rc, path) +
                " (" + (db ? sqlite3_errmsg(db) : sqlite3_errstr(rc)) + ").";
        sqlite3_close_v2(db);
        return false;
    }
    // The extended codes tell a read-only folder from a read-only file.
    sqlite3_extended_result_codes(db, 1);
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

namespace {

// Runs `body` in one write transaction and commits what still loads; on failure nothing
// stays and `failure` says why, in the name of `table`.
template <class Body>
bool InTransaction(sqlite3* db, const std::string& path, const std::string& table, WriteFailure& failure,
                   Body body) {
    auto fail = [&](const StepError& err) {
        failure.kind = err.kind;
        failure.engineText = !err.text.empty() ? err.text : db ? sqlite3_errmsg(db) : sqlite3_errstr(err.code);
        switch (err.kind) {
        case WriteFailure::Kind::Stale:
            failure.message = "Строка изменена другой программой: " + err.text + ".";
            break;
        case WriteFailure::Kind::Refused:
            failure.message = "Изменение не записано: с ним программа не смогла бы загрузить справочные данные. " +
                              err.text;
            break;
        case WriteFailure::Kind::Engine:
            failure.message = "Не удается записать изменения в таблицу " + Quoted(table) + " базы данных " +
                              Quoted(path) + ": " +
                              (err.text.empty() ? WriteReason(err.code, path) : std::string("ошибка данных")) + " (" +
                              failure.engineText + ").";
            break;
        }
        return false;
    };
    if (!db) return fail({SQLITE_MISUSE, "база данных не открыта"});
    StepError err;
    err.code = sqlite3_exec(db, "BEGIN IMMEDIATE", nullptr, nullptr, nullptr);
    if (err.code != SQLITE_OK) return fail(err);
    if (body(err)) {
        err.code = sqlite3_exec(db, "COMMIT", nullptr, nullptr, nullptr);
        if (err.code == SQLITE_OK) return true;
    }
    // Take the engine's text before the rollback replaces it.
    fail(err);
    sqlite3_exec(db, "ROLLBACK", nullptr, nullptr, nullptr);
    return false;
}

}  // namespace

bool ReferenceWriter::apply(const std::vector<RowChange>& changes, WriteFailure& failure) {
    std::string failedTable = changes.empty() ? std::string() : changes.front().table;
    for (const RowChange& change : changes) {
        if (!FindTableSchema(change.table)) {
            failure = {};
            failure.engineText = "таблица не входит в справочную базу";
            failure.message = "Не удается записать изменения в таблицу " + Quoted(change.table) + " базы данных " +
                              Quoted(impl_->path) + ": ошибка данных (" + failure.engineText + ").";
            return false;
        }
    }
    return InTransaction(impl_->db, impl_->path, failedTable, failure, [&](StepError& err) {
        std::set<std::string> touched;
        for (const RowChange& change : changes) {
            const TableSchema& schema = *FindTableSchema(change.table);
            failedTable = schema.name;
            if (!impl_->run(change, schema, err)) return false;
            if (change.kind != RowChange::Kind::Expect) touched.insert(schema.name);
        }
        return impl_->stillLoads(touched, err);
    });
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

bool ReferenceWriter::deleteProduct(const RowChange& product, ProductDeletion& result, WriteFailure& failure) {
    result = {};
    const TableSchema& products = *FindTableSchema("ProdMeat");
    const TableSchema& tasks = *FindTableSchema("Tasks");
    return InTransaction(impl_->db, impl_->path, products.name, failure, [&](StepError& err) {
        const long number = product.row + 1;
        // The lists as stored, not as any window shows them: they are what the next start reads.
        std::vector<RowChange> renumbering;
        for (int row = 0;; ++row) {
            std::vector<std::string> task;
            if (!impl_->readRow(tasks.name, row, task, err)) {
                if (err.code != SQLITE_OK) return false;
                break;
            }
            const std::string& reference = task.size() > TaskColumn::Reference ? task[TaskColumn::Reference] : "";
            std::string text;
            if (ListsProduct(reference, number)) result.listedBy.push_back(row);
            else if (Renumbered(reference, number, text)) {
                renumbering.push_back(RowChange::Update(tasks.name, row, {{TaskColumn::Reference, text}}));
                result.renumbered.emplace_back(row, text);
            }
        }
        if (!result.listedBy.empty()) {
            result.renumbered.clear();
            err = {SQLITE_CONSTRAINT, "продукт № " + std::to_string(number) + " входит в списки задач",
                   WriteFailure::Kind::Refused};
            return false;
        }
        RowChange deletion = product;
        deletion.kind = RowChange::Kind::Delete;
        deletion.table = products.name;
        if (!impl_->run(deletion, products, err)) return false;
        for (const RowChange& change : renumbering)
            if (!impl_->run(change, tasks, err)) return false;
        return impl_->stillLoads({products.name, tasks.name}, err);
    });
}

}  // namespace coldroom
