// The project as a document: the file it was opened from or saved to, and whether it holds
// work that is in no file yet. Projects compare by what a save would write, so a field left as
// it was (or typed back to its value) changes nothing.
#pragma once

#include <string>

#include "model/room_project.h"

namespace coldroom {

// The name a project without a file goes by.
inline constexpr const char* kNewProjectName = "Новый проект";

class ProjectDocument {
public:
    // The project as it stands now is the saved state: after the start, an open or a save.
    // `path` is the project's file, empty for none.
    void reset(const RoomProject& now, std::string path);
    // Takes the main window's part of the project as it stands now into the saved state (the
    // main window's own initial values, set when it first loads, are no work of the person's).
    void acceptRoom(const RoomProject& now);
    // Compares the project with the saved state. Before the first reset nothing is tracked.
    void update(const RoomProject& now);

    bool modified() const { return modified_; }
    const std::string& path() const { return path_; }
    // The file name without its folder, or kNewProjectName.
    std::string displayName() const;

private:
    RoomProject saved_;
    std::string path_;
    bool modified_ = false;
    bool tracking_ = false;
};

}  // namespace coldroom
