#include "files/project_file.h"

#include <cerrno>
#include <charconv>
#include <stdexcept>

#include "core/numtext.h"
#include "io/atomic_file.h"
#include "io/cp1251.h"
#include "io/read_file.h"

namespace coldroom {
namespace {

// A project file is a few kilobytes; anything far larger is not one and is not read whole.
constexpr std::size_t kMaxFileBytes = 1 << 20;

constexpr ConfigKind T = ConfigKind::Text, P = ConfigKind::Position, F = ConfigKind::Flag,
                     N = ConfigKind::Number;
constexpr ConfigForm Dlg = ConfigForm::Task, Win = ConfigForm::Main;

// Item n of the file is kItems[n - 1].
const ConfigItemLayout kItems[kConfigItemCount] = {
    {T, Dlg, "OfferedTasks", nullptr, "Список задач"},
    {P, Dlg, "Produkt_cmb", nullptr, nullptr},
    {P, Dlg, "Packing_cmb", nullptr, nullptr},
    {P, Dlg, "Task_cmb", nullptr, nullptr},
    {N, Dlg, "TempInCell", nullptr, nullptr},
    {T, Dlg, "Tin_Prod_txt", nullptr, "Начальная Т продукта"},
    {T, Dlg, "Tend_Prod_txt", nullptr, "Конечная Т продукта"},
    {T, Dlg, "Load_prod_txt", nullptr, "Загрузка камеры, т"},
    {T, Dlg, "Oborot_Prod_txt", nullptr, "Суточный оборот, % от загрузки"},
    {T, Dlg, "Real_time_txt", nullptr, "Длительность процесса охлаждения (смены), часов"},
    {T, Dlg, "Velocity_txt", nullptr, "Скорость воздуха в камере, м/с"},
    {T, Dlg, "HumidIn_txt", nullptr, "Влажность воздуха, %"},
    {T, Win, "Name_txt", nullptr, "Название задачи"},
    {T, Win, "Length_txt", nullptr, "Длина, м"},
    {T, Win, "Width_txt", nullptr, "Ширина, м"},
    {T, Win, "Height_txt", nullptr, "Высота, м"},
    {T, Win, "Volume_txt", nullptr, "Объем, м³"},
    {P, Win, "Location_cmb", nullptr, nullptr},
    {T, Win, "TempIn_txt", nullptr, "Температура в камере"},
    {T, Win, "TempNord_txt", nullptr, "Температура за северной стеной"},
    {T, Win, "TempWest_txt", nullptr, "Температура за западной стеной"},
    {T, Win, "TempEast_txt", nullptr, "Температура за восточной стеной"},
    {T, Win, "TempSouth_txt", nullptr, "Температура за южной стеной"},
    {T, Win, "TempFloor_txt", nullptr, "Температура под полом"},
    {T, Win, "TempCeil_txt", nullptr, "Температура над потолком"},
    {T, Win, "Nord1_D_txt", nullptr, "Север, слой 1: толщина, мм"},
    {T, Win, "Nord2_D_txt", nullptr, "Север, слой 2: толщина, мм"},
    {T, Win, "Nord3_D_txt", nullptr, "Север, слой 3: толщина, мм"},
    {T, Win, "South1_D_txt", nullptr, "Юг, слой 1: толщина, мм"},
    {T, Win, "South2_D_txt", nullptr, "Юг, слой 2: толщина, мм"},
    {T, Win, "South3_D_txt", nullptr, "Юг, слой 3: толщина, мм"},
    {T, Win, "East1_D_txt", nullptr, "Восток, слой 1: толщина, мм"},
    {T, Win, "East2_D_txt", nullptr, "Восток, слой 2: толщина, мм"},
    {T, Win, "East3_D_txt", nullptr, "Восток, слой 3: толщина, мм"},
    {T, Win, "West1_D_txt", nullptr, "Запад, слой 1: толщина, мм"},
    {T, Win, "West2_D_txt", nullptr, "Запад, слой 2: толщина, мм"},
    {T, Win, "West3_D_txt", nullptr, "Запад, слой 3: толщина, мм"},
    {T, Win, "Ceil1_D_txt", nullptr, "Потолок, слой 1: толщина, мм"},
    {T, Win, "Ceil2_D_txt", nullptr, "Потолок, слой 2: толщина, мм"},
    {T, Win, "Ceil3_D_txt", nullptr, "Потолок, слой 3: толщина, мм"},
    {T, Win, "Floor1_D_txt", nullptr, "Пол, слой 1: толщина, мм"},
    {T, Win, "Floor2_D_txt", nullptr, "Пол, слой 2: толщина, мм"},
    {T, Win, "Floor3_D_txt", nullptr, "Пол, слой 3: толщина, мм"},
    {P, Win, "Nord1_Mt_cmb", nullptr, nullptr},
    {P, Win, "Nord2_Mt_cmb", nullptr, nullptr},
    {P, Win, "Nord3_Mt_cmb", nullptr, nullptr},
    {P, Win, "South1_Mt_cmb", nullptr, nullptr},
    {P, Win, "South2_Mt_cmb", nullptr, nullptr},
    {P, Win, "South3_Mt_cmb", nullptr, nullptr},
    {P, Win, "East1_Mt_cmb", nullptr, nullptr},
    {P, Win, "East2_Mt_cmb", nullptr, nullptr},
    {P, Win, "East3_Mt_cmb", nullptr, nullptr},
    {P, Win, "West1_Mt_cmb", nullptr, nullptr},
    {P, Win, "West2_Mt_cmb", nullptr, nullptr},
    {P, Win, "West3_Mt_cmb", nullptr, nullptr},
    {P, Win, "Ceil1_Mt_cmb", nullptr, nullptr},
    {P, Win, "Ceil2_Mt_cmb", nullptr, nullptr},
    {P, Win, "Ceil3_Mt_cmb", nullptr, nullptr},
    {P, Win, "Floor1_Mt_cmb", nullptr, nullptr},
    {P, Win, "Floor2_Mt_cmb", nullptr, nullptr},
    {P, Win, "Floor3_Mt_cmb", nullptr, nullptr},
    {F, Win, "NorthIns_opt", "NorthOut_opt", nullptr},
    {P, Win, "NorthSurf_cmb", nullptr, nullptr},
    {F, Win, "SouthIns_opt", "SouthOut_opt", nullptr},
    {P, Win, "SouthSurf_cmb", nullptr, nullptr},
    {F, Win, "WestIns_opt", "WestOut_opt", nullptr},
    {P, Win, "WestSurf_cmb", nullptr, nullptr},
    {F, Win, "EastIns_opt", "EastOut_opt", nullptr},
    {P, Win, "EastSurf_cmb", nullptr, nullptr},
    {F, Win, "CeilIns_opt", "CeilOut_opt", nullptr},
    {P, Win, "CeilSurf_cmb", nullptr, nullptr},
    {F, Win, "FloorGrunt_Opt", "FloorAir_Opt", nullptr},
    {F, Win, "FloorHeat_Opt", "FloorCold_Opt", nullptr},
    {T, Win, "Cycle_txt", nullptr, "Рабочий цикл агрегата, %"},
    {T, Win, "Lifter_txt", nullptr, "Теплоприток от двигателей электропогрузчиков, кВт час"},
    {T, Win, "Electro_txt", nullptr, "Теплоприток от эл-двигателей технологического оборудования, кВт час"},
    {T, Win, "ElectroEva_txt", nullptr, "Мощность эл-двигателей вентиляторов воздухоохладителей"},
    {P, Win, "TypeOfCurtain_cmb", nullptr, nullptr},
    {P, Win, "TypeOfCell_cmb", nullptr, nullptr},
    {T, Win, "NofPeople_txt", nullptr, "Кол-во работающих в камере людей"},
    {T, Win, "TimePeople_txt", nullptr, "Время пребывания в хол. камере, часов"},
    {F, Win, "Door_Standard_opt", "Door_Special_opt", nullptr},
    {T, Win, "Door_H_txt", nullptr, "Высота двери"},
    {T, Win, "Door_W_txt", nullptr, "Ширина двери"},
    {T, Win, "Door_Open_txt", nullptr, "Дверь открыта, часов/сутки"},
    {T, Win, "TempOut_txt", nullptr, "Наружная температура"},
    {T, Win, "HumidOut_txt", nullptr, "Относительная влажность, %"},
};

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

const ConfigItemLayout& ConfigLayout(int n) { return kItems[n - 1]; }

ConfigKind ConfigItemKind(int n) { return kItems[n - 1].kind; }

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
            std::string why = unstorableText(items[i].text, kItems[i].label);
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
