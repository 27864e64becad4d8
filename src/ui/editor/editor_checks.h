// The checks of the parameter editor's edit fields: what each accepts and the message it
// shows otherwise. What a field accepts is the rule of its table column, the very rule the
// loader applies, so a value the editor lets through never stops the program from
// starting. Some messages differ in their line breaks between Enter and leaving the field;
// both are kept as the people who use the editor know them.
#pragma once

#include <functional>
#include <string>
#include <string_view>

#include "refdb/reference_db.h"

namespace coldroom {

struct EditorCheck {
    enum class Kind { Name, Range, Shape, TempStart, TempEnd };
    Kind kind = Kind::Range;
    const char* table = "";
    int column = 0;
    const char* leaveMessage = "";
    const char* enterMessage = nullptr;  // nullptr: the same as leaving

    // The rule of the column (Range, Shape, TempStart, TempEnd; the list elements for the
    // enthalpy points).
    const ValueRule& rule() const;
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
