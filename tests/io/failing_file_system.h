// A file system that fails one step of every write on purpose, as a full disk, a folder that
// vanished or a network share that broke would, so that a test can show a failed save keeps
// the file that was there. Put it in place with UseFileSystem for the test's scope.
#pragma once

#include <cerrno>

#include "io/file_system.h"

namespace coldroom::test {

class FailingFileSystem : public PosixFileSystem {
public:
    // Create: no temporary file can be made. Write: half the bytes reach the file, then the
    // disk is full. NoSpace: full from the first byte on. Close: the full disk is reported
    // only when the file is closed (delayed allocation, network folders).
    enum class Step { Create, Write, Sync, Rename, NoSpace, Close };
    static constexpr Step kAllSteps[] = {Step::Create, Step::Write, Step::Sync,
                                         Step::Rename, Step::NoSpace, Step::Close};

    explicit FailingFileSystem(Step step) : step_(step) {}

    int createUnique(std::string& pathTemplate, int& fd) override {
        return step_ == Step::Create ? EACCES : PosixFileSystem::createUnique(pathTemplate, fd);
    }
    int write(int fd, const char* data, std::size_t size, std::size_t& done) override {
        done = 0;
        if (step_ == Step::Write && !halfWritten_ && size > 1) {
            halfWritten_ = true;
            return PosixFileSystem::write(fd, data, size / 2, done);
        }
        if (step_ == Step::Write || step_ == Step::NoSpace) return ENOSPC;
        return PosixFileSystem::write(fd, data, size, done);
    }
    int sync(int fd) override { return step_ == Step::Sync ? EIO : PosixFileSystem::sync(fd); }
    int close(int fd) override {
        const int err = PosixFileSystem::close(fd);
        return step_ == Step::Close && err == 0 ? ENOSPC : err;
    }
    int rename(const std::string& from, const std::string& to) override {
        return step_ == Step::Rename ? EACCES : PosixFileSystem::rename(from, to);
    }

private:
    Step step_;
    bool halfWritten_ = false;
};

}  // namespace coldroom::test
