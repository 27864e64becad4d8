// Where the reference database lives. The Data.dtx shipped beside the program may be
// write-protected (an installed package), so the editor changes a copy in the user's data
// folder; once that copy exists the program reads it instead of the shipped file.
#pragma once

#include <string>

namespace coldroom {

// $XDG_DATA_HOME/coldroom, or ~/.local/share/coldroom; "" when neither variable tells.
std::string UserDataFolder();
// Data.dtx in that folder; "" when the folder is unknown.
std::string UserDatabasePath();

// The file the program reads: the user's copy when it exists, else `shipped`.
std::string EffectiveDatabasePath(const std::string& shipped);
std::string EffectiveDatabasePath(const std::string& shipped, const std::string& userCopy);

// The file to change. Copies `shipped` to `userCopy` (creating its folder) unless the copy
// exists already; the copy is always writable by its owner. Returns "" and sets a Russian
// `error` when the copy cannot be made; a half-made copy never stays behind.
std::string EnsureWritableCopy(const std::string& shipped, std::string& error);
std::string EnsureWritableCopy(const std::string& shipped, const std::string& userCopy,
                               std::string& error);

// Drops the user's copy, so the program reads the shipped data again from its next start.
// A missing copy is no failure.
bool RestoreShippedDatabase(std::string& error);
bool RestoreShippedDatabase(const std::string& userCopy, std::string& error);

}  // namespace coldroom
