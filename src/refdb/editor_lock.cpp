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

}  // namespace

bool EditorLock::acquire(const std::string& database, std::string& error) {
    release();
    const std::string file = database + ".lock";
    std::error_code ec;
    std::filesystem::create_directories(std::filesystem::path(file).parent_path(), ec);
    // A lock file removed by its holder between our open and our lock is not the lock any
    // more: open again until the locked file is the one under the name.
    for (int attempt = 0; attempt < 10; ++attempt) {
        const int fd = ::open(file.c_str(), O_RDWR | O_CREAT | O_CLOEXEC | O_NOFOLLOW, 0644);
        if (fd < 0) return true;
        if (flock(fd, LOCK_EX | LOCK_NB) != 0) {
            const std::string holder = ReadAll(fd);
            ::close(fd);
            error = "Справочные данные " + ("«" + database + "»") +
                    " уже изменяются в другом окне «Изменение расчетных параметров» (" +
                    (holder.empty() ? std::string("другая копия программы") : holder) +
                    ").\r\nОдновременно их можно изменять только в одном окне: закройте то окно и повторите.";
            return false;
        }
        struct stat opened {}, named {};
        if (fstat(fd, &opened) == 0 && ::stat(file.c_str(), &named) == 0 && opened.st_ino == named.st_ino &&
            opened.st_dev == named.st_dev) {
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
    return true;
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
