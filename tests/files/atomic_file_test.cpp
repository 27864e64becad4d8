#include "files/atomic_file.h"

#include <gtest/gtest.h>

#include "temp_dir.h"

#include <filesystem>
#include <fstream>
#include <sstream>
#include <sys/stat.h>

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

TEST_F(AtomicFile, AFailedWriteKeepsTheOldFile) {
    const std::string p = path("project.cfg");
    std::string error;
    ASSERT_TRUE(WriteFileAtomically(p, "the saved project", error));
    for (auto fault : {WriteFault::Create, WriteFault::Write, WriteFault::Sync, WriteFault::Rename,
                       WriteFault::NoSpace, WriteFault::Close}) {
        error.clear();
        EXPECT_FALSE(WriteFileAtomically(p, std::string(4096, 'x'), error, fault))
            << static_cast<int>(fault);
        EXPECT_EQ(error.rfind("Не удается записать файл «" + p + "»: ", 0), 0u) << error;
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
        {"", "Не указано имя файла"},
    };
    for (const auto& c : cases) {
        std::string error;
        EXPECT_FALSE(WriteFileAtomically(c.path, "x", error));
        EXPECT_EQ(error, c.message);
    }
    EXPECT_EQ(entries(), 0);
    EXPECT_EQ(FileWriteError("a.cfg", ENOSPC), "Не удается записать файл «a.cfg»: нет места на диске");
}

TEST_F(AtomicFile, AFullDiskIsNamedAsTheCause) {
    const std::string p = path("report.pdf");
    for (auto fault : {WriteFault::Write, WriteFault::NoSpace, WriteFault::Close}) {
        std::string error;
        EXPECT_FALSE(WriteFileAtomically(p, "%PDF-1.4", error, fault));
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
