// The commit of a numeric field (Enter, or leaving the field): the text is normalised, the
// value checked against the field's range, and a rejected value reported.
#pragma once

#include <functional>
#include <string>

#include "core/controls.h"
#include "core/user_interface.h"

namespace coldroom {

using RangeCheck = std::function<bool(double)>;

// Normalises box.text, then checks its value. On failure shows `message` under the title
// "Ошибка ввода значения!" with the critical icon, puts the focus back into the field and
// returns false; the normalised text stays. A null check accepts every value.
bool CommitNumericField(TextBox& box, const RangeCheck& check, const std::string& message,
                        UserInterface& ui, WindowId window, const std::string& controlName);

}  // namespace coldroom
