// The one editing layer over a RoomProject: what an entry of the main window does to the
// project. Each entry is checked, normalised and stored here, with every rule that moves another
// input (the volume and the dimensions, the walls sharing their layers, the location's
// temperatures, the floor heating that a warm room refuses). The outcome says whether the value
// was taken, what to tell the person and which components the entry recomputes; the caller
// recomputes (ComputeRoom) and shows.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "model/field_catalogue.h"
#include "model/reference_data.h"
#include "model/room_project.h"

namespace coldroom {

// What the person is told after an entry.
struct Notice {
    enum class Kind {
        Refusal,        // a value its check refuses (the input-error message box)
        FloorHeating,   // floor heating is refused for a room this warm
        Unusual,        // a value taken though it is outside the usual band: a slip is likely
    } kind;
    std::string text;
};

// The components an entry recomputes: the window tells the problems these meet.
namespace Recompute {
enum : unsigned {
    None = 0,
    Totals = 1,       // the total and capacity (with the operational gains they are formed from)
    Envelope = 2,     // the six surfaces
    CoolingTime = 4,  // the cooling-time estimate, with its question when the time is too short
    Everything = 8,   // the product and packaging too: the window's activation
};
}

// How a typed value is entered.
enum class Entry { Enter, Leave };

struct EditOutcome {
    bool accepted = true;
    // The text the field shows afterwards: the stored value, or a refused entry normalised.
    std::string shown;
    std::vector<Notice> notices;
    unsigned recompute = Recompute::None;
    std::string focus;  // a control of the same window the focus moves to ("" stays)
    // A refused entry that was no number at all: the field shows its value as before, not the
    // text refused.
    bool restored = false;
};

// Floor heating is offered only for rooms colder than this, °C.
inline constexpr double kFloorHeatingBelow = -2;
// The room is cold enough for a heated floor (its temperature read strictly).
bool FloorHeatingAllowed(const RoomProject& project);

// After an open: a heated floor is judged against the room temperature the window will show
// (the task's), once. Returns whether the heating was refused and cleared.
bool SettleFloorHeating(RoomProject& project);
// The notice that tells it.
inline constexpr const char* kFloorHeatNotice = "Подогрев пола в среднетемпературных камерах не предусмотрен!";

// A typed value of a main-window text field.
EditOutcome CommitText(RoomProject& project, const ReferenceData& data, const FieldSpec& field,
                       std::string_view typed, Entry how = Entry::Enter);
// A list position chosen (a change only: the same position runs nothing).
EditOutcome ChooseEntry(RoomProject& project, const ReferenceData& data, const FieldSpec& list, int position);
// An option chosen (its pair's other option is cleared).
EditOutcome ChooseOption(RoomProject& project, const ReferenceData& data, const FieldSpec& option);
// A check box set to 0 or 1.
EditOutcome SetCheck(RoomProject& project, const ReferenceData& data, const FieldSpec& check, int value);

// The main window as it first comes up: the first entry of every list, the start location
// with its climate.
void SettleNewRoom(RoomProject& project, const ReferenceData& data);

// The main window's activation: the title, the room temperature and the task's work cycle
// taken into the window. Returns a note when a typed cycle was replaced ("" otherwise);
// `firstTime` never notes.
std::string ActivateRoom(RoomProject& project, bool firstTime);

// The room temperature the task carries, as the main window shows it after an activation.
std::string TaskRoomTemperature(const RoomProject& project);

// Which controls of the main window accept input now, from the values alone.
struct RoomEnabling {
    std::array<std::array<bool, 3>, kSurfaceCount> material{};  // layer 1 always
    bool TempFloor_txt = true;
    bool floorHeating = false;     // FloorHeat_Opt and FloorCold_Opt
    bool ElectroEva_txt = false;
    bool respiration = false;      // BreathLoss_txt and its caption
    bool standardDoor = true;      // TypeOfCell_cmb and its caption; the door's own inputs the reverse
};
RoomEnabling EnabledControls(const RoomProject& project, const ReferenceData& data);
// Whether a field takes entries under `enabling` (a task dialog field always does).
bool FieldEnabled(const RoomEnabling& enabling, const FieldSpec& field);

}  // namespace coldroom
