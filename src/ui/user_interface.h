// The one channel through which forms speak to the person: message boxes, file dialogs,
// focus, and showing or hiding the program's windows. The desktop program implements it
// with real dialogs, the command-line tool prints to stderr, tests script the answers.
#pragma once

#include <functional>
#include <string>

#include "core/shared_texts.h"

namespace coldroom {

enum class MsgIcon { None, Critical, Exclamation, Information, Warning };
enum class MsgButtons { Ok, YesNo, YesNoCancel };
enum class MsgAnswer { Ok, Yes, No, Cancel };

enum class WindowId { TaskDialog, MainWindow, PrintOptions, Editor, About, Help };


class UserInterface {
public:
    virtual ~UserInterface() = default;

    virtual MsgAnswer message(const std::string& text, const std::string& title, MsgIcon icon,
                              MsgButtons buttons = MsgButtons::Ok) = 0;
    // File dialogs return an empty path when the person chose nothing. `filter` is the
    // "Description (*.ext) | *.ext" text.
    virtual std::string openFileName(const std::string& filter) = 0;
    virtual std::string saveFileName(const std::string& filter) = 0;
    // Puts the keyboard focus into a control of a window.
    virtual void setFocus(WindowId window, const std::string& control) = 0;
    virtual void showWindow(WindowId window) = 0;
    virtual void hideWindow(WindowId window) = 0;
};

// Before unsaved work is left: asks `question` (Да / Нет / Отмена). Yes saves and goes on only
// when `save` worked; No goes on; Cancel stays. Returns whether to go on.
bool AskToSave(UserInterface& ui, const std::string& question, const std::function<bool()>& save);

// Runs `fn` at the edge of an event (a handler, a command, a window's activation). What it
// throws is told to the person as an internal error through `ui` and goes no further, so the
// program keeps running with the data it has. Returns whether `fn` ran to its end.
bool GuardedCall(UserInterface& ui, const std::function<void()>& fn);

}  // namespace coldroom
