// The note's line on the reference data the desktop program read: the shipped file or the
// person's edited copy, with the date it was written. The page has its own (web/).
#include "reports/calculation_note.h"

#include <chrono>
#include <ctime>
#include <filesystem>

#include "refdb/database_location.h"

namespace coldroom {

std::string ReferenceDataOrigin(const std::string& path) {
    std::string date;
    std::error_code ec;
    const auto written = std::filesystem::last_write_time(path, ec);
    if (!ec) {
        const std::time_t t = std::chrono::system_clock::to_time_t(std::chrono::file_clock::to_sys(written));
        std::tm local{};
        char buf[16];
        if (localtime_r(&t, &local) && std::strftime(buf, sizeof buf, "%d.%m.%Y", &local)) date = buf;
    }
    const std::string user = UserDatabasePath();
    if (!user.empty() && std::filesystem::equivalent(path, user, ec))
        return "справочник, изменённый пользователем (" + path + (date.empty() ? "" : ", изменён " + date) + ")";
    return "справочник, поставляемый с программой (" + std::filesystem::path(path).filename().string() +
           (date.empty() ? "" : " от " + date) + ")";
}

}  // namespace coldroom
