#include "refdb/location_notes.h"

namespace coldroom {
namespace {

struct Note {
    const char* city;
    const char* text;
};

// Design temperatures read in a secondary copy of the norm that could not be checked against
// its official text.
constexpr Note kUnverified[] = {
    {"Самара",
     "Расчетная летняя температура этого города не проверена по официальному тексту "
     "СП\u00A0131.13330.2020 (таблица 4.1) и может быть ошибочной."},
};

}  // namespace

std::string LocationNote(const std::string& city) {
    for (const Note& note : kUnverified)
        if (city == note.city) return note.text;
    return {};
}

}  // namespace coldroom
