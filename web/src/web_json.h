// What the page is told, as JSON: the field catalogue once (every field's row, the groups it is
// shown in, the load components), then the whole state after every action.
#pragma once

#include <string>

#include "json_out.h"
#include "web_session.h"

namespace coldroom {

std::string CatalogueJson();
// The project, its result and the messages of the last action (which it clears).
std::string StateJson(WebSession& session);

}  // namespace coldroom
