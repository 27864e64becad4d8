// Texts as JSON string literals, for every JSON the program writes (the command line's and the
// browser page's).
#pragma once

#include <string>
#include <string_view>

namespace coldroom {

// A JSON string literal; a byte that is not well-formed UTF-8 becomes U+FFFD, so that the
// output always parses.
std::string JsonString(std::string_view s);

}  // namespace coldroom
