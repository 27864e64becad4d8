#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>

#include "refdb/database_location.h"
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
    { std::ofstream(shipped) << "shipped"; }
    fs::permissions(shipped, fs::perms::owner_read | fs::perms::group_read | fs::perms::others_read);
    EXPECT_EQ(EffectiveDatabasePath(shipped, copy), shipped);

    std::string error;
    ASSERT_EQ(EnsureWritableCopy(shipped, copy, error), copy) << error;
    EXPECT_EQ(ReadBytes(copy), "shipped");
    EXPECT_NE(fs::status(copy).permissions() & fs::perms::owner_write, fs::perms::none);
    EXPECT_EQ(EffectiveDatabasePath(shipped, copy), copy);
    EXPECT_EQ(std::distance(fs::directory_iterator(fs::path(copy).parent_path()), {}), 1);

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

}  // namespace
}  // namespace coldroom
