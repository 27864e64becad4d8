// Project files (*.cfg): 87 items, one a line, Windows-1251, CR LF, no header. This is the
// file format alone: the items' table, their written forms, reading a file whole and writing
// one atomically. Which control an item comes from and goes to is named by the table; the user
// interface gathers and applies the items.
#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace coldroom {

inline constexpr int kConfigItemCount = 87;
inline constexpr int kMaxOfferedTasks = 61;
inline constexpr const char* kConfigFilter = "Файлы конфигурации (*.cfg) | *.cfg";
inline constexpr const char* kConfigReadError =
    "Ошибка чтения файла конфигурации. Будет использована исходная конфигурация";

// The four written forms of an item.
enum class ConfigKind { Text, Position, Flag, Number };

// The window an item belongs to: the task dialog or the main window.
enum class ConfigForm { Task, Main };

// What item n of a file is. A flag names the option it selects when true and the one it
// selects when false; a text item carries the name the user knows the field by.
struct ConfigItemLayout {
    ConfigKind kind;
    ConfigForm form;
    const char* name;   // the control's name
    const char* other;  // Flag: the option selected when the flag is false
    const char* label;  // Text: the field's name in messages
};

// Item n (1-based) of the file.
const ConfigItemLayout& ConfigLayout(int n);

// Items whose value is not simply a control's text, entry or option.
enum ConfigItemNumber {
    kOfferedTasksItem = 1,  // the task list offered, as a number list
    kProductItem = 2,
    kPackingItem = 3,
    kTaskItem = 4,
    kTempInCellItem = 5,  // a number, not a control
    kTurnoverItem = 9,
    kNameItem = 13,
    kFanItem = 77,  // the fans' power, "0" for power chosen by the program
};

// One item, decoded. Only the member of its kind is meaningful.
struct ConfigItem {
    ConfigKind kind = ConfigKind::Text;
    std::string text;        // Text: what stands between the quotes (UTF-8)
    long position = -1;      // Position: -1 for nothing chosen
    bool flag = false;       // Flag
    double number = 0;       // Number: 0 when unset
    bool numberSet = false;  // Number: false for an empty line
};

// The kind of item n (1-based).
ConfigKind ConfigItemKind(int n);

// "строка n: ", the start of every message about item n.
std::string ConfigLineText(int n);

// The written form of an item, without the line end (UTF-8).
std::string FormatConfigItem(const ConfigItem& item);

// Splits the bytes of a file (Windows-1251) into its 87 items and checks every item's form.
// On failure returns false and sets `why` (Russian, naming the line).
bool ParseConfigFile(std::string_view bytes, std::vector<ConfigItem>& items, std::string& why);

// Reads the file at `path` whole and parses it. Only a regular file is read, and no more of
// it than a project can hold: a folder, a device or a pipe is refused before reading. On
// failure returns false and sets `why` (Russian).
bool ReadConfigFile(const std::string& path, std::vector<ConfigItem>& items, std::string& why);

// Writes the 87 items to `path` atomically. A text that the file cannot hold (a quote, a line
// break, a character outside Windows-1251) is refused before anything is written, with a
// message naming the field; a failed write starts "Конфигурация не сохранена." and says why.
// The file that was there stays in both cases.
bool WriteConfigFile(const std::string& path, const std::vector<ConfigItem>& items, std::string& error);

}  // namespace coldroom
