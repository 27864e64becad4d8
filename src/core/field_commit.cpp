#include "core/field_commit.h"

#include "core/numtext.h"

namespace coldroom {

bool CommitNumericField(TextBox& box, const ValueCheck& check, UserInterface& ui, WindowId window,
                        const std::string& controlName) {
    box.text = NormalizeNumberText(box.text);
    const char* refusal = check ? check(LeadingNumber(box.text)) : nullptr;
    if (!refusal) return true;
    ui.message(refusal, kInputErrorTitle, MsgIcon::Critical);
    ui.setFocus(window, controlName);
    return false;
}

}  // namespace coldroom
