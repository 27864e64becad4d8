// The program without a screen: every message is recorded (and optionally printed as
// "title: text"), questions take scripted answers, and showing a window goes through the
// program's window life cycle as on a screen. The command-line tool and the tests use it.
#pragma once

#include <deque>
#include <functional>
#include <iosfwd>
#include <set>
#include <string>
#include <vector>

#include "ui/user_interface.h"

namespace coldroom {

class Program;

struct RecordedMessage {
    std::string title, text;
    MsgIcon icon = MsgIcon::None;
    MsgButtons buttons = MsgButtons::Ok;
    MsgAnswer answer = MsgAnswer::Ok;
};

class HeadlessUi : public UserInterface {
public:
    MsgAnswer message(const std::string& text, const std::string& title, MsgIcon icon,
                      MsgButtons buttons = MsgButtons::Ok) override;
    std::string openFileName(const std::string& filter) override;
    std::string saveFileName(const std::string& filter) override;
    void setFocus(WindowId window, const std::string& control) override;
    void showWindow(WindowId window) override;
    void hideWindow(WindowId window) override;

    // Wires window showing to a program's window life cycle (Program::WindowShown).
    void attach(Program& program) { program_ = &program; }

    std::vector<RecordedMessage> messages;
    std::deque<MsgAnswer> answers;      // answers to questions; No when empty
    std::deque<std::string> fileNames;  // answers to file dialogs; "" when empty
    std::string focusWindowControl;     // last focus request, "window:control"
    std::set<WindowId> visible;
    std::ostream* echo = nullptr;       // print every message as "title: text"

private:
    Program* program_ = nullptr;
};

}  // namespace coldroom
