#include "core/shipped_files.h"

#include <filesystem>
#include <system_error>

namespace coldroom {
namespace fs = std::filesystem;

std::string ProgramFolder() {
    std::error_code ec;
    const fs::path exe = fs::read_symlink("/proc/self/exe", ec);
    if (ec || exe.empty()) return {};
    return exe.parent_path().string();
}

std::string ShippedFilePath(const std::string& name) { return ShippedFilePath(ProgramFolder(), name); }

std::string ShippedFilePath(const std::string& programFolder, const std::string& name) {
    if (programFolder.empty()) return name;
    const fs::path beside = fs::path(programFolder) / name;
    const fs::path installed = fs::path(programFolder).parent_path() / "share" / "coldroom" / name;
    std::error_code ec;
    if (!fs::exists(beside, ec) && fs::exists(installed, ec)) return installed.lexically_normal().string();
    return beside.string();
}

}  // namespace coldroom
