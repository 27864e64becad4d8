// Every field a person enters, once: the control that shows it, the caption the person knows it
// by, its unit, the values it accepts, the line of the project file that keeps it, the name
// the command line's --set takes, and where its value sits in a RoomProject. The typing checks,
// the warning after an open, the study window's list of parameters, the command line's names
// and the project file all read this one table.
#pragma once

#include <limits>
#include <string>
#include <string_view>
#include <vector>

#include "core/quantity_ranges.h"
#include "model/reference_data.h"
#include "model/room_project.h"

namespace coldroom {

enum class FieldForm { Main, Task };
enum class FieldKind { Text, List, Option, Check };

// What an accepted entry of a field is, for the rules that move other inputs and for what it
// recomputes: the editing layer decides by this, never by the control's name.
enum class FieldRole {
    Operation,          // an operational input: the totals follow
    Title,              // the project's title
    Dimension,          // length, width, height: the volume follows
    Volume,             // the length follows
    RoomTemperature,    // the room's air, carried into the task
    SideTemperature,    // beyond a surface; the walls' and the ceiling's may be shared
    Thickness,          // a layer; the walls' may be shared
    Material,           // a layer's material; the walls' may be shared
    Coating,            // a surface's outer coating; the walls' may be shared
    Location,           // the town: its climate fills the outside temperatures
    WallPosition,       // outer or inner wall, roof or slab
    FloorPosition,      // on the ground or above a room
    FloorHeating,       // heated or not; refused for a warm room
    DoorMode,           // standard or special door conditions
    DoorKind,           // room type or curtain: the door's figures
    FanMode,            // automatic or entered fan power
    ShareTemperatures,  // the walls and ceiling share their outside temperature
    ShareLayers,        // the walls share their layers and coatings
    TaskChoice, ProductChoice, PackingChoice, ShiftChoice,  // the task dialog's lists
    TaskChecked,        // a task field with its check (`check` names which)
    TurnoverTonnes,     // the daily turnover in tonnes; its share follows
    ProductSize,        // the product's size: stored as typed
};

// Where a list's entries come from.
enum class ListSource { None, Locations, RoomTypes, Curtains, Tasks, Products, Packagings, Shifts, Materials, Coatings };

// Where the forms show a field: the task dialog, the room's frame above the tabs, or a tab.
enum class FieldGroup { Task, Room, Walls, Operation };

struct FieldSpec {
    std::string control;   // "Length_txt", "Nord1_Mt_cmb", "NorthOut_opt"
    FieldForm form = FieldForm::Main;
    FieldKind kind = FieldKind::Text;
    std::string caption;   // as the person knows it: "Длина камеры"
    std::string unit;      // "м", "°C"; empty for none
    const QuantityRange* range = nullptr;  // the values a typed entry may take; null: any
    // The refusal of a value outside the range; empty: "<caption>: значение не может быть меньше 0".
    std::string refusal;
    int fileItem = 0;      // the line of the project file (1…87); 0: not stored
    bool selects = true;   // an option: the value of its pair's boolean when it is chosen
    std::string other;     // an option: the other option of its pair
    FieldRole role = FieldRole::Operation;
    int check = -1;        // a checked task field: its TaskCheck
    ListSource list = ListSource::None;
    FieldGroup group = FieldGroup::Operation;

    // Where the value sits (one of them, by kind).
    std::string& (*text)(RoomProject&, int) = nullptr;
    int& (*position)(RoomProject&, int) = nullptr;   // a list, or a check box (0 or 1)
    bool& (*option)(RoomProject&, int) = nullptr;
    int index = 0;  // passed to the accessor: surface * 3 + layer, or the surface

    // Which of the values decides whether the field takes entries.
    enum class Enabling { Always, Material, FloorTemperature, FloorHeating, FanPower, StandardDoor, SpecialDoor };
    Enabling enabling = Enabling::Always;

    // The name --set takes: the control's, "Produkt." before a task dialog field.
    std::string setName() const;
    // "Caption, unit".
    std::string captionWithUnit() const;
    // The refusal for a value outside the range.
    std::string refusalText() const;
    // What the person is told of a value taken though it is outside the usual band; "" inside.
    std::string unusualText(const std::string& typed) const;
    // The refusal of a typed text that is not a number at all.
    std::string notANumberText(const std::string& typed) const;

    std::string& textOf(RoomProject& p) const { return text(p, index); }
    const std::string& textOf(const RoomProject& p) const { return text(const_cast<RoomProject&>(p), index); }
    int& positionOf(RoomProject& p) const { return position(p, index); }
    int positionOf(const RoomProject& p) const { return position(const_cast<RoomProject&>(p), index); }
    bool& optionOf(RoomProject& p) const { return option(p, index); }
    bool optionOf(const RoomProject& p) const { return option(const_cast<RoomProject&>(p), index); }
};

inline constexpr const char* kTaskPrefix = "Produkt.";

const std::vector<FieldSpec>& FieldCatalogue();
// A field by its control's name in its form, or null.
const FieldSpec* FindField(std::string_view control, FieldForm form);
// A field by the name --set takes ("Length_txt", "Produkt.Tin_Prod_txt"), or null.
const FieldSpec* FindFieldBySetName(std::string_view name);
// The field a project file's line keeps, or null.
const FieldSpec* FieldOfFileItem(int item);

// The number of entries a list offers now.
int ListCount(const FieldSpec& list, const RoomProject& project, const ReferenceData& data);
// The text a list shows at a position ("" for none).
std::string ListText(const FieldSpec& list, const RoomProject& project, const ReferenceData& data, int position);

// "caption: text" for each main-window field whose value its range refuses (a project read from
// a file keeps them; the person is told).
std::vector<std::string> FieldsOutOfRange(const RoomProject& project);

}  // namespace coldroom
