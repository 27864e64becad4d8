// Entries made as a person makes them, by control name: a text is typed into its field,
// Enter pressed and the field left; a list position chosen; an option or check box clicked.
// The task dialog's controls ("Produkt." before the name) are entered through «ИЗМЕНИТЬ»,
// the dialog and «Далее >>». The command line's --set and every point of a study use this.
#pragma once

#include <string>
#include <vector>

namespace coldroom {

class Program;
class HeadlessUi;

struct Setting {
    std::string name;
    std::string text;
};

// "NAME=TEXT" split at the first '='; false when there is none or the name is empty.
bool ParseSetting(const std::string& text, Setting& setting);

// The layer-1 thickness of the four walls, the ceiling and the floor together.
inline constexpr const char* kPanelsGroup = "Panels_D";
inline constexpr const char* kTaskPrefix = "Produkt.";

enum class SetStatus {
    Done,
    Refused,      // a check refused the value, or the control cannot be used now; `message` says why
    UnknownName,  // no such control takes entries; `closeNames` lists likely ones
    BadValue,     // a list position or a check value that is no choice of the control
};

struct SetResult {
    SetStatus status = SetStatus::Done;
    std::string name;     // the setting that stopped the run
    std::string message;  // why it stopped
    std::vector<std::string> closeNames;
};

// Whether `name` is a control that takes entries (or the panel group).
bool IsSettable(Program& program, const std::string& name);
// Up to five settable names that look like `name`, closest first.
std::vector<std::string> CloseNames(Program& program, const std::string& name);

// Applies the settings in order and stops at the first that is not done. `ui` must be the
// program's own interface: a refused commit is the input-error message it records.
SetResult ApplySettings(Program& program, HeadlessUi& ui, const std::vector<Setting>& settings);

}  // namespace coldroom
