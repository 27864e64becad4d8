// Reader for the reference data sources in data/*.csv: UTF-8, comma separated, a field in
// double quotes when it holds a comma, a quote or a line break ("" stands for one quote).
// Strict on purpose: the files are the source of truth, so a stray quote is an error rather
// than something to guess about.
#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace coldroom::csv {

// Columns of the reference tables that hold names or lists of numbers; every other column is
// one number, stored as such and read back in its shortest form.
inline bool IsTextColumn(std::string_view column) {
    for (std::string_view text : {"TaskName", "Reference", "Name", "Temperatures", "Enthalpy", "material", "City",
                                  "Type", "Parameter"})
        if (column == text) return true;
    return false;
}

struct Record {
    int line = 0;  // line on which the record starts, from 1
    std::vector<std::string> fields;
};

// Splits a whole file into records. Line ends may be LF or CR LF; a UTF-8 byte-order mark and
// blank lines at the end are skipped. On a malformed file returns false with `error` naming
// the line.
inline bool Parse(std::string_view text, std::vector<Record>& records, std::string& error) {
    records.clear();
    if (text.substr(0, 3) == "\xEF\xBB\xBF") text.remove_prefix(3);

    int line = 1;
    size_t i = 0;
    const size_t n = text.size();
    auto fail = [&](int at, const std::string& what) {
        error = "line " + std::to_string(at) + ": " + what;
        records.clear();
        return false;
    };
    while (i < n) {
        Record record;
        record.line = line;
        bool endOfRecord = false;
        while (!endOfRecord) {
            std::string field;
            if (i < n && text[i] == '"') {
                const int opened = line;
                ++i;
                for (;;) {
                    if (i >= n) return fail(opened, "quoted field is not closed");
                    char c = text[i++];
                    if (c == '"') {
                        if (i < n && text[i] == '"') {
                            field += '"';
                            ++i;
                            continue;
                        }
                        break;
                    }
                    if (c == '\n') ++line;
                    field += c;
                }
                if (i < n && text[i] != ',' && text[i] != '\n' &&
                    !(text[i] == '\r' && i + 1 < n && text[i + 1] == '\n'))
                    return fail(line, "text after the closing quote of a field");
            } else {
                while (i < n && text[i] != ',' && text[i] != '\n' &&
                       !(text[i] == '\r' && i + 1 < n && text[i + 1] == '\n')) {
                    if (text[i] == '"') return fail(line, "quote inside an unquoted field");
                    field += text[i++];
                }
            }
            record.fields.push_back(std::move(field));
            if (i >= n) {
                endOfRecord = true;
            } else if (text[i] == ',') {
                ++i;
            } else {
                i += text[i] == '\r' ? 2 : 1;
                ++line;
                endOfRecord = true;
            }
        }
        records.push_back(std::move(record));
    }
    // Trailing blank lines.
    while (!records.empty() && records.back().fields.size() == 1 && records.back().fields[0].empty())
        records.pop_back();
    return true;
}

}  // namespace coldroom::csv
