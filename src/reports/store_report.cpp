#include "reports/store_report.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <optional>

#include "core/load_breakdown.h"
#include "core/load_components.h"
#include "core/numtext.h"
#include "files/store_file.h"
#include "model/plant_cycle.h"
#include "io/atomic_file.h"
#include "io/cp1251.h"
#include "reports/csv_report.h"
#include "reports/energy_report.h"
#include "reports/html_report.h"

namespace coldroom {
namespace {

const char* kStoreTotal = "Холодильник в целом (сумма разных машин)";

std::string levelText(const Store& store, const RoomPlace& place) {
    if (!place.level) return kUndefinedText;
    std::string text = store.plant.levels[static_cast<size_t>(*place.level)].name;
    if (place.chosen) text += " (задан)";
    return text;
}

// Why a room's level does not suit it.
std::string placeNote(const Store& store, const RoomPlace& place) {
    if (!place.tooWarm) return {};
    const PlantLevel& level = store.plant.levels[static_cast<size_t>(*place.level)];
    return "уровень «" + level.name + "» кипит при " + GeneralText(level.evaporating) + " °C, а камере нужно " +
           GeneralText(*place.wanted) + " °C или ниже";
}

LoadValue withMargin(const LoadValue& watts, double percent) {
    return watts.defined ? LoadValue::of(watts.watts * (1 + percent / 100)) : watts;
}

// Kilowatts as the sheet shows them, in hundredths (tens of watts rounded half away from zero,
// so 8725 W reads 8.73 kW as by hand); nothing for a figure that is not shown.
std::optional<long long> kilowattCents(const LoadValue& watts) {
    if (!watts.defined || !std::isfinite(watts.watts) || std::abs(watts.watts) > 1e15) return std::nullopt;
    return std::llround(watts.watts / 10);
}

std::string centsText(const std::optional<long long>& cents) {
    if (!cents) return kUndefinedText;
    const long long whole = std::llabs(*cents) / 100, rest = std::llabs(*cents) % 100;
    return std::string(*cents < 0 ? "-" : "") + std::to_string(whole) + (rest < 10 ? ".0" : ".") + std::to_string(rest);
}

// A room's figure in whole watts, as the main window's results and chart show it: the fans'
// heat over the work cycle is the one component with a fraction.
std::string wholeWattsText(const LoadValue& watts) {
    return LoadText(watts.defined && std::isfinite(watts.watts) ? LoadValue::of(IntFloor(watts.watts)) : watts);
}

std::size_t displayWidth(std::string_view s) {
    return static_cast<std::size_t>(
        std::count_if(s.begin(), s.end(), [](char c) { return (static_cast<unsigned char>(c) & 0xC0) != 0x80; }));
}

// A table as aligned text: numbers set right, texts left; the last column runs on freely.
void alignedTable(const std::vector<StoreColumn>& columns, const std::vector<std::vector<std::string>>& rows,
                  std::vector<std::string>& out) {
    std::vector<std::size_t> width(columns.size());
    for (std::size_t c = 0; c < columns.size(); ++c) {
        width[c] = displayWidth(columns[c].head);
        for (const auto& row : rows) width[c] = std::max(width[c], displayWidth(row[c]));
    }
    auto line = [&](auto cellOf) {
        std::string text;
        for (std::size_t c = 0; c < columns.size(); ++c) {
            const std::string& cell = cellOf(c);
            const std::string pad(c + 1 < columns.size() ? width[c] - displayWidth(cell) : 0, ' ');
            text += (c ? "  " : "") + (columns[c].number ? pad + cell : cell + pad);
        }
        while (!text.empty() && text.back() == ' ') text.pop_back();
        out.push_back(text);
    };
    line([&](std::size_t c) -> const std::string& { return columns[c].head; });
    for (const auto& row : rows) line([&](std::size_t c) -> const std::string& { return row[c]; });
}

std::string csvRow(const std::vector<std::string>& cells) {
    std::string line;
    for (std::size_t c = 0; c < cells.size(); ++c) line += (c ? ";" : "") + CsvCell(cells[c]);
    return line;
}

// A head with its unit, as the CSV has it: the cells below are bare figures.
std::string csvHead(const StoreColumn& c) { return c.unit.empty() ? c.head : c.head + ", " + c.unit; }

void csvTable(const std::vector<StoreColumn>& columns, const std::vector<std::vector<std::string>>& rows,
              std::vector<std::string>& out) {
    std::string head;
    for (std::size_t c = 0; c < columns.size(); ++c) head += (c ? ";" : "") + CsvCell(csvHead(columns[c]));
    out.push_back(head);
    for (const auto& row : rows) {
        std::string line;
        for (std::size_t c = 0; c < columns.size(); ++c)
            line += (c ? ";" : "") + (columns[c].number ? CsvFigureCell(row[c]) : CsvCell(row[c]));
        out.push_back(line);
    }
}

void htmlTable(const std::vector<StoreColumn>& columns, const std::vector<std::vector<std::string>>& rows,
               const char* kind, std::vector<std::string>& out) {
    out.push_back(std::string("<table class=\"") + kind + "\">");
    std::string head = "<tr>";
    for (const StoreColumn& c : columns) head += "<th>" + HtmlEscape(c.head) + "</th>";
    out.push_back(head + "</tr>");
    for (std::size_t r = 0; r < rows.size(); ++r) {
        std::string line = "<tr>";
        for (std::size_t c = 0; c < columns.size(); ++c)
            line += std::string(columns[c].number ? "<td class=\"n\">" : "<td>") + HtmlEscape(rows[r][c]) + "</td>";
        out.push_back(line + "</tr>");
    }
    out.push_back("</table>");
}

// Windows-1251 has neither ³ nor ₽ nor the Greek and mathematical letters of the plant's
// formulas: the CSV spells them out.
std::string cp1251Spelling(std::string text) {
    static const std::pair<std::string_view, std::string_view> swaps[] = {
        {"м³", "м3"}, {"₽", "руб."}, {"Δ", "d"}, {"δ", "толщина"}, {"Σ", "сумма "}, {"≤", "<="}, {"≥", ">="},
        {"×", "x"},   {"−", "-"},    {"η", "eta"}, {"τ", "t"}};
    for (const auto& [from, to] : swaps)
        for (size_t at = text.find(from); at != std::string::npos; at = text.find(from, at + to.size()))
            text.replace(at, from.size(), to);
    return text;
}

bool writeBytes(const std::string& path, const std::string& bytes, std::string& error) {
    if (path == kStandardOutput) return WriteToStandardOutput(bytes, error);
    return WriteFileAtomically(path, bytes, error);
}

}  // namespace

std::string RepeatedFileNote(const std::string& file, int times) {
    const bool few = times % 10 >= 2 && times % 10 <= 4 && times % 100 / 10 != 1;
    return "файл «" + file + "» указан в холодильнике " + std::to_string(times) + (few ? " раза" : " раз") +
           " и считается столько же раз; одинаковые камеры задают одной строкой с количеством";
}

std::string KilowattText(const LoadValue& watts) { return centsText(kilowattCents(watts)); }

std::vector<std::string> LevelRuleSentences(const Store& store) {
    const PlantSettings& plant = store.plant;
    std::string levels;
    for (const PlantLevel& l : plant.levels)
        levels += (levels.empty() ? "" : "; ") + l.name + " — t0 = " + GeneralText(l.evaporating) + " °C, доля " +
                  GeneralText(l.share) + " %";
    const std::string k = plant.pipework > 0
                              ? "задан " + GeneralText(plant.pipework)
                              : std::string("1.04 при t0 = -10 °C и выше … 1.07 при -40 °C и ниже (непосредственное охлаждение)");
    return {
        "Уровни — отдельные холодильные машины: " + levels + ". Камера относится к самому тёплому уровню, у которого "
        "t0 ≤ tкам − Δt (Δt по умолчанию " + GeneralText(kDefaultCoilDifference) + " K — верхняя граница 7–10 K: Явнель Б. К. "
        "«Курсовое и дипломное проектирование холодильных установок и систем кондиционирования воздуха», 1989); "
        "если такого нет — к самому холодному, с предупреждением. Уровни по умолчанию: компрессоры группируют по "
        "температуре кипения около −10…−15, −30…−35 и −40…−50 °C (там же).",
        "Нагрузка на компрессоры уровня Q0 = k · ΣQкм, для камеры Qкм = (Qсум − (1 − d/100) · Qэкспл) · 100 / b: "
        "теплопритоки через ограждения, от продуктов и упаковки — полностью, эксплуатационные — с долей d уровня "
        "(50–75 %, Явнель, 1989; страница не проверена); k — потери в трубопроводах и аппаратах, " + k +
        " (Явнель, 1989; Курылев Е. С. и др. «Холодильные установки»).",
        "«Холодильник в целом» складывает нагрузки разных машин (уровней): это не нагрузка одного компрессора."};
}

StoreSheet MakeStoreSheet(const Store& store, const std::vector<StoreRoomData>& rooms, const StoreLoads& loads,
                          const StoreSheetOptions& options) {
    StoreSheet s;
    s.title = store.title;
    s.dateText = options.dateText;
    // The CSV is Windows-1251, which has no "³".
    s.roomColumns = {{"Камера"},         {"Файл"},    {kRoomCountHead, true}, {"Объем, м3", true},
                     {"Температура, °C", true}, {"Уровень"}, {"Δt, K", true}};
    for (const LoadComponent& c : LoadComponents())
        s.roomColumns.push_back({c.label(), true, c.role == LoadRole::Surface, c.pageWidth, c.pageHead, "Вт"});
    s.roomColumns.push_back({"На компрессоры", true, false, 0, nullptr, "Вт"});
    s.roomColumns.push_back({"Примечание"});

    const std::string folder = options.storePath.empty() ? std::string() : FolderOf(options.storePath);
    for (std::size_t i = 0; i < store.rooms.size(); ++i) {
        const StoreRoom& room = store.rooms[i];
        const StoreRoomData* data = i < rooms.size() ? &rooms[i] : nullptr;
        const StoreRowLoads* row = i < loads.rows.size() ? &loads.rows[i] : nullptr;
        auto& cells = s.rooms.emplace_back();
        const bool read = data && data->read;
        cells.push_back(read ? data->project.ProjectTitle : "");
        cells.push_back(RelativePath(room.path, folder));
        cells.push_back(std::to_string(room.count));
        cells.push_back(read ? data->project.Volume_txt : "");
        cells.push_back(read ? data->project.TempIn_txt : "");
        cells.push_back(row ? levelText(store, row->place) : kUndefinedText);
        cells.push_back(row && row->place.wanted ? GeneralText(row->place.coil) : "");
        for (const LoadComponent& c : LoadComponents())
            cells.push_back(read ? wholeWattsText(c.value(data->result.loads)) : "");
        cells.push_back(read && row ? LoadText(row->compressor) : "");
        std::string note = !data ? "файл не прочитан" : !read ? data->problem : data->result.loads.problem;
        if (note.empty() && row && !row->compressor.defined) note = row->compressor.problem;
        if (note.empty() && row) note = placeNote(store, row->place);
        for (std::size_t at; (at = note.find("\r\n")) != std::string::npos;) note.replace(at, 2, " ");
        cells.push_back(note);
    }

    const double m = options.marginPercent;
    const std::string margin = "с запасом " + GeneralText(m) + " %, кВт";
    // Widths on the printed page, mm: the levels' table fits across it with both margins.
    auto column = [](std::string head, bool number, double mm, const char* pageHead = nullptr) {
        StoreColumn c{std::move(head), number};
        c.pageWidth = mm;
        c.pageHead = pageHead;
        return c;
    };
    s.levelColumns = {column("Уровень", false, 50), column("t0, °C", true, 12), column("Камер", true, 12),
                      column("Доля эксплуатационных, %", true, 22, "Доля экспл., %"), column("k", true, 12),
                      column("Холодопроизводительность камер, Вт", true, 32, "Холодопроизв. камер, Вт"),
                      column("кВт", true, 14)};
    if (m > 0) s.levelColumns.push_back(column(margin, true, 24));
    s.levelColumns.push_back(column("ΣQкм, Вт", true, 20));
    s.levelColumns.push_back(column("Нагрузка на компрессоры Q0 = k · ΣQкм, Вт", true, 36));
    s.levelColumns.push_back(column("кВт", true, 14));
    if (m > 0) s.levelColumns.push_back(column(margin, true, 24));
    // The store's kilowatts are the levels' as shown added up, so the column adds up as read;
    // its watts are the exact sum.
    enum { kCapacity, kCapacityMargin, kCompressor, kCompressorMargin, kKilowattColumns };
    std::array<std::optional<long long>, kKilowattColumns> storeCents{0, 0, 0, 0};
    auto levelRow = [&](const LevelLoads& sum, std::vector<std::string> cells, bool store) {
        const std::array<LoadValue, kKilowattColumns> figures{sum.capacity, withMargin(sum.capacity, m), sum.compressor,
                                                              withMargin(sum.compressor, m)};
        std::array<std::string, kKilowattColumns> kilowatts;
        for (int k = 0; k < kKilowattColumns; ++k) {
            const std::optional<long long> cents = kilowattCents(figures[k]);
            if (!store && storeCents[k]) storeCents[k] = cents ? std::optional(*storeCents[k] + *cents) : std::nullopt;
            kilowatts[k] = centsText(store && storeCents[k] && cents ? storeCents[k] : cents);
        }
        cells.push_back(LoadText(sum.capacity));
        cells.push_back(kilowatts[kCapacity]);
        if (m > 0) cells.push_back(kilowatts[kCapacityMargin]);
        cells.push_back(LoadText(sum.parts));
        cells.push_back(LoadText(sum.compressor));
        cells.push_back(kilowatts[kCompressor]);
        if (m > 0) cells.push_back(kilowatts[kCompressorMargin]);
        s.levels.push_back(std::move(cells));
    };
    // Why a level's figures are missing, once for the levels it holds for: "СТ, НТ: …".
    std::vector<std::pair<std::string, std::string>> missing;  // reason, levels
    for (std::size_t l = 0; l < loads.levels.size() && l < store.plant.levels.size(); ++l) {
        const LevelLoads& sum = loads.levels[l];
        const PlantLevel& level = store.plant.levels[l];
        levelRow(sum, {level.name, GeneralText(level.evaporating), std::to_string(sum.rooms), GeneralText(level.share),
                       FixedText(sum.pipework, 3)}, false);
        if (sum.rooms == 0) continue;
        for (const LoadValue* v : {&sum.capacity, &sum.compressor}) {
            if (v->defined) continue;
            auto it = std::find_if(missing.begin(), missing.end(), [&](const auto& m) { return m.first == v->problem; });
            if (it == missing.end())
                missing.emplace_back(v->problem, level.name);
            else if (it->second.find(level.name) == std::string::npos)
                it->second += ", " + level.name;
        }
    }
    for (const auto& [reason, levels] : missing) s.notes.push_back(levels + ": " + reason);
    for (const auto& [file, times] : RepeatedRoomFiles(store))
        s.notes.push_back(RepeatedFileNote(RelativePath(file, folder), times));
    levelRow(loads.total, {kStoreTotal, "", std::to_string(loads.total.rooms), "", ""}, true);

    s.settings = LevelRuleSentences(store);
    if (m > 0)
        s.settings.push_back("Запас " + GeneralText(m) + " % к холодопроизводительности камер и нагрузке на компрессоры.");
    return s;
}

std::vector<std::string> StoreTextLines(const StoreSheet& sheet) {
    std::vector<std::string> out{"Холодильник: " + sheet.title, "Теплопритоки камер, Вт:"};
    alignedTable(sheet.roomColumns, sheet.rooms, out);
    out.push_back("");
    out.push_back("Уровни (холодильные машины):");
    alignedTable(sheet.levelColumns, sheet.levels, out);
    out.push_back("");
    out.insert(out.end(), sheet.settings.begin(), sheet.settings.end());
    for (const std::string& note : sheet.notes) out.push_back("Внимание: " + note);
    for (const SheetPart& part : sheet.parts) {
        out.push_back("");
        out.push_back(part.caption + (part.columns.empty() ? "" : ":"));
        if (!part.columns.empty()) alignedTable(part.columns, part.rows, out);
        out.insert(out.end(), part.lines.begin(), part.lines.end());
    }
    return out;
}

std::vector<std::string> StoreCsvLines(const StoreSheet& sheet) {
    std::vector<std::string> out{csvRow({"Холодильник", sheet.title, "", "", "Дата:  " + sheet.dateText}), "",
                                 csvRow({"КАМЕРЫ, теплопритоки в Вт"})};
    csvTable(sheet.roomColumns, sheet.rooms, out);
    out.push_back("");
    out.push_back(csvRow({"УРОВНИ (ХОЛОДИЛЬНЫЕ МАШИНЫ)"}));
    csvTable(sheet.levelColumns, sheet.levels, out);
    out.push_back("");
    for (const std::string& line : sheet.settings) out.push_back(csvRow({line}));
    for (const std::string& note : sheet.notes) out.push_back(csvRow({"Внимание: " + note}));
    for (const SheetPart& part : sheet.parts) {
        out.push_back("");
        out.push_back(csvRow({part.caption}));
        if (!part.columns.empty()) csvTable(part.columns, part.rows, out);
        for (const std::string& line : part.lines) out.push_back(csvRow({line}));
    }
    return out;
}

std::vector<std::string> StoreHtmlLines(const StoreSheet& sheet) {
    const std::string title = HtmlEscape(sheet.title);
    std::vector<std::string> out{
        "<!DOCTYPE html>",
        "<html lang=\"ru\"><head><meta charset=\"utf-8\"><title>" + title + "</title>",
        "<style>body{font-family:sans-serif;margin:1.5em}table{border-collapse:collapse;margin:.5em 0 1.5em}"
        "th,td{border:1px solid #999;padding:2px 6px}th{background:#e6e6ff}td.n{text-align:right}"
        "table.levels tr:last-child td,table.total tr:last-child td{font-weight:bold}</style>",
        "</head><body>",
        "<h1>Холодильник: " + title + "</h1>",
        "<p>Дата: " + HtmlEscape(sheet.dateText) + "</p>",
        "<h2>Камеры, теплопритоки в Вт</h2>"};
    htmlTable(sheet.roomColumns, sheet.rooms, "rooms", out);
    out.push_back("<h2>Уровни (холодильные машины)</h2>");
    htmlTable(sheet.levelColumns, sheet.levels, "levels", out);
    out.push_back("<h2>Принятые правила</h2>");
    for (const std::string& line : sheet.settings) out.push_back("<p>" + HtmlEscape(line) + "</p>");
    for (const std::string& note : sheet.notes) out.push_back("<p><b>Внимание:</b> " + HtmlEscape(note) + "</p>");
    for (const SheetPart& part : sheet.parts) {
        out.push_back("<h2>" + HtmlEscape(part.caption) + "</h2>");
        if (!part.columns.empty()) htmlTable(part.columns, part.rows, part.boldLast ? "total" : "part", out);
        for (const std::string& line : part.lines) out.push_back("<p>" + HtmlEscape(line) + "</p>");
    }
    out.push_back("</body></html>");
    return out;
}

bool WriteStoreCsv(const std::string& path, const StoreSheet& sheet, std::string& error) {
    std::string bytes, why;
    if (!Utf8ToCp1251(cp1251Spelling(JoinCrLf(StoreCsvLines(sheet))), bytes, why)) {
        error = FileWriteError(path, why);
        return false;
    }
    return writeBytes(path, bytes, error);
}

bool WriteStoreHtml(const std::string& path, const StoreSheet& sheet, std::string& error) {
    return writeBytes(path, JoinCrLf(StoreHtmlLines(sheet)), error);
}

std::vector<std::string> AlignedTableLines(const std::vector<StoreColumn>& columns,
                                           const std::vector<std::vector<std::string>>& rows) {
    std::vector<std::string> out;
    alignedTable(columns, rows, out);
    return out;
}

std::vector<std::string> HtmlTableLines(const std::vector<StoreColumn>& columns,
                                        const std::vector<std::vector<std::string>>& rows, const char* kind) {
    std::vector<std::string> out;
    htmlTable(columns, rows, kind, out);
    return out;
}

std::string CsvRowText(const std::vector<std::string>& cells) { return csvRow(cells); }

std::vector<std::string> CsvTableLines(const std::vector<StoreColumn>& columns,
                                       const std::vector<std::vector<std::string>>& rows) {
    std::vector<std::string> out;
    csvTable(columns, rows, out);
    return out;
}

bool WriteReportBytes(const std::string& path, const std::string& bytes, std::string& error) {
    return writeBytes(path, bytes, error);
}

}  // namespace coldroom
