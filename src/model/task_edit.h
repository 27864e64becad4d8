// The task dialog's rules over the task of a RoomProject: the product groups, the task chosen
// and what it fills in, the product and its size, the shift mode, the eight checked fields and
// the confirmation. The dialog's own state (which fields hold a refused value) is one struct,
// kept and put back whole with the task when the person leaves the dialog with Escape.
#pragma once

#include <array>
#include <string>
#include <string_view>
#include <vector>

#include "model/reference_data.h"
#include "model/room_project.h"

namespace coldroom {

struct FieldSpec;

// The eight checked fields, in the order their stored errors are reported.
enum TaskCheck : int {
    CheckRoomTemperature,
    CheckProductStart,
    CheckProductEnd,
    CheckTurnover,
    CheckAirVelocity,
    CheckCoolingTime,
    CheckLoad,
    CheckHumidity,
};
inline constexpr int kTaskChecks = 8;

struct TaskDialogState {
    std::array<bool, kTaskChecks> FieldError{};
    std::array<std::string, kTaskChecks> FieldMessage{};
    bool taskListEmpty = false;  // the special group was asked for and has no task

    bool operator==(const TaskDialogState&) const = default;
};

// What the dialog tells the person.
struct TaskNotice {
    enum class Kind {
        Refusal,         // a value its check refuses (the input-error message box)
        NotConfirmed,    // «Далее >>» refused: a field holds a refused value, or no task is chosen
        NoSpecialTasks,  // the special group is empty
    } kind;
    std::string text;
};

struct TaskOutcome {
    bool accepted = true;
    std::vector<TaskNotice> notices;
    std::string focus;      // a control of the dialog the focus moves to
    bool confirmed = false; // «Далее >>» went through
    // A typed text that was no number at all: the field keeps the value it had.
    bool restored = false;
};

// The product groups' task numbers and the number of tasks that come with the program.
const std::vector<double>& MeatTasks();
const std::vector<double>& SausageTasks();
const std::vector<double>& FishTasks();
const std::vector<double>& MilkTasks();
const std::vector<double>& IceCreamTasks();
inline constexpr int kPredefinedTasks = 17;

// The name of checked field k's control ("Tin_Prod_txt").
const char* TaskCheckControl(TaskCheck k);

// The dialog's start: the meat group offered, its first task, product and packaging.
void StartTask(RoomProject& project, TaskDialogState& dialog, const ReferenceData& data);
// Fills the task list from the offered tasks and chooses a task, product and packaging.
void InitTask(RoomProject& project, TaskDialogState& dialog, const ReferenceData& data, int task, int product,
              int packing);
// A product group's button.
void ChooseTaskGroup(RoomProject& project, TaskDialogState& dialog, const ReferenceData& data,
                     std::vector<double> tasks);
TaskOutcome ChooseSpecialTasks(RoomProject& project, TaskDialogState& dialog, const ReferenceData& data);
// The task, product and shift lists (a change of position only).
void ChooseTask(RoomProject& project, TaskDialogState& dialog, const ReferenceData& data, int position);
void ChooseProduct(RoomProject& project, const ReferenceData& data, int position);
void ChooseShift(RoomProject& project, int position);

// A checked field takes `typed` (Enter or leaving it). `silent` sets its flag without a message.
TaskOutcome CheckTaskField(RoomProject& project, TaskDialogState& dialog, TaskCheck k, std::string_view typed,
                           bool silent = false);
// The turnover in tonnes.
TaskOutcome CheckTurnoverTonnes(RoomProject& project, TaskDialogState& dialog, std::string_view typed,
                                bool silent = false);
// A field without a check of its own (the product's size): stored as typed.
void SetTaskText(RoomProject& project, const std::string& control, std::string_view typed);
// Any text field of the dialog entered (Enter or leaving it): its check, the turnover's tonnes,
// or the product's size, as the field is.
TaskOutcome EnterTaskText(RoomProject& project, TaskDialogState& dialog, const FieldSpec& field,
                          std::string_view typed);
// Any list of the dialog: a position chosen (a change of position only).
void ChooseTaskEntry(RoomProject& project, TaskDialogState& dialog, const ReferenceData& data, const FieldSpec& list,
                     int position);

// «Далее >>»: the task's values are checked and handed over; the project takes the task's
// name as its title.
TaskOutcome ConfirmTask(RoomProject& project, TaskDialogState& dialog, const ReferenceData& data);
// The dialog becomes the active window.
void ActivateTask(RoomProject& project);

// The daily turnover in tonnes from its share (%) of the room's load.
void SetTurnoverShare(TaskValues& task, double percent);
// What the confirmation leaves after a project's task was read from a file.
void SettleTaskAfterRead(TaskDialogState& dialog);
// The text the task list shows: the project's title after an open, else the chosen task.
std::string TaskListText(const RoomProject& project, const ReferenceData& data);

}  // namespace coldroom
