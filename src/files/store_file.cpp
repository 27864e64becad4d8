#include "files/store_file.h"

#include <cmath>
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
        if (room.coilDifference > 0 || room.count != 1) return false;
    return true;
}

std::string_view trimmed(std::string_view s) {
    const auto first = s.find_first_not_of(" \t");
    if (first == std::string_view::npos) return {};
    return s.substr(first, s.find_last_not_of(" \t") - first + 1);
}

// A value a plain line would not give back as it is: blanks at its ends (the reader trims
// them), a control character (a line break would end the line), or quotes at both ends (the
// reader would take them for the written form below).
bool needsQuotes(std::string_view text) {
    if (text.empty()) return false;
    if (text.front() == ' ' || text.front() == '\t' || text.back() == ' ' || text.back() == '\t') return true;
    if (text.size() >= 2 && text.front() == '"' && text.back() == '"') return true;
    for (const char c : text)
        if (static_cast<unsigned char>(c) < 0x20 || c == 0x7F) return true;
    return false;
}

// The written form of such a value: in quotes, with \\, \", \t, \n, \r and \xHH for the other
// control characters.
std::string quoted(std::string_view text) {
    std::string out = "\"";
    for (const char c : text) {
        const auto b = static_cast<unsigned char>(c);
        switch (c) {
        case '\\': out += "\\\\"; break;
        case '"': out += "\\\""; break;
        case '\t': out += "\\t"; break;
        case '\n': out += "\\n"; break;
        case '\r': out += "\\r"; break;
        default:
            if (b < 0x20 || b == 0x7F) {
                static const char kHex[] = "0123456789ABCDEF";
                out += "\\x";
                out += kHex[b >> 4];
                out += kHex[b & 15];
            } else {
                out += c;
            }
        }
    }
    return out + "\"";
}

int hexDigit(char c) {
    if (c >= '0' && c <= '9') return c - '0';
    if (c >= 'A' && c <= 'F') return c - 'A' + 10;
    if (c >= 'a' && c <= 'f') return c - 'a' + 10;
    return -1;
}

// The text a value line stands for: the value itself, or what its quotes hold. False when
// the quoted form is broken or holds no UTF-8 text.
bool unquoted(std::string_view value, std::string& text) {
    if (value.size() < 2 || value.front() != '"' || value.back() != '"') {
        text = std::string(value);
        return true;
    }
    text.clear();
    const std::string_view inner = value.substr(1, value.size() - 2);
    for (std::size_t i = 0; i < inner.size(); ++i) {
        if (inner[i] == '"') return false;  // a quote inside is written \"
        if (inner[i] != '\\') {
            text += inner[i];
            continue;
        }
        if (++i == inner.size()) return false;
        switch (inner[i]) {
        case '\\': text += '\\'; break;
        case '"': text += '"'; break;
        case 't': text += '\t'; break;
        case 'n': text += '\n'; break;
        case 'r': text += '\r'; break;
        case 'x': {
            if (i + 2 >= inner.size()) return false;
            const int high = hexDigit(inner[i + 1]), low = hexDigit(inner[i + 2]);
            if (high < 0 || low < 0) return false;
            text += static_cast<char>(high * 16 + low);
            i += 2;
            break;
        }
        default: return false;
        }
    }
    return WellFormedUtf8(text);
}

// A value as written on its line.
std::string written(std::string_view text) { return needsQuotes(text) ? quoted(text) : std::string(text); }

std::string shareText(double percent) { return ExactText(percent); }

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
            if (!WellFormedUtf8(line)) return fail(n, "текст не в кодировке UTF-8", why);
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
            // Judged as a number first: a huge one is a newer format, not a whole number to convert.
            if (!StrictNumber(value, format) || !std::isfinite(format) || format != std::floor(format) || format < 1)
                return fail(n, "неверный номер формата «" + std::string(value) + "»", why);
            if (format > kStoreFormat)
                return fail(n, "файл записан более новой версией программы (формат " + std::string(value) + ")", why);
            return true;
        }
        if (key == "title") {
            if (!unquoted(value, store.title)) return fail(n, "неверная запись в кавычках", why);
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
            std::string file;
            if (!unquoted(value, file)) return fail(n, "неверная запись в кавычках", why);
            if (file.empty()) return fail(n, "не указан файл камеры", why);
            room.path = AbsolutePath(file, folder_);
            return true;
        }
        if (key == "level") {
            std::string name;
            if (!unquoted(value, name)) return fail(n, "неверная запись в кавычках", why);
            return level(n, name, room, why);
        }
        return otherRoomValue(n, key, value, room, why);
    }

    // A room's level by its name, auto, or format 1's word for the warmest or the coldest.
    bool level(int n, const std::string& value, StoreRoom& room, std::string& why) {
        for (size_t l = 0; l < levels_.size(); ++l)
            if (value == levels_[l].name) {
                room.level = static_cast<int>(l);
                return true;
            }
        if (value == kAutoKey) {
            room.level = kAutoLevel;
            return true;
        }
        for (int legacy = 0; legacy < 2 && !levels_.empty(); ++legacy)
            if (value == kLegacyLevelKeys[legacy]) {
                room.level = legacyLevel(legacy);
                return true;
            }
        std::string names;
        for (const PlantLevel& l : levels_) names += ", " + l.name;
        return fail(n, "уровень «" + value + "» — не auto" + names, why);
    }

    bool otherRoomValue(int n, const std::string& key, std::string_view value, StoreRoom& room, std::string& why) {
        if (key == "coil_difference") {
            double k = 0;
            if (value != "auto" && (!StrictNumber(commaToPoint(value), k) || k <= 0 || k > 40))
                return fail(n, "разность температур «" + std::string(value) + "» — не auto и не число от 0 до 40 K", why);
            room.coilDifference = k;
            return true;
        }
        if (key == "count") {
            double count = 0;
            if (!StrictNumber(value, count) || count != std::floor(count) || count < 1 || count > kMaxRoomCount)
                return fail(n, "количество камер «" + std::string(value) + "» — не целое число от 1 до " +
                                   std::to_string(kMaxRoomCount), why);
            room.count = static_cast<int>(count);
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
    std::string normal = (p.is_absolute() ? p : fs::path(folder) / p).lexically_normal().string();
    // "////a" is "/a" here, and "a/." is "a"; left as they are, they would be written as other
    // names of the same file.
    while (normal.size() > 1 && normal[0] == '/' && normal[1] == '/') normal.erase(0, 1);
    while (normal.size() > 1 && normal.back() == '/') normal.pop_back();
    return normal;
}

std::string RelativePath(const std::string& path, const std::string& folder) {
    if (folder.empty()) return path;
    const fs::path relative = fs::path(path).lexically_normal().lexically_relative(fs::path(folder).lexically_normal());
    return relative.empty() ? path : relative.generic_string();
}

std::string StoreText(const Store& store, const std::string& folder) {
    const std::string plant = PlantText(store.plant, folder);
    const bool first = firstFormat(store, plant);
    const int count = static_cast<int>(store.plant.levels.size());
    bool quotes = needsQuotes(store.title) || needsQuotes(store.plant.town) ||
                  needsQuotes(RelativePath(store.plant.polynomialFile, folder));
    bool counts = false;
    std::string rooms;
    for (const StoreRoom& room : store.rooms) {
        const std::string file = RelativePath(room.path, folder);
        const bool chosen = room.level >= 0 && room.level < count;
        const std::string level = !chosen ? kAutoKey
                                  : first ? kLegacyLevelKeys[room.level]
                                          : store.plant.levels[static_cast<size_t>(room.level)].name;
        quotes = quotes || needsQuotes(file) || needsQuotes(level);
        rooms += "\n[room]\nfile = " + written(file) + "\n";
        rooms += "level = " + written(level) + "\n";
        if (room.coilDifference > 0) rooms += "coil_difference = " + ExactText(room.coilDifference) + "\n";
        if (room.count != 1) rooms += "count = " + std::to_string(room.count) + "\n";
        counts = counts || room.count != 1;
    }
    std::string text = "# ColdRoom: холодильник. Камеры — файлы проектов; пути указаны от папки этого файла.\n";
    // The oldest format that holds what is written, so that older releases still read the file:
    // the default levels and the plant's defaults in the first.
    const int format = counts ? kCountsFormat : quotes ? kQuotesFormat : first ? 1 : kLevelsFormat;
    text += "[store]\nformat = " + std::to_string(format) + "\n";
    text += "title = " + written(store.title) + "\n";
    if (first) {
        for (int level = 0; level < 2; ++level)
            text += std::string(kShareKeys[level]) + " = " + shareText(store.plant.levels[static_cast<size_t>(level)].share) + "\n";
    } else {
        text += "plant_levels = " + PlantLevelsText(store.plant.levels) + "\n";
    }
    return text + plant + rooms;
}

bool StoreWritable(const Store& store, std::string& why) {
    if (!WellFormedUtf8(store.title)) {
        why = "название холодильника не в кодировке UTF-8";
        return false;
    }
    if (!WellFormedUtf8(store.plant.polynomialFile) || !WellFormedUtf8(store.plant.town)) {
        why = "имя файла компрессора или города «" + PrintableText(store.plant.polynomialFile + store.plant.town) +
              "» не в кодировке UTF-8";
        return false;
    }
    for (const StoreRoom& room : store.rooms) {
        if (!WellFormedUtf8(room.path)) {
            why = "имя файла камеры «" + PrintableText(room.path) + "» не в кодировке UTF-8; переименуйте файл";
            return false;
        }
    }
    return true;
}

std::string StoreValueText(std::string_view text) { return written(text); }
bool StoreValueNeedsQuotes(std::string_view text) { return needsQuotes(text); }
bool ReadStoreValue(std::string_view value, std::string& text) { return unquoted(value, text); }

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
    std::string why;
    if (!StoreWritable(store, why)) {
        error = FileWriteError(path, why);
        return false;
    }
    return WriteFileAtomically(path, StoreText(store, FolderOf(path)), error);
}

}  // namespace coldroom
