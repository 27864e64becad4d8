// The shipped product tables as the data folder holds them, for tests that read a row as a
// reviewer would.
#pragma once

#include <gtest/gtest.h>

#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "../../tools/csv_reader.h"

namespace coldroom::test {

inline std::vector<csv::Record> ShippedProducts() {
    std::ifstream in(std::string(COLDROOM_SOURCE_DATA) + "/ProdMeat.csv", std::ios::binary);
    std::stringstream text;
    text << in.rdbuf();
    std::vector<csv::Record> records;
    std::string error;
    EXPECT_TRUE(csv::Parse(text.str(), records, error)) << error;
    return records;
}

}  // namespace coldroom::test
