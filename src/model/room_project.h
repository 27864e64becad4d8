// One room as a person enters it: every input of the main window and the task dialog, typed.
// Number fields keep the text the person sees ("2.5", "-20"), because every calculation reads
// them with the number-text rules (leading-number parse, single precision where the program
// says so) and a saved file must give back exactly that text. Lists are positions (-1 for
// none) into the reference tables, options of a pair one boolean, check boxes 0 or 1.
// Members bear the names of the controls that show them.
#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <vector>

#include "core/envelope.h"

namespace coldroom {

// The technological task as the person chose and typed it in the task dialog. What follows from
// it (the product row, the hours, the daily mass…) is derived afresh: see task_derived.h.
struct TaskValues {
    std::vector<double> OfferedTasks{1, 2, 3, 4};  // task numbers (row + 1) offered in Task_cmb
    int Task_cmb = 0;        // position in OfferedTasks
    int Produkt_cmb = 0;     // position in the task's product list
    int Packing_cmb = 0;     // row of Tara
    int Smena_cmb = -1;      // 0 continuous, 1 shifts
    // A text the task list shows instead of its entry (a project's title after an open);
    // set only while `TaskTitleSet`.
    std::string TaskTitle;
    bool TaskTitleSet = false;

    // TempIn_txt is the room temperature the task carries; the main window's follows it at every
    // activation, and an entry there is carried back into the task.
    std::string TempIn_txt = "0", Tin_Prod_txt = "0", Tend_Prod_txt = "0", Load_prod_txt = "0",
                Oborot_Prod_txt = "0", Oborot_tonn_txt = "0", Real_time_txt = "0", Velocity_txt = "0",
                HumidIn_txt = "0", Dimens_txt = "0";

    // The work cycle the task hands to the room at the main window's next activation (%): 100
    // whenever the dialog comes up, 75 once the continuous mode is chosen there; after an open,
    // the cycle the file holds. Not derived: the dialog visit that set it is gone by then.
    float RabCoef = 100;
    // The product position a refilled product list selects: set when the dialog starts a task
    // and by an open, never by choosing a product.
    double Prod_in_list = 0;

    bool operator==(const TaskValues&) const = default;
};

struct RoomProject {
    std::string ProjectTitle = "Название проекта";
    std::string ReportAuthor = "Исполнитель";

    // ---- The room -----------------------------------------------------------------------
    std::string Name_txt = "Название задачи";
    std::string Length_txt = "10", Width_txt = "5", Height_txt = "2.5", Volume_txt = "125";
    std::string TempIn_txt = "-20";
    int Location_cmb = -1;

    // ---- The envelope, by surface (north, south, east, west, ceiling, floor) -------------
    std::array<std::array<std::string, 3>, kSurfaceCount> thickness{};  // "Nord1_D_txt" …, mm
    std::array<std::array<int, 3>, kSurfaceCount> material{};           // "Nord1_Mt_cmb" …
    std::array<std::string, kSurfaceCount> sideTemp{};                  // TempNord_txt … TempFloor_txt
    std::array<int, 5> coating{};     // NorthSurf_cmb … CeilSurf_cmb
    std::array<bool, 5> outer{};      // NorthOut_opt … CeilOut_opt (false: the Ins option)
    bool FloorGrunt_Opt = false;      // on the ground (false: FloorAir_Opt, above a room)
    bool FloorHeat_Opt = false;       // heated (false: FloorCold_Opt)
    int optAll_as_one = 1;            // the walls share their layers and coatings
    int optAll_Temp = 0;              // the walls and ceiling share their outside temperature

    // ---- Doors and operation -------------------------------------------------------------
    bool Door_Standard_opt = true;    // false: Door_Special_opt
    int TypeOfCell_cmb = -1, TypeOfCurtain_cmb = -1;
    std::string Door_W_txt = "2", Door_H_txt = "2", Door_Open_txt = "1", TempOut_txt = "32", HumidOut_txt = "70";
    std::string NofPeople_txt = "1", TimePeople_txt = "1", Electro_txt = "0", Lifter_txt = "0";
    bool AutoEva_opt = true;          // false: ManualEva_opt
    std::string ElectroEva_txt = "0"; // entered with manual fans; with automatic ones the result
    std::string Cycle_txt = "100";

    TaskValues task;

    RoomProject();
    bool operator==(const RoomProject&) const = default;
};

// The two room types' and three curtains' names of the fixed lists.
const std::vector<std::string>& RoomTypeNames();
const std::vector<std::string>& CurtainNames();
const std::vector<std::string>& ShiftNames();

}  // namespace coldroom
