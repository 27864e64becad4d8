// Texts the program shows from more than one place.
#pragma once

namespace coldroom {

// Title of the message boxes that carry the program's own title.
inline constexpr const char* kAppTitle = "ColdRoom";
// Title of every input-error message box.
inline constexpr const char* kInputErrorTitle = "Ошибка ввода значения!";
// A file dialog closed without a choice, where a command needs a file.
inline constexpr const char* kNoFileChosen = "Файл не выбран!";

}  // namespace coldroom
