// The main window's form: construction, defaults, the control registry, the wiring of every
// handler, the rules shared by handlers and the project reader, and the problems shown once.
#include "ui/main/main_form.h"

#include <algorithm>

#include "core/envelope.h"
#include "core/numtext.h"
#include "ui/task/task_form.h"

namespace coldroom {

MainForm::EventScope::~EventScope() {
    if (--form_.eventDepth_ == 0) form_.flushProblems();
}

MainForm::MainForm(ProgramState& state, UserInterface& ui, TaskForm& task)
    : thickness{{{&Nord1_D_txt, &Nord2_D_txt, &Nord3_D_txt},
                 {&South1_D_txt, &South2_D_txt, &South3_D_txt},
                 {&East1_D_txt, &East2_D_txt, &East3_D_txt},
                 {&West1_D_txt, &West2_D_txt, &West3_D_txt},
                 {&Ceil1_D_txt, &Ceil2_D_txt, &Ceil3_D_txt},
                 {&Floor1_D_txt, &Floor2_D_txt, &Floor3_D_txt}}},
      material{{{&Nord1_Mt_cmb, &Nord2_Mt_cmb, &Nord3_Mt_cmb},
                {&South1_Mt_cmb, &South2_Mt_cmb, &South3_Mt_cmb},
                {&East1_Mt_cmb, &East2_Mt_cmb, &East3_Mt_cmb},
                {&West1_Mt_cmb, &West2_Mt_cmb, &West3_Mt_cmb},
                {&Ceil1_Mt_cmb, &Ceil2_Mt_cmb, &Ceil3_Mt_cmb},
                {&Floor1_Mt_cmb, &Floor2_Mt_cmb, &Floor3_Mt_cmb}}},
      surfaceResult{&Nord_Poteri_txt, &South_Poteri_txt, &East_Poteri_txt,
                    &West_Poteri_txt, &Ceil_Poteri_txt, &Floor_Poteri_txt},
      state_(state), ui_(ui), task_(task) {
    registerControls();
    setDefaults();
    wireHandlers();
}

void MainForm::setDefaults() {
    Name_txt.text = "Название задачи";
    Length_txt.text = "10";
    Width_txt.text = "5";
    Height_txt.text = "2.5";
    Volume_txt.text = "125";
    TempIn_txt.text = "-20";
    for (TextBox* t : {&TempNord_txt, &TempSouth_txt, &TempEast_txt, &TempWest_txt, &TempCeil_txt}) t->text = "27";
    TempFloor_txt.text = "0";
    for (auto& layers : thickness) {
        layers[0]->text = "100";
        layers[1]->text = "0";
        layers[2]->text = "0";
    }
    NorthIns_opt.setValue(true);
    SouthIns_opt.setValue(true);
    EastIns_opt.setValue(true);
    WestIns_opt.setValue(true);
    CeilIns_opt.setValue(true);
    FloorAir_Opt.setValue(true);
    FloorCold_Opt.setValue(true);
    optAll_as_one.setValue(1);
    optAll_Temp.setValue(0);

    Door_Standard_opt.setValue(true);
    TypeOfCell_cmb.items = {"Камера хранения охлажденных продуктов", "Камера хранения мороженых продуктов",
                            "Камеры охлаждения мясной и молочной продукции", "Отделение разделки мяса",
                            "Машинный зал", "Шприцовочные отделения", "Сушильные камеры для колбас",
                            "Экспедиция и приемная"};
    TypeOfCurtain_cmb.items = {"Нет занавеси", "Ленточная", "Воздушная"};
    Door_W_txt.text = "2";
    Door_H_txt.text = "2";
    Door_Open_txt.text = "1";
    TempOut_txt.text = "32";
    HumidOut_txt.text = "70";
    NofPeople_txt.text = "1";
    TimePeople_txt.text = "1";
    Electro_txt.text = "0";
    Lifter_txt.text = "0";
    AutoEva_opt.setValue(true);
    ElectroEva_txt.text = "0";
    ElectroEva_txt.enabled = false;
    Cycle_txt.text = "100";

    TypeOfCell_lbl.text = "Тип камеры";
    Door_W_lbl.text = "Ширина двери";
    Door_H_lbl.text = "Высота двери";
    Door_Open_lbl.text = "Дверь открыта";
    TypeOfCurtain_lbl.text = "Тип занавеси";
    TempOut_lbl.text = "Наружная температура";
    HumidOut_lbl.text = "Относительная влажность, %";
    BreathLoss_lbl.text = "Теплота дыхания, Вт";
    BreathLoss_lbl.enabled = false;
    BreathLoss_txt.enabled = false;
    Change_btn.caption = "ИЗМЕНИТЬ";
    Quit_btn.caption = "ВЫХОД";
    // Every result reads 0 until the first recalculation; the door's field keeps its placeholder.
    for (TextBox* r : resultFields_)
        if (r) r->text = "0";
    Door_Loss_txt.text = "Text4";
}

void MainForm::registerControls() {
    auto& r = registry_;
#define REG(name) r.add(#name, &name)
    REG(Name_txt); REG(Length_txt); REG(Width_txt); REG(Height_txt); REG(Volume_txt);
    REG(TempIn_txt); REG(TempNord_txt); REG(TempSouth_txt); REG(TempEast_txt); REG(TempWest_txt);
    REG(TempCeil_txt); REG(TempFloor_txt); REG(Location_cmb);
    REG(NorthSurf_cmb); REG(SouthSurf_cmb); REG(EastSurf_cmb); REG(WestSurf_cmb); REG(CeilSurf_cmb);
    REG(NorthOut_opt); REG(NorthIns_opt); REG(SouthOut_opt); REG(SouthIns_opt); REG(EastOut_opt);
    REG(EastIns_opt); REG(WestOut_opt); REG(WestIns_opt); REG(CeilOut_opt); REG(CeilIns_opt);
    REG(FloorAir_Opt); REG(FloorGrunt_Opt); REG(FloorHeat_Opt); REG(FloorCold_Opt);
    REG(optAll_as_one); REG(optAll_Temp);
    REG(Door_Standard_opt); REG(Door_Special_opt); REG(TypeOfCell_cmb); REG(TypeOfCurtain_cmb);
    REG(Door_W_txt); REG(Door_H_txt); REG(Door_Open_txt); REG(TempOut_txt); REG(HumidOut_txt); REG(Door_Loss_txt);
    REG(TypeOfCell_lbl); REG(Door_W_lbl); REG(Door_H_lbl); REG(Door_Open_lbl); REG(TypeOfCurtain_lbl);
    REG(TempOut_lbl); REG(HumidOut_lbl);
    REG(NofPeople_txt); REG(TimePeople_txt); REG(Electro_txt); REG(Lifter_txt); REG(ElectroEva_txt);
    REG(Cycle_txt); REG(AutoEva_opt); REG(ManualEva_opt);
    REG(TypeOfProduct_lbl); REG(TempIn_lbl); REG(TempEnd_lbl); REG(Loading_lbl); REG(Oborot_lbl);
    REG(AirSpeed_lbl); REG(Tara_lbl); REG(Norma_lbl); REG(TimeReal_lbl); REG(TimeCooling_lbl);
    REG(TimeFreezing_lbl); REG(TimeAfterFreezing_lbl); REG(TimeMin_lbl); REG(BreathLoss_lbl);
    REG(BreathLoss_txt); REG(Change_btn); REG(Quit_btn);
    REG(Panels_poteri); REG(Produk_poteri); REG(Tara_poteri); REG(Exp_Poteri); REG(Total_poteri);
    REG(Capacity_need);
#undef REG
    for (int s = 0; s < kSurfaceCount; ++s) {
        for (int l = 0; l < 3; ++l) {
            std::string base = std::string(kSurfacePrefixes[s]) + std::to_string(l + 1);
            r.add(base + "_D_txt", thickness[s][l]);
            r.add(base + "_Mt_cmb", material[s][l]);
        }
        r.add(std::string(kSurfacePrefixes[s]) + "_Poteri_txt", surfaceResult[s]);
    }
    for (const LoadComponent& c : LoadComponents())
        if (!c.control.empty()) resultFields_[static_cast<int>(c.id)] = r.get<TextBox>(c.control);
}

void MainForm::wireHandlers() {
    auto commit = [](TextBox& box, std::function<void()> f) {
        box.onEnter = f;
        box.onLeave = std::move(f);
    };
    for (int s = 0; s < 6; ++s) {
        for (int l = 0; l < 3; ++l) {
            commit(*thickness[s][l], [this, s, l] { handle([&] { thickness_Commit(s, l); }); });
            material[s][l]->onClick = [this, s, l] { handle([&] { material_Click(s, l); }); };
        }
    }
    ListBox* coatings[4] = {&NorthSurf_cmb, &SouthSurf_cmb, &EastSurf_cmb, &WestSurf_cmb};
    for (int w = 0; w < 4; ++w) coatings[w]->onClick = [this, w] { handle([&] { surfaceCoating_Click(w); }); };
    CeilSurf_cmb.onClick = [this] { handle([&] { RecalcEnvelope(); }); };

    for (TextBox* t : {&TempNord_txt, &TempSouth_txt, &TempEast_txt, &TempWest_txt, &TempCeil_txt})
        commit(*t, [this, t] { handle([&] { wallSideTemp_Commit(*t); }); });
    commit(TempFloor_txt, [this] { handle([&] {
        TempFloor_txt.text = NormalizeNumberText(TempFloor_txt.text);
        RecalcEnvelope();
    }); });
    commit(Length_txt, [this] {
        handle([&] { dimension_Commit(Length_txt, "Length_txt", "Длина камеры должна быть больше 0 м", true); });
    });
    commit(Width_txt, [this] {
        handle([&] { dimension_Commit(Width_txt, "Width_txt", "Ширина камеры должна быть больше 0 м", true); });
    });
    commit(Height_txt, [this] {
        handle([&] { dimension_Commit(Height_txt, "Height_txt", "Высота камеры должна быть больше 0 м", false); });
    });
    commit(Volume_txt, [this] { handle([&] { Volume_txt_Commit(); }); });
    commit(Cycle_txt, [this] { handle([&] { Cycle_txt_Commit(); }); });
    const std::pair<TextBox*, const char*> operation[] = {
        {&Door_W_txt, "Door_W_txt"},         {&Door_H_txt, "Door_H_txt"},     {&Door_Open_txt, "Door_Open_txt"},
        {&TempOut_txt, "TempOut_txt"},       {&HumidOut_txt, "HumidOut_txt"}, {&NofPeople_txt, "NofPeople_txt"},
        {&TimePeople_txt, "TimePeople_txt"}, {&Electro_txt, "Electro_txt"},   {&Lifter_txt, "Lifter_txt"},
        {&ElectroEva_txt, "ElectroEva_txt"}};
    for (const auto& field : operation) {
        TextBox* box = field.first;
        const char* name = field.second;
        commit(*box, [this, box, name] { handle([&] { operation_Commit(*box, name); }); });
    }
    TempIn_txt.onEnter = [this] { handle([&] { TempIn_txt_KeyEnter(); }); };
    TempIn_txt.onLeave = [this] { handle([&] { TempIn_txt_LostFocus(); }); };

    Location_cmb.onClick = [this] { handle([&] { Location_cmb_Click(); }); };
    TypeOfCell_cmb.onClick = [this] { handle([&] { RecalcOperation(); }); };
    TypeOfCurtain_cmb.onClick = [this] { handle([&] { RecalcOperation(); }); };
    for (OptionButton* o : {&NorthOut_opt, &NorthIns_opt, &SouthOut_opt, &SouthIns_opt, &EastOut_opt, &EastIns_opt,
                            &WestOut_opt, &WestIns_opt, &CeilOut_opt, &CeilIns_opt, &FloorCold_Opt})
        o->onClick = [this] { handle([&] { RecalcEnvelope(); }); };
    FloorAir_Opt.onClick = [this] { handle([&] { FloorAir_Opt_Click(); }); };
    FloorGrunt_Opt.onClick = [this] { handle([&] { FloorGrunt_Opt_Click(); }); };
    FloorHeat_Opt.onClick = [this] { handle([&] { FloorHeat_Opt_Click(); }); };
    Door_Standard_opt.onClick = [this] { handle([&] { Door_opt_Click(); }); };
    Door_Special_opt.onClick = [this] { handle([&] { Door_opt_Click(); }); };
    AutoEva_opt.onClick = [this] { handle([&] { AutoEva_opt_Click(); }); };
    ManualEva_opt.onClick = [this] { handle([&] { ManualEva_opt_Click(); }); };
    optAll_Temp.onClick = [this] { handle([&] { optAll_Temp_Click(); }); };
    // A title typed here is the project's title: the next activation must not take it back.
    commit(Name_txt, [this] { state_.ProjectTitle = Name_txt.text; });
    Change_btn.onClick = [this] {
        if (onChangeTask) onChangeTask();
    };
    Quit_btn.onClick = [this] {
        if (onQuit) onQuit();
    };
}

// ---- Rules ----------------------------------------------------------------------------

bool MainForm::FloorHeatingAllowed() const {
    double t = 0;
    return StrictNumber(TempIn_txt.text, t) && t < kFloorHeatingBelow;
}

void MainForm::UpdateLayerEnabling() {
    for (int s = 0; s < kSurfaceCount; ++s)
        for (int l = 1; l < 3; ++l) material[s][l]->enabled = LeadingNumber(thickness[s][l]->text) != 0;
}

void MainForm::SettleAfterRead() {
    task_.RabCoef = static_cast<float>(LeadingNumber(Cycle_txt.text));
    state_.ProjectTitle = Name_txt.text;
    UpdateLayerEnabling();
    TempFloor_txt.enabled = !FloorGrunt_Opt.value();
    const bool heatable = FloorGrunt_Opt.value() && FloorHeatingAllowed();
    FloorHeat_Opt.enabled = heatable;
    FloorCold_Opt.enabled = heatable;
    ElectroEva_txt.enabled = ManualEva_opt.value();
    // The activation only ever enables the respiration fields; a product that does not
    // breathe must not keep them from the project before.
    BreathLoss_lbl.enabled = task_.Cheese;
    BreathLoss_txt.enabled = task_.Cheese;
}

// ---- Problems -------------------------------------------------------------------------

void MainForm::reportProblem(const std::string& text) {
    if (text.empty() || loading_) return;
    if (std::find(problems_.begin(), problems_.end(), text) == problems_.end()) problems_.push_back(text);
}

void MainForm::flushProblems() {
    std::vector<std::string> problems;
    problems.swap(problems_);
    for (const auto& p : problems) ui_.message(p, kAppTitle, MsgIcon::Exclamation);
}

}  // namespace coldroom
