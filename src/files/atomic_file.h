// Atomic replacement of a file: the new content goes to a temporary file beside the
// target, is flushed to the disk and then renamed over the target. A failed save therefore
// never destroys or truncates the file that was there.
#pragma once

#include <string>
#include <string_view>

namespace coldroom {

// The step at which a write is made to fail on purpose, as a full disk or a vanished folder
// would, so that a caller can show that a failed save keeps the file that was there. A fault
// at Write lets half the bytes reach the temporary file first.
enum class WriteFault { None, Create, Write, Sync, Rename };

// Writes `bytes` to `path` atomically. On failure returns false, leaves any existing file at
// `path` untouched, removes the temporary file and sets `error` to a Russian message
// ("Не удается записать файл «…»: <причина>").
bool WriteFileAtomically(const std::string& path, std::string_view bytes, std::string& error,
                         WriteFault fault = WriteFault::None);

// For writers that produce the file themselves (a PDF painter, for example): open() makes
// an empty temporary file beside the target, the caller writes it through tempPath(),
// commit() flushes it and renames it over the target. Destroying an uncommitted replacement
// removes the temporary file.
class AtomicReplacement {
public:
    explicit AtomicReplacement(std::string target, WriteFault fault = WriteFault::None);
    ~AtomicReplacement();
    AtomicReplacement(const AtomicReplacement&) = delete;
    AtomicReplacement& operator=(const AtomicReplacement&) = delete;

    bool open(std::string& error);
    const std::string& tempPath() const { return temp_; }
    bool commit(std::string& error);
    // Drops the temporary file; the target stays as it was.
    void abandon();

private:
    std::string target_;
    std::string temp_;
    WriteFault fault_;
    bool committed_ = false;
};

// The Russian message for a failed write of `path`: "Не удается записать файл «path»: reason",
// the reason given as text or as an errno value.
std::string FileWriteError(const std::string& path, const std::string& reason);
std::string FileWriteError(const std::string& path, int errorNumber);

}  // namespace coldroom
