#include "files/project_file.h"

#include <charconv>
#include <cmath>
#include <fstream>
#include <iterator>
#include <stdexcept>

#include "core/numtext.h"
#include "core/user_interface.h"
#include "files/atomic_file.h"
#include "files/cp1251.h"
#include "ui/program.h"

namespace coldroom {
namespace {

// A project file is a few kilobytes; anything far larger is not one and is not read whole.
constexpr std::size_t kMaxFileBytes = 1 << 20;
// A task lists at most this many products (the task dialog keeps no more).
constexpr int kMaxTaskProducts = 11;
constexpr int kTaskReferenceColumn = 7;

enum class FormId { Task, Main };

// Item n of the file is kItems[n - 1]. Flags name the option the flag selects when true and
// the one it selects when false; text items carry the name the user knows the field by.
struct ItemLayout {
    ConfigKind kind;
    FormId form;
    const char* name;
    const char* other;  // Flag: the option selected when the flag is false
    const char* label;  // Text: the field's name in messages
};

constexpr ConfigKind T = ConfigKind::Text, P = ConfigKind::Position, F = ConfigKind::Flag,
                     N = ConfigKind::Number;
constexpr FormId Dlg = FormId::Task, Win = FormId::Main;

const ItemLayout kItems[kConfigItemCount] = {
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

// Items the reader treats beyond "set the text / select the entry / select the option".
enum SpecialItem {
    kOfferedTasksItem = 1,
    kProductItem = 2,
    kPackingItem = 3,
    kTaskItem = 4,
    kTempInCellItem = 5,
    kTurnoverItem = 9,
    kNameItem = 13,
    kFanItem = 77,
};

const char* kTrue = "#TRUE#";
const char* kFalse = "#FALSE#";

std::string lineText(int n) { return "строка " + std::to_string(n) + ": "; }

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
            why = lineText(n) + "недопустимый управляющий символ";
            return false;
        }
    }
    std::string_view s = trimBlanks(line);
    switch (item.kind) {
    case ConfigKind::Text:
        if (s.size() < 2 || s.front() != '"' || s.back() != '"' ||
            s.substr(1, s.size() - 2).find('"') != std::string_view::npos) {
            why = lineText(n) + "ожидается текст в кавычках";
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
            why = lineText(n) + "ожидается номер позиции в списке";
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
        why = lineText(n) + "ожидается #TRUE# или #FALSE#";
        return false;
    case ConfigKind::Number:
        if (s.empty()) return true;
        if (!StrictNumber(s, item.number)) {
            why = lineText(n) + "ожидается число";
            return false;
        }
        item.numberSet = true;
        return true;
    }
    return false;
}

// ---- Access to the controls by the names of the table ----------------------------------

ControlRegistry& registryOf(Program& program, FormId form) {
    return form == FormId::Task ? program.task.controls() : program.main.controls();
}

template <class C> C& control(Program& program, FormId form, const char* name) {
    C* c = registryOf(program, form).get<C>(name);
    // The table and the forms name the same controls; a mismatch is a programming error
    // that every save and open test would show at once.
    if (!c) throw std::logic_error(std::string("project file: no control ") + name);
    return *c;
}

// ---- Writing ---------------------------------------------------------------------------

ConfigItem gatherItem(Program& program, int n) {
    const ItemLayout& layout = kItems[n - 1];
    ConfigItem item;
    item.kind = layout.kind;
    if (n == kOfferedTasksItem) {
        item.text = JoinNumberList(program.state.OfferedTasks);
    } else if (n == kTempInCellItem) {
        item.numberSet = std::isfinite(program.task.TempInCell);
        item.number = item.numberSet ? program.task.TempInCell : 0;
    } else if (n == kFanItem) {
        item.text = program.main.ManualEva_opt.value() ? program.main.ElectroEva_txt.text : "0";
    } else if (layout.kind == ConfigKind::Text) {
        item.text = control<TextBox>(program, layout.form, layout.name).text;
    } else if (layout.kind == ConfigKind::Position) {
        item.position = control<ListBox>(program, layout.form, layout.name).index();
    } else if (layout.kind == ConfigKind::Flag) {
        item.flag = control<OptionButton>(program, layout.form, layout.name).value();
    }
    return item;
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

// ---- Reading ---------------------------------------------------------------------------

// The number of entries the task's product list will hold once task position `taskPosition`
// of `offered` is chosen (Init keeps the current list for no task at all).
int productCountFor(const Program& program, const std::vector<double>& offered, long taskPosition) {
    if (taskPosition < 0) return static_cast<int>(program.task.TaskProducts.size());
    int row = static_cast<int>(offered[taskPosition]) - 1;
    std::string reference = program.task.Task_array.text(kTaskReferenceColumn, row);
    return static_cast<int>(ParseNumberList(reference, kMaxTaskProducts).values.size());
}

bool inList(long position, int count) { return position >= -1 && position < count; }

// Checks every item against the program as it will be when the item is applied: the lists
// of the main window and the packaging are fixed once loaded, the task list follows item 1
// and the product list follows the task of item 4.
bool checkItems(Program& program, const std::vector<ConfigItem>& items, std::vector<double>& offered,
                std::string& why) {
    NumberList list = ParseNumberList(items[kOfferedTasksItem - 1].text, kMaxOfferedTasks);
    if (list.truncated) {
        why = lineText(kOfferedTasksItem) + "больше " + std::to_string(kMaxOfferedTasks) + " задач";
        return false;
    }
    const int taskRows = program.task.Task_array.rowCount();
    for (double task : list.values) {
        if (task != std::floor(task) || task < 1 || task > taskRows) {
            why = lineText(kOfferedTasksItem) + "нет задачи с номером " + GeneralText(task);
            return false;
        }
    }
    offered = list.values;

    const long taskPosition = items[kTaskItem - 1].position;
    if (!inList(taskPosition, static_cast<int>(offered.size()))) {
        why = lineText(kTaskItem) + "позиция " + std::to_string(taskPosition) + " вне списка задач";
        return false;
    }
    const long product = items[kProductItem - 1].position;
    if (!inList(product, productCountFor(program, offered, taskPosition))) {
        why = lineText(kProductItem) + "позиция " + std::to_string(product) + " вне списка продуктов";
        return false;
    }
    for (int n = 1; n <= kConfigItemCount; ++n) {
        const ItemLayout& layout = kItems[n - 1];
        if (layout.kind != ConfigKind::Position || n == kTaskItem || n == kProductItem) continue;
        const ListBox& list = control<ListBox>(program, layout.form, layout.name);
        if (!inList(items[n - 1].position, list.count())) {
            why = lineText(n) + "позиция " + std::to_string(items[n - 1].position) + " вне списка " + layout.name;
            return false;
        }
    }
    return true;
}

void applyItem(Program& program, int n, const ConfigItem& item, const std::vector<double>& offered) {
    TaskForm& task = program.task;
    MainForm& main = program.main;
    const ItemLayout& layout = kItems[n - 1];
    switch (n) {
    case kOfferedTasksItem:
        program.state.OfferedTasks = offered;
        return;
    case kProductItem:
        task.Prod_in_list = static_cast<double>(item.position);
        return;
    case kTaskItem: {
        const int position = static_cast<int>(item.position);
        task.Init(position, static_cast<int>(task.Prod_in_list), task.Packing_cmb.index());
        task.Task_cmb.setIndex(position);
        return;
    }
    case kTempInCellItem:
        task.TempInCell = item.number;
        // What the dialog shows for it the next time it becomes active.
        task.TempIn_txt.text = GeneralText(item.number);
        return;
    case kTurnoverItem:
        task.Oborot_Prod_txt.text = item.text;
        task.Oborot_tonn_txt.text =
            FormatMask(LeadingNumber(task.Oborot_Prod_txt.text) / 100 * LeadingNumber(task.Load_prod_txt.text),
                       Mask::Fixed3);
        task.Oborot_Kg = static_cast<float>(LeadingNumber(task.Oborot_tonn_txt.text) * 1000);
        return;
    case kNameItem:
        main.Name_txt.text = item.text;
        task.Task_cmb.setText(item.text);
        return;
    case kFanItem:
        if (item.text == "0") {
            main.AutoEva_opt.setValue(true);
        } else {
            main.ManualEva_opt.setValue(true);
            main.ElectroEva_txt.text = item.text;
        }
        return;
    default:
        break;
    }
    switch (layout.kind) {
    case ConfigKind::Text:
        control<TextBox>(program, layout.form, layout.name).text = item.text;
        break;
    case ConfigKind::Position:
        control<ListBox>(program, layout.form, layout.name).setIndex(static_cast<int>(item.position));
        break;
    case ConfigKind::Flag:
        control<OptionButton>(program, layout.form, item.flag ? layout.name : layout.other).setValue(true);
        break;
    case ConfigKind::Number:
        break;
    }
}

// What the task dialog's confirmation and the window's handlers would have left after the
// user entered this project, so that the activation that follows shows the stored project
// rather than leftovers of the one open before.
void settleAfterReading(Program& program) {
    TaskForm& task = program.task;
    MainForm& main = program.main;
    task.RTime = static_cast<float>(LeadingNumber(task.Real_time_txt.text));
    task.Cheese = task.TaskReference == "27,28";
    task.RabCoef = static_cast<float>(LeadingNumber(main.Cycle_txt.text));
    program.state.ProjectTitle = main.Name_txt.text;
    for (int s = 0; s < 6; ++s)
        for (int l = 1; l < 3; ++l) main.material[s][l]->enabled = LeadingNumber(main.thickness[s][l]->text) != 0;
    main.TempFloor_txt.enabled = !main.FloorGrunt_Opt.value();
    double roomTemperature = 0;
    const bool heatable = main.FloorGrunt_Opt.value() && StrictNumber(main.TempIn_txt.text, roomTemperature) &&
                          roomTemperature < -2;
    main.FloorHeat_Opt.enabled = heatable;
    main.FloorCold_Opt.enabled = heatable;
    main.ElectroEva_txt.enabled = main.ManualEva_opt.value();
    // The activation only ever enables the respiration fields; a product that does not
    // breathe must not keep them from the project before.
    main.BreathLoss_lbl.enabled = task.Cheese;
    main.BreathLoss_txt.enabled = task.Cheese;
    // Stored values are taken as stored; a flag left from the project before would block
    // the dialog's confirmation with a message about a value that is gone.
    task.FieldError.fill(false);
    for (auto& message : task.FieldMessage) message.clear();
}

bool readFile(const std::string& path, std::string& bytes, std::string& why) {
    std::ifstream in(path, std::ios::binary);
    if (!in) {
        why = "не удается открыть файл «" + path + "»";
        return false;
    }
    in.seekg(0, std::ios::end);
    const std::streamoff size = in.tellg();
    if (size < 0) {
        why = "не удается прочитать файл «" + path + "»";
        return false;
    }
    if (static_cast<std::size_t>(size) > kMaxFileBytes) {
        why = "файл слишком велик для файла конфигурации";
        return false;
    }
    in.seekg(0, std::ios::beg);
    bytes.assign(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
    if (in.bad()) {
        why = "не удается прочитать файл «" + path + "»";
        return false;
    }
    return true;
}

}  // namespace

ConfigKind ConfigItemKind(int n) { return kItems[n - 1].kind; }

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
            why = lineText(static_cast<int>(i) + 1) + "лишняя строка после последнего элемента";
            return false;
        }
    }
    items.resize(kConfigItemCount);
    for (int n = 1; n <= kConfigItemCount; ++n)
        if (!parseItem(n, lines[n - 1], items[n - 1], why)) return false;
    return true;
}

bool SaveProject(Program& program, UserInterface& ui, const std::string& path) {
    if (path.empty()) {
        ui.message(kNoFileChosen, kAppTitle, MsgIcon::Critical);
        return false;
    }
    std::vector<std::string> lines;
    lines.reserve(kConfigItemCount);
    for (int n = 1; n <= kConfigItemCount; ++n) {
        ConfigItem item = gatherItem(program, n);
        if (item.kind == ConfigKind::Text) {
            std::string why = unstorableText(item.text, kItems[n - 1].label);
            if (!why.empty()) {
                ui.message(why, kAppTitle, MsgIcon::Critical);
                return false;
            }
        }
        lines.push_back(FormatConfigItem(item));
    }
    std::string bytes, error;
    if (!Utf8ToCp1251(JoinCrLf(lines), bytes, error) || !WriteFileAtomically(path, bytes, error)) {
        ui.message("Конфигурация не сохранена.\r\n" + error, kAppTitle, MsgIcon::Critical);
        return false;
    }
    return true;
}

bool OpenProject(Program& program, UserInterface& ui, const std::string& path, std::string* detail) {
    std::string why;
    auto fail = [&] {
        if (detail) *detail = why;
        ui.message(kConfigReadError, kAppTitle, MsgIcon::Critical);
        return false;
    };
    if (path.empty()) {
        why = kNoFileChosen;
        if (detail) *detail = why;
        ui.message(kNoFileChosen, kAppTitle, MsgIcon::Critical);
        return false;
    }
    std::string bytes;
    std::vector<ConfigItem> items;
    std::vector<double> offered;
    if (!readFile(path, bytes, why) || !ParseConfigFile(bytes, items, why)) return fail();
    if (!program.main.loaded() && !program.EnsureMainLoaded(why)) return fail();
    if (!checkItems(program, items, offered, why)) return fail();

    // Problems the handlers meet on the way are told once, when the whole file is in.
    MainForm::EventScope scope(program.main);
    {
        // Walls that differ must come back as stored, not as copies of the first wall read.
        struct MirrorPause {
            MainForm& form;
            bool saved;
            ~MirrorPause() { form.mirrorWalls = saved; }
        } pause{program.main, program.main.mirrorWalls};
        program.main.mirrorWalls = false;
        for (int n = 1; n <= kConfigItemCount; ++n) applyItem(program, n, items[n - 1], offered);
    }
    settleAfterReading(program);
    if (detail) detail->clear();
    return true;
}

}  // namespace coldroom
