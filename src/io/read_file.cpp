#include "io/read_file.h"

#include <algorithm>
#include <cerrno>

#include "io/file_errors.h"
#include "io/file_system.h"

namespace coldroom {
namespace {

int kindError(const FileStatus& st) {
    switch (st.kind) {
        case FileStatus::Kind::Regular: return 0;
        case FileStatus::Kind::Directory: return EISDIR;
        default: return kNotRegularFile;
    }
}

int readOpened(FileSystem& fs, int fd, std::size_t maxBytes, std::string& bytes) {
    FileStatus st;
    if (int err = fs.openStatus(fd, st)) return err;
    // The name may have changed hands between the first look and the open.
    if (int err = kindError(st)) return err;
    if (st.size > maxBytes) return EFBIG;
    // The size said is only a hint (a file still growing, a file system that says 0): one
    // byte past the limit is asked for to tell a full-size file from a larger one.
    std::string buffer(static_cast<std::size_t>(st.size) + 1, '\0');
    std::size_t have = 0;
    for (;;) {
        if (have == buffer.size()) {
            if (buffer.size() > maxBytes) return EFBIG;
            buffer.resize(std::min(buffer.size() * 2, maxBytes + 1));
        }
        std::size_t got = 0;
        if (int err = fs.read(fd, buffer.data() + have, buffer.size() - have, got)) return err;
        if (got == 0) break;
        have += got;
    }
    if (have > maxBytes) return EFBIG;
    buffer.resize(have);
    bytes = std::move(buffer);
    return 0;
}

}  // namespace

int ReadRegularFile(const std::string& path, std::size_t maxBytes, std::string& bytes) {
    FileSystem& fs = CurrentFileSystem();
    FileStatus st;
    if (int err = fs.status(path, st)) return err;
    if (int err = kindError(st)) return err;
    if (st.size > maxBytes) return EFBIG;
    int fd = -1;
    if (int err = fs.open(path, OpenFor::Reading, fd)) return err;
    const int err = readOpened(fs, fd, maxBytes, bytes);
    fs.close(fd);
    return err;
}

}  // namespace coldroom
