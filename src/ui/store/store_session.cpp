#include "ui/store/store_session.h"

#include <algorithm>

#include "core/numtext.h"
#include "files/project_codec.h"
#include "files/project_file.h"
#include "files/store_file.h"
#include "io/cp1251.h"

namespace coldroom {
namespace {

const char* kSaveStoreQuestion = "Сохранить изменения в холодильнике?";

}  // namespace

StoreSession::StoreSession(UserInterface& ui, std::function<std::shared_ptr<const ReferenceData>()> data)
    : ui_(ui), data_(std::move(data)) {
    recompute();
}

std::string StoreSession::displayName() const { return path_.empty() ? kNewStoreName : RoomFileName(path_); }

StoreSheet StoreSession::sheet(const std::string& dateText, double marginPercent) const {
    return MakeStoreSheet(store_, rooms_.rooms(), rooms_.loads(), {path_, dateText, marginPercent});
}

void StoreSession::recompute() {
    std::shared_ptr<const ReferenceData> data = data_ ? data_() : nullptr;
    if (!data) return;
    if (data != computedWith_) {
        computedWith_ = data;
        rooms_.Reload(store_, *data);
        return;
    }
    rooms_.Update(store_, *data);
}

bool StoreSession::Refresh() {
    std::shared_ptr<const ReferenceData> data = data_ ? data_() : nullptr;
    if (!data) return false;
    if (data != computedWith_) {
        recompute();
        return true;
    }
    return rooms_.Update(store_, *data);
}

bool StoreSession::ConfirmLeave() {
    return !modified() || AskToSave(ui_, kSaveStoreQuestion, [this] { return Save(); });
}

bool StoreSession::New() {
    if (!ConfirmLeave()) return false;
    store_ = saved_ = Store{};
    path_.clear();
    recompute();
    return true;
}

bool StoreSession::Open() {
    if (!ConfirmLeave()) return false;
    const std::string path = ui_.openFileName(kStoreFilter);
    return !path.empty() && OpenFile(path);
}

bool StoreSession::OpenFile(const std::string& path) {
    Store read;
    std::string why;
    if (!ReadStoreFile(path, read, why)) {
        ui_.message(why + "\r\nОткрытый холодильник не изменен.", kAppTitle, MsgIcon::Critical);
        return false;
    }
    store_ = saved_ = std::move(read);
    path_ = FullPath(path);
    recompute();
    if (onFileUsed) onFileUsed(path_);
    return true;
}

bool StoreSession::Save() { return saveTo(path_.empty() ? ui_.saveFileName(kStoreFilter) : path_); }

bool StoreSession::SaveAs() { return saveTo(ui_.saveFileName(kStoreFilter)); }

bool StoreSession::saveTo(const std::string& path) {
    if (path.empty()) return false;
    std::string error;
    if (!WriteStoreFile(path, store_, error)) {
        ui_.message("Холодильник не сохранен.\r\n" + error, kAppTitle, MsgIcon::Critical);
        return false;
    }
    saved_ = store_;
    path_ = FullPath(path);
    if (onFileUsed) onFileUsed(path_);
    return true;
}

void StoreSession::DiscardChanges() {
    store_ = saved_;
    recompute();
}

bool StoreSession::AddRoom(std::string path) {
    if (path.empty()) path = ui_.openFileName(kConfigFilter);
    if (path.empty()) return false;
    path = FullPath(path);
    const auto same = [&](const StoreRoom& room) { return room.path == path; };
    if (std::any_of(store_.rooms.begin(), store_.rooms.end(), same)) {
        ui_.message("Камера «" + PrintableText(RoomFileName(path)) + "» уже есть в холодильнике.", kAppTitle,
                    MsgIcon::Information);
        return false;
    }
    store_.rooms.push_back({path, LevelChoice::Auto});
    recompute();
    return true;
}

std::string StoreSession::AddNewRoom(const RoomProject& project) {
    std::string path = ui_.saveFileName(kConfigFilter);
    if (path.empty()) return {};
    std::string error;
    if (!WriteConfigFile(path, ProjectItems(project), error)) {
        ui_.message(error, kAppTitle, MsgIcon::Critical);
        return {};
    }
    path = FullPath(path);
    if (!AddRoom(path)) return {};
    return path;
}

void StoreSession::RemoveRoom(std::size_t index) {
    if (index >= store_.rooms.size()) return;
    store_.rooms.erase(store_.rooms.begin() + static_cast<std::ptrdiff_t>(index));
    recompute();
}

void StoreSession::SetLevel(std::size_t index, LevelChoice level) {
    if (index >= store_.rooms.size() || store_.rooms[index].level == level) return;
    store_.rooms[index].level = level;
    recompute();
}

void StoreSession::SetTitle(const std::string& title) { store_.title = title; }

bool StoreSession::SetShare(TemperatureLevel level, const std::string& text) {
    std::string number = text;
    std::replace(number.begin(), number.end(), ',', '.');
    double percent = 0;
    if (!StrictNumber(number, percent) || !ValidOperationShare(percent)) {
        ui_.message("Доля эксплуатационных теплопритоков — число от 0 до 100 %.", kInputErrorTitle, MsgIcon::Exclamation);
        return false;
    }
    store_.settings.operationShare[static_cast<int>(level)] = percent;
    recompute();
    return true;
}

void StoreSession::SetPlant(const PlantSettings& plant) { store_.plant = plant; }

}  // namespace coldroom
