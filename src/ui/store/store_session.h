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
#include "model/plant_fields.h"
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
    // The store's sheet; `energy` adds the plant and its annual energy, as the reports carry them.
    StoreSheet sheet(const std::string& dateText, double marginPercent = 0, bool energy = false) const;

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
    // The room's level: an index into the plant's levels or kAutoLevel.
    void SetRoomLevel(std::size_t index, int level);
    // The room's coil difference as typed ("8", "7,5"); empty: the default. Refused with a
    // message unless it is a number above 0 and up to 40 K.
    bool SetCoilDifference(std::size_t index, const std::string& text);
    // How many identical rooms the entry stands for, as typed: a whole number from 1 to
    // kMaxRoomCount, else refused with a message.
    bool SetRoomCount(std::size_t index, const std::string& text);
    void SetTitle(const std::string& title);

    // ---- The plant's levels --------------------------------------------------------------
    enum class LevelField { Name, Evaporating, Share };
    // A level's name, t0 (−100…20 °C) or operational share (0…100 %) as typed; refused with a
    // message when it is not one the store can keep (a name twice, a figure out of range).
    bool SetLevelField(std::size_t level, LevelField field, const std::string& text);
    // A new level 10 K colder than the coldest; refused beyond kMaxPlantLevels.
    bool AddLevel();
    // Takes a level out; the last one stays (refused with a message).
    bool RemoveLevel(std::size_t level);
    // The plant's settings, one at a time as the plant and energy window hands them on: a
    // figure as typed is refused with a message when out of its range.
    bool SetPlantNumber(const PlantNumber& field, const std::string& text);
    void SetPlantChoice(const PlantChoice& field, int option);
    bool SetProductProfile(const std::string& text);
    // Asks for the compressor's coefficient file; false when none was chosen.
    bool ChoosePolynomialFile();
    // The reference tables the rooms were computed with.
    const ReferenceData& data() const { return *computedWith_; }

    // Reads again the rooms whose files changed on disk (a room saved in the main window or
    // elsewhere). Returns whether any room was read.
    bool Refresh();

    // A store file was opened or saved (for the list of recent stores).
    std::function<void(const std::string& path)> onFileUsed;

private:
    bool saveTo(const std::string& path);
    void refuse(const std::string& text);
    void recompute();

    UserInterface& ui_;
    std::function<std::shared_ptr<const ReferenceData>()> data_;
    std::shared_ptr<const ReferenceData> computedWith_;
    Store store_, saved_;
    std::string path_;
    StoreRooms rooms_;
};

}  // namespace coldroom
