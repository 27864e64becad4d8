#include "ui/study/study_table.h"

#include "core/load_components.h"
#include "core/numtext.h"
#include "io/atomic_file.h"
#include "io/cp1251.h"
#include "reports/csv_report.h"

namespace coldroom {

std::string LoadHeadWithUnit(const std::string& label) { return label + ", Вт"; }

TextTable StudyTable(const std::vector<StudyAxis>& axes, const std::vector<StudyPoint>& points, bool byCaption, bool units) {
    TextTable table(1);
    for (const StudyAxis& axis : axes) table[0].push_back(byCaption ? StudyCaption(axis.name) : axis.name);
    for (const LoadComponent& c : LoadComponents()) table[0].push_back(units ? LoadHeadWithUnit(c.label()) : c.label());
    table[0].push_back("Примечание");
    for (const StudyPoint& p : points) {
        auto& row = table.emplace_back();
        for (double v : p.values) row.push_back(GeneralText(v));
        for (const LoadComponent& c : LoadComponents()) row.push_back(p.refused ? "" : LoadText(c.value(p.loads)));
        std::string why = p.message;
        for (std::size_t at; (at = why.find("\r\n")) != std::string::npos;) why.replace(at, 2, " ");
        row.push_back(p.refused ? "не принято: " + why : "");
    }
    return table;
}

TextTable StudyCsvTable(const std::vector<StudyAxis>& axes, const std::vector<StudyPoint>& points) {
    return StudyTable(axes, points, true, true);
}

bool WriteTableCsv(const std::string& path, const TextTable& table, std::string& error) {
    std::vector<std::string> lines;
    for (const auto& row : table) {
        std::string line;
        for (std::size_t c = 0; c < row.size(); ++c) line += (c ? ";" : "") + CsvFigureCell(row[c]);
        lines.push_back(std::move(line));
    }
    std::string bytes;
    if (!Utf8ToCp1251(JoinCrLf(lines), bytes, error)) return false;
    if (path == kStandardOutput) return WriteToStandardOutput(bytes, error);
    return WriteFileAtomically(path, bytes, error);
}

}  // namespace coldroom
