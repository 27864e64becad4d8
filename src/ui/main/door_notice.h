// Guidance on the door's heat gain the main window shows beside the door's inputs.
#pragma once

#include <string>

#include "model/room_project.h"

namespace coldroom {

// The standard door method reads its rate by the room type the person chose. A storage room
// for chilled products kept below −5 °C, or one for frozen products kept warmer, takes another
// row of that table than the task implies: the notice says which type fits. Empty when the
// type agrees, when it is not a storage room, or when the door is computed by its own size.
std::string DoorRoomTypeNotice(const RoomProject& project);

// When each door method applies, for the options' tooltips.
extern const char* const kStandardDoorAdvice;
extern const char* const kSpecialDoorAdvice;

}  // namespace coldroom
