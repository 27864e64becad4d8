// The handful of file-system steps the program's reads and atomic writes take, behind one
// small interface. The program uses the real one; a test can put another in its place for a
// while to make any single step fail as a full disk, a vanished folder or a broken network
// share would, and see that nothing already on the disk is lost.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

namespace coldroom {

// What a name stands for, as far as reading and writing files is concerned.
struct FileStatus {
    enum class Kind { Regular, Directory, Link, Other } kind = Kind::Other;
    unsigned permissions = 0;  // the mode bits 07777
    std::uint64_t size = 0;    // bytes (regular file) or the length of a link's target
};

// How a file is opened. Reading never blocks on a pipe and never makes a terminal the
// program's own; writing truncates an existing file.
enum class OpenFor { Reading, Writing, Folder };

// Every step returns 0 or the errno value of its failure; descriptors are closed on exec.
class FileSystem {
public:
    virtual ~FileSystem() = default;

    virtual int status(const std::string& path, FileStatus& status) = 0;      // follows links
    virtual int linkStatus(const std::string& path, FileStatus& status) = 0;  // the link itself
    virtual int readLink(const std::string& path, std::string& target) = 0;
    // Creates and opens a new file whose name is `pathTemplate` with its trailing XXXXXX
    // replaced; the template becomes the name made.
    virtual int createUnique(std::string& pathTemplate, int& fd) = 0;
    virtual int open(const std::string& path, OpenFor mode, int& fd) = 0;
    virtual int openStatus(int fd, FileStatus& status) = 0;
    virtual int setPermissions(int fd, unsigned permissions) = 0;
    // One read or write call: `done` may be less than `size` (0 at the end of a file).
    virtual int read(int fd, char* buffer, std::size_t size, std::size_t& done) = 0;
    virtual int write(int fd, const char* data, std::size_t size, std::size_t& done) = 0;
    virtual int sync(int fd) = 0;
    virtual int close(int fd) = 0;
    virtual int rename(const std::string& from, const std::string& to) = 0;
    virtual int remove(const std::string& path) = 0;
    // The mode bits a new file gets: 0666 less the process's umask.
    virtual unsigned newFilePermissions() = 0;
};

// The operating system's own file system.
class PosixFileSystem : public FileSystem {
public:
    int status(const std::string& path, FileStatus& status) override;
    int linkStatus(const std::string& path, FileStatus& status) override;
    int readLink(const std::string& path, std::string& target) override;
    int createUnique(std::string& pathTemplate, int& fd) override;
    int open(const std::string& path, OpenFor mode, int& fd) override;
    int openStatus(int fd, FileStatus& status) override;
    int setPermissions(int fd, unsigned permissions) override;
    int read(int fd, char* buffer, std::size_t size, std::size_t& done) override;
    int write(int fd, const char* data, std::size_t size, std::size_t& done) override;
    int sync(int fd) override;
    int close(int fd) override;
    int rename(const std::string& from, const std::string& to) override;
    int remove(const std::string& path) override;
    unsigned newFilePermissions() override;
};

// The file system every read and write of the program goes through: the real one unless a
// UseFileSystem is in force.
FileSystem& CurrentFileSystem();

// Puts `fileSystem` in place of the current one for the object's life (scopes nest).
class UseFileSystem {
public:
    explicit UseFileSystem(FileSystem& fileSystem);
    ~UseFileSystem();
    UseFileSystem(const UseFileSystem&) = delete;
    UseFileSystem& operator=(const UseFileSystem&) = delete;

private:
    FileSystem* previous_;
};

}  // namespace coldroom
