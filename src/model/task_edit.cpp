#include "model/task_edit.h"

#include <climits>

#include "core/numtext.h"
#include "core/quantity_ranges.h"
#include "model/field_catalogue.h"
#include "model/task_derived.h"
#include "refdb/reference_columns.h"

namespace coldroom {
namespace {

const char* kCrLf = "\r\n";

// The table row of a task or product number: number 1 is row 0. A number no int holds reads
// no row at all, as a negative one does.
int rowOf(double number) { return WholeOr(number, -1) - 1; }

std::string twoLines(const char* first, const char* second) { return std::string(first) + kCrLf + second; }

std::string& checkedText(TaskValues& t, TaskCheck k) {
    std::string* const fields[kTaskChecks] = {&t.TempIn_txt,   &t.Tin_Prod_txt,  &t.Tend_Prod_txt, &t.Oborot_Prod_txt,
                                              &t.Velocity_txt, &t.Real_time_txt, &t.Load_prod_txt, &t.HumidIn_txt};
    return *fields[k];
}

const QuantityRange& rangeOf(TaskCheck k) { return *FindField(TaskCheckControl(k), FieldForm::Task)->range; }

std::string checkMessage(const TaskValues& t, TaskCheck k, double v) {
    const double tempIn = LeadingNumber(t.TempIn_txt);
    const double tStart = LeadingNumber(t.Tin_Prod_txt);
    const double tEnd = LeadingNumber(t.Tend_Prod_txt);
    const char* endMust = "Температура конца охлаждения должна быть";
    const char* startMust = "Температура начала охлаждения должна быть";
    const bool outside = !rangeOf(k).contains(v);
    using O = TemperatureOrder;
    switch (k) {
    case CheckRoomTemperature:
        if (outside) return "Температура в камере должна быть в пределах от -50°С до +20°С";
        switch (TemperatureOrderBroken(v, tEnd, tStart, TemperatureOf::Room)) {
        case O::RoomAboveEnd: return twoLines(endMust, "больше температуры в камере");
        case O::RoomAboveStart: return twoLines(startMust, "больше температуры в камере");
        default: return {};
        }
    case CheckProductStart:
        if (outside) return twoLines(startMust, "в пределах от -20°С до +36°С");
        switch (TemperatureOrderBroken(tempIn, tEnd, v, TemperatureOf::Start)) {
        case O::RoomAboveStart: return twoLines(startMust, "больше температуры в камере");
        case O::EndAboveStart: return twoLines(startMust, "больше температуры конца охлаждения");
        default: return {};
        }
    case CheckProductEnd:
        if (outside) return twoLines(endMust, "в пределах от -40°С до +15°С");
        switch (TemperatureOrderBroken(tempIn, v, tStart, TemperatureOf::End)) {
        case O::RoomAboveEnd: return twoLines(endMust, "больше температуры в камере");
        case O::EndAboveStart: return twoLines(endMust, "меньше температуры начала охлаждения");
        default: return {};
        }
    case CheckTurnover:
        if (outside)
            return twoLines("Неверно задан суточный оборот продуктов. ", "Значение должно лежать в интервале от 0 до 100 %");
        return {};
    case CheckAirVelocity:
        if (outside) return twoLines("Скорость движения воздуха в камере должна быть", "больше 0 и не больше 20 м/с");
        return {};
    case CheckCoolingTime:
        if (outside) return twoLines("Неверно задано время охлаждения продуктов.", "Значение должно быть больше 0 часов!");
        return {};
    case CheckLoad:
        if (outside) return "Неверно задана загрузка камеры. Значение должно быть положительным!";
        return {};
    case CheckHumidity:
        if (outside)
            return twoLines("Неверно задана относительная влажность в камере. ",
                            "Значение должно быть в интервале от 0 до 100% !");
        return {};
    }
    return {};
}

// A checked field refused: its flag and message are kept for the confirmation, and told now
// unless `silent`.
TaskOutcome refused(TaskDialogState& dialog, TaskCheck k, const std::string& message, bool silent) {
    dialog.FieldError[k] = true;
    dialog.FieldMessage[k] = message;
    TaskOutcome out;
    out.accepted = false;
    if (!silent) out.notices.push_back({TaskNotice::Kind::Refusal, message});
    return out;
}

// The product chosen fills in its size.
void fillProductSize(TaskValues& t, const ReferenceData& d) {
    const int row = ProductRowAt(TaskProductList(t, d), t.Produkt_cmb);
    t.Dimens_txt = GeneralText(100 * d.Prod_array.number(ProductColumn::Dimension, row));
}

// The product list of the chosen task was refilled: the stored position is chosen, or its first
// product where the list has no such position. A position taken runs the product's choice.
void selectProductInList(TaskValues& t, const ReferenceData& d) {
    const int wanted = WholeOr(t.Prod_in_list, INT_MIN);
    const int count = static_cast<int>(TaskProductList(t, d).size());
    const int position = wanted >= -1 && wanted < count ? wanted : count > 0 ? 0 : -1;
    t.Produkt_cmb = position;
    if (position >= 0) fillProductSize(t, d);
}

// What choosing task position `position` fills in.
void taskChosen(RoomProject& p, TaskDialogState& dialog, const ReferenceData& d) {
    TaskValues& t = p.task;
    const int position = t.Task_cmb;
    if (position < 0 || position >= static_cast<int>(t.OfferedTasks.size())) return;
    const int row = rowOf(t.OfferedTasks[position]);
    auto valueText = [&](int column) { return GeneralText(d.Task_array.number(column, row)); };

    t.TempIn_txt = valueText(TaskColumn::TempCell);
    t.Tin_Prod_txt = valueText(TaskColumn::TempIn);
    t.Tend_Prod_txt = valueText(TaskColumn::TempOut);
    t.HumidIn_txt = valueText(TaskColumn::Humidity);
    t.Real_time_txt = valueText(TaskColumn::CoolTime);
    t.Velocity_txt = valueText(TaskColumn::Velocity);

    ChooseShift(p, static_cast<float>(d.Task_array.number(TaskColumn::CoolTime, row)) == 24 ? 0 : 1);

    selectProductInList(t, d);

    // The refilled fields hold the task's values now; a flag left from an earlier entry
    // must not block the confirmation with a message about a value that is gone.
    for (TaskCheck k : {CheckRoomTemperature, CheckProductStart, CheckProductEnd, CheckAirVelocity, CheckCoolingTime,
                        CheckHumidity})
        CheckTaskField(p, dialog, k, checkedText(t, k), true);
}

}  // namespace

const std::vector<double>& MeatTasks() { static const std::vector<double> v{1, 2, 3, 4}; return v; }
const std::vector<double>& SausageTasks() { static const std::vector<double> v{5, 6}; return v; }
const std::vector<double>& FishTasks() { static const std::vector<double> v{7, 8, 9}; return v; }
const std::vector<double>& MilkTasks() { static const std::vector<double> v{10, 11, 12, 13, 14}; return v; }
const std::vector<double>& IceCreamTasks() { static const std::vector<double> v{15, 16, 17}; return v; }

const char* TaskCheckControl(TaskCheck k) {
    static const char* const names[kTaskChecks] = {"TempIn_txt",   "Tin_Prod_txt",  "Tend_Prod_txt", "Oborot_Prod_txt",
                                                   "Velocity_txt", "Real_time_txt", "Load_prod_txt", "HumidIn_txt"};
    return names[k];
}

void StartTask(RoomProject& p, TaskDialogState& dialog, const ReferenceData& d) {
    p.ProjectTitle = "Название проекта";
    p.ReportAuthor = "Исполнитель";
    p.task.OfferedTasks = MeatTasks();
    InitTask(p, dialog, d, 0, 0, 0);
}

void InitTask(RoomProject& p, TaskDialogState& dialog, const ReferenceData& d, int task, int product, int packing) {
    TaskValues& t = p.task;
    dialog.taskListEmpty = false;
    t.TaskTitleSet = false;
    t.TaskTitle.clear();
    t.Task_cmb = -1;
    t.Prod_in_list = product;
    if (task >= 0 && task < static_cast<int>(t.OfferedTasks.size())) {
        t.Task_cmb = task;
        taskChosen(p, dialog, d);
    } else {
        selectProductInList(t, d);
    }
    const int packings = d.Tara_array.rowCount();
    t.Packing_cmb = packing >= -1 && packing < packings ? packing : packings > 0 ? 0 : -1;
}

void ChooseTaskGroup(RoomProject& p, TaskDialogState& dialog, const ReferenceData& d, std::vector<double> tasks) {
    p.task.OfferedTasks = std::move(tasks);
    InitTask(p, dialog, d, 0, 0, 0);
    taskChosen(p, dialog, d);
}

TaskOutcome ChooseSpecialTasks(RoomProject& p, TaskDialogState& dialog, const ReferenceData& d) {
    TaskOutcome out;
    const int n = d.Task_array.rowCount() - kPredefinedTasks;
    if (n < 1) {
        dialog.taskListEmpty = true;
        p.task.Task_cmb = -1;
        p.task.TaskTitleSet = false;
        out.notices.push_back({TaskNotice::Kind::NoSpecialTasks,
                               std::string("Ни одной из специальных задач не введено. Если Вы хотите добавить") +
                                   kCrLf + "свою задачу к уже существующим, нажмите кнопку Далее и воспользуйтесь" +
                                   kCrLf + "командой меню Настройка параметров"});
        return out;
    }
    std::vector<double> tasks;
    for (int i = 1; i <= n; ++i) tasks.push_back(kPredefinedTasks + i);
    ChooseTaskGroup(p, dialog, d, std::move(tasks));
    return out;
}

void ChooseTask(RoomProject& p, TaskDialogState& dialog, const ReferenceData& d, int position) {
    TaskValues& t = p.task;
    const int count = dialog.taskListEmpty ? 0 : static_cast<int>(t.OfferedTasks.size());
    if (position < -1 || position >= count) return;
    t.TaskTitleSet = false;
    if (position == t.Task_cmb) return;
    t.Task_cmb = position;
    taskChosen(p, dialog, d);
}

void ChooseProduct(RoomProject& p, const ReferenceData& d, int position) {
    TaskValues& t = p.task;
    if (position == t.Produkt_cmb || position < -1 || position >= static_cast<int>(TaskProductList(t, d).size()))
        return;
    t.Produkt_cmb = position;
    if (position >= 0) fillProductSize(t, d);
}

void ChooseShift(RoomProject& p, int position) {
    TaskValues& t = p.task;
    if (position == t.Smena_cmb || position < -1 || position > 1) return;
    t.Smena_cmb = position;
    if (position == 0) {
        t.Real_time_txt = "24";
        t.RabCoef = 75;
    }
}

TaskOutcome CheckTaskField(RoomProject& p, TaskDialogState& dialog, TaskCheck k, std::string_view typed, bool silent) {
    TaskOutcome out;
    TaskValues& t = p.task;
    std::string& text = checkedText(t, k);
    text = std::string(typed);
    // The cooling time is judged as typed ("0,5" reads 0) and normalised only once it passed.
    if (k != CheckCoolingTime) text = NormalizeNumberText(text);
    const double v = LeadingNumber(text);
    const std::string message = checkMessage(t, k, v);
    if (!message.empty()) return refused(dialog, k, message, silent);
    dialog.FieldError[k] = false;
    if (k == CheckCoolingTime) text = NormalizeNumberText(text);
    if (silent) return out;
    switch (k) {
    case CheckTurnover:
        SetTurnoverShare(t, v);
        break;
    case CheckLoad: {
        TaskOutcome turnover = CheckTaskField(p, dialog, CheckTurnover, t.Oborot_Prod_txt);
        return turnover;
    }
    default:
        break;
    }
    return out;
}

TaskOutcome CheckTurnoverTonnes(RoomProject& p, TaskDialogState& dialog, std::string_view typed, bool silent) {
    TaskOutcome out;
    TaskValues& t = p.task;
    t.Oborot_tonn_txt = NormalizeNumberText(typed);
    const double v = LeadingNumber(t.Oborot_tonn_txt);
    const double load = LeadingNumber(t.Load_prod_txt);
    if (v < 0 || v > load) {
        return refused(dialog, CheckTurnover,
                       twoLines("Неверно задан суточный оборот продуктов. ",
                                "Значение должно лежать в интервале от 0 до ") + t.Load_prod_txt,
                       silent);
    }
    dialog.FieldError[CheckTurnover] = false;
    if (silent) return out;
    // With no load the turnover can only be 0, and so is its share.
    const double percent = load != 0 ? v / load * 100 : 0;
    t.Oborot_Prod_txt = FormatMask(percent, Mask::NoLeadZero);
    return out;
}

void SetTaskText(RoomProject& p, const std::string& control, std::string_view typed) {
    const FieldSpec* f = FindField(control, FieldForm::Task);
    if (f && f->kind == FieldKind::Text) f->textOf(p) = std::string(typed);
}

TaskOutcome EnterTaskText(RoomProject& p, TaskDialogState& dialog, const FieldSpec& f, std::string_view typed) {
    double value = 0;
    if (!TypedNumber(typed, value)) {
        // A typing slip must not become another number: the field keeps the value it had.
        TaskOutcome out;
        out.accepted = false;
        out.restored = true;
        out.notices.push_back({TaskNotice::Kind::Refusal, f.notANumberText(std::string(typed))});
        return out;
    }
    switch (f.role) {
    case FieldRole::TaskChecked: return CheckTaskField(p, dialog, static_cast<TaskCheck>(f.check), typed);
    case FieldRole::TurnoverTonnes: return CheckTurnoverTonnes(p, dialog, typed);
    default: break;
    }
    // The product's size: a decimal comma reads as a point, as in every other number.
    if (f.range && !f.range->contains(value)) {
        TaskOutcome out;
        out.accepted = false;
        out.restored = true;
        out.notices.push_back({TaskNotice::Kind::Refusal, f.refusalText()});
        return out;
    }
    f.textOf(p) = NormalizeNumberText(typed);
    return {};
}

void ChooseTaskEntry(RoomProject& p, TaskDialogState& dialog, const ReferenceData& d, const FieldSpec& f, int position) {
    switch (f.role) {
    case FieldRole::TaskChoice: ChooseTask(p, dialog, d, position); break;
    case FieldRole::ProductChoice: ChooseProduct(p, d, position); break;
    case FieldRole::ShiftChoice: ChooseShift(p, position); break;
    default: f.positionOf(p) = position; break;
    }
}

TaskOutcome ConfirmTask(RoomProject& p, TaskDialogState& dialog, const ReferenceData& d) {
    TaskOutcome out;
    TaskValues& t = p.task;
    const double hours = LeadingNumber(t.Real_time_txt);
    // A value refused when it was typed is named first: it is what the person must correct. It
    // is judged again as the fields stand now, so a refusal whose cause was mended elsewhere (the
    // room temperature refused for an end temperature corrected since) is gone.
    for (int k = 0; k < kTaskChecks; ++k) {
        if (!dialog.FieldError[k]) continue;
        const auto check = static_cast<TaskCheck>(k);
        const std::string& text = checkedText(t, check);
        const double v = LeadingNumber(check == CheckCoolingTime ? text : NormalizeNumberText(text));
        std::string message = checkMessage(t, check, v);
        const double tonnes = LeadingNumber(t.Oborot_tonn_txt);
        if (message.empty() && check == CheckTurnover && (tonnes < 0 || tonnes > LeadingNumber(t.Load_prod_txt)))
            message = dialog.FieldMessage[k];
        if (message.empty()) {
            dialog.FieldError[k] = false;
            continue;
        }
        dialog.FieldMessage[k] = message;
        out.accepted = false;
        out.notices.push_back({TaskNotice::Kind::NotConfirmed, message});
        return out;
    }
    const int count = dialog.taskListEmpty ? 0 : static_cast<int>(t.OfferedTasks.size());
    if (count == 0 || t.Task_cmb < 0) {
        out.accepted = false;
        out.notices.push_back({TaskNotice::Kind::NotConfirmed,
                               "Не выбрана технологическая задача. Выберите группу продуктов, в которой есть задачи."});
        return out;
    }
    if (!(hours > 0)) {
        // A time that does not read as a positive number would divide every load by zero.
        out = CheckTaskField(p, dialog, CheckCoolingTime, t.Real_time_txt);
        out.accepted = false;
        out.focus = "Real_time_txt";
        return out;
    }
    p.ProjectTitle = TaskListText(p, d);
    out.confirmed = true;
    return out;
}

void ActivateTask(RoomProject& p) {
    p.task.TempIn_txt = GeneralText(LeadingNumber(p.task.TempIn_txt));
    p.task.RabCoef = 100;
}

void SetTurnoverShare(TaskValues& t, double percent) {
    t.Oborot_tonn_txt = FormatMask(percent / 100 * LeadingNumber(t.Load_prod_txt), Mask::Fixed4);
}

void SettleTaskAfterRead(TaskDialogState& dialog) {
    dialog.FieldError.fill(false);
    for (auto& message : dialog.FieldMessage) message.clear();
}

std::string TaskListText(const RoomProject& p, const ReferenceData& d) {
    if (p.task.TaskTitleSet) return p.task.TaskTitle;
    return ListText(*FindField("Task_cmb", FieldForm::Task), p, d, p.task.Task_cmb);
}

}  // namespace coldroom
