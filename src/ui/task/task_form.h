// State and handlers of the technological task dialog " Выбор технологической задачи":
// product group, task, product and packaging, and the task's typical parameters.
#pragma once

#include <array>
#include <cstdint>
#include <functional>
#include <map>
#include <variant>
#include <string>
#include <vector>

#include "core/controls.h"
#include "core/program_state.h"
#include "core/user_interface.h"
#include "refdb/reference_db.h"

namespace coldroom {

class TaskForm {
public:
    TaskForm(ProgramState& state, UserInterface& ui);
    TaskForm(const TaskForm&) = delete;
    TaskForm& operator=(const TaskForm&) = delete;

    // ---- Controls -------------------------------------------------------------------
    Button btn_Meat, btn_Kolb, btn_Fish, btn_Milk, btn_Ice, btn_Special;
    ListBox Task_cmb, Produkt_cmb, Packing_cmb, Smena_cmb;
    TextBox TempIn_txt, Tin_Prod_txt, Tend_Prod_txt, Load_prod_txt, Oborot_Prod_txt,
        Oborot_tonn_txt, Real_time_txt, Velocity_txt, HumidIn_txt, Dimens_txt;
    Button OK_btn, Cancel_btn;

    // ---- Public values read by the main window and the project files -----------------
    double TempInCell = 0;
    int16_t TaskSelected_ind = 0;
    int16_t ProdSelected_ind = 0;
    double Prod_in_list = 0;
    bool Cheese = false;
    float Oborot_Kg = 0;
    float RTime = 0;
    float RabCoef = 100;

    RefTable Task_array, Prod_array, Tara_array;
    std::vector<double> TaskProducts;  // product numbers of the chosen task
    std::string TaskReference;         // the chosen task's Reference text

    // The eight checked fields, in the order their stored errors are reported.
    enum Check : int {
        CheckRoomTemperature,
        CheckProductStart,
        CheckProductEnd,
        CheckTurnover,
        CheckAirVelocity,
        CheckCoolingTime,
        CheckLoad,
        CheckHumidity,
    };
    static constexpr int kChecks = 8;
    std::array<bool, kChecks> FieldError{};
    std::array<std::string, kChecks> FieldMessage{};

    // ---- Operations ------------------------------------------------------------------
    // The program's start duties: open the database, read the tasks, offer the meat group.
    // Returns false with a Russian message when the database cannot be used.
    bool Load(const std::string& databasePath, std::string& error);
    // Every time the dialog becomes the active window.
    void Activate();
    void Init(int IndexTask, int IndexProduct, int IndexTara);

    // Handlers (also reachable through the controls' callbacks).
    void GroupButton_Click(std::vector<double> tasks);
    void btn_Special_Click();
    void Task_cmb_Click();
    void Produkt_cmb_Click();
    void Smena_cmb_Click();
    void OK_btn_Click();
    void Cancel_btn_Click();
    // Runs check k; `silent` sets the flag without a message box and without the
    // follow-up. Returns whether the field passed.
    bool RunCheck(Check k, bool silent = false);
    bool Oborot_tonn_Check(bool silent = false);
    // The daily turnover in tonnes and kilograms from its share (%) of the room's load.
    void SetTurnoverShare(double percent);

    // Whether the chosen task is the one whose products breathe (its list is exactly 27,28).
    bool IsRespirationTask() const;
    // What the confirmation would have left after the person entered a project's stored
    // task: the cooling time and the respiration flag taken from the fields, and no flag of
    // an earlier entry left to block the next confirmation.
    void SettleAfterRead();

    ControlRegistry& controls() { return registry_; }

    // Everything the dialog holds and hands over, kept when it is reopened from the main
    // window so that leaving it with Escape puts the project back as it was.
    struct Kept {
        std::map<std::string, std::variant<TextBox, Caption, Button, ListBox, CheckBox, OptionButton>> controls;
        double TempInCell = 0, Prod_in_list = 0;
        int16_t TaskSelected_ind = 0, ProdSelected_ind = 0;
        bool Cheese = false;
        float Oborot_Kg = 0, RTime = 0, RabCoef = 100;
        std::vector<double> TaskProducts, OfferedTasks;
        std::string TaskReference, ProjectTitle;
        std::array<bool, kChecks> FieldError{};
        std::array<std::string, kChecks> FieldMessage{};
    };
    Kept Keep() const;
    void Restore(const Kept& kept);

    // Set by the program: what confirming and cancelling lead to.
    std::function<void()> onConfirmed;
    std::function<void()> onCancel;

private:
    void registerControls();
    void fillProducts();
    void selectProductInList();
    bool reloadTable(const char* name, RefTable& into);
    TextBox& checkedField(Check k);
    std::string checkMessage(Check k, double v) const;

    ProgramState& state_;
    UserInterface& ui_;
    ReferenceDatabase db_;
    ControlRegistry registry_;
};

}  // namespace coldroom
