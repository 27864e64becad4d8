// Projects to and from files through the windows: the items of a project file are gathered
// from the task dialog's and the main window's controls, and a read file is applied through
// the controls' handlers as if the person had entered it. The file format itself is in
// files/project_file.h.
#pragma once

#include <string>
#include <vector>

#include "ui/project_document.h"

namespace coldroom {

class Program;
class UserInterface;

// The configuration writer: writes the current project to `path` atomically. Reports its
// failures itself (critical message boxes) and returns false; the file that was there stays.
bool SaveProject(Program& program, UserInterface& ui, const std::string& path);

// The configuration reader: applies a whole good file to the program in file order through
// the controls' handlers. On any read failure shows the read-error message, leaves the
// project unchanged and returns false; `detail`, when given, receives what was wrong.
bool OpenProject(Program& program, UserInterface& ui, const std::string& path,
                 std::string* detail = nullptr);

// What a failed open tells the person: the project in the windows is still the one before.
inline constexpr const char* kOpenFailedProjectKept =
    "Ошибка чтения файла конфигурации. Текущий проект не изменен.";

// The project as a save would write it, one text per item of the file.
ProjectDocument::Snapshot ProjectSnapshot(Program& program);
// Which items of the snapshot belong to the main window.
std::vector<bool> MainWindowItems();

}  // namespace coldroom
