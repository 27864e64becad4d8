// Writing a report's lines to disk: Windows-1251, CR LF, atomically.
#pragma once

#include <string>
#include <vector>

namespace coldroom {

// Encodes the lines (UTF-8) as Windows-1251 with CR LF and replaces the file at `path`.
// A character the code page cannot hold is refused with a message that quotes the one of
// `values` (the inputs the lines show) holding it; nothing is written then. Returns false
// with a Russian `error`. The path "-" writes to standard output.
bool WriteReportLines(const std::string& path, const std::vector<std::string>& lines,
                      const std::vector<std::string>& values, std::string& error);

}  // namespace coldroom
