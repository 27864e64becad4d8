#include "core/shipped_files.h"

#include <filesystem>
#include <system_error>

namespace coldroom {
namespace fs = std::filesystem;

std::string ExecutableFolder() {
    std::error_code ec;
    const fs::path exe = fs::read_symlink("/proc/self/exe", ec);
    if (ec || exe.empty()) return {};
    return exe.parent_path().string();
}

std::string ShippedFilePath(const std::string& name) { return ShippedFilePath(ExecutableFolder(), name); }

std::string ShippedFilePath(const std::string& executableFolder, const std::string& name) {
    if (executableFolder.empty()) return name;
    const fs::path beside = fs::path(executableFolder) / name;
    const fs::path installed = fs::path(executableFolder).parent_path() / "share" / "coldroom" / name;
    std::error_code ec;
    if (!fs::exists(beside, ec) && fs::exists(installed, ec)) return installed.lexically_normal().string();
    return beside.string();
}

}  // namespace coldroom
