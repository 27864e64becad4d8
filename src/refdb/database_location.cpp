#include "refdb/database_location.h"

#include <fcntl.h>
#include <stdio.h>
#include <sys/stat.h>
#include <sys/statvfs.h>
#include <unistd.h>

#include <cerrno>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <filesystem>
#include <system_error>

#include "io/read_file.h"
#include "io/stale_temporaries.h"
#include "refdb/editor_lock.h"
#include "refdb/reference_db.h"

namespace coldroom {
namespace fs = std::filesystem;

namespace {

std::string Quoted(const std::string& name) { return "«" + name + "»"; }

std::string FolderOf(const std::string& path) {
    const std::string folder = fs::path(path).parent_path().string();
    return folder.empty() ? "." : folder;
}

// The record of which shipped file a copy was made from, beside the copy.
std::string OriginRecord(const std::string& userCopy) { return userCopy + ".origin"; }

// The engine's files that belong to a database beside it: a rollback journal left by a writer
// that died mid-write is rolled into whatever file next has the database's name.
constexpr const char* kCompanions[] = {"-journal", "-wal", "-shm"};

// Beside the copy, what a killed copy or record write left: "Data.dtx.part-XXXXXX".
std::string TemporaryPrefix(const std::string& userCopy) {
    return fs::path(userCopy).filename().string() + ".part-";
}

// The shipped database is small; a name that stands for something endless is not read.
constexpr std::size_t kMaxShippedBytes = 64u << 20;
// A record holds one fingerprint.
constexpr std::size_t kMaxOriginBytes = 256;
// The check at the start only glances at a file another program writes: the reading that
// follows waits the whole time, once.
constexpr int kStartCheckWaitMs = 200;

// A fingerprint of the shipped file's bytes (FNV-1a, 64 bits); "" when it cannot be read
// (also when it is no regular file or larger than any shipped database).
std::string Fingerprint(const std::string& file) {
    std::string bytes;
    if (ReadRegularFile(file, kMaxShippedBytes, bytes) != 0) return {};
    std::uint64_t hash = 14695981039346656037ull;
    for (const char c : bytes) {
        hash ^= static_cast<unsigned char>(c);
        hash *= 1099511628211ull;
    }
    char text[17];
    const int n = std::snprintf(text, sizeof text, "%016llx", static_cast<unsigned long long>(hash));
    return n == 16 ? std::string(text, 16) : std::string();
}

// The fingerprint the copy's record holds; "" when there is no record, or something else than
// a small regular file stands in its place (a pipe would block the start, a device never end).
std::string ReadOrigin(const std::string& userCopy) {
    std::string bytes;
    if (ReadRegularFile(OriginRecord(userCopy), kMaxOriginBytes, bytes) != 0) return {};
    return bytes.substr(0, bytes.find('\n'));
}

// Written beside under a name of its own and renamed over, whatever stood there; a record that
// cannot be written only means the question about newer shipped data is asked once more.
void WriteOrigin(const std::string& userCopy, const std::string& fingerprint) {
    std::string temp = FolderOf(userCopy) + "/" + TemporaryPrefix(userCopy) + "XXXXXX";
    const int fd = ::mkstemp(temp.data());
    if (fd < 0) return;
    const std::string line = fingerprint + "\n";
    const bool written = ::write(fd, line.data(), line.size()) == static_cast<ssize_t>(line.size()) &&
                         ::fchmod(fd, S_IRUSR | S_IWUSR | S_IRGRP | S_IROTH) == 0;
    if (::close(fd) != 0 || !written || ::rename(temp.c_str(), OriginRecord(userCopy).c_str()) != 0)
        ::unlink(temp.c_str());
}

// What stands where the copy should be, when it is not a regular file.
std::string NotACopy(fs::file_type type) {
    switch (type) {
    case fs::file_type::symlink:
        return "на месте копии находится символическая ссылка, а не файл, сделанный программой; через ссылку "
               "программа не читает и не записывает";
    case fs::file_type::directory: return "на месте копии находится папка";
    default: return "на месте копии находится устройство, канал или другой особый файл, а не обычный файл";
    }
}

// Too little room for `bytes` on the disk of `folder`.
bool DiskTooFull(const std::string& folder, std::uintmax_t bytes) {
    struct statvfs disk {};
    return statvfs(folder.c_str(), &disk) == 0 &&
           static_cast<std::uintmax_t>(disk.f_bavail) * disk.f_frsize < bytes + 4096;
}

// The cause of a failed step of the copy in plain words: `folder` is where the copy goes.
std::string Cause(int error, const std::string& folder, std::uintmax_t bytes) {
    switch (error) {
    case ENOSPC: return "на диске нет места";
    case EDQUOT: return "превышена квота диска";
    case EROFS: return "диск с папкой " + Quoted(folder) + " доступен только для чтения";
    case EACCES:
    case EPERM: return "нет прав на запись в папку " + Quoted(folder) + " (папка только для чтения)";
    case ENOTDIR:
    case EEXIST: return "на пути к папке " + Quoted(folder) + " находится файл, а не папка";
    case EISDIR: return "на месте копии находится папка";
    case ENAMETOOLONG: return "слишком длинное имя файла";
    case ELOOP: return "слишком много символических ссылок на пути к папке " + Quoted(folder);
    case EFBIG: return "файл слишком велик для этого диска";
    case EIO:
        // A full disk may show itself only as a failed write.
        if (DiskTooFull(folder, bytes)) return "на диске нет места";
        return "ошибка ввода-вывода диска";
    default: return "ошибка файловой системы (код " + std::to_string(error) + ")";
    }
}

// Copies the bytes of `source` into the new file `fd`. Returns 0, or the errno that stopped
// it; `sourceFailed` tells which side it came from.
int CopyBytes(const std::string& source, int fd, bool& sourceFailed) {
    sourceFailed = true;
    const int in = ::open(source.c_str(), O_RDONLY | O_CLOEXEC);
    if (in < 0) return errno;
    char buffer[1 << 16];
    int error = 0;
    while (error == 0) {
        const ssize_t n = ::read(in, buffer, sizeof buffer);
        if (n < 0 && errno == EINTR) continue;
        if (n < 0) error = errno;
        if (n <= 0) break;
        for (ssize_t done = 0; done < n && error == 0;) {
            const ssize_t w = ::write(fd, buffer + done, static_cast<size_t>(n - done));
            if (w < 0 && errno == EINTR) continue;
            if (w < 0) {
                error = errno;
                sourceFailed = false;
            } else {
                done += w;
            }
        }
    }
    ::close(in);
    if (error == 0 && ::fsync(fd) != 0) {
        error = errno;
        sourceFailed = false;
    }
    return error;
}

std::string Today() {
    const std::time_t now = std::time(nullptr);
    std::tm local{};
    localtime_r(&now, &local);
    char text[16];
    std::strftime(text, sizeof text, "%Y-%m-%d", &local);
    return text;
}

// Moves the engine's files of `from` to the names they need beside `to`, so that a journal
// stays with the file it belongs to.
void MoveCompanions(const std::string& from, const std::string& to) {
    for (const char* suffix : kCompanions)
        // One that cannot move must not stay either: it would be rolled into the next copy.
        if (::rename((from + suffix).c_str(), (to + suffix).c_str()) != 0 && errno != ENOENT)
            ::unlink((from + suffix).c_str());
}

// The checks of a new copy before it takes the copy's name: it is a database whose tables all
// load and whose pages are whole.
bool CopyIsSound(const std::string& file, std::string& problem) {
    ReferenceDatabase db;
    if (!db.open(file, problem)) return false;
    for (const TableSchema& table : ReferenceSchema())
        if (!db.loadTable(table.name, problem)) return false;
    return db.checkIntegrity(problem);
}

}  // namespace

std::string UserDataFolder() {
    // A relative XDG_DATA_HOME is invalid by the base-directory rules and is ignored.
    const char* xdg = std::getenv("XDG_DATA_HOME");
    if (xdg && *xdg && fs::path(xdg).is_absolute()) return (fs::path(xdg) / "coldroom").string();
    const char* home = std::getenv("HOME");
    if (home && *home) return (fs::path(home) / ".local" / "share" / "coldroom").string();
    return {};
}

std::string UserDatabasePath() {
    std::string folder = UserDataFolder();
    return folder.empty() ? std::string() : (fs::path(folder) / "Data.dtx").string();
}

std::string EffectiveDatabasePath(const std::string& shipped) {
    return EffectiveDatabasePath(shipped, UserDatabasePath());
}

std::string EffectiveDatabasePath(const std::string& shipped, const std::string& userCopy) {
    std::error_code ec;
    if (!userCopy.empty() && fs::symlink_status(userCopy, ec).type() == fs::file_type::regular) return userCopy;
    return shipped;
}

std::string EnsureWritableCopy(const std::string& shipped, std::string& error) {
    return EnsureWritableCopy(shipped, UserDatabasePath(), error);
}

std::string EnsureWritableCopy(const std::string& shipped, const std::string& userCopy,
                               std::string& error) {
    if (userCopy.empty()) {
        error = "Не удается определить папку данных пользователя (не заданы XDG_DATA_HOME и HOME).";
        return {};
    }
    auto failed = [&](const std::string& cause) {
        error = "Не удается скопировать базу данных " + Quoted(shipped) + " в " + Quoted(userCopy) + ": " + cause + ".";
        return std::string();
    };
    std::error_code ec;
    const fs::file_type there = fs::symlink_status(userCopy, ec).type();
    if (there == fs::file_type::regular) return userCopy;
    if (there != fs::file_type::not_found && there != fs::file_type::none) return failed(NotACopy(there));

    const std::string folder = FolderOf(userCopy);
    RemoveStaleTemporaries(folder, TemporaryPrefix(userCopy));
    const std::uintmax_t bytes = fs::file_size(shipped, ec);
    if (ec) return failed(ec == std::errc::no_such_file_or_directory ? "исходный файл не найден"
                                                                     : "нет доступа к исходному файлу");
    fs::create_directories(folder, ec);
    if (ec) return failed(Cause(ec.value(), folder, bytes));

    // A name of its own beside the target, renamed over only once whole: an interrupted copy
    // is never taken for the user's database, and two programs copying at once never share
    // a half-written file.
    std::string temp = userCopy + ".part-XXXXXX";
    const int fd = ::mkstemp(temp.data());
    if (fd < 0) return failed(Cause(errno, folder, bytes));
    bool sourceFailed = false;
    int err = CopyBytes(shipped, fd, sourceFailed);
    // Writable by its owner whatever the shipped file's permissions were.
    if (err == 0 && ::fchmod(fd, S_IRUSR | S_IWUSR | S_IRGRP | S_IROTH) != 0) err = errno, sourceFailed = false;
    if (::close(fd) != 0 && err == 0) err = errno, sourceFailed = false;
    std::string problem;
    if (err == 0 && !CopyIsSound(temp, problem)) {
        ::unlink(temp.c_str());
        return failed("исходный файл поврежден (" + problem + ")");
    }
    // A journal left beside a copy that is gone (deleted by hand, or by an older release) would
    // be rolled into this fresh one the first time it is opened. Its file is the one it needs.
    // The caller holds the editor's lock, so no live writer's journal is here; a journal only
    // exists while its database does, so it is looked for before the database.
    bool orphans = false;
    for (const char* suffix : kCompanions)
        orphans = orphans || fs::symlink_status(userCopy + suffix, ec).type() != fs::file_type::not_found;
    if (err == 0 && orphans && fs::symlink_status(userCopy, ec).type() == fs::file_type::not_found)
        MoveCompanions(userCopy, AsideName(userCopy, "orphan"));
    if (err == 0 && ::renameat2(AT_FDCWD, temp.c_str(), AT_FDCWD, userCopy.c_str(), RENAME_NOREPLACE) != 0) {
        err = errno;
        sourceFailed = false;
        // A file system without the no-replace rename: a hard link refuses to replace as well.
        if (err == EINVAL || err == ENOSYS) {
            err = ::link(temp.c_str(), userCopy.c_str()) == 0 ? 0 : errno;
            if (err == 0) ::unlink(temp.c_str());
        }
    }
    if (err != 0) {
        ::unlink(temp.c_str());
        // Another program made the copy first: that one is the user's copy now.
        const fs::file_type made = fs::symlink_status(userCopy, ec).type();
        if (err == EEXIST && made == fs::file_type::regular) return userCopy;
        if (err == EEXIST) return failed(NotACopy(made));
        if (sourceFailed)
            return failed(err == ENOENT ? "исходный файл не найден" : "не удается прочитать исходный файл");
        return failed(Cause(err, folder, bytes));
    }
    WriteOrigin(userCopy, Fingerprint(shipped));
    return userCopy;
}

bool RestoreShippedDatabase(std::string& error) {
    return RestoreShippedDatabase(UserDatabasePath(), error);
}

bool RestoreShippedDatabase(const std::string& userCopy, std::string& error) {
    if (userCopy.empty()) return true;
    // Not under an editor that has the copy open: its next change would be refused.
    EditorLock lock;
    if (!lock.acquire(userCopy, error, EditorLock::Purpose::Restore)) return false;
    std::error_code ec;
    fs::remove(userCopy, ec);
    if (ec) {
        error = "Не удается удалить измененную копию базы данных " + Quoted(userCopy) + ": " +
                Cause(ec.value(), FolderOf(userCopy), 0) + ".";
        return false;
    }
    // A journal without its file would be rolled into the next copy.
    for (const char* suffix : kCompanions) fs::remove(userCopy + suffix, ec);
    fs::remove(OriginRecord(userCopy), ec);
    return true;
}

std::string AsideName(const std::string& userCopy, const char* tag) {
    const std::string base = userCopy + "." + tag + "-" + Today();
    std::string name = base;
    std::error_code ec;
    for (int n = 2; fs::symlink_status(name, ec).type() != fs::file_type::not_found && n < 1000; ++n)
        name = base + "-" + std::to_string(n);
    return name;
}

std::string MoveCopyAside(const std::string& userCopy, const char* tag, std::string& error) {
    std::error_code ec;
    if (userCopy.empty() || fs::symlink_status(userCopy, ec).type() == fs::file_type::not_found) return {};
    // Not under an editor that has the copy open: its next change would be refused.
    EditorLock lock;
    if (!lock.acquire(userCopy, error, EditorLock::Purpose::Restore)) return {};
    const std::string aside = AsideName(userCopy, tag);
    if (::renameat2(AT_FDCWD, userCopy.c_str(), AT_FDCWD, aside.c_str(), RENAME_NOREPLACE) != 0 &&
        ::rename(userCopy.c_str(), aside.c_str()) != 0) {
        error = "Не удается переименовать копию справочных данных " + Quoted(userCopy) + " в " + Quoted(aside) +
                ": " + Cause(errno, FolderOf(userCopy), 0) + ".";
        return {};
    }
    // The record and the engine's journal go with the copy they describe: the journal of a
    // writer that died mid-write still rolls the copy back where it now is, and never into a
    // fresh copy.
    MoveCompanions(userCopy, aside);
    fs::rename(OriginRecord(userCopy), aside + ".origin", ec);
    return aside;
}

StartupDatabase CheckStartupDatabase(const std::string& shipped, const std::string& userCopy, bool askAboutNewer) {
    StartupDatabase found;
    found.copy = userCopy;
    found.path = shipped;
    std::error_code ec;
    const fs::file_type there = userCopy.empty() ? fs::file_type::not_found : fs::symlink_status(userCopy, ec).type();
    if (there == fs::file_type::not_found || there == fs::file_type::none) return found;
    if (there != fs::file_type::regular) {
        found.state = StartupDatabase::State::Broken;
        found.problem = Quoted(userCopy) + ": " + NotACopy(there) + ".";
        return found;
    }
    found.path = userCopy;
    RemoveStaleTemporaries(FolderOf(userCopy), TemporaryPrefix(userCopy));
    ReferenceDatabase db;
    bool busy = false;
    std::string error;
    bool loads = db.open(userCopy, error, &busy, kStartCheckWaitMs);
    // A file another program keeps busy is not broken: the start's own reading waits for it,
    // and says how long.
    if (!loads && busy) return found;
    for (const TableSchema& table : ReferenceSchema()) {
        if (!loads) break;
        loads = db.loadTable(table.name, error).has_value();
    }
    if (!loads) {
        found.state = StartupDatabase::State::Broken;
        found.problem = error;
        return found;
    }
    if (askAboutNewer) {
        const std::string origin = ReadOrigin(userCopy), now = Fingerprint(shipped);
        if (!now.empty() && origin != now) {
            found.state = StartupDatabase::State::NewerShipped;
            found.originKnown = !origin.empty();
        }
    }
    return found;
}

StartupQuestion StartupQuestionOf(const StartupDatabase& found) {
    const std::string fileName = fs::path(found.copy).filename().string();
    StartupQuestion q;
    switch (found.state) {
    case StartupDatabase::State::Ready: break;
    case StartupDatabase::State::Broken:
        q.text = "Измененные справочные данные " + Quoted(found.copy) + " не загружаются:\r\n" + found.problem +
                 "\r\n\r\nМожно в этот раз работать с исходными справочными данными программы или восстановить "
                 "исходные данные. Копия не удаляется: при восстановлении она сохранится рядом под именем " +
                 Quoted(fs::path(AsideName(found.copy, "broken")).filename().string()) + ".";
        q.answers = {{StartupChoice::UseShippedOnce, "Исходные данные в этот раз"},
                     {StartupChoice::RestoreShipped, "Восстановить исходные данные"}};
        break;
    case StartupDatabase::State::NewerShipped:
        q.text = std::string(found.originKnown
                                 ? "Исходные справочные данные программы обновились после того, как была сделана "
                                   "ваша измененная копия "
                                 : "Неизвестно, из каких исходных справочных данных сделана ваша измененная копия ") +
                 Quoted(found.copy) + ". Исправления исходных данных в копии не видны.\r\n\r\n" +
                 "Оставить свою копию или взять новые исходные данные? Прежняя копия сохранится рядом под именем " +
                 Quoted(fs::path(AsideName(found.copy, "backup")).filename().string()) + ".";
        q.answers = {{StartupChoice::KeepCopy, "Оставить мою копию"},
                     {StartupChoice::TakeShipped, "Взять новые данные"}};
        break;
    }
    return q;
}

std::string ApplyStartupChoice(const StartupDatabase& found, StartupChoice choice, const std::string& shipped,
                               std::string& keptAs, std::string& error) {
    keptAs.clear();
    switch (choice) {
    case StartupChoice::UseShippedOnce: return shipped;
    case StartupChoice::KeepCopy:
        WriteOrigin(found.copy, Fingerprint(shipped));
        return found.copy;
    case StartupChoice::RestoreShipped:
    case StartupChoice::TakeShipped:
        keptAs = MoveCopyAside(found.copy, choice == StartupChoice::RestoreShipped ? "broken" : "backup", error);
        return keptAs.empty() && !error.empty() ? std::string() : shipped;
    }
    return shipped;
}

}  // namespace coldroom
