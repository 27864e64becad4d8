// coldroom-calc's entries, studies and summaries: --set NAME=TEXT, --vary NAME=FROM:TO:STEP
// and several projects at once, printed as an aligned table or JSON, or written as CSV.
#pragma once

#include <iosfwd>
#include <string>
#include <vector>

#include "ui/study/settings.h"

namespace coldroom {

class Program;
struct LoadBreakdown;
class HeadlessUi;

inline constexpr int kExitRefused = 6;

// Starts the program as a person does (the task dialog confirmed as it stands), opens
// `project` (none: the start-up project) and applies `settings`. Returns 0 or the exit code
// (2 unknown name, 3 unreadable project, 4 database, 6 a value the field does not take: its
// check refused it, or it is no position of the list or no 0 or 1 of a check box), having
// told why on stderr.
int StartAndOpen(Program& program, HeadlessUi& ui, const std::string& project, const std::vector<Setting>& settings);

struct StudyRequest {
    std::string database;
    std::vector<std::string> projects;  // several: a summary; one or none: the project a study starts from
    std::vector<Setting> settings;      // applied after each project is opened
    std::vector<std::string> axes;      // NAME=FROM:TO:STEP
    std::string csv;                    // write the table here
    bool json = false;                  // print JSON instead of the table
};

// Every load component of `b` as a JSON object by the components' keys (undefined: null).
std::string JsonLoads(const LoadBreakdown& b);

// Runs a study (axes given) or a summary of several projects and prints it. Returns the
// exit code.
int RunStudyRequest(const StudyRequest& request, std::ostream& out);

}  // namespace coldroom
