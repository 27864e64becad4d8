#include "refdb/reference_db.h"
#include "refdb/sqlite_support.h"

#include "core/numtext.h"
#include "core/shipped_files.h"
#include "io/cp1251.h"

#include <sqlite3.h>

#include <cstring>
#include <filesystem>
#include <fstream>

namespace coldroom {

// What an SQLite result code means to the user.
std::string DescribeSqliteError(int code, sqlite3* db) {
    switch (code & 0xff) {
    case SQLITE_NOTADB: return "файл не является базой данных";
    case SQLITE_CORRUPT: return "файл базы данных поврежден";
    case SQLITE_BUSY:
    case SQLITE_LOCKED:
        return "база данных занята другой программой и не освободилась за " +
               std::to_string(ReferenceDatabase::kBusyWaitMs / 1000) + " с";
    case SQLITE_CANTOPEN:
    case SQLITE_PERM:
    case SQLITE_AUTH: return "нет доступа к файлу";
    case SQLITE_IOERR: return "ошибка чтения файла";
    case SQLITE_NOMEM: return "недостаточно памяти";
    case SQLITE_FULL: return "нет места на диске";
    default: break;
    }
    const char* detail = db ? sqlite3_errmsg(db) : sqlite3_errstr(code);
    return std::string("ошибка SQLite: ") + (detail ? detail : "неизвестная ошибка");
}

// Every value is read back as the text the number rules expect: a REAL 0.5 as "0.5" (not
// SQLite's own "0.5" for 0.5 but "3.0" for 3), an INTEGER as its digits, NULL as "".
std::string ValueText(sqlite3_stmt* stmt, int column) {
    switch (sqlite3_column_type(stmt, column)) {
    case SQLITE_NULL: return {};
    case SQLITE_INTEGER: return std::to_string(sqlite3_column_int64(stmt, column));
    case SQLITE_FLOAT: return GeneralText(sqlite3_column_double(stmt, column));
    default: {
        const auto* bytes = static_cast<const char*>(sqlite3_column_blob(stmt, column));
        int size = sqlite3_column_bytes(stmt, column);
        return bytes && size > 0 ? std::string(bytes, static_cast<size_t>(size)) : std::string();
    }
    }
}

std::optional<RefTable> ReadTable(sqlite3* db, const std::string& table, const std::string& file,
                                  std::string& error) {
    auto readFailure = [&](int rc) {
        return "Не удается прочитать таблицу " + Quoted(table) + " базы данных " + Quoted(file) + ": " +
               DescribeSqliteError(rc, db) + ".";
    };
    const TableSchema* schema = FindTableSchema(table);

    Statement find;
    int rc = find.prepare(db, "SELECT 1 FROM sqlite_master WHERE type = 'table' AND name = ?1 COLLATE NOCASE");
    if (rc == SQLITE_OK)
        rc = sqlite3_bind_text(find.get(), 1, table.c_str(), static_cast<int>(table.size()), SQLITE_TRANSIENT);
    if (rc == SQLITE_OK) rc = sqlite3_step(find.get());
    if (rc == SQLITE_DONE) {
        error = "В базе данных " + Quoted(file) + " нет таблицы " + Quoted(table) + ".";
        return std::nullopt;
    }
    if (rc != SQLITE_ROW) {
        error = readFailure(rc);
        return std::nullopt;
    }

    // Row positions are the stored order, which for SQLite is ascending rowid.
    Statement select;
    rc = select.prepare(db, "SELECT * FROM " + QuotedIdentifier(table) + " ORDER BY rowid");
    if (rc != SQLITE_OK) {
        error = readFailure(rc);
        return std::nullopt;
    }

    RefTable result;
    result.name = schema ? schema->name : table;
    const int columnCount = sqlite3_column_count(select.get());
    for (int c = 0; c < columnCount; ++c) {
        const char* name = sqlite3_column_name(select.get(), c);
        result.columns.emplace_back(name ? name : "");
    }

    if (schema) {
        // Columns are addressed by position, so names and order must both match.
        const std::string where = "В таблице " + Quoted(result.name) + " базы данных " + Quoted(file) + " ";
        const auto& expected = schema->columns;
        for (size_t c = 0; c < expected.size(); ++c) {
            if (c < result.columns.size() && SameNameIgnoringCase(result.columns[c], expected[c])) continue;
            bool elsewhere = false;  // then position c exists and holds another name
            for (const auto& present : result.columns)
                if (SameNameIgnoringCase(present, expected[c])) elsewhere = true;
            if (!elsewhere || c >= result.columns.size()) {
                error = where + "нет столбца " + Quoted(expected[c]) + ".";
            } else {
                error = where + "нарушен порядок столбцов: столбец № " + std::to_string(c + 1) + " должен быть " +
                        Quoted(expected[c]) + ", а найден " + Quoted(PrintableText(result.columns[c])) + ".";
            }
            return std::nullopt;
        }
        if (result.columns.size() > expected.size()) {
            error = where + "лишний столбец " + Quoted(PrintableText(result.columns[expected.size()])) + ".";
            return std::nullopt;
        }
    }

    while ((rc = sqlite3_step(select.get())) == SQLITE_ROW) {
        std::vector<std::string> row;
        row.reserve(static_cast<size_t>(columnCount));
        for (int c = 0; c < columnCount; ++c) row.push_back(ValueText(select.get(), c));
        result.rows.push_back(std::move(row));
    }
    if (rc != SQLITE_DONE) {
        error = readFailure(rc);
        return std::nullopt;
    }

    if (schema && result.rowCount() < schema->minimumRows) {
        error = "В таблице " + Quoted(result.name) + " базы данных " + Quoted(file) +
                " не хватает строк: нужно не меньше " + std::to_string(schema->minimumRows) + ", найдено " +
                std::to_string(result.rowCount()) + ".";
        return std::nullopt;
    }
    return result;
}

int ProductRowCount(sqlite3* db) {
    // Without a product table the product numbers cannot be judged here; reading that table
    // reports it missing.
    constexpr int kUnknown = 1 << 30;
    Statement count;
    if (count.prepare(db, "SELECT count(*) FROM \"ProdMeat\"") != SQLITE_OK || sqlite3_step(count.get()) != SQLITE_ROW)
        return kUnknown;
    const sqlite3_int64 rows = sqlite3_column_int64(count.get(), 0);
    return rows > kUnknown ? kUnknown : static_cast<int>(rows);
}

std::string CompanionProblem(const std::string& database) {
    for (const char* suffix : {"-journal", "-wal", "-shm"}) {
        const std::string name = database + suffix;
        std::error_code ec;
        const auto type = std::filesystem::symlink_status(name, ec).type();
        if (type == std::filesystem::file_type::not_found || type == std::filesystem::file_type::regular) continue;
        return "рядом с ней находится " + Quoted(name) +
               " — ссылка, папка, канал или устройство, а не обычный файл; под этим именем ведется журнал "
               "изменений базы данных. Удалите " + Quoted(name) + " и повторите";
    }
    return {};
}

namespace {

std::string OpenFailure(const std::string& path, const std::string& reason) {
    return "Не удается открыть базу данных " + Quoted(path) + ": " + reason + ".";
}

// The first bytes of every SQLite 3 database file.
bool HasDatabaseHeader(const std::filesystem::path& file, bool& readable) {
    std::ifstream in(file, std::ios::binary);
    readable = static_cast<bool>(in);
    if (!readable) return false;
    static const char magic[] = "SQLite format 3";  // followed by a NUL, included in sizeof
    char head[sizeof magic] = {};
    in.read(head, sizeof head);
    return in.gcount() == static_cast<std::streamsize>(sizeof head) &&
           std::memcmp(head, magic, sizeof magic) == 0;
}

// Nothing but memory can fail while a message is put together; then even the message may
// not fit, and an empty error still beats an exception escaping into a window handler.
template <class Build>
void SetErrorQuietly(std::string& error, Build build) {
    try {
        error = build();
    } catch (...) {
        error.clear();
    }
}

// A schema table as read when the file was opened, or why it could not be used.
struct ReadTableResult {
    std::optional<RefTable> table;
    std::string error;
};

}  // namespace

struct ReferenceDatabase::Impl {
    sqlite3* db = nullptr;
    std::string path;
    std::vector<ReadTableResult> snapshot;  // in the order of ReferenceSchema()

    Impl() = default;
    Impl(const Impl&) = delete;
    Impl& operator=(const Impl&) = delete;
    ~Impl() { close(); }
    void close() {
        if (db) sqlite3_close_v2(db);
        db = nullptr;
        path.clear();
        snapshot.clear();
    }

    // Every schema table, read in one transaction. False (with `error`) only when the file
    // could not be read at all; a table that is missing or wrong is kept as its own error.
    bool readSnapshot(std::string& error, bool* busy, int waitMs) {
        // The shared lock is taken by the first read and held to the end, so no writer can
        // commit between two tables.
        int rc = sqlite3_exec(db, "BEGIN", nullptr, nullptr, nullptr);
        if (rc == SQLITE_OK) rc = sqlite3_exec(db, "SELECT count(*) FROM sqlite_master", nullptr, nullptr, nullptr);
        if (rc != SQLITE_OK) {
            const bool locked = (rc & 0xff) == SQLITE_BUSY || (rc & 0xff) == SQLITE_LOCKED;
            // The time really waited, not the usual one.
            error = OpenFailure(path, locked ? "база данных занята другой программой и не освободилась за " +
                                                   std::to_string((waitMs + 999) / 1000) + " с"
                                             : DescribeSqliteError(rc, db));
            if (busy) *busy = locked;
            sqlite3_exec(db, "ROLLBACK", nullptr, nullptr, nullptr);
            return false;
        }
        const int products = ProductRowCount(db);
        for (const TableSchema& schema : ReferenceSchema()) {
            ReadTableResult read;
            read.table = ReadTable(db, schema.name, path, read.error);
            if (read.table && !CheckTableValues(*read.table, path, products, read.error)) read.table.reset();
            snapshot.push_back(std::move(read));
        }
        sqlite3_exec(db, "COMMIT", nullptr, nullptr, nullptr);
        return true;
    }
};

ReferenceDatabase::ReferenceDatabase() : impl_(std::make_unique<Impl>()) {}
ReferenceDatabase::~ReferenceDatabase() = default;
ReferenceDatabase::ReferenceDatabase(ReferenceDatabase&&) noexcept = default;
ReferenceDatabase& ReferenceDatabase::operator=(ReferenceDatabase&&) noexcept = default;

bool ReferenceDatabase::isOpen() const { return impl_ && impl_->db; }

const std::string& ReferenceDatabase::path() const {
    static const std::string none;
    return impl_ ? impl_->path : none;
}

bool ReferenceDatabase::open(const std::string& path, std::string& error, bool* busy, int waitMs) {
    if (busy) *busy = false;
    try {
        if (!impl_) impl_ = std::make_unique<Impl>();
        impl_->close();
        if (path.empty()) {
            error = "Не указан файл базы данных.";
            return false;
        }

        // SQLite would create a missing file and accept an empty one as an empty database;
        // the program never creates the reference database, so both are refused here.
        namespace fs = std::filesystem;
        std::error_code ec;
        fs::file_status status = fs::status(path, ec);
        if (status.type() == fs::file_type::not_found) {
            error = OpenFailure(path, "файл не найден");
            return false;
        }
        if (ec) {
            error = OpenFailure(path, "нет доступа к файлу");
            return false;
        }
        if (status.type() == fs::file_type::directory) {
            error = OpenFailure(path, "это папка, а не файл");
            return false;
        }
        if (status.type() != fs::file_type::regular) {
            error = OpenFailure(path, "это не обычный файл");
            return false;
        }
        if (const std::string problem = CompanionProblem(path); !problem.empty()) {
            error = OpenFailure(path, problem);
            return false;
        }
        bool readable = false;
        if (!HasDatabaseHeader(path, readable)) {
            error = OpenFailure(path, readable ? "файл не является базой данных"
                                               : "нет доступа к файлу");
            return false;
        }

        sqlite3* db = nullptr;
        int rc = sqlite3_open_v2(path.c_str(), &db, SQLITE_OPEN_READWRITE, nullptr);
        if (rc != SQLITE_OK) {
            error = OpenFailure(path, DescribeSqliteError(rc, nullptr));
            sqlite3_close_v2(db);
            return false;
        }
        // The editor writes through another connection, and another program may be writing.
        sqlite3_busy_timeout(db, waitMs);
        impl_->db = db;
        impl_->path = path;
        if (impl_->readSnapshot(error, busy, waitMs)) return true;
    } catch (...) {
        SetErrorQuietly(error, [&] { return OpenFailure(path, "недостаточно памяти"); });
    }
    if (impl_) impl_->close();
    return false;
}

std::optional<RefTable> ReferenceDatabase::loadTable(const std::string& table,
                                                     std::string& error) const {
    if (!isOpen()) {
        SetErrorQuietly(error, [&] {
            return "Не удается прочитать таблицу " + Quoted(table) + ": база данных не открыта.";
        });
        return std::nullopt;
    }
    const std::string& file = impl_->path;
    try {
        const auto& schema = ReferenceSchema();
        for (size_t i = 0; i < schema.size() && i < impl_->snapshot.size(); ++i) {
            if (!SameNameIgnoringCase(table, schema[i].name)) continue;
            const ReadTableResult& read = impl_->snapshot[i];
            if (!read.table) error = read.error;
            return read.table;
        }
        return ReadTable(impl_->db, table, file, error);
    } catch (...) {
        SetErrorQuietly(error, [&] {
            return "Не удается прочитать таблицу " + Quoted(table) + " базы данных " +
                   Quoted(file) + ": недостаточно памяти.";
        });
    }
    return std::nullopt;
}

bool ReferenceDatabase::checkIntegrity(std::string& error) const {
    if (!isOpen()) {
        error = "База данных не открыта.";
        return false;
    }
    Statement check;
    int rc = check.prepare(impl_->db, "PRAGMA integrity_check");
    std::string found;
    while (rc == SQLITE_OK || rc == SQLITE_ROW) {
        if ((rc = sqlite3_step(check.get())) != SQLITE_ROW) break;
        const auto* text = reinterpret_cast<const char*>(sqlite3_column_text(check.get(), 0));
        const std::string line = text ? text : "";
        if (line != "ok" && found.size() < 500) found += (found.empty() ? "" : "; ") + line;
    }
    if (rc != SQLITE_DONE) {
        error = OpenFailure(impl_->path, DescribeSqliteError(rc, impl_->db));
        return false;
    }
    if (found.empty()) return true;
    error = OpenFailure(impl_->path, "файл базы данных поврежден (" + found + ")");
    return false;
}

std::string DefaultDatabasePath() { return ShippedFilePath("Data.dtx"); }

}  // namespace coldroom
