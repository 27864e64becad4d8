#include "files/atomic_file.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <sstream>
#include <sys/stat.h>

namespace coldroom {
namespace {

namespace fs = std::filesystem;

class AtomicFile : public ::testing::Test {
protected:
    void SetUp() override {
        std::string tmpl = (fs::temp_directory_path() / "coldroom-atomic-XXXXXX").string();
        ASSERT_NE(::mkdtemp(tmpl.data()), nullptr);
        dir_ = tmpl;
    }
    void TearDown() override {
        FailNextAtomicWrite(AtomicWriteFault::None);
        fs::remove_all(dir_);
    }
    std::string path(const std::string& name) const { return (dir_ / name).string(); }
    static std::string read(const std::string& p) {
        std::ifstream f(p, std::ios::binary);
        std::ostringstream s;
        s << f.rdbuf();
        return s.str();
    }
    int entries() const {
        return static_cast<int>(std::distance(fs::directory_iterator(dir_), {}));
    }
    fs::path dir_;
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
    for (auto fault : {AtomicWriteFault::Create, AtomicWriteFault::Write, AtomicWriteFault::Sync,
                       AtomicWriteFault::Rename}) {
        FailNextAtomicWrite(fault);
        error.clear();
        EXPECT_FALSE(WriteFileAtomically(p, std::string(4096, 'x'), error))
            << static_cast<int>(fault);
        EXPECT_EQ(error.rfind("Не удается записать файл «" + p + "»: ", 0), 0u) << error;
        EXPECT_EQ(read(p), "the saved project");
        EXPECT_EQ(entries(), 1);
    }
    // The hook fires once; the next save goes through.
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
