// Restoring the shipped data and the files around the user's copy: the editor's lock, the
// engine's journal, the record of where the copy came from.
#include <gtest/gtest.h>

#include <signal.h>
#include <sqlite3.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <filesystem>
#include <functional>

#include "refdb/database_location.h"
#include "refdb/editor_lock.h"
#include "refdb/test_db.h"
#include "temp_dir.h"

namespace coldroom {
namespace {

namespace fs = std::filesystem;
using test::TempDir;

// Rows as the engine counts them, whatever the loader would say of them.
int Rows(const std::string& database, const char* table) {
    sqlite3* db = nullptr;
    sqlite3_stmt* count = nullptr;
    int rows = -1;
    if (sqlite3_open_v2(database.c_str(), &db, SQLITE_OPEN_READWRITE, nullptr) == SQLITE_OK &&
        sqlite3_prepare_v2(db, ("SELECT count(*) FROM " + std::string(table)).c_str(), -1, &count, nullptr) ==
            SQLITE_OK &&
        sqlite3_step(count) == SQLITE_ROW)
        rows = sqlite3_column_int(count, 0);
    sqlite3_finalize(count);
    sqlite3_close(db);
    return rows;
}

// Runs `body` in a child process that may take at most `seconds`; its exit status, or -1 when
// it had to be stopped (it blocked, or read without end).
int InChild(unsigned seconds, const std::function<int()>& body) {
    const pid_t child = fork();
    if (child == 0) {
        alarm(seconds);
        _exit(body());
    }
    int status = 0;
    waitpid(child, &status, 0);
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

// Restoring goes through the editor's lock: while an editor has the copy open, the copy stays
// where it is and the person is told who has it.
TEST(Restore, WaitsUntilTheEditorIsClosed) {
    TempDir dir;
    const std::string copy = dir.file("Data.dtx");
    std::string error;
    const std::function<bool()> restores[] = {
        [&] { return !MoveCopyAside(copy, "broken", error).empty(); },
        [&] { return RestoreShippedDatabase(copy, error); },
    };
    for (const auto& restore : restores) {
        ASSERT_EQ(EnsureWritableCopy(test::ShippedDatabasePath(), copy, error), copy) << error;
        EditorLock editor;
        ASSERT_TRUE(editor.acquire(copy, error)) << error;
        error.clear();
        EXPECT_FALSE(restore());
        EXPECT_NE(error.find("изменяются в окне «Изменение расчетных параметров» (процесс " + std::to_string(getpid())),
                  std::string::npos)
            << error;
        EXPECT_EQ(Rows(copy, "Location"), Rows(test::ShippedDatabasePath(), "Location"));
        editor.release();
        error.clear();
        EXPECT_TRUE(restore()) << error;
        EXPECT_FALSE(fs::exists(copy));
    }
}

// A writer that died mid-write leaves the engine's journal beside the copy. It goes with the
// copy that is moved aside (which still rolls back there), and never reaches the fresh copy,
// nor does one left beside a copy deleted by hand.
TEST(Restore, AJournalStaysWithItsCopy) {
    const std::string shipped = test::ShippedDatabasePath();
    const int towns = Rows(shipped, "Location");
    for (const bool byHand : {false, true}) {
        TempDir dir;
        const std::string copy = dir.file("Data.dtx");
        std::string error;
        ASSERT_EQ(EnsureWritableCopy(shipped, copy, error), copy) << error;
        test::ExecuteSql(copy, "INSERT INTO Location SELECT * FROM Location");  // the person's own towns
        // A small cache spills the changed pages into the file long before the commit.
        ASSERT_EQ(InChild(30, [&] {
                      sqlite3* db = nullptr;
                      sqlite3_open(copy.c_str(), &db);
                      std::string sql = "PRAGMA cache_size = 1; BEGIN; DELETE FROM Tasks;";
                      for (int i = 0; i < 6; ++i) sql += "INSERT INTO Location SELECT * FROM Location;";
                      sqlite3_exec(db, sql.c_str(), nullptr, nullptr, nullptr);
                      return fs::exists(copy + "-journal") ? 0 : 1;  // dies holding the transaction
                  }),
                  0);
        std::string aside;
        if (byHand) {
            fs::remove(copy);
        } else {
            aside = MoveCopyAside(copy, "broken", error);
            ASSERT_NE(aside, "") << error;
            EXPECT_TRUE(fs::exists(aside + "-journal"));
        }
        ASSERT_EQ(EnsureWritableCopy(shipped, copy, error), copy) << error;
        EXPECT_FALSE(fs::exists(copy + "-journal"));
        EXPECT_EQ(Rows(copy, "Location"), towns) << (byHand ? "by hand" : "moved aside");
        ReferenceDatabase fresh;
        ASSERT_TRUE(fresh.open(copy, error)) << error;
        EXPECT_TRUE(fresh.checkIntegrity(error)) << error;
        if (!aside.empty()) {
            EXPECT_EQ(Rows(aside, "Location"), 2 * towns);  // rolled back where it is
        }
    }
}

// Whatever stands where a file read at the start should be, the start neither blocks nor reads
// without end: a record that is no small regular file is no record.
TEST(Restore, TheStartReadsOnlySmallRegularFiles) {
    const std::string shipped = test::ShippedDatabasePath();
    const std::function<void(const std::string&)> records[] = {
        [](const std::string& r) { mkfifo(r.c_str(), 0600); },
        [](const std::string& r) { fs::create_symlink("/dev/zero", r); },
        [](const std::string& r) { fs::create_directory(r); },
        [](const std::string& r) {
            std::ofstream{r};
            fs::resize_file(r, 1u << 30);  // sparse: a gigabyte of nothing
        },
    };
    for (const auto& arrange : records) {
        TempDir dir;
        const std::string copy = dir.file("Data.dtx");
        std::string error;
        ASSERT_EQ(EnsureWritableCopy(shipped, copy, error), copy) << error;
        fs::remove(copy + ".origin");
        arrange(copy + ".origin");
        const int status = InChild(5, [&] {
            const StartupDatabase found = CheckStartupDatabase(shipped, copy, true);
            const bool unknown = found.state == StartupDatabase::State::NewerShipped && !found.originKnown;
            return unknown && StartupQuestionOf(found).text.rfind("Неизвестно, из каких", 0) == 0 ? 0 : 1;
        });
        EXPECT_EQ(status, 0) << static_cast<int>(fs::symlink_status(copy + ".origin").type());
        // Keeping the copy puts a record of its own in that place.
        const StartupDatabase found = CheckStartupDatabase(shipped, copy, true);
        std::string keptAs;
        if (fs::is_directory(copy + ".origin")) continue;  // a folder is not replaced
        EXPECT_EQ(ApplyStartupChoice(found, StartupChoice::KeepCopy, shipped, keptAs, error), copy);
        EXPECT_EQ(CheckStartupDatabase(shipped, copy, true).state, StartupDatabase::State::Ready);
    }
}

// The engine opens the journal beside the data by its name: a pipe there blocks nobody, it is
// named, and restoring moves it away with the copy.
TEST(Restore, APipeWhereTheJournalGoesBlocksNothing) {
    TempDir dir;
    const std::string copy = dir.file("Data.dtx");
    std::string error;
    ASSERT_EQ(EnsureWritableCopy(test::ShippedDatabasePath(), copy, error), copy) << error;
    ASSERT_EQ(mkfifo((copy + "-journal").c_str(), 0600), 0);
    EXPECT_EQ(InChild(5, [&] {
                  const StartupDatabase found = CheckStartupDatabase(test::ShippedDatabasePath(), copy, true);
                  return found.state == StartupDatabase::State::Broken &&
                                 found.problem.find("Удалите «" + copy + "-journal» и повторите") != std::string::npos
                             ? 0
                             : 1;
              }),
              0);
    ASSERT_NE(MoveCopyAside(copy, "broken", error), "") << error;
    EXPECT_FALSE(fs::exists(fs::symlink_status(copy + "-journal")));
}

// A copy or record write killed half-way leaves "Data.dtx.part-XXXXXX": the next start clears it
// once it is old, and a copy made now is not disturbed.
TEST(Restore, TheStartClearsWhatAKilledCopyLeft) {
    TempDir dir;
    const std::string copy = dir.file("Data.dtx");
    std::string error;
    ASSERT_EQ(EnsureWritableCopy(test::ShippedDatabasePath(), copy, error), copy) << error;
    for (const char* name : {"Data.dtx.part-Ab12Cd", "Data.dtx.part-Ef34Gh"}) fs::copy_file(copy, dir.file(name));
    fs::last_write_time(dir.file("Data.dtx.part-Ab12Cd"), fs::file_time_type::clock::now() - std::chrono::minutes(5));
    CheckStartupDatabase(test::ShippedDatabasePath(), copy, true);
    EXPECT_FALSE(fs::exists(dir.file("Data.dtx.part-Ab12Cd")));
    EXPECT_TRUE(fs::exists(dir.file("Data.dtx.part-Ef34Gh")));
}

// Another program writing the copy at the start is waited for once, by the reading that says how
// long it waited; the check before it only glances.
TEST(Restore, TheStartCheckDoesNotWaitForAWriter) {
    TempDir dir;
    const std::string copy = dir.file("Data.dtx");
    std::string error;
    ASSERT_EQ(EnsureWritableCopy(test::ShippedDatabasePath(), copy, error), copy) << error;
    sqlite3* writer = nullptr;
    ASSERT_EQ(sqlite3_open(copy.c_str(), &writer), SQLITE_OK);
    ASSERT_EQ(sqlite3_exec(writer, "BEGIN EXCLUSIVE", nullptr, nullptr, nullptr), SQLITE_OK);
    const auto start = std::chrono::steady_clock::now();
    const StartupDatabase found = CheckStartupDatabase(test::ShippedDatabasePath(), copy, true);
    EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(2));
    EXPECT_EQ(found.path, copy);
    ReferenceDatabase db;
    EXPECT_FALSE(db.open(copy, error, nullptr, 1000));
    EXPECT_NE(error.find("не освободилась за 1 с"), std::string::npos) << error;
    sqlite3_exec(writer, "ROLLBACK", nullptr, nullptr, nullptr);
    sqlite3_close(writer);
}

// No lock, no editor: a link, a folder or a pipe where the lock file should be is named, and
// what to do.
TEST(Restore, ALockThatCannotBeTakenRefusesTheEditor) {
    const std::function<void(const std::string&)> blockers[] = {
        [](const std::string& l) { fs::create_symlink(l + ".elsewhere", l); },
        [](const std::string& l) { fs::create_directory(l); },
        [](const std::string& l) { mkfifo(l.c_str(), 0600); },
    };
    for (const auto& arrange : blockers) {
        TempDir dir;
        const std::string lock = dir.file("Data.dtx.lock");
        arrange(lock);
        for (const auto purpose : {EditorLock::Purpose::Edit, EditorLock::Purpose::Restore}) {
            EditorLock editor;
            std::string error;
            EXPECT_FALSE(editor.acquire(dir.file("Data.dtx"), error, purpose)) << lock;
            EXPECT_NE(error.find("файл блокировки «" + lock + "»"), std::string::npos) << error;
            EXPECT_NE(error.find("Удалите «" + lock + "» и повторите"), std::string::npos) << error;
        }
        EXPECT_FALSE(fs::exists(lock + ".elsewhere"));
    }
}

// A lock file this user may only read (another user made it) still locks: the editor of the
// user who may not write it holds the lock all the same.
TEST(Restore, AReadOnlyLockFileStillLocks) {
    TempDir dir;
    fs::permissions(dir.path(), fs::perms::owner_all | fs::perms::group_exec | fs::perms::others_exec |
                                    fs::perms::group_read | fs::perms::others_read);
    std::ofstream(dir.file("Data.dtx.lock")) << "";
    fs::permissions(dir.file("Data.dtx.lock"), fs::perms::owner_read | fs::perms::group_read | fs::perms::others_read);
    int ready[2], done[2];
    ASSERT_EQ(pipe(ready), 0);
    ASSERT_EQ(pipe(done), 0);
    const pid_t other = fork();
    if (other == 0) {  // the other user, as root can play one
        if (geteuid() == 0 && (setgid(65534) != 0 || setuid(65534) != 0)) _exit(2);
        EditorLock lock;
        std::string e;
        const char held = lock.acquire(dir.file("Data.dtx"), e) && lock.held() ? 'y' : 'n';
        char wait;
        if (write(ready[1], &held, 1) != 1 || read(done[0], &wait, 1) != 1) _exit(3);
        _exit(0);
    }
    char held = 0;
    ASSERT_EQ(read(ready[0], &held, 1), 1);
    EXPECT_EQ(held, 'y');
    EditorLock mine;
    std::string error;
    EXPECT_FALSE(mine.acquire(dir.file("Data.dtx"), error));
    EXPECT_NE(error.find("уже изменяются в другом окне"), std::string::npos) << error;
    EXPECT_EQ(write(done[1], "x", 1), 1);
    waitpid(other, nullptr, 0);
}

}  // namespace
}  // namespace coldroom
