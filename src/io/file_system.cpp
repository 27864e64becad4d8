#include "io/file_system.h"

#include <atomic>
#include <cerrno>
#include <cstdlib>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace coldroom {
namespace {

FileStatus statusOf(const struct stat& st) {
    FileStatus s;
    if (S_ISREG(st.st_mode)) s.kind = FileStatus::Kind::Regular;
    else if (S_ISDIR(st.st_mode)) s.kind = FileStatus::Kind::Directory;
    else if (S_ISLNK(st.st_mode)) s.kind = FileStatus::Kind::Link;
    s.permissions = static_cast<unsigned>(st.st_mode & 07777);
    s.size = st.st_size > 0 ? static_cast<std::uint64_t>(st.st_size) : 0;
    return s;
}

int result(int rc) { return rc == 0 ? 0 : errno; }

PosixFileSystem& systemFileSystem() {
    static PosixFileSystem fs;
    return fs;
}

std::atomic<FileSystem*> current{nullptr};

}  // namespace

int PosixFileSystem::status(const std::string& path, FileStatus& status) {
    struct stat st {};
    if (::stat(path.c_str(), &st) != 0) return errno;
    status = statusOf(st);
    return 0;
}

int PosixFileSystem::linkStatus(const std::string& path, FileStatus& status) {
    struct stat st {};
    if (::lstat(path.c_str(), &st) != 0) return errno;
    status = statusOf(st);
    return 0;
}

int PosixFileSystem::readLink(const std::string& path, std::string& target) {
    struct stat st {};
    if (::lstat(path.c_str(), &st) != 0) return errno;
    std::string buffer(static_cast<std::size_t>(st.st_size > 0 ? st.st_size : 255) + 1, '\0');
    const ssize_t n = ::readlink(path.c_str(), buffer.data(), buffer.size());
    if (n < 0) return errno;
    if (static_cast<std::size_t>(n) >= buffer.size()) return ENAMETOOLONG;  // changed under us
    buffer.resize(static_cast<std::size_t>(n));
    target = std::move(buffer);
    return 0;
}

int PosixFileSystem::createUnique(std::string& pathTemplate, int& fd) {
    fd = ::mkostemp(pathTemplate.data(), O_CLOEXEC);
    return fd < 0 ? errno : 0;
}

int PosixFileSystem::open(const std::string& path, OpenFor mode, int& fd) {
    int flags = O_CLOEXEC;
    switch (mode) {
        case OpenFor::Reading: flags |= O_RDONLY | O_NONBLOCK | O_NOCTTY; break;
        case OpenFor::Writing: flags |= O_WRONLY | O_TRUNC | O_NOCTTY; break;
        case OpenFor::Folder: flags |= O_RDONLY | O_DIRECTORY; break;
    }
    fd = ::open(path.c_str(), flags);
    return fd < 0 ? errno : 0;
}

int PosixFileSystem::openStatus(int fd, FileStatus& status) {
    struct stat st {};
    if (::fstat(fd, &st) != 0) return errno;
    status = statusOf(st);
    return 0;
}

int PosixFileSystem::setPermissions(int fd, unsigned permissions) {
    return result(::fchmod(fd, static_cast<mode_t>(permissions)));
}

int PosixFileSystem::read(int fd, char* buffer, std::size_t size, std::size_t& done) {
    done = 0;
    for (;;) {
        const ssize_t n = ::read(fd, buffer, size);
        if (n >= 0) {
            done = static_cast<std::size_t>(n);
            return 0;
        }
        if (errno != EINTR) return errno;
    }
}

int PosixFileSystem::write(int fd, const char* data, std::size_t size, std::size_t& done) {
    done = 0;
    for (;;) {
        const ssize_t n = ::write(fd, data, size);
        if (n >= 0) {
            done = static_cast<std::size_t>(n);
            return 0;
        }
        if (errno != EINTR) return errno;
    }
}

int PosixFileSystem::sync(int fd) { return result(::fsync(fd)); }

// The descriptor is gone whatever close says; EINTR must not lead to a second close.
int PosixFileSystem::close(int fd) { return ::close(fd) == 0 || errno == EINTR ? 0 : errno; }

int PosixFileSystem::rename(const std::string& from, const std::string& to) {
    return result(::rename(from.c_str(), to.c_str()));
}

int PosixFileSystem::remove(const std::string& path) { return result(::unlink(path.c_str())); }

unsigned PosixFileSystem::newFilePermissions() {
    const mode_t mask = ::umask(0);
    ::umask(mask);
    return 0666u & ~static_cast<unsigned>(mask);
}

FileSystem& CurrentFileSystem() {
    FileSystem* fs = current.load();
    return fs ? *fs : systemFileSystem();
}

UseFileSystem::UseFileSystem(FileSystem& fileSystem) : previous_(current.exchange(&fileSystem)) {}

UseFileSystem::~UseFileSystem() { current.store(previous_); }

}  // namespace coldroom
