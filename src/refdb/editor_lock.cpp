#include "refdb/editor_lock.h"

#include <fcntl.h>
#include <pwd.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <ctime>
#include <filesystem>

namespace coldroom {

namespace {

std::string WhoAmI() {
    char host[256] = {};
    if (gethostname(host, sizeof host - 1) != 0) host[0] = 0;
    const passwd* user = getpwuid(getuid());
    const std::time_t now = std::time(nullptr);
    std::tm local{};
    localtime_r(&now, &local);
    char since[32];
    std::strftime(since, sizeof since, "%d.%m.%Y %H:%M", &local);
    return "процесс " + std::to_string(getpid()) + ", пользователь " + (user ? user->pw_name : std::to_string(getuid())) +
           ", компьютер " + (*host ? host : "?") + ", с " + since;
}

std::string ReadAll(int fd) {
    std::string text;
    char buffer[512];
    ssize_t n = 0;
    off_t at = 0;
    while ((n = pread(fd, buffer, sizeof buffer, at)) > 0 && text.size() < 4096) {
        text.append(buffer, static_cast<size_t>(n));
        at += n;
    }
    while (!text.empty() && (text.back() == '\n' || text.back() == '\r')) text.pop_back();
    return text;
}

// Why no lock file can be used at `file`, for the person: what stands there and what to do.
std::string Unusable(const std::string& database, const std::string& file, const std::string& what,
                     EditorLock::Purpose purpose) {
    return std::string(purpose == EditorLock::Purpose::Edit ? "Справочные данные «" + database + "» нельзя изменять"
                                                            : "Исходные справочные данные не восстановлены") +
           ": не удается занять файл блокировки «" + file + "» — " + what +
           ".\r\nБез него другое окно «Изменение расчетных параметров» могло бы изменять те же данные. " +
           (what.rfind("на его месте", 0) == 0 ? "Удалите «" + file + "» и повторите."
                                               : std::string("Храните справочные данные на другом диске (--db) и повторите."));
}

std::string WhatStandsThere(int error, const struct stat* st) {
    if (st) {
        if (S_ISDIR(st->st_mode)) return "на его месте находится папка";
        if (S_ISFIFO(st->st_mode)) return "на его месте находится канал";
        return "на его месте находится устройство или другой особый файл, а не обычный файл";
    }
    switch (error) {
    case ELOOP: return "на его месте находится символическая ссылка";
    case EISDIR: return "на его месте находится папка";
    case ENXIO:
    case ENODEV: return "на его месте находится устройство или другой особый файл, а не обычный файл";
    case EACCES:
    case EPERM: return "на его месте находится файл, который не открыть: нет прав";
    case ENOLCK: return "файловая система не поддерживает блокировки";
    default: return "ошибка файловой системы (код " + std::to_string(error) + ")";
    }
}

}  // namespace

bool EditorLock::acquire(const std::string& database, std::string& error, Purpose purpose) {
    release();
    const std::string file = database + ".lock";
    std::error_code ec;
    std::filesystem::create_directories(std::filesystem::path(file).parent_path(), ec);
    // A lock file removed by its holder between our open and our lock is not the lock any
    // more: open again until the locked file is the one under the name.
    for (int attempt = 0; attempt < 10; ++attempt) {
        // Never through a link, and never blocking on a pipe put in the file's place.
        constexpr int kFlags = O_CLOEXEC | O_NOFOLLOW | O_NONBLOCK;
        int fd = ::open(file.c_str(), O_RDWR | O_CREAT | kFlags, 0644);
        // A lock file another user made, or one on a read-only disk, still locks when only read.
        if (fd < 0 && (errno == EACCES || errno == EROFS)) fd = ::open(file.c_str(), O_RDONLY | kFlags);
        if (fd < 0) {
            // No lock file in a read-only folder: nothing can be written there either.
            if (errno == ENOENT) return true;
            error = Unusable(database, file, WhatStandsThere(errno, nullptr), purpose);
            return false;
        }
        struct stat opened {}, named {};
        if (fstat(fd, &opened) == 0 && !S_ISREG(opened.st_mode)) {
            error = Unusable(database, file, WhatStandsThere(0, &opened), purpose);
            ::close(fd);
            return false;
        }
        if (flock(fd, LOCK_EX | LOCK_NB) != 0) {
            const int why = errno;
            const std::string holder = ReadAll(fd);
            ::close(fd);
            if (why != EWOULDBLOCK) {
                error = Unusable(database, file, WhatStandsThere(why, nullptr), purpose);
                return false;
            }
            const std::string who = holder.empty() ? std::string("другая копия программы") : holder;
            error = purpose == Purpose::Edit
                        ? "Справочные данные «" + database + "» уже изменяются в другом окне «Изменение расчетных "
                          "параметров» (" + who + ").\r\nОдновременно их можно изменять только в одном окне: "
                          "закройте то окно и повторите."
                        : "Исходные справочные данные не восстановлены: данные «" + database + "» сейчас изменяются "
                          "в окне «Изменение расчетных параметров» (" + who + ").\r\nЗакройте то окно и повторите.";
            return false;
        }
        if (::stat(file.c_str(), &named) == 0 && opened.st_ino == named.st_ino && opened.st_dev == named.st_dev) {
            const std::string who = WhoAmI() + "\n";
            // Who holds it is only told to the next editor; the lock holds without it.
            if (ftruncate(fd, 0) == 0) {
                const ssize_t written = pwrite(fd, who.data(), who.size(), 0);
                (void)written;
            }
            fd_ = fd;
            file_ = file;
            return true;
        }
        ::close(fd);
    }
    error = Unusable(database, file, "его все время заменяет другая программа", purpose);
    return false;
}

void EditorLock::release() {
    if (fd_ < 0) return;
    // Removed while still held, so nobody can lock the name we are about to drop.
    ::unlink(file_.c_str());
    ::close(fd_);
    fd_ = -1;
    file_.clear();
}

}  // namespace coldroom
