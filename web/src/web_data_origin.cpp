// The note's line on the reference data the page read: the tables built into it from the
// program's data/ (an edited copy of them is the desktop program's alone).
#include "reports/calculation_note.h"

namespace coldroom {

std::string ReferenceDataOrigin(const std::string&) {
    return "справочник, поставляемый с программой (встроен в страницу, ColdRoom " COLDROOM_VERSION ")";
}

}  // namespace coldroom
