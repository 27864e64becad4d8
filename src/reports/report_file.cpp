#include "reports/report_file.h"

#include "io/atomic_file.h"
#include "io/cp1251.h"

namespace coldroom {
namespace {

// The input value that holds `character`, so the message can point the user at it.
std::string valueHolding(const std::vector<std::string>& values, const std::string& character) {
    if (character.empty()) return {};
    for (const std::string& value : values)
        if (value.find(character) != std::string::npos) return value;
    return {};
}

}  // namespace

bool WriteReportLines(const std::string& path, const std::vector<std::string>& lines,
                      const std::vector<std::string>& values, std::string& error) {
    std::string bytes;
    std::string why;
    if (!Utf8ToCp1251(JoinCrLf(lines), bytes, why)) {
        const std::string value = valueHolding(values, FirstUnencodableCharacter(JoinCrLf(lines)));
        error = FileWriteError(path, why);
        if (!value.empty()) error += " (значение «" + PrintableText(value) + "»)";
        return false;
    }
    if (path == kStandardOutput) return WriteToStandardOutput(bytes, error);
    return WriteFileAtomically(path, bytes, error);
}

}  // namespace coldroom
