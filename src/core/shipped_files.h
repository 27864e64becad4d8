// Where the files shipped with the program (the reference database, the help page) are: beside
// the executable in the build tree, in ../share/coldroom relative to it once installed. Both are
// found relative to the executable, so a moved installation keeps working.
#pragma once

#include <string>

namespace coldroom {

// The folder of the running executable; "" when it cannot be told.
std::string ExecutableFolder();

// `name` beside the program when it is there, else in ../share/coldroom when it is there, else
// the path beside the program (the one a "not found" message then names). Without a program
// folder, `name` itself: the working folder is the best guess left.
std::string ShippedFilePath(const std::string& name);
std::string ShippedFilePath(const std::string& executableFolder, const std::string& name);

}  // namespace coldroom
