#include "ui/user_interface.h"

#include <exception>

namespace coldroom {

bool GuardedCall(UserInterface& ui, const std::function<void()>& fn) {
    std::string what;
    try {
        if (fn) fn();
        return true;
    } catch (const std::exception& e) {
        what = e.what();
    } catch (...) {
    }
    const std::string text = what.empty() ? std::string("Внутренняя ошибка.") : "Внутренняя ошибка: " + what;
    try {
        ui.message(text, kAppTitle, MsgIcon::Critical);
    } catch (...) {
        // Telling failed as well (no memory left): the event still ends here.
    }
    return false;
}

bool AskToSave(UserInterface& ui, const std::string& question, const std::function<bool()>& save) {
    switch (ui.message(question, kAppTitle, MsgIcon::Warning, MsgButtons::YesNoCancel)) {
    case MsgAnswer::Yes:
        return save();
    case MsgAnswer::No:
        return true;
    default:
        return false;
    }
}

}  // namespace coldroom
