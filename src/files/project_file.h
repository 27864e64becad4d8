// Project files (*.cfg): 87 items, one a line, Windows-1251, CR LF, no header. The writer and
// the reader are mirrors: item n of one is item n of the other. The reader checks the whole
// file before it changes anything, so a damaged file leaves the open project as it was.
#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace coldroom {

class Program;
class UserInterface;

inline constexpr int kConfigItemCount = 87;
inline constexpr int kMaxOfferedTasks = 61;
inline constexpr const char* kConfigFilter = "Файлы конфигурации (*.cfg) | *.cfg";
inline constexpr const char* kNoFileChosen = "Файл не выбран!";
inline constexpr const char* kConfigReadError =
    "Ошибка чтения файла конфигурации. Будет использована исходная конфигурация";

// The four written forms of an item.
enum class ConfigKind { Text, Position, Flag, Number };

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

// The written form of an item, without the line end (UTF-8).
std::string FormatConfigItem(const ConfigItem& item);

// Splits the bytes of a file (Windows-1251) into its 87 items and checks every item's form.
// On failure returns false and sets `why` (Russian, naming the line).
bool ParseConfigFile(std::string_view bytes, std::vector<ConfigItem>& items, std::string& why);

// The configuration writer: writes the current project to `path` atomically. Reports its
// failures itself (critical message boxes) and returns false; the file that was there stays.
bool SaveProject(Program& program, UserInterface& ui, const std::string& path);

// The configuration reader: applies a whole good file to the program in file order through
// the controls' handlers. On any read failure shows the read-error message, leaves the
// project unchanged and returns false; `detail`, when given, receives what was wrong.
bool OpenProject(Program& program, UserInterface& ui, const std::string& path,
                 std::string* detail = nullptr);

}  // namespace coldroom
