#include "ui/project_io.h"

#include <cmath>
#include <stdexcept>
#include <vector>

#include "core/numtext.h"
#include "core/user_interface.h"
#include "files/project_file.h"
#include "refdb/reference_columns.h"
#include "ui/field_ranges.h"
#include "ui/program.h"

namespace coldroom {
namespace {

// ---- Access to the controls by the names of the file's table -----------------------------

ControlRegistry& registryOf(Program& program, ConfigForm form) {
    return form == ConfigForm::Task ? program.task.controls() : program.main.controls();
}

template <class C> C& control(Program& program, ConfigForm form, const char* name) {
    C* c = registryOf(program, form).get<C>(name);
    // The table and the forms name the same controls; a mismatch is a programming error
    // that every save and open test would show at once.
    if (!c) throw std::logic_error(std::string("project file: no control ") + name);
    return *c;
}

// ---- Writing ---------------------------------------------------------------------------

ConfigItem gatherItem(Program& program, int n) {
    const ConfigItemLayout& layout = ConfigLayout(n);
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

// ---- Reading ---------------------------------------------------------------------------

// The number of entries the task's product list will hold once task position `taskPosition`
// of `offered` is chosen (Init keeps the current list for no task at all).
int productCountFor(const Program& program, const std::vector<double>& offered, long taskPosition) {
    if (taskPosition < 0) return static_cast<int>(program.task.TaskProducts.size());
    int row = static_cast<int>(offered[taskPosition]) - 1;
    std::string reference = program.task.Task_array.text(TaskColumn::Reference, row);
    return static_cast<int>(ParseNumberList(reference, kTaskProductsInDialog).values.size());
}

bool inList(long position, int count) { return position >= -1 && position < count; }

// Checks every item against the program as it will be when the item is applied: the lists
// of the main window and the packaging are fixed once loaded, the task list follows item 1
// and the product list follows the task of item 4.
bool checkItems(Program& program, const std::vector<ConfigItem>& items, std::vector<double>& offered,
                std::string& why) {
    NumberList list = ParseNumberList(items[kOfferedTasksItem - 1].text, kMaxOfferedTasks);
    if (list.truncated) {
        why = ConfigLineText(kOfferedTasksItem) + "больше " + std::to_string(kMaxOfferedTasks) + " задач";
        return false;
    }
    const int taskRows = program.task.Task_array.rowCount();
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
    const long product = items[kProductItem - 1].position;
    if (!inList(product, productCountFor(program, offered, taskPosition))) {
        why = ConfigLineText(kProductItem) + "позиция " + std::to_string(product) + " вне списка продуктов";
        return false;
    }
    for (int n = 1; n <= kConfigItemCount; ++n) {
        const ConfigItemLayout& layout = ConfigLayout(n);
        if (layout.kind != ConfigKind::Position || n == kTaskItem || n == kProductItem) continue;
        const ListBox& list = control<ListBox>(program, layout.form, layout.name);
        if (!inList(items[n - 1].position, list.count())) {
            why = ConfigLineText(n) + "позиция " + std::to_string(items[n - 1].position) + " вне списка " +
                  layout.name;
            return false;
        }
    }
    return true;
}

void applyItem(Program& program, int n, const ConfigItem& item, const std::vector<double>& offered) {
    TaskForm& task = program.task;
    MainForm& main = program.main;
    const ConfigItemLayout& layout = ConfigLayout(n);
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
        task.SetTurnoverShare(LeadingNumber(task.Oborot_Prod_txt.text));
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

// Walls that differ must come back as stored, not as copies of the first wall read: the
// main window's mirroring of wall entries is off while a file is applied.
class MirrorPause {
public:
    explicit MirrorPause(MainForm& form) : form_(form), saved_(form.mirrorWalls) { form_.mirrorWalls = false; }
    ~MirrorPause() { form_.mirrorWalls = saved_; }
    MirrorPause(const MirrorPause&) = delete;
    MirrorPause& operator=(const MirrorPause&) = delete;

private:
    MainForm& form_;
    bool saved_;
};

// What the task dialog's confirmation and the window's handlers would have left after the
// user entered this project, so that the activation that follows shows the stored project
// rather than leftovers of the one open before. The task first: the window reads its result.
void settleAfterReading(Program& program) {
    program.task.SettleAfterRead();
    program.main.SettleAfterRead();
}

}  // namespace

bool SaveProject(Program& program, UserInterface& ui, const std::string& path) {
    // A dialog closed without a choice is the person's own wish, no failure.
    if (path.empty()) {
        ui.message(kNoFileChosen, kAppTitle, MsgIcon::Information);
        return false;
    }
    std::vector<ConfigItem> items;
    items.reserve(kConfigItemCount);
    for (int n = 1; n <= kConfigItemCount; ++n) items.push_back(gatherItem(program, n));
    std::string error;
    if (!WriteConfigFile(path, items, error)) {
        ui.message(error, kAppTitle, MsgIcon::Critical);
        return false;
    }
    return true;
}

bool OpenProject(Program& program, UserInterface& ui, const std::string& path, std::string* detail) {
    std::string why;
    auto fail = [&] {
        if (detail) *detail = why;
        ui.message(kOpenFailedProjectKept, kAppTitle, MsgIcon::Critical);
        return false;
    };
    if (path.empty()) {
        why = kNoFileChosen;
        if (detail) *detail = why;
        ui.message(kNoFileChosen, kAppTitle, MsgIcon::Information);
        return false;
    }
    std::vector<ConfigItem> items;
    std::vector<double> offered;
    if (!ReadConfigFile(path, items, why)) return fail();
    if (!program.main.loaded() && !program.EnsureMainLoaded(why)) return fail();
    if (!checkItems(program, items, offered, why)) return fail();

    // Problems the handlers meet on the way are told once, when the whole file is in.
    MainForm::EventScope scope(program.main);
    {
        MirrorPause pause(program.main);
        for (int n = 1; n <= kConfigItemCount; ++n) applyItem(program, n, items[n - 1], offered);
    }
    settleAfterReading(program);
    if (detail) detail->clear();
    // Values no typing check would let in are kept as stored (nothing in the file is lost)
    // but named, all at once.
    const std::vector<std::string> outside = FieldsOutOfRange(program.task.controls(), program.main.controls());
    if (!outside.empty()) {
        std::string text = "Значения вне допустимых пределов (оставлены как в файле):";
        for (const std::string& line : outside) text += "\r\n" + line;
        ui.message(text, kAppTitle, MsgIcon::Warning);
    }
    return true;
}

ProjectDocument::Snapshot ProjectSnapshot(Program& program) {
    ProjectDocument::Snapshot snapshot;
    snapshot.reserve(kConfigItemCount);
    for (int n = 1; n <= kConfigItemCount; ++n) {
        const ConfigItem item = gatherItem(program, n);
        std::string text = item.text;
        text += '\x1f' + std::to_string(item.position) + (item.flag ? "+" : "-");
        if (item.numberSet) text += GeneralText(item.number);
        snapshot.push_back(std::move(text));
    }
    return snapshot;
}

std::vector<bool> MainWindowItems() {
    std::vector<bool> which;
    for (int n = 1; n <= kConfigItemCount; ++n) which.push_back(ConfigLayout(n).form == ConfigForm::Main);
    return which;
}

}  // namespace coldroom
