#include "io/atomic_file.h"

#include <gtest/gtest.h>

#include "io/failing_file_system.h"
#include "io/stale_temporaries.h"
#include "temp_dir.h"

#include <filesystem>
#include <fstream>
#include <sstream>
#include <fcntl.h>
#include <sys/stat.h>

#include <ctime>

namespace coldroom {
namespace {

namespace fs = std::filesystem;

class AtomicFile : public ::testing::Test {
protected:
    std::string path(const std::string& name) const { return temp_.file(name); }
    static std::string read(const std::string& p) { return test::ReadBytes(p); }
    int entries() const { return temp_.entries(); }
    test::TempDir temp_;
    const fs::path& dir_ = temp_.path();
};

TEST_F(AtomicFile, CreatesAndReplaces) {
    const std::string p = path("report.csv");
    std::string error;
    ASSERT_TRUE(WriteFileAtomically(p, std::string("first\r\n\0x", 10), error)) << error;
    EXPECT_EQ(read(p), std::string("first\r\n\0x", 10));
    ASSERT_TRUE(WriteFileAtomically(p, "second", error)) << error;
    EXPECT_EQ(read(p), "second");
    EXPECT_EQ(entries(), 1) << "no temporary file may stay behind";
}

TEST_F(AtomicFile, AFailedWriteKeepsTheOldFileAndSaysWhy) {
    const std::string p = path("project.cfg");
    std::string error;
    ASSERT_TRUE(WriteFileAtomically(p, "the saved project", error));
    using Step = test::FailingFileSystem::Step;
    const std::string folderClosed = "нет прав на запись в папку «" + dir_.string() + "»";
    const struct { Step step; std::string reason; } cases[] = {
        {Step::Create, folderClosed},           {Step::Write, "нет места на диске"},
        {Step::Sync, "сбой диска при записи"},  {Step::Rename, folderClosed},
        {Step::NoSpace, "нет места на диске"},  {Step::Close, "нет места на диске"},
    };
    for (const auto& c : cases) {
        error.clear();
        test::FailingFileSystem failing(c.step);
        UseFileSystem use(failing);
        EXPECT_FALSE(WriteFileAtomically(p, std::string(4096, 'x'), error));
        EXPECT_EQ(error, "Не удается записать файл «" + p + "»: " + c.reason);
        EXPECT_EQ(read(p), "the saved project");
        EXPECT_EQ(entries(), 1);
    }
    // Nothing of the failures stays in the way of the next save.
    ASSERT_TRUE(WriteFileAtomically(p, "new", error)) << error;
    EXPECT_EQ(read(p), "new");
}

TEST_F(AtomicFile, ReportsWhyInRussian) {
    struct Case { std::string path; std::string message; } cases[] = {
        {path("missing/report.htm"),
         "Не удается записать файл «" + path("missing/report.htm") + "»: папка не существует"},
        {dir_.string(), "Не удается записать файл «" + dir_.string() +
                            "»: по этому пути находится папка"},
        {path("plain/report.htm"),
         "Не удается записать файл «" + path("plain/report.htm") + "»: в пути к файлу вместо папки стоит файл"},
        {"", "Не указано имя файла"},
    };
    std::ofstream(path("plain")) << "a file where a folder should be";
    for (const auto& c : cases) {
        std::string error;
        EXPECT_FALSE(WriteFileAtomically(c.path, "x", error));
        EXPECT_EQ(error, c.message);
    }
    EXPECT_EQ(entries(), 1);
    EXPECT_EQ(FileWriteError("a.cfg", ENOSPC), "Не удается записать файл «a.cfg»: нет места на диске");
    // Whatever the system says, the person reads Russian, never the system's English text.
    for (int e = 1; e < 134; ++e)
        for (bool writing : {false, true}) {
            const std::string reason = FileErrorReason(e, writing);
            EXPECT_EQ(reason.find_first_of("ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz"), std::string::npos)
                << e << ": " << reason;
        }
}

TEST_F(AtomicFile, AFullDiskIsNamedAsTheCause) {
    const std::string p = path("report.pdf");
    using Step = test::FailingFileSystem::Step;
    for (auto step : {Step::Write, Step::NoSpace, Step::Close}) {
        std::string error;
        test::FailingFileSystem failing(step);
        UseFileSystem use(failing);
        EXPECT_FALSE(WriteFileAtomically(p, "%PDF-1.4", error));
        EXPECT_EQ(error, "Не удается записать файл «" + p + "»: нет места на диске");
    }
}

TEST_F(AtomicFile, ALinkKeepsItsPlaceAndItsTargetIsReplaced) {
    const std::string target = path("real.cfg"), link = path("link.cfg"), dangling = path("new-link.cfg");
    std::string error;
    ASSERT_TRUE(WriteFileAtomically(target, "old", error));
    fs::create_symlink("real.cfg", link);
    fs::create_symlink("created.cfg", dangling);
    ASSERT_TRUE(WriteFileAtomically(link, "new", error)) << error;
    ASSERT_TRUE(WriteFileAtomically(dangling, "made", error)) << error;
    EXPECT_TRUE(fs::is_symlink(link));
    EXPECT_TRUE(fs::is_symlink(dangling));
    EXPECT_EQ(read(target), "new");
    EXPECT_EQ(read(path("created.cfg")), "made");
    EXPECT_EQ(entries(), 4);
}

TEST_F(AtomicFile, RefusesWhatIsNotARegularFile) {
    const std::string fifo = path("pipe");
    ASSERT_EQ(::mkfifo(fifo.c_str(), 0600), 0);
    std::string error;
    EXPECT_FALSE(WriteFileAtomically(fifo, "x", error));
    EXPECT_EQ(error, "Не удается записать файл «" + fifo + "»: это не обычный файл, а устройство или канал");
    EXPECT_TRUE(fs::is_fifo(fifo));
    EXPECT_EQ(entries(), 1);
}

TEST_F(AtomicFile, TheLongestNameTheFileSystemAllowsCanBeSaved) {
    const std::string p = path(std::string(250, 'a') + ".cfg");
    std::string error;
    ASSERT_TRUE(WriteFileAtomically(p, "x", error)) << error;
    EXPECT_EQ(read(p), "x");
}

TEST_F(AtomicFile, KeepsThePermissionsOfTheReplacedFile) {
    const std::string p = path("shared.cfg");
    std::string error;
    ASSERT_TRUE(WriteFileAtomically(p, "a", error));
    ASSERT_EQ(::chmod(p.c_str(), 0640), 0);
    ASSERT_TRUE(WriteFileAtomically(p, "b", error));
    struct stat st {};
    ASSERT_EQ(::stat(p.c_str(), &st), 0);
    EXPECT_EQ(st.st_mode & 07777, 0640u);
}

TEST_F(AtomicFile, AnAbandonedReplacementLeavesNothing) {
    const std::string p = path("page.pdf");
    std::string error;
    {
        AtomicReplacement r(p);
        ASSERT_TRUE(r.open(error));
        EXPECT_TRUE(fs::exists(r.tempPath()));
        EXPECT_EQ(fs::path(r.tempPath()).parent_path(), dir_);
    }
    EXPECT_EQ(entries(), 0);
}

}  // namespace
}  // namespace coldroom

namespace coldroom {
namespace {

// What a killed save left in a folder goes with the next save there: only the program's own
// name pattern, only a regular file of this user, only one untouched for over a minute.
TEST(StaleTemporaries, TheNextSaveRemovesOnlyOldOnesOfItsOwnPattern) {
    test::TempDir dir;
    const auto make = [&](const std::string& name, bool old) {
        std::ofstream(dir.file(name)) << "left";
        if (!old) return;
        const timespec times[2] = {{0, UTIME_OMIT}, {time(nullptr) - 2 * kStaleTemporarySeconds, 0}};
        utimensat(AT_FDCWD, dir.file(name).c_str(), times, AT_SYMLINK_NOFOLLOW);
    };
    make(".coldroom-a1B2c3", true);       // killed save: goes
    make(".coldroom-d4E5f6", false);      // a save still running
    make(".coldroom-notes", true);        // not the pattern
    make(".coldroom-a1B2c3.bak", true);   // not the pattern
    make("Data.dtx.part-Zz9Yy8", true);   // another writer's pattern
    fs::create_directory(dir.file(".coldroom-folder"));
    fs::create_symlink(dir.file(".coldroom-notes"), dir.file(".coldroom-l1nk00"));
    std::string error;
    ASSERT_TRUE(WriteFileAtomically(dir.file("project.cfg"), "saved", error)) << error;
    EXPECT_FALSE(fs::exists(dir.file(".coldroom-a1B2c3")));
    for (const char* kept : {".coldroom-d4E5f6", ".coldroom-notes", ".coldroom-a1B2c3.bak", "Data.dtx.part-Zz9Yy8",
                             ".coldroom-folder", ".coldroom-l1nk00", "project.cfg"})
        EXPECT_TRUE(fs::exists(fs::symlink_status(dir.file(kept)))) << kept;
    EXPECT_EQ(dir.entries(), 7);
}

}  // namespace
}  // namespace coldroom
