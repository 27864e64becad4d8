// The technological task dialog " Выбор технологической задачи" as the person sees it: its
// controls show the task of the open project, and every entry goes to the task rules.
#pragma once

#include <functional>
#include <string>
#include <vector>

#include "ui/controls.h"
#include "ui/user_interface.h"
#include "model/task_edit.h"
#include "ui/room_session.h"

namespace coldroom {

class TaskForm {
public:
    TaskForm(RoomSession& session, UserInterface& ui);
    TaskForm(const TaskForm&) = delete;
    TaskForm& operator=(const TaskForm&) = delete;

    // ---- Controls -------------------------------------------------------------------
    Button btn_Meat, btn_Kolb, btn_Fish, btn_Milk, btn_Ice, btn_Special;
    ListBox Task_cmb, Produkt_cmb, Packing_cmb, Smena_cmb;
    TextBox TempIn_txt, Tin_Prod_txt, Tend_Prod_txt, Load_prod_txt, Oborot_Prod_txt,
        Oborot_tonn_txt, Real_time_txt, Velocity_txt, HumidIn_txt, Dimens_txt;
    Button OK_btn, Cancel_btn;
    Caption Cycle_lbl;  // the work cycle the mode gives, beside the mode

    // ---- Operations ------------------------------------------------------------------
    // The program's start duties: read the task dialog's tables, offer the meat group.
    // Returns false with a Russian message when the database cannot be used.
    bool Load(const std::string& databasePath, std::string& error);
    // Every time the dialog becomes the active window.
    void Activate();
    // Shows the project's task in the controls.
    void Show();

    // What the dialog holds and hands over, kept when it is reopened from the main window
    // so that leaving it with Escape puts the project back as it was.
    struct Kept {
        TaskValues task;
        TaskDialogState dialog;
        std::string ProjectTitle;
    };
    Kept Keep() const;
    // Tells the person what an entry met.
    void Tell(const TaskNotice& notice);
    void Restore(const Kept& kept);

    ControlRegistry& controls() { return registry_; }
    // How many entries the dialog refused so far.
    int refusals = 0;

    // Set by the program: what confirming and cancelling lead to.
    std::function<void()> onConfirmed;
    std::function<void()> onCancel;

private:
    void registerControls();
    void tell(const TaskOutcome& outcome);
    void takeTexts();

    RoomSession& session_;
    UserInterface& ui_;
    ControlRegistry registry_;
};

}  // namespace coldroom
