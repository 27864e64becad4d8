// What the person is told when a file cannot be read or written: plain Russian sentences that
// name the cause (a full disk, a folder where the file should be, a folder the program may not
// write into), never the system's own English words.
#pragma once

#include <cerrno>
#include <string>

namespace coldroom {

// The errno value a reader or writer gives for a name that is neither a regular file nor a
// folder (a device, a pipe, a socket), which it refuses before reading or writing anything.
inline constexpr int kNotRegularFile = ENODEV;

// The cause alone, e.g. "нет места на диске". A few causes read differently for a read
// ("файл не существует") and for a write ("папка не существует": a new file lacks its folder).
std::string FileErrorReason(int errorNumber, bool writing);

// "Не удается записать файл «path»: reason", the reason given as text or as an errno value.
std::string FileWriteError(const std::string& path, const std::string& reason);
std::string FileWriteError(const std::string& path, int errorNumber);

// "не удается прочитать файл «path»: reason" (it follows the name of what was being opened).
std::string FileReadError(const std::string& path, int errorNumber);

}  // namespace coldroom
