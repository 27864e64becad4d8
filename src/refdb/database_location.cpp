#include "refdb/database_location.h"

#include <cstdlib>
#include <filesystem>
#include <system_error>

namespace coldroom {
namespace fs = std::filesystem;

namespace {

std::string Quoted(const std::string& name) { return "«" + name + "»"; }

std::string Reason(const std::error_code& ec) {
    if (ec == std::errc::permission_denied || ec == std::errc::operation_not_permitted ||
        ec == std::errc::read_only_file_system)
        return "нет доступа";
    if (ec == std::errc::no_space_on_device) return "диск переполнен";
    if (ec == std::errc::no_such_file_or_directory) return "файл не найден";
    return ec.message();
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
    if (!userCopy.empty() && fs::is_regular_file(userCopy, ec)) return userCopy;
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
    std::error_code ec;
    if (fs::is_regular_file(userCopy, ec)) return userCopy;
    auto failed = [&](const std::error_code& why) {
        error = "Не удается скопировать базу данных " + Quoted(shipped) + " в " + Quoted(userCopy) +
                ": " + Reason(why) + ".";
        return std::string();
    };
    const fs::path target(userCopy);
    fs::create_directories(target.parent_path(), ec);
    if (ec) return failed(ec);
    // Copy beside the target and rename it over, so an interrupted copy is never taken for
    // the user's database at the next start.
    const fs::path temp = target.parent_path() / (target.filename().string() + ".part");
    fs::copy_file(shipped, temp, fs::copy_options::overwrite_existing, ec);
    if (!ec)  // copy_file keeps the source's permissions, and the shipped file may be read-only
        fs::permissions(temp, fs::perms::owner_read | fs::perms::owner_write, fs::perm_options::add, ec);
    if (!ec) fs::rename(temp, target, ec);
    if (ec) {
        std::error_code ignored;
        fs::remove(temp, ignored);
        return failed(ec);
    }
    return userCopy;
}

bool RestoreShippedDatabase(std::string& error) {
    return RestoreShippedDatabase(UserDatabasePath(), error);
}

bool RestoreShippedDatabase(const std::string& userCopy, std::string& error) {
    if (userCopy.empty()) return true;
    std::error_code ec;
    fs::remove(userCopy, ec);
    if (ec) {
        error = "Не удается удалить измененную копию базы данных " + Quoted(userCopy) + ": " +
                Reason(ec) + ".";
        return false;
    }
    return true;
}

}  // namespace coldroom
