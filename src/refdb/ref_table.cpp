// A table's reads, apart from the database code: the WebAssembly page fills its tables from the
// CSV sources and has no database.
#include "refdb/reference_db.h"

#include "core/numtext.h"

namespace coldroom {

std::string RefTable::text(int column, int row) const {
    if (row == -1) row = 0;  // "nothing chosen" reads the first row
    if (row < 0 || row >= rowCount()) return {};
    const auto& values = rows[static_cast<size_t>(row)];
    if (column < 0 || column >= static_cast<int>(values.size())) return {};
    return values[static_cast<size_t>(column)];
}

double RefTable::number(int column, int row) const { return LeadingNumber(text(column, row)); }

}  // namespace coldroom
