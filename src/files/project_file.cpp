#include "files/project_file.h"

#include <array>
#include <cerrno>
#include <charconv>
#include <stdexcept>

#include "core/numtext.h"
#include "io/atomic_file.h"
#include "io/cp1251.h"
#include "io/read_file.h"
#include "model/field_catalogue.h"

namespace coldroom {
namespace {

// A project file is a few kilobytes; anything far larger is not one and is not read whole.
constexpr std::size_t kMaxFileBytes = 1 << 20;

constexpr ConfigKind T = ConfigKind::Text, P = ConfigKind::Position, F = ConfigKind::Flag,
                     N = ConfigKind::Number;
constexpr ConfigForm Dlg = ConfigForm::Task, Win = ConfigForm::Main;

// Item n of the file: every line but the offered tasks (1) and the room temperature as a number
// (5) keeps a field of the catalogue, which gives its kind, its control and its caption.
const std::array<ConfigItemLayout, kConfigItemCount>& items() {
    static const std::vector<std::string> captions = [] {
        std::vector<std::string> c(kConfigItemCount);
        for (int n = 1; n <= kConfigItemCount; ++n)
            if (const FieldSpec* f = FieldOfFileItem(n)) c[n - 1] = f->captionWithUnit();
        return c;
    }();
    static const std::array<ConfigItemLayout, kConfigItemCount> table = [] {
        std::array<ConfigItemLayout, kConfigItemCount> t{};
        t[kOfferedTasksItem - 1] = {T, Dlg, "OfferedTasks", nullptr, "Список задач"};
        t[kTempInCellItem - 1] = {N, Dlg, "TempInCell", nullptr, nullptr};
        for (int n = 1; n <= kConfigItemCount; ++n) {
            const FieldSpec* f = FieldOfFileItem(n);
            if (!f) continue;
            const ConfigForm form = f->form == FieldForm::Task ? Dlg : Win;
            switch (f->kind) {
            case FieldKind::Text: t[n - 1] = {T, form, f->control.c_str(), nullptr, captions[n - 1].c_str()}; break;
            case FieldKind::List:
            case FieldKind::Check: t[n - 1] = {P, form, f->control.c_str(), nullptr, nullptr}; break;
            case FieldKind::Option: t[n - 1] = {F, form, f->control.c_str(), f->other.c_str(), nullptr}; break;
            }
        }
        return t;
    }();
    return table;
}


const char* kTrue = "#TRUE#";
const char* kFalse = "#FALSE#";

std::string_view trimBlanks(std::string_view s) {
    while (!s.empty() && (s.front() == ' ' || s.front() == '\t')) s.remove_prefix(1);
    while (!s.empty() && (s.back() == ' ' || s.back() == '\t')) s.remove_suffix(1);
    return s;
}

bool parseItem(int n, std::string_view line, ConfigItem& item, std::string& why) {
    item = ConfigItem{};
    item.kind = ConfigItemKind(n);
    for (char c : line) {
        if (static_cast<unsigned char>(c) < 0x20 && c != '\t') {
            why = ConfigLineText(n) + "недопустимый управляющий символ";
            return false;
        }
    }
    std::string_view s = trimBlanks(line);
    switch (item.kind) {
    case ConfigKind::Text:
        if (s.size() < 2 || s.front() != '"' || s.back() != '"' ||
            s.substr(1, s.size() - 2).find('"') != std::string_view::npos) {
            why = ConfigLineText(n) + "ожидается текст в кавычках";
            return false;
        }
        item.text.assign(s.substr(1, s.size() - 2));
        return true;
    case ConfigKind::Position: {
        std::string_view digits = s;
        bool negative = false;
        if (!digits.empty() && (digits.front() == '-' || digits.front() == '+')) {
            negative = digits.front() == '-';
            digits.remove_prefix(1);
        }
        long value = 0;
        auto [end, ec] = std::from_chars(digits.data(), digits.data() + digits.size(), value);
        if (digits.empty() || digits.front() < '0' || digits.front() > '9' || ec != std::errc() ||
            end != digits.data() + digits.size()) {
            why = ConfigLineText(n) + "ожидается номер позиции в списке";
            return false;
        }
        item.position = negative ? -value : value;
        return true;
    }
    case ConfigKind::Flag:
        if (s == kTrue || s == kFalse) {
            item.flag = s == kTrue;
            return true;
        }
        why = ConfigLineText(n) + "ожидается #TRUE# или #FALSE#";
        return false;
    case ConfigKind::Number:
        if (s.empty()) return true;
        if (!StrictNumber(s, item.number)) {
            why = ConfigLineText(n) + "ожидается число";
            return false;
        }
        item.numberSet = true;
        return true;
    }
    return false;
}

// Why a text cannot go into the file, or "" when it can.
std::string unstorableText(const std::string& text, const char* label) {
    const std::string field = std::string("Поле «") + label + "» ";
    if (text.find('"') != std::string::npos)
        return field + "содержит кавычку (\"), которую нельзя сохранить в файле конфигурации.";
    if (text.find_first_of("\r\n") != std::string::npos)
        return field + "содержит перевод строки, который нельзя сохранить в файле конфигурации.";
    std::string bad = FirstUnencodableCharacter(text);
    if (!bad.empty())
        return field + "содержит символ «" + bad +
               "», который нельзя сохранить в файле конфигурации (кодировка Windows-1251).";
    return {};
}

bool readFile(const std::string& path, std::string& bytes, std::string& why) {
    const int err = ReadRegularFile(path, kMaxFileBytes, bytes);
    if (err == 0) return true;
    why = err == EFBIG ? "файл слишком велик для файла конфигурации" : FileReadError(path, err);
    return false;
}

}  // namespace

const ConfigItemLayout& ConfigLayout(int n) { return items()[n - 1]; }

ConfigKind ConfigItemKind(int n) { return items()[n - 1].kind; }

std::string ConfigLineText(int n) { return "строка " + std::to_string(n) + ": "; }

std::string FormatConfigItem(const ConfigItem& item) {
    switch (item.kind) {
    case ConfigKind::Text:
        return '"' + item.text + '"';
    case ConfigKind::Position:
        return std::to_string(item.position);
    case ConfigKind::Flag:
        return item.flag ? kTrue : kFalse;
    case ConfigKind::Number:
        return item.numberSet ? GeneralText(item.number) : std::string();
    }
    return {};
}

bool ParseConfigFile(std::string_view bytes, std::vector<ConfigItem>& items, std::string& why) {
    items.clear();
    if (bytes.size() > kMaxFileBytes) {
        why = "файл слишком велик для файла конфигурации";
        return false;
    }
    std::string text;
    if (!Cp1251ToUtf8(bytes, text, why)) return false;
    // Lines end in CR LF; a file whose lines lost their CR on the way reads the same.
    std::vector<std::string_view> lines;
    std::string_view rest = text;
    while (!rest.empty()) {
        std::size_t end = rest.find('\n');
        std::string_view line = rest.substr(0, end);
        if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
        lines.push_back(line);
        if (end == std::string_view::npos) break;
        rest.remove_prefix(end + 1);
    }
    if (static_cast<int>(lines.size()) < kConfigItemCount) {
        why = "файл кончается после строки " + std::to_string(lines.size()) + " из " +
              std::to_string(kConfigItemCount);
        return false;
    }
    for (std::size_t i = kConfigItemCount; i < lines.size(); ++i) {
        if (!trimBlanks(lines[i]).empty()) {
            why = ConfigLineText(static_cast<int>(i) + 1) + "лишняя строка после последнего элемента";
            return false;
        }
    }
    items.resize(kConfigItemCount);
    for (int n = 1; n <= kConfigItemCount; ++n)
        if (!parseItem(n, lines[n - 1], items[n - 1], why)) return false;
    return true;
}

bool ReadConfigFile(const std::string& path, std::vector<ConfigItem>& items, std::string& why) {
    std::string bytes;
    return readFile(path, bytes, why) && ParseConfigFile(bytes, items, why);
}

bool WriteConfigFile(const std::string& path, const std::vector<ConfigItem>& items, std::string& error) {
    if (items.size() != static_cast<std::size_t>(kConfigItemCount))
        throw std::invalid_argument("project file: " + std::to_string(items.size()) + " items");
    std::vector<std::string> lines;
    lines.reserve(items.size());
    for (std::size_t i = 0; i < items.size(); ++i) {
        if (items[i].kind == ConfigKind::Text) {
            std::string why = unstorableText(items[i].text, ConfigLayout(static_cast<int>(i) + 1).label);
            if (!why.empty()) {
                error = why;
                return false;
            }
        }
        lines.push_back(FormatConfigItem(items[i]));
    }
    std::string bytes;
    if (!Utf8ToCp1251(JoinCrLf(lines), bytes, error) || !WriteFileAtomically(path, bytes, error)) {
        error = "Конфигурация не сохранена.\r\n" + error;
        return false;
    }
    return true;
}

}  // namespace coldroom
