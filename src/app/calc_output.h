// What coldroom-calc prints: the results as an aligned table, or every control as JSON.
#pragma once

#include <iosfwd>
#include <string>
#include <string_view>

#include "core/json_text.h"

namespace coldroom {

class Program;
class HeadlessUi;

// Every text box, caption, list, option and check box of both forms, the wall total, the
// title and every message shown.
void PrintJson(std::ostream& out, Program& program, const HeadlessUi& ui);
// The results as a person reads them: the components, total, cycle, capacity (with the design
// margin of `marginPercent`, none for 0) and times.
void PrintTable(std::ostream& out, Program& program, int marginPercent);

}  // namespace coldroom
