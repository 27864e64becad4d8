#include "ui/main/main_form.h"

#include <algorithm>
#include <cmath>

#include "core/envelope.h"
#include "core/numtext.h"
#include "loads/loads.h"
#include "ui/task/task_form.h"

namespace coldroom {
namespace {

const char* kSurfaceNames[6] = {"Nord", "South", "East", "West", "Ceil", "Floor"};
const char* kFloorHeatNotice = "Подогрев пола в среднетемпературных камерах не предусмотрен!";
constexpr int kStartLocation = 34;

std::string loadText(const LoadValue& v) { return v.defined ? GeneralText(v.watts) : kUndefinedText; }

// Product columns of ProdMeat.
enum { kProdNorma = 1, kProdSpecificHeat = 2, kProdTemperatures = 4, kProdEnthalpy = 5, kProdWlaga = 6,
       kProdConduct = 7, kProdConductFrozen = 8, kProdShape = 10, kProdDensity = 11, kProdCryo = 12,
       kProdLatent = 13 };

}  // namespace

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
    setDefaults();
    registerControls();
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
    for (TextBox* r : surfaceResult) r->text = "0";
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
    Door_Loss_txt.text = "Text4";
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
    BreathLoss_txt.text = "0";
    BreathLoss_txt.enabled = false;
    Change_btn.caption = "ИЗМЕНИТЬ";
    Quit_btn.caption = "ВЫХОД";
    for (TextBox* r : {&Panels_poteri, &Produk_poteri, &Tara_poteri, &Exp_Poteri, &Total_poteri, &Capacity_need})
        r->text = "0";
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
    for (int s = 0; s < 6; ++s) {
        for (int l = 0; l < 3; ++l) {
            std::string base = std::string(kSurfaceNames[s]) + std::to_string(l + 1);
            r.add(base + "_D_txt", thickness[s][l]);
            r.add(base + "_Mt_cmb", material[s][l]);
        }
        r.add(std::string(kSurfaceNames[s]) + "_Poteri_txt", surfaceResult[s]);
    }
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
    commit(Length_txt, [this] { handle([&] { dimension_Commit(Length_txt, "Длина камеры должна быть больше 0 м", true); }); });
    commit(Width_txt, [this] { handle([&] { dimension_Commit(Width_txt, "Ширина камеры должна быть больше 0 м", true); }); });
    commit(Height_txt, [this] { handle([&] { dimension_Commit(Height_txt, "Высота камеры должна быть больше 0 м", false); }); });
    commit(Volume_txt, [this] { handle([&] { Volume_txt_Commit(); }); });
    commit(Cycle_txt, [this] { handle([&] { Cycle_txt_Commit(); }); });
    for (TextBox* t : {&Door_W_txt, &Door_H_txt, &Door_Open_txt, &TempOut_txt, &HumidOut_txt, &NofPeople_txt,
                       &TimePeople_txt, &Electro_txt, &Lifter_txt, &ElectroEva_txt})
        commit(*t, [this, t] { handle([&] { operation_Commit(*t); }); });
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

// ---- Loading and activation -----------------------------------------------------------

bool MainForm::loadTable(const char* name, RefTable& into, std::string& error) {
    auto table = db_.loadTable(name, error);
    if (!table) return false;
    into = std::move(*table);
    return true;
}

bool MainForm::Load(const std::string& databasePath, std::string& error) {
    loading_ = true;
    Name_txt.text = task_.Task_cmb.text();
    bool ok = db_.open(databasePath, error) && loadTable("Location", Loc_array, error) &&
              loadTable("Others", Oth_array, error) && loadTable("Upper", Upp_array, error) &&
              loadTable("Isolation", Mat_array, error);
    if (!ok) {
        loading_ = false;
        return false;
    }
    FillList(Location_cmb, Loc_array);
    Illum_store = static_cast<float>(Oth_array.number(1, 0));
    Illum_techno = static_cast<float>(Oth_array.number(1, 1));
    Att_Koef_StripCurtain = static_cast<float>(Oth_array.number(1, 2));
    Att_Koef_AirCurtain = static_cast<float>(Oth_array.number(1, 3));
    Koef_ElectroEva = Oth_array.number(1, 4);
    for (ListBox* l : {&SouthSurf_cmb, &NorthSurf_cmb, &EastSurf_cmb, &WestSurf_cmb, &CeilSurf_cmb})
        FillList(*l, Upp_array);
    for (auto& layers : material)
        for (ListBox* l : layers) FillList(*l, Mat_array);

    {
        EventScope scope(*this);
        Location_cmb.setIndex(std::min(kStartLocation, Location_cmb.count() - 1));
        TypeOfCell_cmb.setIndex(0);
        TypeOfCurtain_cmb.setIndex(0);
        for (ListBox* l : {&SouthSurf_cmb, &NorthSurf_cmb, &EastSurf_cmb, &WestSurf_cmb, &CeilSurf_cmb}) l->setIndex(0);
        for (auto& layers : material)
            for (ListBox* l : layers) l->setIndex(0);
        loading_ = false;
    }
    for (int s = 0; s < 6; ++s)
        for (int l = 1; l < 3; ++l)
            if (LeadingNumber(thickness[s][l]->text) == 0) material[s][l]->enabled = false;
    if (FloorAir_Opt.value()) {
        FloorHeat_Opt.enabled = false;
        FloorCold_Opt.enabled = false;
    }
    loaded_ = true;
    return true;
}

void MainForm::Activate() {
    EventScope scope(*this);
    Name_txt.text = state_.ProjectTitle;
    TypeOfProduct_lbl.text = task_.Produkt_cmb.text();
    TempIn_txt.text = GeneralText(task_.TempInCell);
    TempIn_lbl.text = task_.Tin_Prod_txt.text;
    TempEnd_lbl.text = task_.Tend_Prod_txt.text;
    Loading_lbl.text = task_.Load_prod_txt.text;
    Oborot_lbl.text = task_.Oborot_tonn_txt.text;
    AirSpeed_lbl.text = task_.Velocity_txt.text;
    Tara_lbl.text = task_.Packing_cmb.text();
    TimeReal_lbl.text = task_.Real_time_txt.text;
    panels_ = ComputeEnvelopeLoss();
    Panels_poteri.text = loadText(panels_);
    Exp_Poteri.text = loadText(OperationalLoad());
    product_ = ProductLoad();
    Produk_poteri.text = loadText(product_);
    packaging_ = PackagingLoad();
    Tara_poteri.text = loadText(packaging_);
    CoolingTime();
    if (task_.Cheese) {
        BreathLoss_lbl.enabled = true;
        BreathLoss_txt.enabled = true;
    }
    Cycle_txt.text = GeneralTextSingle(task_.RabCoef);
    SetDoorMode();
    UpdateAll();
    ShowRoomTempColour();
}

// ---- The driver -----------------------------------------------------------------------

void MainForm::UpdateAll() {
    double P = LeadingNumber(Produk_poteri.text) + LeadingNumber(Panels_poteri.text);
    LoadValue E = OperationalLoad();
    double T = P + E.watts + LeadingNumber(Tara_poteri.text);

    ResultsProblem.clear();
    for (const LoadValue* part : {&panels_, &product_, &packaging_, &E})
        if (!part->defined && ResultsProblem.empty()) ResultsProblem = part->problem;
    if (!ResultsProblem.empty()) {
        Total_poteri.text = kUndefinedText;
        Capacity_need.text = kUndefinedText;
        if (AutoEva_opt.value()) ElectroEva_txt.text = kUndefinedText;
        return;
    }

    Total_poteri.text = GeneralText(T);
    double C = LeadingNumber(Cycle_txt.text);
    if (C == 0) {
        // No running time at all: the plant cannot remove any heat, the capacity is undefined.
        ResultsProblem = "Рабочий цикл агрегата равен 0 %: требуемая холодопроизводительность не определена";
        Capacity_need.text = kUndefinedText;
        if (AutoEva_opt.value()) {
            ElectroEva_txt.text = kUndefinedText;
            Exp_Poteri.text = WholeText(E.watts);
            Total_poteri.text = WholeText(T);
        }
        return;
    }
    Capacity_need.text = WholeText(LeadingNumber(Total_poteri.text) * 100 / C);
    if (AutoEva_opt.value()) {
        double F = LeadingNumber(Capacity_need.text) * Koef_ElectroEva;
        ElectroEva_txt.text = WholeText(F);
        double fanHeat = F * C / 100;
        Exp_Poteri.text = WholeText(OperationalLoad().watts + fanHeat);
        Total_poteri.text = WholeText(T + fanHeat);
        Capacity_need.text = WholeText(LeadingNumber(Total_poteri.text) * 100 / C);
    }
}

void MainForm::SetDoorMode() {
    bool standard = Door_Standard_opt.value();
    TypeOfCell_cmb.enabled = standard;
    TypeOfCell_lbl.enabled = standard;
    for (TextBox* t : {&Door_Open_txt, &Door_H_txt, &Door_W_txt, &TempOut_txt, &HumidOut_txt}) t->enabled = !standard;
    TypeOfCurtain_cmb.enabled = !standard;
    for (Caption* c : {&Door_Open_lbl, &Door_H_lbl, &Door_W_lbl, &TypeOfCurtain_lbl, &TempOut_lbl, &HumidOut_lbl})
        c->enabled = !standard;
}

void MainForm::ShowRoomTempColour() {
    if (LeadingNumber(TempIn_txt.text) >= 0)
        TempShapeColour = {250, 210, 200};
    else
        TempShapeColour = {200, 210, 255};
}

void MainForm::RecalcEnvelope() {
    if (loading_) return;  // the activation after loading computes everything
    panels_ = ComputeEnvelopeLoss();
    Panels_poteri.text = loadText(panels_);
    UpdateAll();
}

void MainForm::RecalcOperation() {
    if (loading_) return;
    Exp_Poteri.text = loadText(OperationalLoad());
    UpdateAll();
}

// ---- Components: gather the inputs, compute, write the results --------------------------

LoadValue MainForm::ComputeEnvelopeLoss() {
    EnvelopeInputs in;
    in.velocity = LeadingNumber(task_.Velocity_txt.text);
    ListBox* coating[5] = {&NorthSurf_cmb, &SouthSurf_cmb, &EastSurf_cmb, &WestSurf_cmb, &CeilSurf_cmb};
    // One list without a choice makes all six read as their first row.
    bool anyUnset = Location_cmb.index() < 0;
    for (ListBox* c : coating) anyUnset = anyUnset || c->index() < 0;
    auto position = [&](const ListBox& l) { return anyUnset ? 0 : l.index(); };
    in.latitude = Loc_array.number(1, position(Location_cmb));
    OptionButton* outer[5] = {&NorthOut_opt, &SouthOut_opt, &EastOut_opt, &WestOut_opt, &CeilOut_opt};
    TextBox* side[6] = {&TempNord_txt, &TempSouth_txt, &TempEast_txt, &TempWest_txt, &TempCeil_txt, &TempFloor_txt};
    for (int s = 0; s < 6; ++s) {
        SurfaceInput& surface = in.surfaces[s];
        for (int l = 0; l < 3; ++l) {
            surface.layers[l].thicknessText = thickness[s][l]->text;
            surface.layers[l].conductivity = Mat_array.number(1, material[s][l]->index());
        }
        if (s < 5) {
            surface.outer = outer[s]->value();
            surface.absorption = Upp_array.number(1, position(*coating[s]));
        }
        surface.sideTemperature = LeadingNumber(side[s]->text);
    }
    in.tempIn = LeadingNumber(TempIn_txt.text);
    in.length = LeadingNumber(Length_txt.text);
    in.width = LeadingNumber(Width_txt.text);
    in.height = LeadingNumber(Height_txt.text);
    in.floorAboveRoom = FloorAir_Opt.value();
    in.floorHeated = FloorHeat_Opt.value();

    EnvelopeResult result = computeEnvelope(in);
    for (int s = 0; s < 6; ++s) {
        surfaceResult[s]->text = loadText(result.surfaces[s]);
        if (!result.surfaces[s].defined) reportProblem(result.surfaces[s].problem);
    }
    state_.WallLossTotal = result.wallTotal.watts;
    state_.WallLossDefined = result.wallTotal.defined;
    return result.total;
}

LoadValue MainForm::OperationalLoad() {
    OperationalInputs in;
    in.roomType = TypeOfCell_cmb.index();
    in.tempIn = LeadingNumber(TempIn_txt.text);
    in.length = LeadingNumber(Length_txt.text);
    in.width = LeadingNumber(Width_txt.text);
    in.peopleHours = LeadingNumber(TimePeople_txt.text);
    in.people = LeadingNumber(NofPeople_txt.text);
    in.lifterKWh = LeadingNumber(Lifter_txt.text);
    in.equipmentKWh = LeadingNumber(Electro_txt.text);
    in.fanPower = LeadingNumber(ElectroEva_txt.text);
    in.fansManual = ManualEva_opt.value();
    in.cycle = LeadingNumber(Cycle_txt.text);
    in.curtain = TypeOfCurtain_cmb.index();
    in.tempOut = LeadingNumber(TempOut_txt.text);
    in.humidOut = LeadingNumber(HumidOut_txt.text);
    in.humidIn = LeadingNumber(task_.HumidIn_txt.text);
    in.doorHours = LeadingNumber(Door_Open_txt.text);
    in.doorHeight = LeadingNumber(Door_H_txt.text);
    in.doorWidth = LeadingNumber(Door_W_txt.text);
    in.doorStandard = Door_Standard_opt.value();
    in.doorSpecial = Door_Special_opt.value();
    in.rTime = task_.RTime;
    in.illumStore = Illum_store;
    in.illumTechno = Illum_techno;
    in.attStrip = Att_Koef_StripCurtain;
    in.attAir = Att_Koef_AirCurtain;
    OperationalResult result = computeOperationalLoad(in);
    Door_Loss_txt.text = loadText(result.door);
    if (!result.total.defined) reportProblem(result.total.problem);
    return result.total;
}

LoadValue MainForm::ProductLoad() {
    int row = std::max<int>(0, task_.ProdSelected_ind);
    const RefTable& prod = task_.Prod_array;
    ProductLoadInputs in;
    in.tIn = LeadingNumber(task_.Tin_Prod_txt.text);
    in.tEnd = LeadingNumber(task_.Tend_Prod_txt.text);
    in.dailyMassKg = task_.Oborot_Kg;
    in.requestedHours = LeadingNumber(task_.Real_time_txt.text);
    in.respiration = task_.Cheese;
    in.volume = LeadingNumber(Volume_txt.text);
    in.normaText = prod.text(kProdNorma, row);
    in.temperaturesText = prod.text(kProdTemperatures, row);
    in.enthalpyText = prod.text(kProdEnthalpy, row);
    in.productName = prod.text(0, row);
    ProductLoadResult result = computeProductLoad(in);
    Norma_lbl.text = GeneralText(result.storageCapacity);
    BreathLoss_txt.text = GeneralText(result.respiration);
    if (!result.warning.empty()) reportProblem(result.warning);
    if (!result.load.defined) reportProblem(result.load.problem);
    return result.load;
}

LoadValue MainForm::PackagingLoad() {
    PackagingLoadInputs in;
    in.tIn = LeadingNumber(task_.Tin_Prod_txt.text);
    in.tEnd = LeadingNumber(task_.Tend_Prod_txt.text);
    in.dailyMassKg = task_.Oborot_Kg;
    int position = task_.Packing_cmb.index();
    in.packagingSelected = position >= 0;
    in.specificHeat = task_.Tara_array.number(1, position);
    in.rTime = task_.RTime;
    LoadValue result = computePackagingLoad(in);
    if (!result.defined) reportProblem(result.problem);
    return result;
}

void MainForm::CoolingTime() {
    int row = std::max<int>(0, task_.ProdSelected_ind);
    const RefTable& prod = task_.Prod_array;
    CoolingTimeInputs in;
    in.tIn = LeadingNumber(TempIn_lbl.text);
    in.tEnd = LeadingNumber(TempEnd_lbl.text);
    in.tAir = static_cast<float>(task_.TempInCell);
    in.velocity = LeadingNumber(task_.Velocity_txt.text);
    in.sizeCm = LeadingNumber(task_.Dimens_txt.text);
    in.taskPosition = task_.TaskSelected_ind;
    in.requestedHours = LeadingNumber(task_.Real_time_txt.text);
    in.cs = prod.number(kProdSpecificHeat, row);
    in.water = prod.number(kProdWlaga, row);
    in.lambda = prod.number(kProdConduct, row);
    in.lambdaFrozen = prod.number(kProdConductFrozen, row);
    in.shape = prod.number(kProdShape, row);
    in.density = prod.number(kProdDensity, row);
    in.tCryo = prod.number(kProdCryo, row);
    in.latent = prod.number(kProdLatent, row);
    CoolingTimeResult result = computeCoolingTime(in);
    switch (result.status) {
    case CoolingTimeResult::Status::Error:
        ui_.message("Ошибка расчета времени охлаждения/замораживания! ", kAppTitle, MsgIcon::Exclamation);
        return;
    case CoolingTimeResult::Status::SameTemperature:
        TimeMin_lbl.text = "0";
        TimeReal_lbl.text = GeneralTextSingle(task_.RTime);
        // Stage times of an earlier task must not stand beside a total of 0.
        TimeCooling_lbl.text = TimeFreezing_lbl.text = TimeAfterFreezing_lbl.text = "0.0";
        return;
    case CoolingTimeResult::Status::Computed:
        break;
    }
    TimeCooling_lbl.text = FormatMask(result.coolingHours, Mask::Fixed4);
    TimeFreezing_lbl.text = FormatMask(result.freezingHours, Mask::Fixed4);
    TimeAfterFreezing_lbl.text = FormatMask(result.afterFreezingHours, Mask::Fixed4);
    TimeMin_lbl.text = FormatMask(result.totalHours, Mask::Fixed4);
    if (result.tooShort) CoolingTimeCheck();
}

void MainForm::CoolingTimeCheck() {
    std::string text = "Желаемое время меньше расчетного! Для заданных параметров невозможно\r\n охладить продукт за " +
                       task_.Real_time_txt.text + " ч.\r\n Изменить желаемое время охлаждения?";
    if (ui_.message(text, "Ошибка ввода времени охлаждения", MsgIcon::None, MsgButtons::YesNo) == MsgAnswer::Yes) {
        ui_.showWindow(WindowId::TaskDialog);
        ui_.setFocus(WindowId::TaskDialog, "Real_time_txt");
    }
}

// ---- Handlers -------------------------------------------------------------------------

void MainForm::thickness_Commit(int s, int l) {
    TextBox& box = *thickness[s][l];
    box.text = NormalizeNumberText(box.text);
    if (l > 0) material[s][l]->enabled = LeadingNumber(box.text) != 0;
    if (s < 4 && optAll_as_one.value() && mirrorWalls) {
        for (int w = 0; w < 4; ++w) {
            if (w == s) continue;
            thickness[w][l]->text = box.text;
            if (l > 0) material[w][l]->enabled = true;
        }
    }
    RecalcEnvelope();
}

void MainForm::material_Click(int s, int l) {
    if (s < 4 && optAll_as_one.value() && mirrorWalls) {
        int position = material[s][l]->index();
        for (int w = 0; w < 4; ++w)
            if (w != s) material[w][l]->setIndex(position);
    }
    RecalcEnvelope();
}

void MainForm::surfaceCoating_Click(int wall) {
    ListBox* coatings[4] = {&NorthSurf_cmb, &SouthSurf_cmb, &EastSurf_cmb, &WestSurf_cmb};
    if (optAll_as_one.value() && mirrorWalls) {
        int position = coatings[wall]->index();
        for (int w = 0; w < 4; ++w)
            if (w != wall) coatings[w]->setIndex(position);
    }
    RecalcEnvelope();
}

void MainForm::wallSideTemp_Commit(TextBox& box) {
    box.text = NormalizeNumberText(box.text);
    if (optAll_Temp.value())
        for (TextBox* t : {&TempNord_txt, &TempSouth_txt, &TempEast_txt, &TempWest_txt, &TempCeil_txt})
            if (t != &box) t->text = box.text;
    RecalcEnvelope();
}

void MainForm::refreshStorageCapacity() {
    int row = std::max<int>(0, task_.ProdSelected_ind);
    double norm = LeadingNumber(NormalizeNumberText(task_.Prod_array.text(kProdNorma, row)));
    Norma_lbl.text = GeneralText(LeadingNumber(Volume_txt.text) * norm);
}

void MainForm::dimension_Commit(TextBox& box, const char* message, bool affectsOperation) {
    box.text = NormalizeNumberText(box.text);
    if (!(LeadingNumber(box.text) > 0)) {
        ui_.message(message, kInputErrorTitle, MsgIcon::Critical);
        ui_.setFocus(WindowId::MainWindow, &box == &Length_txt ? "Length_txt" : &box == &Width_txt ? "Width_txt" : "Height_txt");
        return;
    }
    double volume = LeadingNumber(Length_txt.text) * LeadingNumber(Width_txt.text) * LeadingNumber(Height_txt.text);
    Volume_txt.text = NormalizeNumberText(FormatMask(volume, Mask::Fixed4));
    refreshStorageCapacity();
    if (loading_) return;
    panels_ = ComputeEnvelopeLoss();
    Panels_poteri.text = loadText(panels_);
    if (affectsOperation) Exp_Poteri.text = loadText(OperationalLoad());
    UpdateAll();
}

void MainForm::Volume_txt_Commit() {
    Volume_txt.text = NormalizeNumberText(Volume_txt.text);
    double across = LeadingNumber(Width_txt.text) * LeadingNumber(Height_txt.text);
    // The length follows the volume; with no cross-section there is nothing to follow.
    if (across != 0)
        Length_txt.text = NormalizeNumberText(FormatMask(LeadingNumber(Volume_txt.text) / across, Mask::Fixed4));
    RecalcEnvelope();
}

void MainForm::Cycle_txt_Commit() {
    double v = 0;
    Cycle_txt.text = NormalizeNumberText(Cycle_txt.text);
    v = LeadingNumber(Cycle_txt.text);
    if (v < 0 || v > 100) {
        ui_.message("Значение должно быть между 0% и 100% !", kInputErrorTitle, MsgIcon::Critical);
        ui_.setFocus(WindowId::MainWindow, "Cycle_txt");
        return;
    }
    UpdateAll();
}

void MainForm::operation_Commit(TextBox& box) {
    box.text = NormalizeNumberText(box.text);
    RecalcOperation();
}

void MainForm::TempIn_txt_KeyEnter() {
    TempIn_txt.text = NormalizeNumberText(TempIn_txt.text);
    double v = LeadingNumber(TempIn_txt.text);
    const char* message = nullptr;
    if (v < -50 || v > 20)
        message = "Температура в камере должна быть в пределах от -50°С до +20°С";
    else if (v > LeadingNumber(task_.Tend_Prod_txt.text))
        message = "Температура конца охлаждения должна быть\r\nбольше температуры в камере";
    if (message) {
        ui_.message(message, kInputErrorTitle, MsgIcon::Critical);
        ui_.setFocus(WindowId::MainWindow, "TempIn_txt");
        return;
    }
    ui_.setFocus(WindowId::MainWindow, "optAll_Temp");
}

void MainForm::TempIn_txt_LostFocus() {
    TempIn_txt.text = NormalizeNumberText(TempIn_txt.text);
    double v = LeadingNumber(TempIn_txt.text);
    task_.TempInCell = v;
    task_.TempIn_txt.text = GeneralText(v);
    if (FloorHeat_Opt.value() && v >= -2) {
        ui_.message(kFloorHeatNotice, kAppTitle, MsgIcon::None);
        FloorCold_Opt.setValue(true);
    }
    if (FloorGrunt_Opt.value() && v < -2) {
        FloorHeat_Opt.enabled = true;
        FloorCold_Opt.enabled = true;
    }
    if (loading_) return;
    panels_ = ComputeEnvelopeLoss();
    Panels_poteri.text = loadText(panels_);
    Exp_Poteri.text = loadText(OperationalLoad());
    CoolingTime();
    UpdateAll();
    ShowRoomTempColour();
}

void MainForm::Location_cmb_Click() {
    int row = Location_cmb.index();
    if (row >= 0) {
        TempNord_txt.text = GeneralText(Loc_array.number(2, row));
        for (TextBox* t : {&TempWest_txt, &TempEast_txt, &TempSouth_txt, &TempCeil_txt}) t->text = TempNord_txt.text;
        TempOut_txt.text = GeneralText(Loc_array.number(2, row));
        HumidOut_txt.text = GeneralText(Loc_array.number(3, row));
    }
    RecalcEnvelope();
}

void MainForm::FloorAir_Opt_Click() {
    TempFloor_txt.enabled = true;
    FloorHeat_Opt.enabled = false;
    FloorCold_Opt.enabled = false;
    RecalcEnvelope();
}

void MainForm::FloorGrunt_Opt_Click() {
    TempFloor_txt.enabled = false;
    double t = 0;
    if (StrictNumber(TempIn_txt.text, t) && t < -2) {
        FloorHeat_Opt.enabled = true;
        FloorCold_Opt.enabled = true;
    }
    RecalcEnvelope();
}

void MainForm::FloorHeat_Opt_Click() {
    double t = 0;
    bool read = StrictNumber(TempIn_txt.text, t);
    if (!read || t >= -2) {
        ui_.message(kFloorHeatNotice, kAppTitle, MsgIcon::None);
        FloorCold_Opt.setValue(true);
        return;
    }
    RecalcEnvelope();
}

void MainForm::AutoEva_opt_Click() {
    ElectroEva_txt.enabled = false;
    RecalcOperation();
}

void MainForm::ManualEva_opt_Click() {
    ElectroEva_txt.enabled = true;
    ElectroEva_txt.text = "0";
    RecalcOperation();
}

void MainForm::optAll_Temp_Click() {
    if (optAll_Temp.value())
        for (TextBox* t : {&TempWest_txt, &TempEast_txt, &TempSouth_txt, &TempCeil_txt}) t->text = TempNord_txt.text;
    RecalcEnvelope();
}

void MainForm::Door_opt_Click() {
    SetDoorMode();
    RecalcOperation();
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
