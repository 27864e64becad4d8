// The commit of a numeric field (Enter, or leaving the field): the text is normalised, the
// value checked, and a refused value reported.
#pragma once

#include <functional>
#include <string>

#include "core/controls.h"
#include "core/user_interface.h"

namespace coldroom {

// Why a value is refused, in Russian; nullptr when it is accepted.
using ValueCheck = std::function<const char*(double)>;

// Normalises box.text, then checks its value. A refused value is reported under the title
// "Ошибка ввода значения!" with the critical icon, the focus goes back into the field and
// the result is false; the normalised text stays. A null check accepts every value.
bool CommitNumericField(TextBox& box, const ValueCheck& check, UserInterface& ui, WindowId window,
                        const std::string& controlName);

}  // namespace coldroom
