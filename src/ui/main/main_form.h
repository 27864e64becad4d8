// The main window "Расчет холодопроизводительности" as the person sees it: its controls show
// the open RoomProject and its result, and every entry goes to the editing layer, after which
// the result is computed anew and shown. The controls bear the names the windows bind to.
#pragma once

#include <array>
#include <functional>
#include <map>
#include <string>
#include <vector>

#include "core/design_margin.h"
#include "core/load_components.h"
#include "model/room_edit.h"
#include "ui/controls.h"
#include "ui/room_session.h"
#include "ui/user_interface.h"

namespace coldroom {

class MainForm {
public:
    MainForm(RoomSession& session, UserInterface& ui);
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
    Caption DoorNotice_lbl;  // the door's room type against the room temperature (door_notice.h)
    // Beneath the results: figures that are defined but may surprise (a door with no gain, more
    // product than the room holds), and a work cycle the task put back, until the next entry.
    Caption ResultsNotice_lbl;
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
    // The design margin, %: a program setting, not part of the project. The results show the
    // capacity with it beneath the required capacity ("" for a margin of 0).
    int DesignMargin = kDefaultDesignMargin;
    std::string MarginText;
    // What the last activation did that the person may not expect (a typed work cycle
    // replaced by the task's), for the status line; the window clears it once shown.
    std::string StatusNote;

    // ---- Surfaces addressed generically: [surface][layer] in the order north, south,
    // east, west, ceiling, floor.
    std::array<std::array<TextBox*, 3>, kSurfaceCount> thickness;
    std::array<std::array<ListBox*, 3>, kSurfaceCount> material;
    std::array<TextBox*, kSurfaceCount> surfaceResult;

    // ---- Operations ------------------------------------------------------------------
    bool loaded() const { return loaded_; }
    // First showing: reads the main window's reference tables and fills the lists. Returns
    // false with a Russian message when the database cannot be used.
    bool Load(const std::string& databasePath, std::string& error);
    // Every time the window becomes active coming from another window of the program.
    void Activate();
    // A new project replaced the open one: its room is settled as at the first load, and the
    // next activation is a first one again; no result is shown until then.
    void StartNew();
    // Shows the project and its result in the controls.
    void Show();

    // Every load component as the results show it.
    const LoadBreakdown& results() const { return session_.result.loads; }

    // A field whose entry was refused holds what was typed until it is entered again or put
    // back. Returns the fields that do now.
    std::vector<std::string> RefusedFields() const;
    // Puts every refused entry back to the project's value. Returns the fields' captions.
    std::vector<std::string> PutBackRefused();
    // A field keeps a refused entry as typed.
    void KeepRefused(const FieldSpec& field, const std::string& shown) { refused_[field.control] = shown; }
    // Set by the program: an entry here changed the task too (the room temperature).
    std::function<void()> onTaskChanged;

    ControlRegistry& controls() { return registry_; }
    const ControlRegistry& controls() const { return registry_; }

    // How many entries this window refused so far: a command after the commit of a pending
    // entry runs only when that entry was taken.
    int refusals = 0;

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
    // Tells the person what an entry met.
    void Tell(const Notice& notice);
    // Recomputes the result and tells what the components `recompute` names met.
    void Recalculate(unsigned recompute);

private:
    void registerControls();
    void wireHandlers();
    void fillLists();
    void handleOutcome(const EditOutcome& outcome, const FieldSpec* field);
    void commitText(const FieldSpec& field, TextBox& box, Entry how);
    void askAboutCoolingTime();
    void flushProblems();

    RoomSession& session_;
    UserInterface& ui_;
    ControlRegistry registry_;
    OptionGroup northGroup_{&NorthOut_opt, &NorthIns_opt}, southGroup_{&SouthOut_opt, &SouthIns_opt};
    OptionGroup eastGroup_{&EastOut_opt, &EastIns_opt}, westGroup_{&WestOut_opt, &WestIns_opt};
    OptionGroup ceilGroup_{&CeilOut_opt, &CeilIns_opt};
    OptionGroup floorPlaceGroup_{&FloorAir_Opt, &FloorGrunt_Opt}, floorHeatGroup_{&FloorHeat_Opt, &FloorCold_Opt};
    OptionGroup doorGroup_{&Door_Standard_opt, &Door_Special_opt}, fanGroup_{&AutoEva_opt, &ManualEva_opt};
    bool loaded_ = false;
    bool activated_ = false;
    int eventDepth_ = 0;
    std::vector<std::string> problems_;
    std::map<std::string, std::string> refused_;  // control -> the text it holds
    std::string cycleNote_;  // the last activation put the task's work cycle over a typed one
    // The catalogue's fields of this window with the control showing each, found once.
    std::vector<std::pair<const FieldSpec*, ControlRef>> shown_;
    std::array<TextBox*, kLoadComponentCount> resultFields_{};  // by LoadId; null: no field
};

}  // namespace coldroom
