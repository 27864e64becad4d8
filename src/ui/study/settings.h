// Entries by name into the running program (the command line's --set): the entries of
// model/entries.h on the open project, told and recomputed as the windows tell and recompute
// a person's entries.
#pragma once

#include <vector>

#include "model/entries.h"

namespace coldroom {

class Program;

// Applies the settings in order and stops at the first that is not done.
SetResult ApplySettings(Program& program, const std::vector<Setting>& settings);

}  // namespace coldroom
