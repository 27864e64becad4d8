#include <gtest/gtest.h>

#include <fcntl.h>
#include <sched.h>
#include <sys/mount.h>
#include <sys/stat.h>
#include <sys/sysmacros.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <functional>
#include <set>

#include "refdb/database_location.h"
#include "refdb/editor_lock.h"
#include "refdb/reference_writer.h"
#include "refdb/test_db.h"
#include "temp_dir.h"

namespace coldroom {
namespace {

namespace fs = std::filesystem;
using test::ReadBytes;
using test::TempDir;

// Sets an environment variable for one scope.
class EnvVar {
public:
    EnvVar(const char* name, const char* value) : name_(name) {
        if (const char* old = std::getenv(name)) saved_ = old, had_ = true;
        value ? setenv(name, value, 1) : unsetenv(name);
    }
    ~EnvVar() { had_ ? setenv(name_, saved_.c_str(), 1) : unsetenv(name_); }

private:
    const char* name_;
    std::string saved_;
    bool had_ = false;
};

TEST(DatabaseLocation, UserFolderFollowsTheBaseDirectoryRules) {
    struct Case {
        const char *xdg, *home, *expected;
    } cases[] = {
        {"/data", "/home/u", "/data/coldroom"},
        {nullptr, "/home/u", "/home/u/.local/share/coldroom"},
        {"relative/dir", "/home/u", "/home/u/.local/share/coldroom"},
        {"", "/home/u", "/home/u/.local/share/coldroom"},
        {nullptr, nullptr, ""},
    };
    for (const Case& c : cases) {
        EnvVar xdg("XDG_DATA_HOME", c.xdg), home("HOME", c.home);
        EXPECT_EQ(UserDataFolder(), c.expected) << (c.xdg ? c.xdg : "-");
    }
    EnvVar xdg("XDG_DATA_HOME", "/data");
    EXPECT_EQ(UserDatabasePath(), "/data/coldroom/Data.dtx");
}

// A write-protected shipped file is copied once, the copy is writable and read from then
// on, and restoring drops it.
TEST(DatabaseLocation, FirstChangeCopiesTheShippedFileOnce) {
    TempDir dir;
    const std::string shipped = dir.file("Data.dtx");
    const std::string copy = (dir.path() / "user" / "coldroom" / "Data.dtx").string();
    fs::copy_file(test::ShippedDatabasePath(), shipped);
    fs::permissions(shipped, fs::perms::owner_read | fs::perms::group_read | fs::perms::others_read);
    EXPECT_EQ(EffectiveDatabasePath(shipped, copy), shipped);

    std::string error;
    ASSERT_EQ(EnsureWritableCopy(shipped, copy, error), copy) << error;
    EXPECT_EQ(ReadBytes(copy), ReadBytes(shipped));
    EXPECT_NE(fs::status(copy).permissions() & fs::perms::owner_write, fs::perms::none);
    EXPECT_EQ(EffectiveDatabasePath(shipped, copy), copy);
    std::set<std::string> made;  // no half-made copy beside it
    for (const auto& entry : fs::directory_iterator(fs::path(copy).parent_path()))
        made.insert(entry.path().filename().string());
    EXPECT_EQ(made, (std::set<std::string>{"Data.dtx", "Data.dtx.origin"}));

    { std::ofstream(copy) << "edited"; }
    ASSERT_EQ(EnsureWritableCopy(shipped, copy, error), copy);
    EXPECT_EQ(ReadBytes(copy), "edited");

    ASSERT_TRUE(RestoreShippedDatabase(copy, error)) << error;
    EXPECT_EQ(EffectiveDatabasePath(shipped, copy), shipped);
    EXPECT_TRUE(RestoreShippedDatabase(copy, error));  // nothing left to drop
}

TEST(DatabaseLocation, AFailedCopyLeavesNothingBehind) {
    TempDir dir;
    { std::ofstream(dir.file("blocker")) << "a file where the folder should be"; }
    std::string error;
    EXPECT_EQ(EnsureWritableCopy(dir.file("missing.dtx"), dir.file("user.dtx"), error), "");
    EXPECT_NE(error.find("missing.dtx"), std::string::npos);
    EXPECT_EQ(EnsureWritableCopy(dir.file("blocker"), dir.file("blocker") + "/Data.dtx", error), "");
    EXPECT_EQ(dir.entries(), 1);
    EXPECT_EQ(EnsureWritableCopy(dir.file("blocker"), "", error), "");
}

// Runs `body` in a child process whose own small file system is mounted on `folder` (tmpfs
// with `options`), so a full or read-only disk is real without touching the machine's.
// Returns what the body returned, or "skip" where mounting is not allowed.
std::string OnOwnDisk(const std::string& folder, unsigned long flags, const char* options,
                      const std::function<std::string()>& body) {
    int out[2];
    if (pipe(out) != 0) return "skip";
    const pid_t child = fork();
    if (child == 0) {
        close(out[0]);
        std::string result = "skip";
        if (unshare(CLONE_NEWNS) == 0 && mount("none", "/", nullptr, MS_REC | MS_PRIVATE, nullptr) == 0 &&
            mount("tmpfs", folder.c_str(), "tmpfs", flags, options) == 0)
            result = body();
        if (write(out[1], result.data(), result.size()) < 0) _exit(1);
        _exit(0);
    }
    close(out[1]);
    std::string result;
    char buffer[4096];
    for (ssize_t n; (n = read(out[0], buffer, sizeof buffer)) > 0;) result.append(buffer, static_cast<size_t>(n));
    close(out[0]);
    waitpid(child, nullptr, 0);
    return result;
}

// The first copy names the real cause of a failure in plain words, leaves nothing behind,
// and never writes through whatever stands in the copy's place.
TEST(DatabaseLocation, AFailedFirstCopyNamesTheRealCause) {
    const std::string shipped = test::ShippedDatabasePath();
    const bool root = geteuid() == 0;
    struct Case {
        const char* what;
        std::function<void(const TempDir&)> arrange;
        const char* cause;
        bool onOwnDisk = false;
        unsigned long flags = 0;
        const char* options = nullptr;
    } cases[] = {
        {"a folder in the copy's place", [](const TempDir& d) { fs::create_directories(d.file("Data.dtx")); },
         "на месте копии находится папка"},
        {"a link to the shipped file", [&](const TempDir& d) { fs::create_symlink(shipped, d.file("Data.dtx")); },
         "символическая ссылка"},
        {"a pipe", [](const TempDir& d) { mkfifo(d.file("Data.dtx").c_str(), 0600); }, "канал"},
        {"a device", [&](const TempDir& d) { if (root) mknod(d.file("Data.dtx").c_str(), S_IFCHR | 0600, makedev(1, 3)); },
         root ? "устройство" : ""},
        {"a file where the folder should be", [](const TempDir& d) { std::ofstream(d.file("sub")) << "x"; }, "находится файл"},
        {"a read-only folder", [&](const TempDir& d) { if (!root) fs::permissions(d.path(), fs::perms::owner_read | fs::perms::owner_exec); },
         root ? "" : "нет прав на запись в папку"},
        {"a full disk", [](const TempDir&) {}, "на диске нет места", true, 0, "size=24k"},
        {"a read-only disk", [](const TempDir&) {}, "доступен только для чтения", true, MS_RDONLY, "size=1m"},
    };
    for (const Case& c : cases) {
        if (!*c.cause) continue;  // not to be made by this user
        TempDir dir;
        const std::string copy = dir.file(std::string(c.what) == "a file where the folder should be" ? "sub/Data.dtx" : "Data.dtx");
        std::string error;
        if (c.onOwnDisk) {
            error = OnOwnDisk(dir.path().string(), c.flags, c.options, [&] {
                std::string e;
                const std::string made = EnsureWritableCopy(shipped, copy, e);
                return made.empty() && dir.entries() == 0 ? e : "made: " + made;
            });
            if (error == "skip") continue;
        } else {
            c.arrange(dir);
            const auto before = fs::symlink_status(copy).type();
            EXPECT_EQ(EnsureWritableCopy(shipped, copy, error), "") << c.what;
            EXPECT_EQ(fs::symlink_status(copy).type(), before) << c.what;
            fs::permissions(dir.path(), fs::perms::owner_all);
            EXPECT_EQ(EffectiveDatabasePath(shipped, copy), shipped) << c.what;
            for (const auto& entry : fs::directory_iterator(dir.path()))
                EXPECT_EQ(entry.path().string().find(".part"), std::string::npos) << c.what;
        }
        EXPECT_EQ(error.rfind("Не удается скопировать базу данных «" + shipped + "» в «" + copy + "»: ", 0), 0u) << error;
        EXPECT_NE(error.find(c.cause), std::string::npos) << c.what << ": " << error;
    }
}

// Processes making the first copy at once never share a half-written file, nor replace a
// copy another one has already changed: every change reported stored is in the file.
TEST(DatabaseLocation, FirstCopiesMadeAtOnceLoseNoChange) {
    constexpr int kWriters = 6;
    for (int round = 0; round < 3; ++round) {
        TempDir dir;
        const std::string copy = dir.file("user/Data.dtx");
        int start[2];
        ASSERT_EQ(pipe(start), 0);
        std::vector<pid_t> writers;
        for (int k = 0; k < kWriters; ++k) {
            const pid_t child = fork();
            if (child == 0) {
                close(start[1]);
                char go;
                if (read(start[0], &go, 1) < 0) _exit(2);
                std::string error;
                ReferenceWriter writer;
                WriteFailure failure;
                const bool stored = writer.open(EnsureWritableCopy(test::ShippedDatabasePath(), copy, error), error) &&
                                    writer.appendRow("Tara", {"Ящик процесса " + std::to_string(k), "1"}, failure);
                _exit(stored ? 0 : 1);
            }
            writers.push_back(child);
        }
        close(start[0]);
        close(start[1]);  // all start together
        std::set<std::string> expected;
        for (int k = 0; k < kWriters; ++k) {
            int status = 0;
            waitpid(writers[static_cast<size_t>(k)], &status, 0);
            if (WIFEXITED(status) && WEXITSTATUS(status) == 0) expected.insert("Ящик процесса " + std::to_string(k));
        }
        ReferenceDatabase db;
        std::string error;
        ASSERT_TRUE(db.open(copy, error)) << error;
        std::set<std::string> found;
        const auto tara = db.loadTable("Tara", error);
        ASSERT_TRUE(tara) << error;
        for (const auto& row : tara->rows)
            if (row[0].rfind("Ящик процесса ", 0) == 0) found.insert(row[0]);
        EXPECT_EQ(found, expected);
        EXPECT_EQ(expected.size(), static_cast<size_t>(kWriters));
    }
}

// What the program does at its start with the user's copy, and what each answer leaves.
TEST(DatabaseLocation, StartupFindsABrokenOrOutdatedCopyAndEveryAnswerKeepsIt) {
    using State = StartupDatabase::State;
    test::TestDatabase shippedDb = test::MinimalReferenceDatabase();
    const std::string shipped = shippedDb.write();
    struct Case {
        const char* what;
        std::function<void(const std::string& copy)> arrange;
        State state;
        StartupChoice choice;
        const char* keptAs;  // "" nothing moved
        bool readsCopy;
    } cases[] = {
        {"no copy", [](const std::string&) {}, State::Ready, StartupChoice::UseShippedOnce, "", false},
        {"a bad value", [](const std::string& c) { test::ExecuteSql(c, "UPDATE Others SET Value = -0.05"); },
         State::Broken, StartupChoice::RestoreShipped, "Data.dtx.broken-", false},
        {"a bad value, shipped this time", [](const std::string& c) { test::ExecuteSql(c, "DROP TABLE Upper"); },
         State::Broken, StartupChoice::UseShippedOnce, "", false},
        {"made from other shipped data", [](const std::string& c) { std::ofstream(c + ".origin") << "0\n"; },
         State::NewerShipped, StartupChoice::KeepCopy, "", true},
        {"made by an older release", [](const std::string& c) { fs::remove(c + ".origin"); }, State::NewerShipped,
         StartupChoice::TakeShipped, "Data.dtx.backup-", false},
    };
    for (const Case& c : cases) {
        TempDir dir;
        const std::string copy = dir.file("Data.dtx");
        std::string error, keptAs;
        if (std::string(c.what) != "no copy") {
            ASSERT_EQ(EnsureWritableCopy(shipped, copy, error), copy) << error;
        }
        c.arrange(copy);
        const StartupDatabase found = CheckStartupDatabase(shipped, copy, true);
        ASSERT_EQ(found.state, c.state) << c.what << ": " << found.problem;
        if (c.state == State::Broken) {
            EXPECT_NE(found.problem.find("«" + copy + "»"), std::string::npos) << found.problem;
            EXPECT_NE(StartupQuestionOf(found).text.find("Data.dtx.broken-"), std::string::npos);
        }
        const std::string bytes = test::ReadBytes(copy);
        const std::string path = ApplyStartupChoice(found, c.choice, shipped, keptAs, error);
        EXPECT_EQ(path, c.readsCopy ? copy : shipped) << c.what << ": " << error;
        EXPECT_NE(keptAs.find(c.keptAs), std::string::npos) << c.what;
        if (!keptAs.empty()) {
            EXPECT_EQ(test::ReadBytes(keptAs), bytes) << c.what;  // kept, never deleted
        }
        // Asked once: the next start goes straight on.
        EXPECT_NE(CheckStartupDatabase(shipped, copy, true).state, State::NewerShipped) << c.what;
    }
    // A link in the copy's place is reported, not followed.
    TempDir dir;
    fs::create_symlink(shipped, dir.file("Data.dtx"));
    const StartupDatabase link = CheckStartupDatabase(shipped, dir.file("Data.dtx"), true);
    EXPECT_EQ(link.state, State::Broken);
    EXPECT_NE(link.problem.find("символическая ссылка"), std::string::npos) << link.problem;
}

// The editor's lock goes with its process: one that ended without releasing it (a crash)
// blocks nobody.
TEST(DatabaseLocation, AnEditorLockEndsWithItsProcess) {
    TempDir dir;
    const pid_t holder = fork();
    if (holder == 0) {
        EditorLock lock;
        std::string e;
        _exit(lock.acquire(dir.file("Data.dtx"), e) ? 0 : 1);
    }
    int status = 0;
    waitpid(holder, &status, 0);
    EditorLock lock;
    std::string error;
    EXPECT_TRUE(lock.acquire(dir.file("Data.dtx"), error)) << error;
}

// coldroom-calc names a broken copy and how to return to the shipped data, and restores it
// without deleting anything.
TEST(DatabaseLocation, TheCommandLineToolOffersTheWayBack) {
    TempDir dir;
    const std::string copy = dir.file("coldroom/Data.dtx");
    std::string error;
    ASSERT_EQ(EnsureWritableCopy(test::ShippedDatabasePath(), copy, error), copy) << error;
    test::ExecuteSql(copy, "UPDATE Others SET Value = 2000 WHERE rowid = 5");
    auto run = [&](const std::string& args, int& code) {
        const std::string command = "XDG_DATA_HOME='" + dir.path().string() + "' '" + COLDROOM_BIN_DIR +
                                    "/coldroom-calc' " + args + " 2>&1";
        FILE* pipe = popen(command.c_str(), "r");
        std::string out;
        char buffer[4096];
        for (size_t n; pipe && (n = fread(buffer, 1, sizeof buffer, pipe)) > 0;) out.append(buffer, n);
        const int status = pipe ? pclose(pipe) : -1;
        code = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
        return out;
    };
    int code = 0;
    std::string out = run("", code);
    EXPECT_EQ(code, 4) << out;
    for (const std::string& part : {"«" + copy + "» не загружаются", std::string("строка 5, столбец «Value»"),
                                    std::string("--restore-reference-data"), "удалите файл «" + copy + "»"})
        EXPECT_NE(out.find(part), std::string::npos) << part << "\n" << out;
    const std::string broken = test::ReadBytes(copy);
    out = run("--restore-reference-data", code);
    EXPECT_EQ(code, 0) << out;
    EXPECT_FALSE(fs::exists(copy));
    EXPECT_EQ(test::ReadBytes(AsideName(copy, "broken").substr(0, copy.size() + 18)), broken) << out;
    out = run("", code);
    EXPECT_EQ(code, 0) << out;
}

}  // namespace
}  // namespace coldroom
