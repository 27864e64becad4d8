#include "ui/study/study_table.h"

#include "core/load_components.h"
#include "core/numtext.h"
#include "io/atomic_file.h"
#include "io/cp1251.h"
#include "reports/csv_report.h"

namespace coldroom {

std::string LoadHeadWithUnit(const std::string& label) { return label + ", Вт"; }

std::vector<std::string> StudyHead(const std::vector<StudyAxis>& axes, bool byCaption, bool units) {
    std::vector<std::string> head;
    for (const StudyAxis& axis : axes) head.push_back(byCaption ? StudyCaption(axis.name) : axis.name);
    for (const LoadComponent& c : LoadComponents()) head.push_back(units ? LoadHeadWithUnit(c.label()) : c.label());
    head.push_back("Примечание");
    return head;
}

std::vector<std::string> StudyRow(const StudyPoint& p) {
    std::vector<std::string> row;
    for (double v : p.values) row.push_back(GeneralText(v));
    for (const LoadComponent& c : LoadComponents()) row.push_back(p.refused ? "" : LoadText(c.value(p.loads)));
    std::string why = p.message;
    for (std::size_t at; (at = why.find("\r\n")) != std::string::npos;) why.replace(at, 2, " ");
    row.push_back(p.refused ? "не принято: " + why : "");
    return row;
}

TextTable StudyTable(const std::vector<StudyAxis>& axes, const std::vector<StudyPoint>& points, bool byCaption, bool units) {
    TextTable table{StudyHead(axes, byCaption, units)};
    for (const StudyPoint& p : points) table.push_back(StudyRow(p));
    return table;
}

TextTable StudyCsvTable(const std::vector<StudyAxis>& axes, const std::vector<StudyPoint>& points) {
    return StudyTable(axes, points, true, true);
}

std::string CsvTableLine(const std::vector<std::string>& row) {
    std::string line;
    for (std::size_t c = 0; c < row.size(); ++c) line += (c ? ";" : "") + CsvFigureCell(row[c]);
    return line;
}

bool WriteTableCsv(const std::string& path, const TextTable& table, std::string& error) {
    std::vector<std::string> lines;
    for (const auto& row : table) lines.push_back(CsvTableLine(row));
    std::string bytes;
    if (!Utf8ToCp1251(JoinCrLf(lines), bytes, error)) return false;
    if (path == kStandardOutput) return WriteToStandardOutput(bytes, error);
    return WriteFileAtomically(path, bytes, error);
}

}  // namespace coldroom
