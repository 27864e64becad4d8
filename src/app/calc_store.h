// coldroom-calc --store FILE: a cold store's rooms, the sums per plant level and for the whole
// store, printed as a table or JSON, and its reports; with --energy the plant per level, the
// annual energy and the panel-thickness study as well.
#pragma once

#include <iosfwd>
#include <string>

#include "model/energy_insulation.h"

namespace coldroom {

struct StoreRequest {
    std::string database;
    std::string store;            // the store file
    std::string html, csv, pdf;   // reports to write ("-": standard output); each carries the plant and its energy
    bool json = false;            // print JSON instead of the table
    bool energy = false;          // print the plant, the energy and the thickness study too; --html writes the note
    int margin = 0;               // the design margin the capacities are shown with, %; 0 shows none
    double fromMm = kStudyFromMm, toMm = kStudyToMm, stepMm = kStudyStepMm;  // the thickness study
    std::string studyRoom = {};   // the room whose panels the study changes (its file as listed); empty: all
};

// Returns the exit code: 0, 2 when the study's room is not in the store, 3 when the store file
// or a room's file could not be read (the rest is printed all the same), 4 for the database, 5
// when a report could not be written.
int RunStoreRequest(const StoreRequest& request, std::ostream& out);

}  // namespace coldroom
