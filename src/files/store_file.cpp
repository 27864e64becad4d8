#include "files/store_file.h"

#include <filesystem>
#include <map>
#include <optional>
#include <system_error>
#include <vector>

#include "core/numtext.h"
#include "files/store_plant_file.h"
#include "io/atomic_file.h"
#include "io/cp1251.h"
#include "io/file_errors.h"
#include "io/read_file.h"

namespace coldroom {
namespace {

namespace fs = std::filesystem;

// A store lists rooms, not their contents: a megabyte is thousands of rooms.
constexpr std::size_t kMaxStoreBytes = 1 << 20;

// Format 1 knew two levels, written by these words: the default levels' first and second.
const char* kAutoKey = "auto";
const char* kLegacyLevelKeys[] = {"medium", "low"};
const char* kShareKeys[] = {"operation_share_medium", "operation_share_low"};

// Whether the store can be written as format 1: the default levels (their shares aside), no
// other setting of the plant, no coil difference.
bool firstFormat(const Store& store, const std::string& plantText) {
    const std::vector<PlantLevel> defaults = DefaultPlantLevels();
    const auto& levels = store.plant.levels;
    if (!plantText.empty() || levels.size() != defaults.size()) return false;
    for (size_t l = 0; l < levels.size(); ++l)
        if (levels[l].name != defaults[l].name || levels[l].evaporating != defaults[l].evaporating) return false;
    for (const StoreRoom& room : store.rooms)
        if (room.coilDifference > 0) return false;
    return true;
}

std::string_view trimmed(std::string_view s) {
    const auto first = s.find_first_not_of(" \t");
    if (first == std::string_view::npos) return {};
    return s.substr(first, s.find_last_not_of(" \t") - first + 1);
}

// Whether the bytes are well-formed UTF-8 (no overlong forms, no surrogates).
bool wellFormedUtf8(std::string_view s) {
    for (std::size_t i = 0; i < s.size();) {
        const auto c = static_cast<unsigned char>(s[i]);
        if (c < 0x80) {
            ++i;
            continue;
        }
        const std::size_t len = (c & 0xE0) == 0xC0 ? 2 : (c & 0xF0) == 0xE0 ? 3 : (c & 0xF8) == 0xF0 ? 4 : 0;
        if (len == 0 || i + len > s.size()) return false;
        char32_t cp = c & (0x7F >> len);
        for (std::size_t k = 1; k < len; ++k) {
            const auto b = static_cast<unsigned char>(s[i + k]);
            if ((b & 0xC0) != 0x80) return false;
            cp = (cp << 6) | (b & 0x3F);
        }
        static const char32_t kMin[5] = {0, 0, 0x80, 0x800, 0x10000};
        if (cp < kMin[len] || cp > 0x10FFFF || (cp >= 0xD800 && cp <= 0xDFFF)) return false;
        i += len;
    }
    return true;
}

// A value goes on one line: control characters (a line break pasted into the title) become blanks.
std::string oneLine(std::string_view text) {
    std::string out(trimmed(text));
    for (char& c : out)
        if (static_cast<unsigned char>(c) < 0x20 || c == 0x7F) c = ' ';
    return out;
}

std::string shareText(double percent) { return GeneralText(percent); }

std::string commaToPoint(std::string_view value) {
    std::string text(value);
    for (char& c : text)
        if (c == ',') c = '.';
    return text;
}

class Parser {
public:
    Parser(std::string_view text, std::string folder) : text_(text), folder_(std::move(folder)) {}

    bool run(Store& store, std::string& why) {
        if (text_.substr(0, 3) == "\xEF\xBB\xBF") text_.remove_prefix(3);  // a byte order mark some editors write
        if (text_.empty() || trimmed(text_).empty()) return fail(1, "файл пуст", why);
        Store read;
        read.title.clear();
        read.rooms.clear();
        std::size_t at = 0;
        for (int n = 1; at <= text_.size(); ++n) {
            const std::size_t end = std::min(text_.find('\n', at), text_.size());
            std::string_view line = text_.substr(at, end - at);
            at = end + 1;
            if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
            if (!wellFormedUtf8(line)) return fail(n, "текст не в кодировке UTF-8", why);
            if (!take(n, trimmed(line), read, why)) return false;
        }
        if (!sawStore_) return fail(1, "нет раздела [store]", why);
        if (section_ == Section::Store) closeStore(read);
        if (!closeRoom(read, why)) return false;
        store = std::move(read);
        return true;
    }

private:
    bool fail(int line, const std::string& reason, std::string& why) {
        why = "строка " + std::to_string(line) + ": " + reason;
        return false;
    }

    bool take(int n, std::string_view line, Store& store, std::string& why) {
        if (line.empty() || line[0] == '#' || line[0] == ';') return true;
        if (line.front() == '[') {
            if (line.back() != ']') return fail(n, "заголовок раздела не закрыт скобкой «]»", why);
            const std::string_view name = trimmed(line.substr(1, line.size() - 2));
            if (!closeRoom(store, why)) return false;
            seen_.clear();
            if (section_ == Section::Store) closeStore(store);
            if (name == "store") {
                if (sawStore_ || section_ == Section::Room) return fail(n, "раздел [store] должен быть один и первым", why);
                sawStore_ = true;
                section_ = Section::Store;
            } else if (name == "room") {
                if (!sawStore_) return fail(n, "раздел [room] раньше раздела [store]", why);
                section_ = Section::Room;
                store.rooms.emplace_back();
                roomLine_ = n;
            } else {
                return fail(n, "неизвестный раздел [" + std::string(name) + "]", why);
            }
            return true;
        }
        const auto eq = line.find('=');
        if (eq == std::string_view::npos) return fail(n, "ожидается «имя = значение» или заголовок раздела", why);
        const std::string key(trimmed(line.substr(0, eq)));
        const std::string_view value = trimmed(line.substr(eq + 1));
        if (section_ == Section::None) return fail(n, "«" + key + "» стоит вне раздела", why);
        if (!seen_.emplace(key, n).second)
            return fail(n, "«" + key + "» повторяется (первый раз в строке " + std::to_string(seen_[key]) + ")", why);
        return section_ == Section::Store ? storeValue(n, key, value, store, why)
                                          : roomValue(n, key, value, store.rooms.back(), why);
    }

    bool storeValue(int n, const std::string& key, std::string_view value, Store& store, std::string& why) {
        if (key == "format") {
            double format = 0;
            if (!StrictNumber(value, format) || format != static_cast<int>(format) || format < 1)
                return fail(n, "неверный номер формата «" + std::string(value) + "»", why);
            if (format > kStoreFormat)
                return fail(n, "файл записан более новой версией программы (формат " + std::string(value) + ")", why);
            return true;
        }
        if (key == "title") {
            store.title = std::string(value);
            return true;
        }
        if (PlantValue(key, value, folder_, store.plant, why)) return why.empty() || fail(n, why, why);
        for (int level = 0; level < 2; ++level) {
            if (key != kShareKeys[level]) continue;
            double percent = 0;
            if (!StrictNumber(commaToPoint(value), percent) || !ValidOperationShare(percent))
                return fail(n, "доля «" + std::string(value) + "» — не число от 0 до 100", why);
            legacyShare_[level] = percent;
            return true;
        }
        return fail(n, "неизвестный параметр «" + key + "» в разделе [store]", why);
    }

    bool roomValue(int n, const std::string& key, std::string_view value, StoreRoom& room, std::string& why) {
        if (key == "file") {
            if (value.empty()) return fail(n, "не указан файл камеры", why);
            room.path = AbsolutePath(std::string(value), folder_);
            return true;
        }
        if (key == "level") {
            const auto& levels = levels_;
            for (size_t l = 0; l < levels.size(); ++l)
                if (value == levels[l].name) {
                    room.level = static_cast<int>(l);
                    return true;
                }
            if (value == kAutoKey) {
                room.level = kAutoLevel;
                return true;
            }
            for (int legacy = 0; legacy < 2 && !levels.empty(); ++legacy)
                if (value == kLegacyLevelKeys[legacy]) {
                    room.level = legacyLevel(legacy);
                    return true;
                }
            std::string names;
            for (const PlantLevel& l : levels) names += ", " + l.name;
            return fail(n, "уровень «" + std::string(value) + "» — не auto" + names, why);
        }
        if (key == "coil_difference") {
            double k = 0;
            if (value != "auto" && (!StrictNumber(commaToPoint(value), k) || k <= 0 || k > 40))
                return fail(n, "разность температур «" + std::string(value) + "» — не auto и не число от 0 до 40 K", why);
            room.coilDifference = k;
            return true;
        }
        return fail(n, "неизвестный параметр «" + key + "» в разделе [room]", why);
    }

    // Format 1's two levels are the warmest and the coldest level.
    int legacyLevel(int legacy) const {
        int found = 0;
        for (int l = 1; l < static_cast<int>(levels_.size()); ++l) {
            const double t = levels_[static_cast<size_t>(l)].evaporating, best = levels_[static_cast<size_t>(found)].evaporating;
            if (legacy == 0 ? t > best : t < best) found = l;
        }
        return found;
    }

    // The store section ends: its levels are known, and format 1's shares go to them.
    void closeStore(Store& store) {
        levels_ = store.plant.levels;
        for (int legacy = 0; legacy < 2; ++legacy)
            if (legacyShare_[legacy] && !levels_.empty())
                store.plant.levels[static_cast<size_t>(legacyLevel(legacy))].share = *legacyShare_[legacy];
        levels_ = store.plant.levels;
    }

    // A room section ends: it must have named its file.
    bool closeRoom(const Store& store, std::string& why) {
        if (section_ == Section::Room && store.rooms.back().path.empty())
            return fail(roomLine_, "в разделе [room] нет строки «file = …»", why);
        return true;
    }

    enum class Section { None, Store, Room };
    std::string_view text_;
    std::string folder_;
    Section section_ = Section::None;
    bool sawStore_ = false;
    int roomLine_ = 0;
    std::map<std::string, int> seen_;  // the keys of the current section and their lines
    std::optional<double> legacyShare_[2];  // format 1's shares, for the levels once all are read
    std::vector<PlantLevel> levels_;        // the store's levels, the rooms name theirs by
};

}  // namespace

std::string FullPath(const std::string& path) {
    std::error_code ec;
    fs::path absolute = fs::absolute(fs::path(path), ec);
    if (ec) absolute = fs::path(path);
    return absolute.lexically_normal().string();
}

std::string FolderOf(const std::string& path) { return fs::path(FullPath(path)).parent_path().string(); }

std::string AbsolutePath(const std::string& path, const std::string& folder) {
    const fs::path p(path);
    return (p.is_absolute() ? p : fs::path(folder) / p).lexically_normal().string();
}

std::string RelativePath(const std::string& path, const std::string& folder) {
    if (folder.empty()) return path;
    const fs::path relative = fs::path(path).lexically_normal().lexically_relative(fs::path(folder).lexically_normal());
    return relative.empty() ? path : relative.generic_string();
}

std::string StoreText(const Store& store, const std::string& folder) {
    std::string text = "# ColdRoom: холодильник. Камеры — файлы проектов; пути указаны от папки этого файла.\n";
    const std::string plant = PlantText(store.plant, folder);
    // A store that keeps the default levels and the plant's defaults stays readable by the
    // versions before them.
    const bool first = firstFormat(store, plant);
    text += "[store]\nformat = " + std::to_string(first ? 1 : kStoreFormat) + "\n";
    text += "title = " + oneLine(store.title) + "\n";
    if (first) {
        for (int level = 0; level < 2; ++level)
            text += std::string(kShareKeys[level]) + " = " + shareText(store.plant.levels[static_cast<size_t>(level)].share) + "\n";
    } else {
        text += "plant_levels = " + PlantLevelsText(store.plant.levels) + "\n";
    }
    text += plant;
    const int count = static_cast<int>(store.plant.levels.size());
    for (const StoreRoom& room : store.rooms) {
        text += "\n[room]\nfile = " + oneLine(RelativePath(room.path, folder)) + "\n";
        const bool chosen = room.level >= 0 && room.level < count;
        text += std::string("level = ") +
                (!chosen ? kAutoKey : first ? kLegacyLevelKeys[room.level] : store.plant.levels[static_cast<size_t>(room.level)].name) +
                "\n";
        if (room.coilDifference > 0) text += "coil_difference = " + GeneralText(room.coilDifference) + "\n";
    }
    return text;
}

bool ParseStoreText(std::string_view text, const std::string& folder, Store& store, std::string& why) {
    return Parser(text, folder).run(store, why);
}

bool ReadStoreFile(const std::string& path, Store& store, std::string& why) {
    std::string bytes;
    if (int err = ReadRegularFile(path, kMaxStoreBytes, bytes)) {
        why = "Не удается прочитать файл холодильника «" + PrintableText(path) + "»: " + FileErrorReason(err, false);
        return false;
    }
    std::string reason;
    if (!ParseStoreText(bytes, FolderOf(path), store, reason)) {
        why = "Файл холодильника «" + PrintableText(path) + "» поврежден: " + reason;
        return false;
    }
    return true;
}

bool WriteStoreFile(const std::string& path, const Store& store, std::string& error) {
    return WriteFileAtomically(path, StoreText(store, FolderOf(path)), error);
}

}  // namespace coldroom
