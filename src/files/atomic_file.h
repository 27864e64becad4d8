// Atomic replacement of a file: the new content goes to a temporary file beside the
// target, is flushed to the disk and then renamed over the target. A failed save therefore
// never destroys or truncates the file that was there.
#pragma once

#include <string>
#include <string_view>

namespace coldroom {

// Writes `bytes` to `path` atomically. On failure returns false, leaves any existing file at
// `path` untouched, removes the temporary file and sets `error` to a Russian message
// ("Не удается записать файл «…»: <причина>").
bool WriteFileAtomically(const std::string& path, std::string_view bytes, std::string& error);

// For writers that produce the file themselves (a PDF painter, for example): open() makes
// an empty temporary file beside the target, the caller writes it through tempPath(),
// commit() flushes it and renames it over the target. Destroying an uncommitted replacement
// removes the temporary file.
class AtomicReplacement {
public:
    explicit AtomicReplacement(std::string target);
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
    bool committed_ = false;
};

// The Russian message for a failed write of `path` with the given errno value.
std::string FileWriteError(const std::string& path, int errorNumber);

// Test hook: makes the next atomic write fail at the chosen step, as a full disk or a
// vanished folder would. The hook disarms itself after one failure.
enum class AtomicWriteFault { None, Create, Write, Sync, Rename };
void FailNextAtomicWrite(AtomicWriteFault fault);

}  // namespace coldroom
