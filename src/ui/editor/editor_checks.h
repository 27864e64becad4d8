// The checks of the parameter editor's edit fields: what each accepts and the message it
// shows otherwise. Some messages differ in their line breaks between Enter and leaving the
// field; both are kept as the people who use the editor know them.
#pragma once

#include <functional>
#include <string>
#include <string_view>

namespace coldroom {

struct EditorCheck {
    enum class Kind { Name, Range, Shape, TempStart, TempEnd };
    Kind kind = Kind::Range;
    double low = 0, high = 0;
    bool lowIncluded = false, highIncluded = true;
    const char* leaveMessage = "";
    const char* enterMessage = nullptr;  // nullptr: the same as leaving
};

// The check of a field by its control name; nullptr for a field without one.
const EditorCheck* FindEditorCheck(std::string_view control);

// The current value of another field, read with the leading-number parse (the cross-checks
// of the cooling temperatures read txtTcell, txtTstart and txtTend).
using FieldValue = std::function<double(const char* control)>;

// "" when `text` passes; otherwise the message. A number field's text is expected to be
// normalised already.
std::string EditorCheckMessage(const EditorCheck& check, const std::string& text, bool enter,
                               const FieldValue& valueOf);

}  // namespace coldroom
