// coldroom-calc --store FILE: a cold store's rooms, the sums per temperature level and for the
// whole store, printed as a table or JSON, and its reports.
#pragma once

#include <iosfwd>
#include <string>

namespace coldroom {

struct StoreRequest {
    std::string database;
    std::string store;            // the store file
    std::string html, csv, pdf;   // reports to write ("-": standard output)
    bool json = false;            // print JSON instead of the table
    bool energy = false;          // the plant per level and the annual energy; --csv and --html give its CSV and note
    int margin = 0;               // the design margin the capacities are shown with, %; 0 shows none
};

// Returns the exit code: 0, 3 when the store file or a room's file could not be read (the
// rest is printed all the same), 4 for the database, 5 when a report could not be written.
int RunStoreRequest(const StoreRequest& request, std::ostream& out);

}  // namespace coldroom
