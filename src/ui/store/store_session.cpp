#include "ui/store/store_session.h"

#include <algorithm>
#include <cmath>

#include "core/numtext.h"
#include "files/project_codec.h"
#include "files/project_file.h"
#include "files/energy_files.h"
#include "files/store_file.h"
#include "reports/energy_report.h"
#include "io/cp1251.h"

namespace coldroom {
namespace {

const char* kSaveStoreQuestion = "Сохранить изменения в холодильнике?";

std::string pointed(std::string text) {
    std::replace(text.begin(), text.end(), ',', '.');
    return text;
}

}  // namespace

StoreSession::StoreSession(UserInterface& ui, std::function<std::shared_ptr<const ReferenceData>()> data)
    : ui_(ui), data_(std::move(data)) {
    recompute();
}

std::string StoreSession::displayName() const { return path_.empty() ? kNewStoreName : RoomFileName(path_); }

StoreSheet StoreSession::sheet(const std::string& dateText, double marginPercent, bool energy) const {
    StoreSheet s = MakeStoreSheet(store_, rooms_.rooms(), rooms_.loads(), {path_, dateText, marginPercent});
    if (energy && computedWith_)
        s.parts = EnergyParts(MakeEnergySheet(store_, ComputeStoreEnergyFromFiles(store_, rooms_.rooms(), *computedWith_), dateText));
    return s;
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
    store_.rooms.push_back({path, kAutoLevel});
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

void StoreSession::SetRoomLevel(std::size_t index, int level) {
    if (index >= store_.rooms.size() || store_.rooms[index].level == level) return;
    store_.rooms[index].level = level;
    recompute();
}

bool StoreSession::SetCoilDifference(std::size_t index, const std::string& text) {
    if (index >= store_.rooms.size()) return false;
    double k = 0;
    if (text.find_first_not_of(' ') != std::string::npos && (!StrictNumber(pointed(text), k) || !(k > 0 && k <= 40))) {
        refuse("Разность температур воздуха камеры и кипения Δt — число больше 0 и не больше 40 K; пусто — " +
               GeneralText(kDefaultCoilDifference) + " K по умолчанию.");
        return false;
    }
    if (store_.rooms[index].coilDifference != k) {
        store_.rooms[index].coilDifference = k;
        recompute();
    }
    return true;
}

bool StoreSession::SetRoomCount(std::size_t index, const std::string& text) {
    if (index >= store_.rooms.size()) return false;
    double count = 0;
    if (!StrictNumber(pointed(text), count) || count != std::floor(count) || count < 1 || count > kMaxRoomCount) {
        refuse("Количество одинаковых камер — целое число от 1 до " + std::to_string(kMaxRoomCount) + ".");
        return false;
    }
    if (store_.rooms[index].count != static_cast<int>(count)) {
        store_.rooms[index].count = static_cast<int>(count);
        recompute();
    }
    return true;
}

void StoreSession::SetTitle(const std::string& title) { store_.title = title; }

bool StoreSession::SetLevelField(std::size_t level, LevelField field, const std::string& text) {
    auto& levels = store_.plant.levels;
    if (level >= levels.size()) return false;
    PlantLevel changed = levels[level];
    std::string why;
    double v = 0;
    switch (field) {
    case LevelField::Name:
        changed.name = text;
        if (!ValidLevelName(text, why)) break;
        for (std::size_t l = 0; l < levels.size(); ++l)
            if (l != level && levels[l].name == text) why = "уровень «" + text + "» уже есть";
        break;
    case LevelField::Evaporating:
        if (!StrictNumber(pointed(text), v) || !(v >= -100 && v <= 20)) why = "Температура кипения t0 — число от −100 до 20 °C.";
        changed.evaporating = v;
        break;
    case LevelField::Share:
        if (!StrictNumber(pointed(text), v) || !ValidOperationShare(v))
            why = "Доля эксплуатационных теплопритоков — число от 0 до 100 %.";
        changed.share = v;
        break;
    }
    if (!why.empty()) {
        refuse(field == LevelField::Name ? "Уровень не переименован: " + why + "." : why);
        return false;
    }
    if (!(changed == levels[level])) {
        levels[level] = changed;
        recompute();
    }
    return true;
}

bool StoreSession::AddLevel() {
    auto& levels = store_.plant.levels;
    if (levels.size() >= static_cast<std::size_t>(kMaxPlantLevels)) {
        refuse("Уровней не больше " + std::to_string(kMaxPlantLevels) + ".");
        return false;
    }
    double coldest = 30;  // above any t0: the first level gets 20 °C
    for (const PlantLevel& l : levels) coldest = std::min(coldest, l.evaporating);
    PlantLevel level{"", std::max(-100.0, coldest - 10), kDefaultOperationShare};
    for (int n = static_cast<int>(levels.size()) + 1;; ++n) {
        level.name = "Уровень " + std::to_string(n);
        if (std::none_of(levels.begin(), levels.end(), [&](const PlantLevel& l) { return l.name == level.name; })) break;
    }
    levels.push_back(level);
    recompute();
    return true;
}

bool StoreSession::RemoveLevel(std::size_t level) {
    if (level >= store_.plant.levels.size()) return false;
    if (store_.plant.levels.size() == 1) {
        refuse("Последний уровень убрать нельзя: камерам нужна хотя бы одна машина.");
        return false;
    }
    RemovePlantLevel(store_, static_cast<int>(level));
    recompute();
    return true;
}

void StoreSession::refuse(const std::string& text) { ui_.message(text, kInputErrorTitle, MsgIcon::Exclamation); }

bool StoreSession::SetPlantNumber(const PlantNumber& field, const std::string& text) {
    std::string why;
    if (!coldroom::SetPlantNumber(store_.plant, field, text, why)) {
        refuse(why + ".");
        return false;
    }
    return true;
}

void StoreSession::SetPlantChoice(const PlantChoice& field, int option) { field.set(store_.plant, option); }

bool StoreSession::SetProductProfile(const std::string& text) {
    std::string why;
    if (!coldroom::SetProductProfile(store_.plant, text, why)) {
        refuse(why + ".");
        return false;
    }
    return true;
}

bool StoreSession::ChoosePolynomialFile() {
    const std::string path = ui_.openFileName("Коэффициенты компрессора (*.txt) | *.txt");
    if (path.empty()) return false;
    store_.plant.polynomialFile = FullPath(path);
    return true;
}

}  // namespace coldroom
