// State and handlers of the main window "Расчет холодопроизводительности": the room, its
// envelope, surroundings, operation, and the results that follow every accepted input.
#pragma once

#include <array>
#include <functional>
#include <string>
#include <vector>

#include "core/controls.h"
#include "core/load_breakdown.h"
#include "core/load_components.h"
#include "core/program_state.h"
#include "core/user_interface.h"
#include "loads/loads.h"
#include "refdb/reference_db.h"

namespace coldroom {

class TaskForm;

class MainForm {
public:
    MainForm(ProgramState& state, UserInterface& ui, TaskForm& task);
    MainForm(const MainForm&) = delete;
    MainForm& operator=(const MainForm&) = delete;

    // ---- Controls -------------------------------------------------------------------
    TextBox Name_txt;
    TextBox Length_txt, Width_txt, Height_txt, Volume_txt;
    TextBox TempIn_txt, TempNord_txt, TempSouth_txt, TempEast_txt, TempWest_txt, TempCeil_txt, TempFloor_txt;
    ListBox Location_cmb;

    TextBox Nord1_D_txt, Nord2_D_txt, Nord3_D_txt, South1_D_txt, South2_D_txt, South3_D_txt;
    TextBox East1_D_txt, East2_D_txt, East3_D_txt, West1_D_txt, West2_D_txt, West3_D_txt;
    TextBox Ceil1_D_txt, Ceil2_D_txt, Ceil3_D_txt, Floor1_D_txt, Floor2_D_txt, Floor3_D_txt;
    ListBox Nord1_Mt_cmb, Nord2_Mt_cmb, Nord3_Mt_cmb, South1_Mt_cmb, South2_Mt_cmb, South3_Mt_cmb;
    ListBox East1_Mt_cmb, East2_Mt_cmb, East3_Mt_cmb, West1_Mt_cmb, West2_Mt_cmb, West3_Mt_cmb;
    ListBox Ceil1_Mt_cmb, Ceil2_Mt_cmb, Ceil3_Mt_cmb, Floor1_Mt_cmb, Floor2_Mt_cmb, Floor3_Mt_cmb;
    ListBox NorthSurf_cmb, SouthSurf_cmb, EastSurf_cmb, WestSurf_cmb, CeilSurf_cmb;
    OptionButton NorthOut_opt, NorthIns_opt, SouthOut_opt, SouthIns_opt, EastOut_opt, EastIns_opt;
    OptionButton WestOut_opt, WestIns_opt, CeilOut_opt, CeilIns_opt;
    OptionButton FloorAir_Opt, FloorGrunt_Opt, FloorHeat_Opt, FloorCold_Opt;
    CheckBox optAll_as_one, optAll_Temp;
    TextBox Nord_Poteri_txt, South_Poteri_txt, East_Poteri_txt, West_Poteri_txt, Ceil_Poteri_txt, Floor_Poteri_txt;

    OptionButton Door_Standard_opt, Door_Special_opt;
    ListBox TypeOfCell_cmb, TypeOfCurtain_cmb;
    TextBox Door_W_txt, Door_H_txt, Door_Open_txt, TempOut_txt, HumidOut_txt, Door_Loss_txt;
    Caption TypeOfCell_lbl, Door_W_lbl, Door_H_lbl, Door_Open_lbl, TypeOfCurtain_lbl, TempOut_lbl, HumidOut_lbl;
    TextBox NofPeople_txt, TimePeople_txt, Electro_txt, Lifter_txt, ElectroEva_txt, Cycle_txt;
    OptionButton AutoEva_opt, ManualEva_opt;

    Caption TypeOfProduct_lbl, TempIn_lbl, TempEnd_lbl, Loading_lbl, Oborot_lbl, AirSpeed_lbl, Tara_lbl;
    Caption Norma_lbl, TimeReal_lbl, TimeCooling_lbl, TimeFreezing_lbl, TimeAfterFreezing_lbl, TimeMin_lbl;
    Caption BreathLoss_lbl;
    TextBox BreathLoss_txt;
    Button Change_btn, Quit_btn;

    TextBox Panels_poteri, Produk_poteri, Tara_poteri, Exp_Poteri, Total_poteri, Capacity_need;

    // Fill colour of the two shapes behind the temperature frame.
    std::array<int, 3> TempShapeColour{200, 210, 255};
    // Why the total is undefined, for a tooltip or status line; empty when all is defined.
    std::string ResultsProblem;
    // What the last activation did that the person may not expect (a typed work cycle
    // replaced by the task's), for the status line; the window clears it once shown.
    std::string StatusNote;

    // Floor heating is offered only for rooms colder than this, °C.
    static constexpr double kFloorHeatingBelow = -2;

    // ---- Reference data read when the window loads -----------------------------------
    RefTable Loc_array, Oth_array, Upp_array, Mat_array;
    float Illum_store = 0, Illum_techno = 0, Att_Koef_StripCurtain = 0, Att_Koef_AirCurtain = 0;
    double Koef_ElectroEva = 0;

    // ---- Surfaces addressed generically: [surface][layer] in the order north, south,
    // east, west, ceiling, floor.
    std::array<std::array<TextBox*, 3>, kSurfaceCount> thickness;
    std::array<std::array<ListBox*, 3>, kSurfaceCount> material;
    std::array<TextBox*, kSurfaceCount> surfaceResult;

    // ---- Operations ------------------------------------------------------------------
    bool loaded() const { return loaded_; }
    bool loading() const { return loading_; }
    // First showing: reads the reference tables and fills the lists. Returns false with a
    // Russian message when the database cannot be used.
    bool Load(const std::string& databasePath, std::string& error);
    // Every time the window becomes active coming from another window of the program.
    void Activate();
    // Forms the totals from the components computed last and shows every result.
    void UpdateAll();
    void SetDoorMode();
    void ShowRoomTempColour();

    // The components: each gathers its inputs and computes; the first three keep their
    // result in the breakdown, OperationalLoad returns it (door included).
    void ComputeEnvelopeLoss();
    void ProductLoad();
    void PackagingLoad();
    OperationalResult OperationalLoad();
    void CoolingTime();
    void CoolingTimeCheck();

    // Recomputation steps named after the trigger table.
    void RecalcEnvelope();     // the envelope, then UpdateAll
    void RecalcOperation();    // the operation shown anew, then UpdateAll

    // Every load component as the results show it.
    const LoadBreakdown& results() const { return results_; }
    // Puts back results taken from this window earlier (a study's copy of the project).
    void RestoreResults(const LoadBreakdown& results) { results_ = results; }

    // The room is cold enough for a heated floor (its temperature read strictly).
    bool FloorHeatingAllowed() const;
    // A second or third layer's material can be chosen only while the layer has a thickness.
    void UpdateLayerEnabling();
    // After a project was read into the controls: the enabled states, the title and the
    // task's cycle that the handlers would have left had the person entered it.
    void SettleAfterRead();

    // Walls share their layers and coatings while optAll_as_one is set; the project reader
    // suspends this so walls that differ come back as stored.
    bool mirrorWalls = true;

    ControlRegistry& controls() { return registry_; }
    const ControlRegistry& controls() const { return registry_; }

    // Commands of the menus and the toolbar, set by the program.
    std::function<void()> onChangeTask;
    std::function<void()> onQuit;

    // Problems met while computing (undefined loads, inconsistent tables), shown once at
    // the end of the event that caused them.
    void reportProblem(const std::string& text);
    class EventScope {
    public:
        explicit EventScope(MainForm& f) : form_(f) { ++form_.eventDepth_; }
        ~EventScope();
    private:
        MainForm& form_;
    };

private:
    void registerControls();
    void wireHandlers();
    void setDefaults();
    bool loadTable(const char* name, RefTable& into, std::string& error);

    // The driver, with the operation computed once for it: `showOperation` puts it into the
    // operation's field too (otherwise that field changes only with automatic fans).
    void recalculate(const OperationalResult& operation, bool showOperation);
    void showResults();

    // Handlers.
    void thickness_Commit(int surface, int layer);
    void material_Click(int surface, int layer);
    void surfaceCoating_Click(int wall);
    void wallSideTemp_Commit(TextBox& box);
    void dimension_Commit(TextBox& box, const char* name, const char* message, bool affectsOperation);
    void Volume_txt_Commit();
    void Cycle_txt_Commit();
    void operation_Commit(TextBox& box, const char* name);
    void TempIn_txt_KeyEnter();
    void TempIn_txt_LostFocus();
    void Location_cmb_Click();
    void FloorAir_Opt_Click();
    void FloorGrunt_Opt_Click();
    void FloorHeat_Opt_Click();
    void AutoEva_opt_Click();
    void ManualEva_opt_Click();
    void optAll_Temp_Click();
    void Door_opt_Click();
    void refreshStorageCapacity();
    void flushProblems();

    template <class F> void handle(F&& f) {
        EventScope scope(*this);
        f();
    }

    ProgramState& state_;
    UserInterface& ui_;
    TaskForm& task_;
    ReferenceDatabase db_;
    ControlRegistry registry_;
    OptionGroup northGroup_{&NorthOut_opt, &NorthIns_opt}, southGroup_{&SouthOut_opt, &SouthIns_opt};
    OptionGroup eastGroup_{&EastOut_opt, &EastIns_opt}, westGroup_{&WestOut_opt, &WestIns_opt};
    OptionGroup ceilGroup_{&CeilOut_opt, &CeilIns_opt};
    OptionGroup floorPlaceGroup_{&FloorAir_Opt, &FloorGrunt_Opt}, floorHeatGroup_{&FloorHeat_Opt, &FloorCold_Opt};
    OptionGroup doorGroup_{&Door_Standard_opt, &Door_Special_opt}, fanGroup_{&AutoEva_opt, &ManualEva_opt};
    bool loaded_ = false;
    bool activated_ = false;
    bool loading_ = false;
    int eventDepth_ = 0;
    std::vector<std::string> problems_;
    LoadBreakdown results_;
    std::array<TextBox*, kLoadComponentCount> resultFields_{};  // by LoadId; null: no field
};

}  // namespace coldroom
