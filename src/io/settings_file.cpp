#include "io/settings_file.h"

#include <cstdlib>
#include <filesystem>
#include <fstream>

namespace coldroom {

namespace fs = std::filesystem;

std::string UserSettingsFile() {
    const char* xdg = std::getenv("XDG_CONFIG_HOME");
    fs::path folder;
    if (xdg && *xdg && fs::path(xdg).is_absolute()) folder = xdg;
    else if (const char* home = std::getenv("HOME"); home && *home) folder = fs::path(home) / ".config";
    else return {};
    return (folder / "ColdRoom" / "ColdRoom.conf").string();
}

std::optional<std::string> ReadSettingsValue(const std::string& path, const std::string& key) {
    constexpr std::uintmax_t kLargest = 1 << 20;
    std::error_code ec;
    if (path.empty() || !fs::is_regular_file(path, ec) || fs::file_size(path, ec) > kLargest || ec) return std::nullopt;
    const std::size_t slash = key.find('/');
    const std::string section = "[" + key.substr(0, slash) + "]", name = key.substr(slash + 1);
    std::ifstream in(path, std::ios::binary);
    bool inSection = false;
    for (std::string line; std::getline(in, line);) {
        if (!line.empty() && line.back() == '\r') line.pop_back();
        if (!line.empty() && line.front() == '[') {
            inSection = line == section;
            continue;
        }
        const std::size_t eq = line.find('=');
        if (inSection && eq != std::string::npos && line.substr(0, eq) == name) return line.substr(eq + 1);
    }
    return std::nullopt;
}

}  // namespace coldroom
