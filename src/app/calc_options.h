// coldroom-calc's arguments: the options read from the command line, checked for their form
// alone (whether a name or value is taken is the program's to say once it runs).
#pragma once

#include <string>
#include <vector>

#include "core/design_margin.h"
#include "model/entries.h"

namespace coldroom {

struct CalcOptions {
    std::string database;
    std::string project;
    std::string saveTo;
    std::string html, csv, pdf, note;  // reports to write
    std::string store;                 // a cold store file instead of projects
    int margin = -1;  // -1: the person's setting of the desktop program, else the default
    std::string author, title;  // --author, --title: the reports' and the note's heading
    bool json = false;
    bool energy = false;  // --energy, with --store
    std::string insulation, insulationRoom;  // the thickness study, with --energy
    bool help = false;
    bool version = false;
    bool restore = false;  // --restore-reference-data
    std::vector<Setting> settings;   // --set, in order
    std::vector<std::string> axes;   // --vary
    std::vector<std::string> moreProjects;
};

// Reads argv[1..argc-1]. False with a Russian `error` (for exit code 2).
bool ParseCalcArguments(int argc, const char* const* argv, CalcOptions& options, std::string& error);

}  // namespace coldroom
