#include "app/calc_pdf.h"

#include <dlfcn.h>

#include <filesystem>
#include <system_error>

namespace coldroom {
namespace {

// The module's entry point `name`, or null with the reason in `error`.
void* pdfEntry(const char* name, std::string& error) {
    std::error_code ec;
    const std::filesystem::path self = std::filesystem::read_symlink("/proc/self/exe", ec);
    const std::filesystem::path folder = ec ? std::filesystem::path(".") : self.parent_path();
    std::string why = "не найден";
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
    error = std::string("Модуль отчета PDF ") + kPdfModuleFile + ": " + why;
    return nullptr;
}

}  // namespace

bool WritePdfOnDemand(const std::string& path, const ReportModel& model, std::string& error) {
    auto entry = reinterpret_cast<WritePdfEntry>(pdfEntry(kPdfModuleEntry, error));
    return entry && entry(path, model, error);
}

bool WriteNotePdfOnDemand(const std::string& path, const CalculationNote& note, std::string& error) {
    auto entry = reinterpret_cast<WriteNotePdfEntry>(pdfEntry(kNotePdfModuleEntry, error));
    return entry && entry(path, note, error);
}

}  // namespace coldroom
