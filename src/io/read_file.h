// Reading a small file whole, safely: whatever the name stands for, the program neither
// blocks nor reads without end.
#pragma once

#include <cstddef>
#include <string>

namespace coldroom {

// Reads the regular file at `path` (links followed) into `bytes`. Anything else is refused
// before a byte is read: a folder gives EISDIR, a device, pipe or socket kNotRegularFile
// (file_errors.h), and a pipe put in the file's place after that check still cannot block
// the open. A file larger than `maxBytes` gives EFBIG, however large it claims to be.
// Returns 0 or the errno value of the failure.
int ReadRegularFile(const std::string& path, std::size_t maxBytes, std::string& bytes);

}  // namespace coldroom
