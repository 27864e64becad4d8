#include "ui/headless_ui.h"

#include <ostream>

#include "ui/program.h"

namespace coldroom {

MsgAnswer HeadlessUi::message(const std::string& text, const std::string& title, MsgIcon icon, MsgButtons buttons) {
    MsgAnswer answer = MsgAnswer::Ok;
    if (buttons != MsgButtons::Ok) {
        answer = answers.empty() ? MsgAnswer::No : answers.front();
        // A Yes/No question has no third answer: a scripted Cancel reads as No there.
        if (buttons == MsgButtons::YesNo && answer == MsgAnswer::Cancel) answer = MsgAnswer::No;
        if (!answers.empty()) answers.pop_front();
    }
    messages.push_back({title, text, icon, buttons, answer});
    if (echo) {
        std::string flat = text;
        for (size_t p; (p = flat.find("\r\n")) != std::string::npos;) flat.replace(p, 2, " ");
        *echo << title << ": " << flat;
        if (buttons != MsgButtons::Ok)
            *echo << (answer == MsgAnswer::Yes ? " [Да]" : answer == MsgAnswer::No ? " [Нет]" : " [Отмена]");
        *echo << '\n';
    }
    return answer;
}

std::string HeadlessUi::openFileName(const std::string&) {
    if (fileNames.empty()) return {};
    std::string name = fileNames.front();
    fileNames.pop_front();
    return name;
}

std::string HeadlessUi::saveFileName(const std::string& filter) { return openFileName(filter); }

void HeadlessUi::setFocus(WindowId window, const std::string& control) {
    focusWindowControl = std::to_string(static_cast<int>(window)) + ":" + control;
}

void HeadlessUi::showWindow(WindowId window) {
    auto present = [this, window] { visible.insert(window); };
    if (program_)
        program_->WindowShown(window, present);
    else
        present();
}

void HeadlessUi::hideWindow(WindowId window) { visible.erase(window); }

}  // namespace coldroom
