#include "app/calc_pdf.h"

#include <dlfcn.h>

#include <filesystem>
#include <system_error>

namespace coldroom {
namespace {

// The module's entry point `name`, or null with why not.
void* moduleEntry(const char* name, std::string& why) {
    std::error_code ec;
    const std::filesystem::path self = std::filesystem::read_symlink("/proc/self/exe", ec);
    const std::filesystem::path folder = ec ? std::filesystem::path(".") : self.parent_path();
    why = "не найден";
    for (const auto& candidate : {folder / kPdfModuleFile, folder / ".." / "libexec" / "coldroom" / kPdfModuleFile}) {
        if (!std::filesystem::exists(candidate, ec)) continue;
        // Kept loaded to the end of the run: Qt's objects may outlive the call.
        void* module = dlopen(candidate.c_str(), RTLD_NOW | RTLD_LOCAL);
        if (!module) {
            why = dlerror();
            continue;
        }
        if (void* entry = dlsym(module, name)) return entry;
        why = "нет точки входа";
    }
    return nullptr;
}

std::string moduleError(const std::string& why) { return std::string("Модуль отчета PDF ") + kPdfModuleFile + ": " + why; }

// Calls the entry point `name` of the module, or says why it cannot.
template <class Entry, class Content>
bool callEntry(const char* name, const std::string& path, const Content& content, std::string& error) {
    std::string why;
    if (auto entry = reinterpret_cast<Entry>(moduleEntry(name, why))) return entry(path, content, error);
    error = moduleError(why);
    return false;
}

}  // namespace

bool WritePdfOnDemand(const std::string& path, const ReportModel& model, std::string& error) {
    return callEntry<WritePdfEntry>(kPdfModuleEntry, path, model, error);
}

bool WriteNotePdfOnDemand(const std::string& path, const CalculationNote& note, std::string& error) {
    return callEntry<WriteNotePdfEntry>(kNotePdfModuleEntry, path, note, error);
}

bool WriteStorePdfOnDemand(const std::string& path, const StoreSheet& sheet, std::string& error) {
    return callEntry<WriteStorePdfEntry>(kStorePdfModuleEntry, path, sheet, error);
}

}  // namespace coldroom
