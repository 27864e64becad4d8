// Lines joined with line feeds, for looking for a text anywhere in an output.
#pragma once

#include <string>
#include <vector>

namespace coldroom::test {

inline std::string Joined(const std::vector<std::string>& lines) {
    std::string all;
    for (const std::string& l : lines) all += l + "\n";
    return all;
}

}  // namespace coldroom::test
