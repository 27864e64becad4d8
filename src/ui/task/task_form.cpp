#include "ui/task/task_form.h"

#include <cmath>

#include "core/numtext.h"
#include "model/field_catalogue.h"
#include "model/task_derived.h"

namespace coldroom {
namespace {

// The title under which the dialog names a field that holds a wrong value.
constexpr const char* kTaskInputErrorTitle = "Неверный ввод параметра";

// An entry of the value the field holds already ("10" over "10.0", or the text left as it was):
// nothing to check and nothing to write anew, so tabbing through the dialog changes no text a
// save writes. A field holding a refused value is checked again. `asTyped`: the value is read
// as the check reads it, without turning a comma into a point.
bool sameValue(const std::string& typed, const std::string& held, bool refused, bool asTyped = false) {
    if (refused) return false;
    if (typed == held) return true;
    const double now = LeadingNumber(asTyped ? typed : NormalizeNumberText(typed));
    const double before = LeadingNumber(held);
    return std::isfinite(now) && now == before;
}

}  // namespace

TaskForm::TaskForm(RoomSession& session, UserInterface& ui) : session_(session), ui_(ui) {
    btn_Meat.caption = "Мясо, птица и субпродукты";
    btn_Kolb.caption = "Колбасы и колбасные изделия";
    btn_Fish.caption = "Рыба и рыбопродукты";
    btn_Milk.caption = "Яйца, сыр и молочные продукты";
    btn_Ice.caption = "Мороженое";
    btn_Special.caption = "Специальные задачи";
    OK_btn.caption = "Далее >>";
    Cancel_btn.caption = "Отмена";
    Smena_cmb.items = ShiftNames();

    RoomProject& p = session_.project;
    TaskDialogState& dialog = session_.dialog;
    const auto group = [this, &p, &dialog](const std::vector<double>& tasks) {
        return [this, &p, &dialog, &tasks] {
            ChooseTaskGroup(p, dialog, *session_.data, tasks);
            Show();
        };
    };
    btn_Meat.onClick = group(MeatTasks());
    btn_Kolb.onClick = group(SausageTasks());
    btn_Fish.onClick = group(FishTasks());
    btn_Milk.onClick = group(MilkTasks());
    btn_Ice.onClick = group(IceCreamTasks());
    btn_Special.onClick = [this, &p, &dialog] {
        tell(ChooseSpecialTasks(p, dialog, *session_.data));
        Show();
    };
    OK_btn.onClick = [this, &p, &dialog] {
        const TaskOutcome outcome = ConfirmTask(p, dialog, *session_.data);
        tell(outcome);
        Show();
        if (!outcome.confirmed) return;
        ui_.hideWindow(WindowId::TaskDialog);
        if (onConfirmed) onConfirmed();
    };
    Cancel_btn.onClick = [this] {
        if (onCancel) onCancel();
    };

    registerControls();
    // Every list and text field goes to the task's rules as its row says; a text field runs the
    // same on Enter and on leaving it.
    for (const FieldSpec& f : FieldCatalogue()) {
        if (f.form != FieldForm::Task) continue;
        if (ListBox* list = registry_.get<ListBox>(f.control)) {
            list->onClick = [this, &p, &dialog, &f, list] {
                ChooseTaskEntry(p, dialog, *session_.data, f, list->index());
                Show();
            };
        } else if (TextBox* box = registry_.get<TextBox>(f.control)) {
            box->onEnter = box->onLeave = [this, &p, &dialog, &f, box] {
                // Leaving a field whose value did not change changes nothing, not even its text.
                const int check = f.role == FieldRole::TurnoverTonnes ? CheckTurnover : f.check;
                if (check >= 0 && sameValue(box->text, f.textOf(p), dialog.FieldError[check], check == CheckCoolingTime))
                    return Show();
                const std::string before = f.textOf(p);
                takeTexts();
                const TaskOutcome outcome = EnterTaskText(p, dialog, f, box->text);
                if (outcome.restored) f.textOf(p) = before;
                tell(outcome);
                Show();
            };
        }
    }
    // Every handler reads the fields as they stand.
    for (auto& [name, ref] : registry_.all()) {
        auto wrap = [this](Handler& h) {
            if (h) h = [this, inner = std::move(h)] {
                takeTexts();
                inner();
            };
        };
        if (auto* b = std::get_if<Button*>(&ref)) wrap((*b)->onClick);
        if (auto* l = std::get_if<ListBox*>(&ref)) wrap((*l)->onClick);
    }
    Show();
}

void TaskForm::registerControls() {
    auto& r = registry_;
#define REG(name) r.add(#name, &name)
    REG(btn_Meat); REG(btn_Kolb); REG(btn_Fish); REG(btn_Milk); REG(btn_Ice); REG(btn_Special);
    REG(Task_cmb); REG(Produkt_cmb); REG(Packing_cmb); REG(Smena_cmb);
    REG(TempIn_txt); REG(Tin_Prod_txt); REG(Tend_Prod_txt); REG(Load_prod_txt); REG(Oborot_Prod_txt);
    REG(Oborot_tonn_txt); REG(Real_time_txt); REG(Velocity_txt); REG(HumidIn_txt); REG(Dimens_txt);
    REG(OK_btn); REG(Cancel_btn); REG(Cycle_lbl);
#undef REG
}

void TaskForm::tell(const TaskOutcome& outcome) {
    for (const TaskNotice& n : outcome.notices) Tell(n);
    if (!outcome.focus.empty()) ui_.setFocus(WindowId::TaskDialog, outcome.focus);
}

void TaskForm::Tell(const TaskNotice& n) {
    {
        switch (n.kind) {
        case TaskNotice::Kind::Refusal:
            ++refusals;
            ui_.message(n.text, kInputErrorTitle, MsgIcon::Critical);
            break;
        case TaskNotice::Kind::NotConfirmed: ui_.message(n.text, kTaskInputErrorTitle, MsgIcon::Critical); break;
        case TaskNotice::Kind::NoSpecialTasks: ui_.message(n.text, "Нет специальных задач!", MsgIcon::Information); break;
        }
    }
}

// What the fields show is the task as it stands: a text typed and not yet entered counts, as
// the dialog's confirmation and checks read it.
void TaskForm::takeTexts() {
    for (const FieldSpec& f : FieldCatalogue())
        if (f.form == FieldForm::Task && f.kind == FieldKind::Text)
            f.textOf(session_.project) = registry_.get<TextBox>(f.control)->text;
}

bool TaskForm::Load(const std::string& databasePath, std::string& error) {
    if (!LoadTaskTables(databasePath, *session_.data, error)) return false;
    StartTask(session_.project, session_.dialog, *session_.data);
    Show();
    return true;
}

void TaskForm::Activate() {
    ActivateTask(session_.project);
    Show();
}

void TaskForm::Show() {
    const RoomProject& p = session_.project;
    const ReferenceData& d = *session_.data;
    auto fill = [&](ListBox& list, const char* control, int count, int position) {
        const FieldSpec& f = *FindField(control, FieldForm::Task);
        list.clear();
        for (int i = 0; i < count; ++i) list.items.push_back(ListText(f, p, d, i));
        list.showIndex(position >= -1 && position < count ? position : -1);
    };
    fill(Task_cmb, "Task_cmb", session_.dialog.taskListEmpty ? 0 : static_cast<int>(p.task.OfferedTasks.size()),
         p.task.Task_cmb);
    if (p.task.TaskTitleSet) Task_cmb.setText(p.task.TaskTitle);
    fill(Produkt_cmb, "Produkt_cmb", static_cast<int>(TaskProductList(p.task, d).size()), p.task.Produkt_cmb);
    fill(Packing_cmb, "Packing_cmb", d.Tara_array.rowCount(), p.task.Packing_cmb);
    Smena_cmb.showIndex(p.task.Smena_cmb);
    Cycle_lbl.text = "цикл " + InputTextSingle(p.task.RabCoef) + " %";
    for (const FieldSpec& f : FieldCatalogue())
        if (f.form == FieldForm::Task && f.kind == FieldKind::Text) registry_.get<TextBox>(f.control)->text = f.textOf(p);
}

TaskForm::Kept TaskForm::Keep() const { return {session_.project.task, session_.dialog, session_.project.ProjectTitle}; }

void TaskForm::Restore(const Kept& kept) {
    session_.project.task = kept.task;
    session_.dialog = kept.dialog;
    session_.project.ProjectTitle = kept.ProjectTitle;
    Show();
}

}  // namespace coldroom
