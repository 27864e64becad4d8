// The start and the restore over whatever stands beside the user's copy: the copy itself
// (missing, whole, with bytes changed, a link, a folder, a pipe), its origin record, the
// engine's journal, the editor's lock and temporaries of killed writes. The start never blocks
// and never reads without end (libFuzzer's -timeout and -rss_limit_mb stop it); what it reads
// loads; a copy moved aside keeps its bytes; a restore under a held lock changes nothing; and a
// fresh copy made afterwards holds the shipped bytes and loads, whatever journal lay there.
#include <fuzzer/FuzzedDataProvider.h>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <ctime>
#include <filesystem>
#include <string>

#include "fuzz_support.h"
#include "refdb/database_location.h"
#include "refdb/editor_lock.h"
#include "refdb/reference_db.h"

using namespace coldroom;
namespace fs = std::filesystem;

namespace {

// Every table loads (and, for a fresh copy, every page is whole).
bool Loads(const std::string& path, bool whole) {
    ReferenceDatabase db;
    std::string error;
    if (!db.open(path, error)) return false;
    for (const TableSchema& t : ReferenceSchema())
        if (!db.loadTable(t.name, error)) return false;
    return !whole || db.checkIntegrity(error);
}

// Puts one of the odd things a folder may hold at `path`; `bytes` for a regular file.
void Arrange(FuzzedDataProvider& in, const std::string& path, const std::string& bytes) {
    switch (in.ConsumeIntegralInRange<int>(0, 6)) {
    case 0: break;  // nothing
    case 1: fuzz::WriteWhole(path, bytes); break;
    case 2: fs::create_directory(path); break;
    case 3: ::mkfifo(path.c_str(), 0600); break;
    case 4: fs::create_symlink("/dev/zero", path); break;
    case 5: fs::create_symlink(path + ".elsewhere", path); break;
    default:
        fuzz::WriteWhole(path, bytes);
        ::truncate(path.c_str(), 1L << 30);  // a sparse gigabyte
        break;
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    static const std::string shippedBytes = fuzz::ReadWhole(COLDROOM_DATABASE);
    const std::string shipped = fuzz::ScratchDir() + "/Data.dtx";
    static const bool written = (fuzz::WriteWhole(shipped, shippedBytes), true);
    (void)written;
    const std::string folder = fuzz::ScratchDir() + "/user", copy = folder + "/Data.dtx";
    std::error_code ec;
    fs::remove_all(folder, ec);
    fs::create_directory(folder);
    FuzzedDataProvider in(data, size);

    // The copy: the shipped data, perhaps with bytes changed, or something else in its place.
    std::string copyBytes = shippedBytes;
    for (int n = in.ConsumeIntegralInRange<int>(0, 4); n > 0; --n)
        copyBytes[in.ConsumeIntegralInRange<std::size_t>(0, copyBytes.size() - 1)] = static_cast<char>(in.ConsumeIntegral<uint8_t>());
    Arrange(in, copy, copyBytes);
    Arrange(in, copy + ".origin", in.ConsumeRandomLengthString(40));
    Arrange(in, copy + "-journal", in.ConsumeRandomLengthString(4096));
    Arrange(in, copy + ".lock", "");
    const bool old = in.ConsumeBool();
    fuzz::WriteWhole(folder + "/Data.dtx.part-Ab12Cd", "left by a killed copy");
    if (old) {
        const timespec times[2] = {{0, UTIME_OMIT}, {std::time(nullptr) - 600, 0}};
        ::utimensat(AT_FDCWD, (folder + "/Data.dtx.part-Ab12Cd").c_str(), times, 0);
    }
    EditorLock editor;  // another editor has the copy open
    std::string error;
    const bool held = in.ConsumeBool() && editor.acquire(copy, error);
    // The bytes to find again, of a copy small enough to compare.
    const bool regular = fs::symlink_status(copy, ec).type() == fs::file_type::regular && fs::file_size(copy, ec) < (1u << 20);
    const std::string before = regular ? fuzz::ReadWhole(copy) : std::string();

    const StartupDatabase found = CheckStartupDatabase(shipped, copy, in.ConsumeBool());
    if (found.state == StartupDatabase::State::Ready && found.path == copy) FUZZ_CHECK(Loads(copy, false));
    const StartupQuestion question = StartupQuestionOf(found);
    FUZZ_CHECK((found.state == StartupDatabase::State::Ready) == question.answers.empty());
    if (!question.answers.empty()) {
        const StartupChoice choice = question.answers[in.ConsumeIntegralInRange<std::size_t>(0, question.answers.size() - 1)].first;
        std::string keptAs;
        error.clear();
        const std::string path = ApplyStartupChoice(found, choice, shipped, keptAs, error);
        FUZZ_CHECK(!path.empty() || !error.empty());  // a failure says why
        FUZZ_CHECK(path.empty() || path == shipped || path == copy);
        if (held && (choice == StartupChoice::RestoreShipped || choice == StartupChoice::TakeShipped)) {
            FUZZ_CHECK(keptAs.empty() && !error.empty());
            if (regular) FUZZ_CHECK(fuzz::ReadWhole(copy) == before);
        }
        if (!keptAs.empty() && regular) FUZZ_CHECK(fuzz::ReadWhole(keptAs) == before);
    }

    // The editor's first change after that, under its lock.
    editor.release();
    if (!editor.acquire(copy, error)) return 0;
    const bool existed = fs::symlink_status(copy, ec).type() != fs::file_type::not_found;
    if (EnsureWritableCopy(shipped, copy, error) != copy || existed) return 0;
    FUZZ_CHECK(fuzz::ReadWhole(copy) == shippedBytes);
    FUZZ_CHECK(Loads(copy, true));
    FUZZ_CHECK(fuzz::ReadWhole(copy) == shippedBytes);  // no journal was rolled into it
    FUZZ_CHECK(!old || !fs::exists(folder + "/Data.dtx.part-Ab12Cd"));
    return 0;
}
