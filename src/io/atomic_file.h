// Atomic replacement of a file: the new content goes to a temporary file beside the
// target, is flushed to the disk and then renamed over the target. A failed save therefore
// never destroys or truncates the file that was there.
#pragma once

#include <string>
#include <string_view>

#include "io/file_errors.h"

namespace coldroom {

// Writes `bytes` to `path` atomically. On failure returns false, leaves any existing file at
// `path` untouched, removes the temporary file and sets `error` to a Russian message
// ("Не удается записать файл «…»: <причина>").
// A symbolic link is followed and the file it points to is replaced, the link stays; a path
// that names anything but a regular file (a device, a pipe, a socket) is refused.
// Every step goes through CurrentFileSystem().
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
    std::string resolved_;
    std::string temp_;
    bool committed_ = false;
};

// A file written piece by piece as it is formed, so that a long table need not be held whole:
// the pieces go to a temporary file beside the target, which commit() puts in its place as
// WriteFileAtomically does; until then the target stays as it was. The path "-" writes the
// pieces to standard output as they come.
class StreamedFile {
public:
    // `dashIsStandardOutput` false: "-" is a file of that name.
    explicit StreamedFile(std::string path, bool dashIsStandardOutput = true);
    ~StreamedFile();
    StreamedFile(const StreamedFile&) = delete;
    StreamedFile& operator=(const StreamedFile&) = delete;

    bool open(std::string& error);
    bool write(std::string_view bytes, std::string& error);
    bool commit(std::string& error);

private:
    bool put(std::string_view bytes, std::string& error);
    std::string path_;
    bool toStandardOutput_;
    AtomicReplacement replacement_;
    int fd_ = -1;
    std::string buffer_;
};

// Whether a file the program keeps for itself (its settings) may be read and replaced at
// `path`: nothing is there yet, or a regular file, or a symbolic link that leads to one. A
// link to a device (a usual way to keep nothing), a pipe or a folder, or one that leads
// nowhere, is left alone, and so is a device or pipe in the file's place.
bool IsReplaceableFile(const std::string& path);

// The output name that stands for standard output, so that a report can be piped.
inline constexpr const char* kStandardOutput = "-";

// Writes the bytes to standard output (after whatever the C streams still hold). Returns false
// with a Russian message when they cannot all be written.
bool WriteToStandardOutput(std::string_view bytes, std::string& error);

// Writes all of `bytes` to an open descriptor, retrying short writes. Returns 0 or the errno
// of the failure.
int WriteAllBytes(int fd, std::string_view bytes);

}  // namespace coldroom
