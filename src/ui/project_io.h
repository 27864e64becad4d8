// Projects to and from files for the running program: the file's items come from and go to
// the open RoomProject (files/project_codec.h); these add what the person is told.
#pragma once

#include <string>

namespace coldroom {

class Program;
class UserInterface;

// The configuration writer: writes the current project to `path` atomically. Reports its
// failures itself (critical message boxes) and returns false; the file that was there stays.
bool SaveProject(Program& program, UserInterface& ui, const std::string& path);

// The configuration reader: applies a whole good file to the program's project. On any read
// failure shows the read-error message, leaves the project unchanged and returns false;
// `detail`, when given, receives what was wrong.
bool OpenProject(Program& program, UserInterface& ui, const std::string& path, std::string* detail = nullptr);

// What a failed open tells the person: the project in the windows is still the one before.
inline constexpr const char* kOpenFailedProjectKept =
    "Ошибка чтения файла конфигурации. Текущий проект не изменен.";

}  // namespace coldroom
