// Entries made by name on a project, as a person makes them: a text typed into its field, Enter
// pressed and the field left; a list position chosen; an option or check box clicked. A run of
// task dialog fields ("Produkt." before the name) goes through the dialog: it comes up, takes
// the entries and is confirmed, and the main window is activated again. Studies use this on a
// copy of the open project for every point.
#pragma once

#include <string>
#include <vector>

#include "model/field_catalogue.h"
#include "model/reference_data.h"
#include "model/room_edit.h"
#include "model/room_project.h"
#include "model/task_edit.h"

namespace coldroom {

struct Setting {
    std::string name;
    std::string text;
};

// "NAME=TEXT" split at the first '='; false when there is none or the name is empty.
bool ParseSetting(const std::string& text, Setting& setting);

// The layer-1 thickness of the four walls, the ceiling and the floor together.
inline constexpr const char* kPanelsGroup = "Panels_D";
// The outside air: the door's and every wall's and the ceiling's.
inline constexpr const char* kOutsideGroup = "TempOut_All";

enum class SetStatus {
    Done,
    Refused,      // a check refused the value, or the field cannot be used now; `message` says why
    UnknownName,  // no field takes entries by this name; `closeNames` lists likely ones
    BadValue,     // a list position or a check value that is no choice of the field
};

struct SetResult {
    SetStatus status = SetStatus::Done;
    std::string name;     // the setting that stopped the run
    std::string message;  // why it stopped
    std::vector<std::string> closeNames;
};

// The fields an entry by `name` types into: a group's members in order (the panels by
// surface), else `name` itself.
std::vector<std::string> EnteredFields(const std::string& name);

// Whether `name` is a field that takes entries, or a group.
bool IsSettable(const std::string& name);
// Up to five settable names that look like `name`, closest first.
std::vector<std::string> CloseNames(const std::string& name);

// Checks the value of a list position or a check value ("3", "1"): false with `why`.
bool WholeSettingValue(const std::string& text, int& value);

// Learns what the entries do, for a program that shows them: what the person would be told,
// what each entry recomputes, and the main window's activation after the task dialog.
class EntrySink {
public:
    virtual ~EntrySink() = default;
    virtual void notice(const Notice&) {}
    // A typed entry was refused: its field keeps what was typed (normalised) until entered again.
    virtual void refusedText(const FieldSpec&, const std::string& /*shown*/) {}
    virtual void taskNotice(const TaskNotice&) {}
    // A main-window entry was taken and recomputes these components.
    virtual void recomputed(unsigned /*recompute*/) {}
    // «Далее >>» went through: the main window becomes active again.
    virtual void activateRoom(RoomProject& project) { ActivateRoom(project, false); }
};

// Applies the settings in order to `project` and stops at the first that is not done.
SetResult ApplySettings(RoomProject& project, TaskDialogState& dialog, const ReferenceData& data,
                        const std::vector<Setting>& settings, EntrySink* sink = nullptr);

}  // namespace coldroom
