// The reference database loaded after SQL-level damage: the input is SQL run against a copy of
// the shipped database (values changed, rows added or removed, tables altered), then every
// table is loaded and, when that succeeds, every task must get through the task dialog's
// confirmation and the program starts on it and computes the start-up project. A damaged
// database must be refused with a message, never computed from.
#include <sqlite3.h>

#include <algorithm>
#include <cctype>
#include <memory>
#include <string>

#include "fuzz_support.h"
#include "model/reference_data.h"
#include "model/task_edit.h"
#include "refdb/reference_db.h"
#include "ui/headless_ui.h"
#include "ui/program.h"

namespace {

using namespace coldroom;

// Only changes to the database's own tables: nothing that reaches other files.
int authorize(void*, int action, const char*, const char*, const char*, const char*) {
    switch (action) {
    case SQLITE_ATTACH:
    case SQLITE_DETACH: return SQLITE_DENY;
    default: return SQLITE_OK;
    }
}

// A statement may run at most this many virtual-machine steps (in thousands).
int stopLongQuery(void* steps) { return ++*static_cast<int*>(steps) > 2000; }

int schemaVersion(sqlite3* db) {
    sqlite3_stmt* stmt = nullptr;
    int version = -1;
    if (sqlite3_prepare_v2(db, "PRAGMA schema_version", -1, &stmt, nullptr) == SQLITE_OK && sqlite3_step(stmt) == SQLITE_ROW)
        version = sqlite3_column_int(stmt, 0);
    sqlite3_finalize(stmt);
    return version;
}

// Runs the SQL on the database; false when it changed nothing (the shipped data is known good,
// so the run would only repeat itself).
bool damage(const std::string& path, const std::string& sql) {
    sqlite3* db = nullptr;
    if (sqlite3_open_v2(path.c_str(), &db, SQLITE_OPEN_READWRITE, nullptr) != SQLITE_OK) {
        sqlite3_close_v2(db);
        return false;
    }
    const int schema = schemaVersion(db);
    sqlite3_set_authorizer(db, authorize, nullptr);
    sqlite3_limit(db, SQLITE_LIMIT_LENGTH, 1 << 20);
    int steps = 0;
    sqlite3_progress_handler(db, 1000, stopLongQuery, &steps);
    sqlite3_exec(db, sql.c_str(), nullptr, nullptr, nullptr);
    sqlite3_progress_handler(db, 0, nullptr, nullptr);
    const bool changed = sqlite3_total_changes(db) > 0 || schemaVersion(db) != schema;
    sqlite3_close_v2(db);
    return changed;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    static const std::string shipped = fuzz::ReadWhole(COLDROOM_DATABASE);
    std::string sql(reinterpret_cast<const char*>(data), size);
    std::string lower = sql;
    std::transform(lower.begin(), lower.end(), lower.begin(), [](unsigned char c) { return std::tolower(c); });
    // VACUUM INTO writes a file of its own choosing.
    if (lower.find("vacuum") != std::string::npos || sql.find('\0') != std::string::npos) return 0;

    const std::string path = fuzz::ScratchDir() + "/Data.dtx";
    fuzz::WriteWhole(path, shipped);
    ::unlink((path + "-journal").c_str());
    if (!damage(path, sql)) return 0;

    ReferenceDatabase db;
    std::string error;
    if (!db.open(path, error)) return 0;
    for (const TableSchema& table : ReferenceSchema())
        if (!db.loadTable(table.name, error)) FUZZ_CHECK(!error.empty());

    // What a person does next with a database that loads: every task it holds can be chosen and
    // confirmed in the task dialog.
    if (const auto data = LoadReferenceData(path, error)) {
        for (int row = 0; row < data->Task_array.rowCount(); ++row) {
            RoomProject project;
            TaskDialogState dialog;
            project.task.OfferedTasks = {static_cast<double>(row + 1)};
            InitTask(project, dialog, *data, 0, 0, 0);
            ActivateTask(project);
            FUZZ_CHECK(ConfirmTask(project, dialog, *data).confirmed);
        }
    }

    HeadlessUi ui;
    Program program(ui, path);
    ui.attach(program);
    if (!program.Start(error)) return 0;
    ui.showWindow(WindowId::TaskDialog);
    program.task.OK_btn.onClick();
    return 0;
}
