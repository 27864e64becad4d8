#include "files/atomic_file.h"

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
        default: return "системная ошибка " + std::to_string(e) + " (" + std::strerror(e) + ")";
    }
}

std::string directoryOf(const std::string& path) {
    const auto slash = path.find_last_of('/');
    if (slash == std::string::npos) return ".";
    if (slash == 0) return "/";
    return path.substr(0, slash);
}

std::string fileNameOf(const std::string& path) {
    const auto slash = path.find_last_of('/');
    return slash == std::string::npos ? path : path.substr(slash + 1);
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

bool writeAll(int fd, std::string_view bytes, int& err, bool fail) {
    const char* p = bytes.data();
    size_t left = bytes.size();
    // Half the bytes go out before an injected fault, so the half-written temporary file
    // is really there to be cleaned up.
    if (fail) left /= 2;
    while (left > 0) {
        const ssize_t n = ::write(fd, p, left);
        if (n < 0) {
            if (errno == EINTR) continue;
            err = errno;
            return false;
        }
        p += n;
        left -= static_cast<size_t>(n);
    }
    if (fail) {
        err = ENOSPC;
        return false;
    }
    return true;
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
    return "Не удается записать файл «" + path + "»: " + reason;
}

std::string FileWriteError(const std::string& path, int errorNumber) {
    return FileWriteError(path, reasonText(errorNumber));
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
    struct stat st {};
    if (::stat(target_.c_str(), &st) == 0 && S_ISDIR(st.st_mode)) {
        error = FileWriteError(target_, EISDIR);
        return false;
    }
    if (fault_ == WriteFault::Create) {
        error = FileWriteError(target_, EACCES);
        return false;
    }
    std::string name = directoryOf(target_) + "/." + fileNameOf(target_) + ".XXXXXX";
    const int fd = ::mkstemp(name.data());
    if (fd < 0) {
        error = FileWriteError(target_, errno);
        return false;
    }
    temp_ = name;
    const int chmodResult = ::fchmod(fd, modeFor(target_));
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
        } else if (::rename(temp_.c_str(), target_.c_str()) == 0) {
            committed_ = true;
            temp_.clear();
            // The rename itself should survive a power cut too; a folder that refuses
            // fsync does not make the save fail.
            int ignored = 0;
            syncPath(directoryOf(target_), O_RDONLY | O_DIRECTORY, ignored);
            return true;
        } else {
            err = errno;
        }
    }
    abandon();
    error = FileWriteError(target_, err);
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
    int err = 0;
    const bool written = writeAll(fd, bytes, err, fault == WriteFault::Write);
    if (::close(fd) != 0 && written) {
        error = FileWriteError(path, errno);
        return false;
    }
    if (!written) {
        error = FileWriteError(path, err);
        return false;
    }
    return file.commit(error);
}

}  // namespace coldroom
