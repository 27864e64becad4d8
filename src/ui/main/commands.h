// The main window's Open and Save commands, without a screen: the file dialog goes through
// the user interface, the work to the configuration reader and writer.
#pragma once

#include <string>

namespace coldroom {

class Program;
class UserInterface;

// Asks for a project file, reads it and activates the main window, which recomputes every
// load. Returns whether the file was read; a cancelled dialog or a damaged file leave the
// project exactly as it was (no activation either) once the messages have been shown. `detail`, when given, receives what was
// wrong with the file.
bool OpenCommand(Program& program, UserInterface& ui, std::string* detail = nullptr);

// Asks for a file name and writes the project there. No recalculation. Returns whether the
// file was written.
bool SaveCommand(Program& program, UserInterface& ui);

}  // namespace coldroom
