#include "io/atomic_file.h"

#include <cerrno>
#include <cstdio>
#include <unistd.h>

#include <utility>

#include "io/cp1251.h"
#include "io/file_system.h"
#include "io/stale_temporaries.h"

namespace coldroom {
namespace {

constexpr const char* kTemporaryPrefix = ".coldroom-";

std::string directoryOf(const std::string& path) {
    const auto slash = path.find_last_of('/');
    if (slash == std::string::npos) return ".";
    if (slash == 0) return "/";
    return path.substr(0, slash);
}

// Permissions of the new file: those of the file it replaces, else those of any new file
// (a unique temporary file alone would be 0600).
unsigned permissionsFor(FileSystem& fs, const std::string& target) {
    FileStatus st;
    if (fs.status(target, st) == 0) return st.permissions;
    return fs.newFilePermissions();
}

// Follows symbolic links (at most 40, as the kernel does) to the name really written, so that
// a save onto a link replaces the file it points to and keeps the link.
int resolveLinks(FileSystem& fs, const std::string& path, std::string& resolved) {
    std::string current = path;
    for (int hops = 0; hops < 40; ++hops) {
        FileStatus st;
        if (const int err = fs.linkStatus(current, st); err != 0) {
            if (err != ENOENT) return err;
            resolved = current;  // a new name, or a link to one
            return 0;
        }
        if (st.kind != FileStatus::Kind::Link) {
            resolved = current;
            return 0;
        }
        std::string target;
        if (const int err = fs.readLink(current, target); err != 0) return err;
        current = !target.empty() && target[0] == '/' ? target : directoryOf(current) + "/" + target;
    }
    return ELOOP;
}

int syncPath(FileSystem& fs, const std::string& path, OpenFor mode) {
    int fd = -1;
    if (const int err = fs.open(path, mode, fd); err != 0) return err;
    const int err = fs.sync(fd);
    fs.close(fd);
    return err;
}

// Why the temporary file could not be made in `folder` or renamed there: a folder the person
// may not write into is named as such, not taken for a read-only file.
std::string folderError(const std::string& target, const std::string& folder, int err) {
    if (err == EACCES)
        return FileWriteError(target, "нет прав на запись в папку «" + PrintableText(folder) + "»");
    return FileWriteError(target, err);
}

}  // namespace

int WriteAllBytes(int fd, std::string_view bytes) {
    FileSystem& fs = CurrentFileSystem();
    while (!bytes.empty()) {
        std::size_t done = 0;
        if (const int err = fs.write(fd, bytes.data(), bytes.size(), done); err != 0) return err;
        if (done == 0) return EIO;  // a device that takes nothing would loop forever
        bytes.remove_prefix(done);
    }
    return 0;
}

AtomicReplacement::AtomicReplacement(std::string target) : target_(std::move(target)) {}

AtomicReplacement::~AtomicReplacement() {
    if (!committed_) abandon();
}

void AtomicReplacement::abandon() {
    if (!temp_.empty()) CurrentFileSystem().remove(temp_);
    temp_.clear();
}

bool AtomicReplacement::open(std::string& error) {
    abandon();
    committed_ = false;
    if (target_.empty()) {
        error = "Не указано имя файла";
        return false;
    }
    FileSystem& fs = CurrentFileSystem();
    if (const int err = resolveLinks(fs, target_, resolved_); err != 0) {
        error = FileWriteError(target_, err);
        return false;
    }
    FileStatus st;
    if (fs.status(resolved_, st) == 0 && st.kind != FileStatus::Kind::Regular) {
        // Renaming over a device or a pipe would replace the node itself (as root even
        // /dev/null), and the data would never reach what the name stands for.
        error = FileWriteError(target_, st.kind == FileStatus::Kind::Directory ? EISDIR : kNotRegularFile);
        return false;
    }
    // A short fixed name: a target whose own name uses the whole length the file system
    // allows must still get a temporary file beside it.
    const std::string folder = directoryOf(resolved_);
    // What a killed save to this folder left behind goes now.
    RemoveStaleTemporaries(folder, kTemporaryPrefix);
    std::string name = folder + "/" + kTemporaryPrefix + "XXXXXX";
    int fd = -1;
    if (const int err = fs.createUnique(name, fd); err != 0) {
        error = folderError(target_, folder, err);
        return false;
    }
    temp_ = name;
    const int err = fs.setPermissions(fd, permissionsFor(fs, resolved_));
    fs.close(fd);
    if (err != 0) {
        abandon();
        error = FileWriteError(target_, err);
        return false;
    }
    return true;
}

bool AtomicReplacement::commit(std::string& error) {
    if (temp_.empty()) {
        error = FileWriteError(target_, ENOENT);
        return false;
    }
    FileSystem& fs = CurrentFileSystem();
    if (const int err = syncPath(fs, temp_, OpenFor::Reading); err != 0) {
        abandon();
        error = FileWriteError(target_, err);
        return false;
    }
    if (const int err = fs.rename(temp_, resolved_); err != 0) {
        abandon();
        error = folderError(target_, directoryOf(resolved_), err);
        return false;
    }
    committed_ = true;
    temp_.clear();
    // The rename itself should survive a power cut too; a folder that refuses fsync does not
    // make the save fail.
    syncPath(fs, directoryOf(resolved_), OpenFor::Folder);
    return true;
}

bool IsReplaceableFile(const std::string& path) {
    FileSystem& fs = CurrentFileSystem();
    FileStatus st;
    if (const int err = fs.linkStatus(path, st); err != 0) return err == ENOENT;
    if (st.kind == FileStatus::Kind::Link && fs.status(path, st) != 0) return false;
    return st.kind == FileStatus::Kind::Regular;
}

bool WriteToStandardOutput(std::string_view bytes, std::string& error) {
    int err = std::fflush(stdout) == 0 ? 0 : errno;
    if (err == 0) err = WriteAllBytes(STDOUT_FILENO, bytes);
    if (err == 0) return true;
    error = "Не удается записать в стандартный вывод: " + FileErrorReason(err, true);
    return false;
}

StreamedFile::StreamedFile(std::string path, bool dashIsStandardOutput)
    : path_(path), toStandardOutput_(dashIsStandardOutput && path == kStandardOutput), replacement_(std::move(path)) {}

StreamedFile::~StreamedFile() {
    if (fd_ >= 0) CurrentFileSystem().close(fd_);
}

bool StreamedFile::open(std::string& error) {
    if (toStandardOutput_) return true;
    if (!replacement_.open(error)) return false;
    if (const int err = CurrentFileSystem().open(replacement_.tempPath(), OpenFor::Writing, fd_); err != 0) {
        fd_ = -1;
        replacement_.abandon();
        error = FileWriteError(path_, err);
        return false;
    }
    return true;
}

bool StreamedFile::write(std::string_view bytes, std::string& error) {
    constexpr std::size_t kBuffer = 1 << 16;
    if (buffer_.size() + bytes.size() < kBuffer) {
        buffer_ += bytes;
        return true;
    }
    return put(std::exchange(buffer_, {}), error) && put(bytes, error);
}

bool StreamedFile::put(std::string_view bytes, std::string& error) {
    if (toStandardOutput_) return WriteToStandardOutput(bytes, error);
    if (const int err = WriteAllBytes(fd_, bytes); err != 0) {
        error = FileWriteError(path_, err);
        return false;
    }
    return true;
}

bool StreamedFile::commit(std::string& error) {
    if (!put(std::exchange(buffer_, {}), error)) return false;
    if (toStandardOutput_) return true;
    // Some file systems report a full disk only at close; the file is not complete then.
    const int err = CurrentFileSystem().close(std::exchange(fd_, -1));
    if (err != 0) {
        error = FileWriteError(path_, err);
        return false;
    }
    return replacement_.commit(error);
}

bool WriteFileAtomically(const std::string& path, std::string_view bytes, std::string& error) {
    StreamedFile file(path, false);
    return file.open(error) && file.write(bytes, error) && file.commit(error);
}

}  // namespace coldroom
