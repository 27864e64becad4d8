// Temporary files the program's own writes leave behind when they are killed half-way (a
// signal, a file-size limit): ".coldroom-XXXXXX" beside a saved file, "Data.dtx.part-XXXXXX"
// beside the user's reference data. They are removed the next time the program writes there.
#pragma once

#include <string>
#include <string_view>

namespace coldroom {

// How old a temporary must be before it counts as left behind: a write still running in
// another copy of the program touches its file far more often than that.
inline constexpr int kStaleTemporarySeconds = 60;

// Whether `name` is `prefix` followed by the six letters or digits mkstemp puts in.
bool IsTemporaryName(std::string_view name, std::string_view prefix);

// Removes from `folder` the regular files named `prefix` + six letters or digits that belong
// to this user and were last changed more than kStaleTemporarySeconds ago. Nothing else is
// touched: not a link, not a folder, not another user's file. Returns how many went.
int RemoveStaleTemporaries(const std::string& folder, std::string_view prefix);

}  // namespace coldroom
