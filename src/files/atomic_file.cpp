#include "files/atomic_file.h"
#include "files/cp1251.h"

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace coldroom {
namespace {

std::string reasonText(int e) {
    switch (e) {
        case EACCES:
        case EPERM: return "нет доступа";
        case ENOENT: return "папка не существует";
        case ENOTDIR: return "путь к файлу указан неверно";
        case ENOSPC: return "нет места на диске";
        case EDQUOT: return "превышена квота диска";
        case EROFS: return "диск доступен только для чтения";
        case EISDIR: return "по этому пути находится папка";
        case ENAMETOOLONG: return "слишком длинное имя файла";
        case EIO: return "ошибка ввода-вывода";
        case EBUSY:
        case ETXTBSY: return "файл занят другой программой";
        case ELOOP: return "слишком много символических ссылок";
        case EFBIG: return "файл слишком велик";
        default: return "системная ошибка " + std::to_string(e) + " (" + std::strerror(e) + ")";
    }
}

std::string directoryOf(const std::string& path) {
    const auto slash = path.find_last_of('/');
    if (slash == std::string::npos) return ".";
    if (slash == 0) return "/";
    return path.substr(0, slash);
}

// Permissions of the new file: those of the file it replaces, else the usual 0666 less
// the umask (mkstemp alone would leave 0600).
mode_t modeFor(const std::string& target) {
    struct stat st {};
    if (::stat(target.c_str(), &st) == 0) return st.st_mode & 07777;
    const mode_t mask = ::umask(0);
    ::umask(mask);
    return 0666 & ~mask;
}

// Writes the bytes as the injected fault allows: Write lets half of them out first, so the
// half-written temporary file is really there to be cleaned up; NoSpace lets none out.
int writeWithFault(int fd, std::string_view bytes, WriteFault fault) {
    if (fault == WriteFault::NoSpace) return ENOSPC;
    if (fault != WriteFault::Write) return WriteAllBytes(fd, bytes);
    const int err = WriteAllBytes(fd, bytes.substr(0, bytes.size() / 2));
    return err != 0 ? err : ENOSPC;
}

// Follows symbolic links (at most 40, as the kernel does) to the name really written, so that
// a save onto a link replaces the file it points to and keeps the link.
int resolveLinks(const std::string& path, std::string& resolved) {
    std::string current = path;
    for (int hops = 0; hops < 40; ++hops) {
        struct stat st {};
        if (::lstat(current.c_str(), &st) != 0) {
            if (errno != ENOENT) return errno;
            resolved = current;  // a new name, or a link to one
            return 0;
        }
        if (!S_ISLNK(st.st_mode)) {
            resolved = current;
            return 0;
        }
        std::string target(static_cast<size_t>(st.st_size > 0 ? st.st_size : 255) + 1, '\0');
        const ssize_t n = ::readlink(current.c_str(), target.data(), target.size());
        if (n < 0) return errno;
        if (static_cast<size_t>(n) >= target.size()) return ENAMETOOLONG;  // changed under us
        target.resize(static_cast<size_t>(n));
        current = !target.empty() && target[0] == '/' ? target : directoryOf(current) + "/" + target;
    }
    return ELOOP;
}

bool syncPath(const std::string& path, int flags, int& err) {
    const int fd = ::open(path.c_str(), flags | O_CLOEXEC);
    if (fd < 0) {
        err = errno;
        return false;
    }
    const bool ok = ::fsync(fd) == 0;
    if (!ok) err = errno;
    ::close(fd);
    return ok;
}

}  // namespace

std::string FileWriteError(const std::string& path, const std::string& reason) {
    return "Не удается записать файл «" + PrintableText(path) + "»: " + reason;
}

std::string FileWriteError(const std::string& path, int errorNumber) {
    return FileWriteError(path, reasonText(errorNumber));
}

int WriteAllBytes(int fd, std::string_view bytes) {
    const char* p = bytes.data();
    size_t left = bytes.size();
    while (left > 0) {
        const ssize_t n = ::write(fd, p, left);
        if (n < 0) {
            if (errno == EINTR) continue;
            return errno;
        }
        if (n == 0) return EIO;  // a device that takes nothing would loop forever
        p += n;
        left -= static_cast<size_t>(n);
    }
    return 0;
}

AtomicReplacement::AtomicReplacement(std::string target, WriteFault fault)
    : target_(std::move(target)), fault_(fault) {}

AtomicReplacement::~AtomicReplacement() {
    if (!committed_) abandon();
}

void AtomicReplacement::abandon() {
    if (!temp_.empty()) ::unlink(temp_.c_str());
    temp_.clear();
}

bool AtomicReplacement::open(std::string& error) {
    abandon();
    committed_ = false;
    if (target_.empty()) {
        error = "Не указано имя файла";
        return false;
    }
    if (const int err = resolveLinks(target_, resolved_); err != 0) {
        error = FileWriteError(target_, err);
        return false;
    }
    struct stat st {};
    if (::stat(resolved_.c_str(), &st) == 0 && !S_ISREG(st.st_mode)) {
        // Renaming over a device or a pipe would replace the node itself (as root even
        // /dev/null), and the data would never reach what the name stands for.
        error = S_ISDIR(st.st_mode) ? FileWriteError(target_, EISDIR)
                                    : FileWriteError(target_, "это не обычный файл, а устройство или канал");
        return false;
    }
    if (fault_ == WriteFault::Create) {
        error = FileWriteError(target_, EACCES);
        return false;
    }
    // A short fixed name: a target whose own name uses the whole length the file system
    // allows must still get a temporary file beside it.
    std::string name = directoryOf(resolved_) + "/.coldroom-XXXXXX";
    const int fd = ::mkstemp(name.data());
    if (fd < 0) {
        error = FileWriteError(target_, errno);
        return false;
    }
    temp_ = name;
    const int chmodResult = ::fchmod(fd, modeFor(resolved_));
    const int chmodErr = errno;
    ::close(fd);
    if (chmodResult != 0) {
        abandon();
        error = FileWriteError(target_, chmodErr);
        return false;
    }
    return true;
}

bool AtomicReplacement::commit(std::string& error) {
    if (temp_.empty()) {
        error = FileWriteError(target_, ENOENT);
        return false;
    }
    int err = 0;
    if (fault_ == WriteFault::Sync) {
        err = EIO;
    } else if (syncPath(temp_, O_RDONLY, err)) {
        if (fault_ == WriteFault::Rename) {
            err = EACCES;
        } else if (::rename(temp_.c_str(), resolved_.c_str()) == 0) {
            committed_ = true;
            temp_.clear();
            // The rename itself should survive a power cut too; a folder that refuses
            // fsync does not make the save fail.
            int ignored = 0;
            syncPath(directoryOf(resolved_), O_RDONLY | O_DIRECTORY, ignored);
            return true;
        } else {
            err = errno;
        }
    }
    abandon();
    error = FileWriteError(target_, err);
    return false;
}

bool WriteToStandardOutput(std::string_view bytes, std::string& error) {
    int err = std::fflush(stdout) == 0 ? 0 : errno;
    if (err == 0) err = WriteAllBytes(STDOUT_FILENO, bytes);
    if (err == 0) return true;
    error = "Не удается записать в стандартный вывод: " + reasonText(err);
    return false;
}

bool WriteFileAtomically(const std::string& path, std::string_view bytes, std::string& error,
                         WriteFault fault) {
    AtomicReplacement file(path, fault);
    if (!file.open(error)) return false;
    const int fd = ::open(file.tempPath().c_str(), O_WRONLY | O_TRUNC | O_CLOEXEC);
    if (fd < 0) {
        error = FileWriteError(path, errno);
        return false;
    }
    int err = writeWithFault(fd, bytes, fault);
    // Some file systems report a full disk only at close; the file is not complete then.
    if (::close(fd) != 0 && err == 0) err = errno;
    if (err == 0 && fault == WriteFault::Close) err = ENOSPC;
    if (err != 0) {
        error = FileWriteError(path, err);
        return false;
    }
    return file.commit(error);
}

}  // namespace coldroom
