// The store the window «Холодильник» shows, as a document: its file, whether it holds work
// that is in no file yet, its rooms read and computed, and the commands of the window with
// the same work-safety rules as projects: a question before unsaved work is left, atomic
// writes, and nothing written over a store file that could not be read. Toolkit-free: the
// window only shows it and forwards clicks; tests drive it with a scripted user interface.
#pragma once

#include <functional>
#include <memory>
#include <string>

#include "files/store_rooms.h"
#include "model/reference_data.h"
#include "model/room_project.h"
#include "model/store.h"
#include "reports/store_report.h"
#include "ui/user_interface.h"

namespace coldroom {

// The name a store without a file goes by.
inline constexpr const char* kNewStoreName = "Новый холодильник";

class StoreSession {
public:
    // `data` gives the reference tables the rooms are computed with (the program's, which the
    // reference editor may replace: the rooms are then read again).
    StoreSession(UserInterface& ui, std::function<std::shared_ptr<const ReferenceData>()> data);

    const Store& store() const { return store_; }
    const std::string& path() const { return path_; }
    bool modified() const { return !(store_ == saved_); }
    // The file name without its folder, or kNewStoreName.
    std::string displayName() const;
    const StoreRooms& rooms() const { return rooms_; }
    StoreSheet sheet(const std::string& dateText, double marginPercent = 0) const;

    // ---- The store as a document -------------------------------------------------------
    // With unsaved changes asks whether to save them: Yes saves (asking for a file when the
    // store has none) and goes on only when that worked; No goes on; Cancel stays.
    bool ConfirmLeave();
    bool New();
    // Asks for a file and opens it (after ConfirmLeave).
    bool Open();
    // Opens `path` (no question). A file that cannot be read is told and changes nothing:
    // the store shown and its file stay as they were.
    bool OpenFile(const std::string& path);
    bool Save();
    bool SaveAs();
    // Back to the store as it was last opened or saved.
    void DiscardChanges();

    // ---- Editing ------------------------------------------------------------------------
    // Adds an existing project file (asked for when `path` is empty). A room already in the
    // store is not added twice. Returns whether it was added.
    bool AddRoom(std::string path = {});
    // Asks for a new project file, writes `project` (a new room as the program starts it)
    // there and adds it. Returns the file, empty when nothing was added.
    std::string AddNewRoom(const RoomProject& project);
    void RemoveRoom(std::size_t index);
    void SetLevel(std::size_t index, LevelChoice level);
    void SetTitle(const std::string& title);
    // A share as typed ("75", "62,5"): refused with a message unless it is 0…100 %.
    bool SetShare(TemperatureLevel level, const std::string& text);
    // The plant's settings as a whole (the energy panel checks each before it hands them on).
    void SetPlant(const PlantSettings& plant);
    // The reference tables the rooms were computed with.
    const ReferenceData& data() const { return *computedWith_; }

    // Reads again the rooms whose files changed on disk (a room saved in the main window or
    // elsewhere). Returns whether any room was read.
    bool Refresh();

    // A store file was opened or saved (for the list of recent stores).
    std::function<void(const std::string& path)> onFileUsed;

private:
    bool saveTo(const std::string& path);
    void recompute();

    UserInterface& ui_;
    std::function<std::shared_ptr<const ReferenceData>()> data_;
    std::shared_ptr<const ReferenceData> computedWith_;
    Store store_, saved_;
    std::string path_;
    StoreRooms rooms_;
};

}  // namespace coldroom
