#include "../../tools/csv_reader.h"

#include <gtest/gtest.h>

namespace coldroom::csv {
namespace {

using Fields = std::vector<std::vector<std::string>>;

TEST(CsvReader, SplitsRecordsAndFields) {
    struct Case { const char* what; std::string text; Fields fields; std::vector<int> lines; } cases[] = {
        {"plain", "a,b\n1,2\n", {{"a", "b"}, {"1", "2"}}, {1, 2}},
        {"no final line end", "a,b\n1,2", {{"a", "b"}, {"1", "2"}}, {1, 2}},
        {"CR LF", "a,b\r\n1,2\r\n", {{"a", "b"}, {"1", "2"}}, {1, 2}},
        {"byte-order mark", "\xEF\xBB\xBFName,X\n", {{"Name", "X"}}, {1}},
        {"quoted comma", "\"1,2,3\",x\n", {{"1,2,3", "x"}}, {1}},
        {"doubled quote", "\"Сыр \"\"Российский\"\"\",1\n", {{"Сыр \"Российский\"", "1"}}, {1}},
        {"line break in quotes", "\"a\nb\",1\nc,2\n", {{"a\nb", "1"}, {"c", "2"}}, {1, 3}},
        {"empty fields", ",\n\"\",x\n", {{"", ""}, {"", "x"}}, {1, 2}},
        {"trailing blank lines", "a,b\n\n\r\n", {{"a", "b"}}, {1}},
        {"blank line inside is a record", "a,b\n\nc,d\n", {{"a", "b"}, {""}, {"c", "d"}}, {1, 2, 3}},
        {"lone CR stays in the field", "a\rb,c\n", {{"a\rb", "c"}}, {1}},
    };
    for (const auto& c : cases) {
        std::vector<Record> records;
        std::string error;
        ASSERT_TRUE(Parse(c.text, records, error)) << c.what << ": " << error;
        Fields fields;
        std::vector<int> lines;
        for (const auto& r : records) {
            fields.push_back(r.fields);
            lines.push_back(r.line);
        }
        EXPECT_EQ(fields, c.fields) << c.what;
        EXPECT_EQ(lines, c.lines) << c.what;
    }
}

TEST(CsvReader, RefusesMalformedQuotes) {
    struct Case { std::string text; const char* error; } cases[] = {
        {"a,b\n\"open,1\n2,3\n", "line 2: quoted field is not closed"},
        {"a,b\n\"x\"y,1\n", "line 2: text after the closing quote of a field"},
        {"a,b\nx\"y,1\n", "line 2: quote inside an unquoted field"},
        {"\"a\nb\",1\n\"c\"d\n", "line 3: text after the closing quote of a field"},
    };
    for (const auto& c : cases) {
        std::vector<Record> records;
        std::string error;
        EXPECT_FALSE(Parse(c.text, records, error)) << c.text;
        EXPECT_EQ(error, c.error) << c.text;
        EXPECT_TRUE(records.empty());
    }
}

}  // namespace
}  // namespace coldroom::csv
