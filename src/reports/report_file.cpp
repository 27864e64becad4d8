#include "reports/report_file.h"

#include "io/atomic_file.h"
#include "io/cp1251.h"

namespace coldroom {
namespace {

// The input value that holds `character`, so the message can point the user at it.
std::string valueHolding(const ReportInput& input, const std::string& character) {
    if (character.empty()) return {};
    if (input.projectTitle.find(character) != std::string::npos) return input.projectTitle;
    if (input.author.find(character) != std::string::npos) return input.author;
    if (input.dateText.find(character) != std::string::npos) return input.dateText;
    for (const auto& [name, value] : input.text)
        if (value.find(character) != std::string::npos) return value;
    return {};
}

}  // namespace

bool WriteReportLines(const std::string& path, const std::vector<std::string>& lines,
                      const ReportInput& input, std::string& error) {
    std::string bytes;
    std::string why;
    if (!Utf8ToCp1251(JoinCrLf(lines), bytes, why)) {
        const std::string value = valueHolding(input, FirstUnencodableCharacter(JoinCrLf(lines)));
        error = FileWriteError(path, why);
        if (!value.empty()) error += " (значение «" + PrintableText(value) + "»)";
        return false;
    }
    if (path == kStandardOutput) return WriteToStandardOutput(bytes, error);
    return WriteFileAtomically(path, bytes, error);
}

}  // namespace coldroom
