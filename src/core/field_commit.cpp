#include "core/field_commit.h"

#include "core/numtext.h"

namespace coldroom {

bool CommitNumericField(TextBox& box, const RangeCheck& check, const std::string& message,
                        UserInterface& ui, WindowId window, const std::string& controlName) {
    box.text = NormalizeNumberText(box.text);
    if (!check || check(LeadingNumber(box.text))) return true;
    ui.message(message, kInputErrorTitle, MsgIcon::Critical);
    ui.setFocus(window, controlName);
    return false;
}

}  // namespace coldroom
