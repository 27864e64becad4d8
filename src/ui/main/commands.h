// The main window's Open and Save commands, without a screen: the file dialog goes through
// the user interface, the work to the configuration reader and writer.
#pragma once

#include <string>

namespace coldroom {

class Program;
class UserInterface;

// Asks whether to save unsaved changes, then for a project file, reads it and activates the
// main window, which recomputes every load. Returns whether the file was read; a cancelled
// question or dialog or a damaged file leave the project exactly as it was (no activation
// either) once the messages have been shown. `detail`, when given, receives what was wrong
// with the file.
bool OpenCommand(Program& program, UserInterface& ui, std::string* detail = nullptr);

// Reads the project file `path` as OpenCommand does once a file is chosen (no question
// about unsaved changes: the caller has asked it).
bool OpenFileCommand(Program& program, UserInterface& ui, const std::string& path,
                     std::string* detail = nullptr);

// Writes the project to its file; a project without one asks for a name first. No
// recalculation. Returns whether the file was written.
bool SaveCommand(Program& program, UserInterface& ui);

// Asks for a file name and writes the project there; it is the project's file from then on.
bool SaveAsCommand(Program& program, UserInterface& ui);

}  // namespace coldroom
