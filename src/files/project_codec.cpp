#include "files/project_codec.h"

#include <cmath>

#include "core/numtext.h"
#include "model/field_catalogue.h"
#include "model/room_edit.h"
#include "model/task_derived.h"
#include "refdb/reference_columns.h"

namespace coldroom {
namespace {

const FieldSpec& fieldOf(int n) {
    const FieldSpec* f = FieldOfFileItem(n);
    // The file's table and the catalogue name the same fields; a gap is a programming error
    // that every save and open test shows at once.
    if (!f) throw std::logic_error("project file: no field for line " + std::to_string(n));
    return *f;
}

ConfigItem itemOf(const RoomProject& p, int n) {
    ConfigItem item;
    item.kind = ConfigItemKind(n);
    if (n == kOfferedTasksItem) {
        item.text = JoinNumberList(p.task.OfferedTasks);
    } else if (n == kTempInCellItem) {
        const double t = LeadingNumber(p.task.TempIn_txt);
        item.numberSet = std::isfinite(t);
        item.number = item.numberSet ? t : 0;
    } else if (n == kFanItem) {
        item.text = p.AutoEva_opt ? "0" : p.ElectroEva_txt;
    } else {
        const FieldSpec& f = fieldOf(n);
        switch (item.kind) {
        case ConfigKind::Text: item.text = f.textOf(p); break;
        case ConfigKind::Position: item.position = f.positionOf(p); break;
        case ConfigKind::Flag: item.flag = f.optionOf(p) == f.selects; break;
        case ConfigKind::Number: break;
        }
    }
    return item;
}

bool inList(long position, int count) { return position >= -1 && position < count; }

// Checks every item against the lists as they will be when the item is applied: the lists of
// the main window and the packaging are fixed, the task list follows item 1 and the product
// list follows the task of item 4.
bool checkItems(const RoomProject& p, const ReferenceData& d, const std::vector<ConfigItem>& items,
                std::vector<double>& offered, std::string& why) {
    NumberList list = ParseNumberList(items[kOfferedTasksItem - 1].text, kMaxOfferedTasks);
    if (list.truncated) {
        why = ConfigLineText(kOfferedTasksItem) + "больше " + std::to_string(kMaxOfferedTasks) + " задач";
        return false;
    }
    const int taskRows = d.Task_array.rowCount();
    for (double task : list.values) {
        if (task != std::floor(task) || task < 1 || task > taskRows) {
            why = ConfigLineText(kOfferedTasksItem) + "нет задачи с номером " + GeneralText(task);
            return false;
        }
    }
    offered = list.values;

    const long taskPosition = items[kTaskItem - 1].position;
    if (!inList(taskPosition, static_cast<int>(offered.size()))) {
        why = ConfigLineText(kTaskItem) + "позиция " + std::to_string(taskPosition) + " вне списка задач";
        return false;
    }
    TaskValues chosen = p.task;
    chosen.OfferedTasks = offered;
    chosen.Task_cmb = static_cast<int>(taskPosition);
    const int products = static_cast<int>(TaskProductList(chosen, d).size());
    const long product = items[kProductItem - 1].position;
    if (!inList(product, products)) {
        why = ConfigLineText(kProductItem) + "позиция " + std::to_string(product) + " вне списка продуктов";
        return false;
    }
    for (int n = 1; n <= kConfigItemCount; ++n) {
        if (ConfigItemKind(n) != ConfigKind::Position || n == kTaskItem || n == kProductItem) continue;
        const FieldSpec& f = fieldOf(n);
        if (!inList(items[n - 1].position, ListCount(f, p, d))) {
            why = ConfigLineText(n) + "позиция " + std::to_string(items[n - 1].position) + " вне списка " + f.control;
            return false;
        }
    }
    return true;
}

void applyItem(RoomProject& p, TaskDialogState& dialog, const ReferenceData& d, int n, const ConfigItem& item,
               const std::vector<double>& offered) {
    TaskValues& t = p.task;
    switch (n) {
    case kOfferedTasksItem:
        t.OfferedTasks = offered;
        return;
    case kProductItem:
        t.Prod_in_list = static_cast<double>(item.position);
        return;
    case kTaskItem:
        InitTask(p, dialog, d, static_cast<int>(item.position), WholeOr(t.Prod_in_list, -1), t.Packing_cmb);
        return;
    case kTempInCellItem:
        t.TempIn_txt = GeneralText(item.number);
        return;
    case kTurnoverItem:
        t.Oborot_Prod_txt = item.text;
        SetTurnoverShare(t, LeadingNumber(t.Oborot_Prod_txt));
        return;
    case kNameItem:
        p.Name_txt = item.text;
        t.TaskTitle = item.text;
        t.TaskTitleSet = true;
        return;
    case kFanItem:
        if (item.text == "0") {
            p.AutoEva_opt = true;
        } else {
            p.AutoEva_opt = false;
            p.ElectroEva_txt = item.text;
        }
        return;
    default:
        break;
    }
    const FieldSpec& f = fieldOf(n);
    switch (item.kind) {
    case ConfigKind::Text: f.textOf(p) = item.text; break;
    case ConfigKind::Position: f.positionOf(p) = static_cast<int>(item.position); break;
    case ConfigKind::Flag: f.optionOf(p) = item.flag ? f.selects : !f.selects; break;
    case ConfigKind::Number: break;
    }
}

}  // namespace

std::vector<ConfigItem> ProjectItems(const RoomProject& p) {
    std::vector<ConfigItem> items;
    items.reserve(kConfigItemCount);
    for (int n = 1; n <= kConfigItemCount; ++n) items.push_back(itemOf(p, n));
    return items;
}

bool ApplyProjectItems(const std::vector<ConfigItem>& items, const ReferenceData& d, RoomProject& project,
                       TaskDialogState& dialog, std::string& why) {
    std::vector<double> offered;
    if (!checkItems(project, d, items, offered, why)) return false;
    RoomProject p = project;
    TaskDialogState state = dialog;
    for (int n = 1; n <= kConfigItemCount; ++n) applyItem(p, state, d, n, items[n - 1], offered);
    // What the confirmation and the window's handlers would have left had the person entered
    // this project.
    SettleTaskAfterRead(state);
    p.task.RabCoef = static_cast<float>(LeadingNumber(p.Cycle_txt));
    p.ProjectTitle = p.Name_txt;
    project = std::move(p);
    dialog = std::move(state);
    return true;
}

RoomProject StartProject(const ReferenceData& d) {
    RoomProject p;
    TaskDialogState dialog;
    StartTask(p, dialog, d);
    ActivateTask(p);
    ConfirmTask(p, dialog, d);
    SettleNewRoom(p, d);
    p.Name_txt = TaskListText(p, d);
    ActivateRoom(p, true);
    return p;
}

bool ReadProject(const std::string& path, const ReferenceData& d, RoomProject& project, std::string& why,
                 std::vector<std::string>* notices) {
    std::vector<ConfigItem> items;
    if (!ReadConfigFile(path, items, why)) return false;
    RoomProject p = StartProject(d);
    TaskDialogState dialog;
    if (!ApplyProjectItems(items, d, p, dialog, why)) return false;
    const bool heatingRefused = SettleFloorHeating(p);
    if (notices) {
        if (heatingRefused) notices->push_back(kFloorHeatNotice);
        for (const std::string& line : FieldsOutOfRange(p)) notices->push_back(line);
    }
    ActivateRoom(p, false);
    project = std::move(p);
    return true;
}

bool SameFileContent(const RoomProject& a, const RoomProject& b) {
    if (a.task.OfferedTasks != b.task.OfferedTasks || a.AutoEva_opt != b.AutoEva_opt) return false;
    if (!a.AutoEva_opt && a.ElectroEva_txt != b.ElectroEva_txt) return false;
    const double ta = LeadingNumber(a.task.TempIn_txt), tb = LeadingNumber(b.task.TempIn_txt);
    if (!(ta == tb || (std::isnan(ta) && std::isnan(tb)))) return false;
    for (int n = 1; n <= kConfigItemCount; ++n) {
        if (n == kOfferedTasksItem || n == kTempInCellItem || n == kFanItem) continue;
        const FieldSpec& f = fieldOf(n);
        switch (f.kind) {
        case FieldKind::Text:
            if (f.textOf(a) != f.textOf(b)) return false;
            break;
        case FieldKind::List:
        case FieldKind::Check:
            if (f.positionOf(a) != f.positionOf(b)) return false;
            break;
        case FieldKind::Option:
            if (f.optionOf(a) != f.optionOf(b)) return false;
            break;
        }
    }
    return true;
}

}  // namespace coldroom
