// The shipped product tables as the data folder holds them, for tests that read a row as a
// reviewer would.
#pragma once

#include <gtest/gtest.h>

#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "../../tools/csv_reader.h"
#include "loads/loads.h"

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

// A day's intake of the product of a shipped row, taken from tIn to tEnd over 24 h.
inline ProductLoadInputs ShippedProductInputs(const std::vector<std::string>& row, double tIn, double tEnd, double massKg) {
    ProductLoadInputs in;
    in.tIn = tIn;
    in.tEnd = tEnd;
    in.dailyMassKg = static_cast<float>(massKg);
    in.requestedHours = 24;
    in.normaText = row.at(1);
    in.temperaturesText = row.at(4);
    in.enthalpyText = row.at(5);
    in.productName = row.at(0);
    return in;
}

}  // namespace coldroom::test
