// The page carries the reference tables as the CSV sources; the desktop program reads them from
// Data.dtx. Both must give every calculation the same values.
#include <gtest/gtest.h>

#include <fstream>
#include <sstream>

#include "reference_tables.h"

namespace coldroom {
namespace {

std::string sourceText(const std::string& table) {
    std::ifstream in(std::string(COLDROOM_SOURCE_DATA) + "/" + table + ".csv", std::ios::binary);
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
}

struct Sources {
    std::vector<std::string> texts;
    std::vector<CsvTable> tables;
    Sources() {
        const char* names[] = {"Tasks", "ProdMeat", "Isolation", "Location", "Tara", "Upper", "Others"};
        for (const char* n : names) texts.push_back(sourceText(n));
        for (std::size_t i = 0; i < texts.size(); ++i) tables.emplace_back(names[i], texts[i]);
    }
};

TEST(PageReferenceTables, EqualTheDatabaseValueForValue) {
    Sources sources;
    std::string error;
    const auto page = ReferenceDataFromCsv(sources.tables, error);
    ASSERT_TRUE(page) << error;
    const auto desktop = LoadReferenceData(std::string(COLDROOM_BIN_DIR) + "/Data.dtx", error);
    ASSERT_TRUE(desktop) << error;
    const std::pair<const RefTable*, const RefTable*> tables[] = {
        {&page->Task_array, &desktop->Task_array}, {&page->Prod_array, &desktop->Prod_array},
        {&page->Tara_array, &desktop->Tara_array}, {&page->Loc_array, &desktop->Loc_array},
        {&page->Oth_array, &desktop->Oth_array},   {&page->Upp_array, &desktop->Upp_array},
        {&page->Mat_array, &desktop->Mat_array}};
    for (const auto& [mine, theirs] : tables) {
        EXPECT_EQ(mine->columns, theirs->columns) << theirs->name;
        EXPECT_EQ(mine->rows, theirs->rows) << theirs->name;
    }
}

TEST(PageReferenceTables, RefuseMissingOrMalformedSources) {
    const struct {
        const char* table;
        std::string text;  // replaces the table's source; empty: the table is left out
        const char* error;
    } cases[] = {
        {"Tara", "", "нет таблицы Tara"},
        {"Tara", "Type,Heat\nЯщики,2.5\n", "Tara.csv: столбец 2 должен называться SpecificHeat"},
        {"Tara", "Type,SpecificHeat\nЯщики,много\n", "Tara.csv: строка 2: SpecificHeat не число"},
        {"Tara", "Type,SpecificHeat\nЯщики\n", "Tara.csv: строка 2: неверное число значений"},
    };
    for (const auto& c : cases) {
        Sources sources;
        std::vector<CsvTable> tables;
        for (const CsvTable& t : sources.tables) {
            if (t.first != c.table) tables.push_back(t);
            else if (!c.text.empty()) tables.emplace_back(t.first, c.text);
        }
        std::string error;
        EXPECT_FALSE(ReferenceDataFromCsv(tables, error)) << c.error;
        EXPECT_EQ(error, c.error);
    }
}

}  // namespace
}  // namespace coldroom
