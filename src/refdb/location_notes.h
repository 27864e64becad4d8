// Notes on rows of the shipped location list whose figures are in doubt. The one list of such
// rows is kept here, beside the reference data code; data/SOURCES.md says why each is listed.
#pragma once

#include <string>

namespace coldroom {

// The note for a location name, or "" when its figures raise no doubt.
std::string LocationNote(const std::string& city);

}  // namespace coldroom
