// The main window's recalculation: loading and activation, the components gathered from the
// controls, the driver that forms the totals, and the results written once from the breakdown.
#include <algorithm>

#include "core/numtext.h"
#include "loads/loads.h"
#include "refdb/reference_columns.h"
#include "ui/main/main_form.h"
#include "ui/task/task_form.h"

namespace coldroom {
namespace {

constexpr int kStartLocation = 34;

// Product columns of ProdMeat.

}  // namespace

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
    Illum_store = static_cast<float>(Oth_array.number(kValueColumn, OthersRow::IllumStore));
    Illum_techno = static_cast<float>(Oth_array.number(kValueColumn, OthersRow::IllumTechno));
    Att_Koef_StripCurtain = static_cast<float>(Oth_array.number(kValueColumn, OthersRow::AttenuationStripCurtain));
    Att_Koef_AirCurtain = static_cast<float>(Oth_array.number(kValueColumn, OthersRow::AttenuationAirCurtain));
    Koef_ElectroEva = Oth_array.number(kValueColumn, OthersRow::FanPowerShare);
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
    UpdateLayerEnabling();
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
    // The task's cycle first: the operation shown and the one in the total are one value.
    const std::string taskCycle = InputTextSingle(task_.RabCoef);
    if (activated_ && NormalizeNumberText(Cycle_txt.text) != taskCycle)
        StatusNote = "Цикл работы " + Cycle_txt.text + " % заменен значением задачи " + taskCycle +
                     " % (он берется из задачи при каждом возврате в окно)";
    activated_ = true;
    Cycle_txt.text = taskCycle;
    TempIn_lbl.text = task_.Tin_Prod_txt.text;
    TempEnd_lbl.text = task_.Tend_Prod_txt.text;
    Loading_lbl.text = task_.Load_prod_txt.text;
    Oborot_lbl.text = task_.Oborot_tonn_txt.text;
    AirSpeed_lbl.text = task_.Velocity_txt.text;
    Tara_lbl.text = task_.Packing_cmb.text();
    TimeReal_lbl.text = task_.Real_time_txt.text;
    ComputeEnvelopeLoss();
    const OperationalResult operation = OperationalLoad();
    ProductLoad();
    PackagingLoad();
    CoolingTime();
    if (task_.Cheese) {
        BreathLoss_lbl.enabled = true;
        BreathLoss_txt.enabled = true;
    }
    SetDoorMode();
    recalculate(operation, true);
    ShowRoomTempColour();
}

// ---- The driver -----------------------------------------------------------------------

void MainForm::UpdateAll() { recalculate(OperationalLoad(), false); }

void MainForm::RecalcEnvelope() {
    if (loading_) return;  // the activation after loading computes everything
    ComputeEnvelopeLoss();
    UpdateAll();
}

void MainForm::RecalcOperation() {
    if (loading_) return;
    recalculate(OperationalLoad(), true);
}

void MainForm::recalculate(const OperationalResult& operation, bool showOperation) {
    results_.door = operation.door;
    if (showOperation) results_.operation = operation.total;
    TotalsInput in;
    in.operation = operation.total;
    in.cycle = LeadingNumber(Cycle_txt.text);
    in.autoFans = AutoEva_opt.value();
    in.fanShare = Koef_ElectroEva;
    in.fanPower = LeadingNumber(ElectroEva_txt.text);
    FormTotals(results_, in);
    showResults();
}

void MainForm::showResults() {
    for (const LoadComponent& c : LoadComponents())
        if (TextBox* field = resultFields_[static_cast<int>(c.id)]) field->text = LoadText(c.value(results_));
    // The fans' power is an input unless it follows from the capacity.
    if (AutoEva_opt.value()) ElectroEva_txt.text = LoadText(results_.fanPower);
    ResultsProblem = results_.problem;
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

// ---- Components: gather the inputs, compute, keep the result ---------------------------

void MainForm::ComputeEnvelopeLoss() {
    EnvelopeInputs in;
    in.velocity = LeadingNumber(task_.Velocity_txt.text);
    ListBox* coating[5] = {&NorthSurf_cmb, &SouthSurf_cmb, &EastSurf_cmb, &WestSurf_cmb, &CeilSurf_cmb};
    // One list without a choice makes all six read as their first row.
    bool anyUnset = Location_cmb.index() < 0;
    for (ListBox* c : coating) anyUnset = anyUnset || c->index() < 0;
    auto position = [&](const ListBox& l) { return anyUnset ? 0 : l.index(); };
    in.latitude = Loc_array.number(LocationColumn::Latitude, position(Location_cmb));
    OptionButton* outer[5] = {&NorthOut_opt, &SouthOut_opt, &EastOut_opt, &WestOut_opt, &CeilOut_opt};
    TextBox* side[kSurfaceCount] = {&TempNord_txt, &TempSouth_txt, &TempEast_txt, &TempWest_txt, &TempCeil_txt,
                                    &TempFloor_txt};
    for (int s = 0; s < kSurfaceCount; ++s) {
        SurfaceInput& surface = in.surfaces[s];
        for (int l = 0; l < 3; ++l) {
            surface.layers[l].thicknessText = thickness[s][l]->text;
            surface.layers[l].conductivity = Mat_array.number(kValueColumn, material[s][l]->index());
        }
        if (s < 5) {
            surface.outer = outer[s]->value();
            surface.absorption = Upp_array.number(kValueColumn, position(*coating[s]));
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
    for (int s = 0; s < kSurfaceCount; ++s) {
        results_.surfaces[s] = result.surfaces[s];
        if (!result.surfaces[s].defined) reportProblem(result.surfaces[s].problem);
    }
    results_.envelope = result.total;
    state_.WallLossTotal = result.wallTotal.watts;
    state_.WallLossDefined = result.wallTotal.defined;
}

OperationalResult MainForm::OperationalLoad() {
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
    if (!result.total.defined) reportProblem(result.total.problem);
    return result;
}

void MainForm::ProductLoad() {
    int row = std::max<int>(0, task_.ProdSelected_ind);
    const RefTable& prod = task_.Prod_array;
    ProductLoadInputs in;
    in.tIn = LeadingNumber(task_.Tin_Prod_txt.text);
    in.tEnd = LeadingNumber(task_.Tend_Prod_txt.text);
    in.dailyMassKg = task_.Oborot_Kg;
    in.requestedHours = LeadingNumber(task_.Real_time_txt.text);
    in.respiration = task_.Cheese;
    in.volume = LeadingNumber(Volume_txt.text);
    in.normaText = prod.text(ProductColumn::Norma, row);
    in.temperaturesText = prod.text(ProductColumn::Temperatures, row);
    in.enthalpyText = prod.text(ProductColumn::Enthalpy, row);
    in.productName = prod.text(0, row);
    ProductLoadResult result = computeProductLoad(in);
    Norma_lbl.text = GeneralText(result.storageCapacity);
    results_.respiration = LoadValue::of(result.respiration);
    if (!result.warning.empty()) reportProblem(result.warning);
    if (!result.load.defined) reportProblem(result.load.problem);
    results_.product = result.load;
}

void MainForm::PackagingLoad() {
    PackagingLoadInputs in;
    in.tIn = LeadingNumber(task_.Tin_Prod_txt.text);
    in.tEnd = LeadingNumber(task_.Tend_Prod_txt.text);
    in.dailyMassKg = task_.Oborot_Kg;
    int position = task_.Packing_cmb.index();
    in.packagingSelected = position >= 0;
    in.specificHeat = task_.Tara_array.number(kValueColumn, position);
    in.rTime = task_.RTime;
    results_.packaging = computePackagingLoad(in);
    if (!results_.packaging.defined) reportProblem(results_.packaging.problem);
}

void MainForm::refreshStorageCapacity() {
    int row = std::max<int>(0, task_.ProdSelected_ind);
    double norm = LeadingNumber(NormalizeNumberText(task_.Prod_array.text(ProductColumn::Norma, row)));
    Norma_lbl.text = GeneralText(LeadingNumber(Volume_txt.text) * norm);
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
    in.cs = prod.number(ProductColumn::SpecificHeat, row);
    in.water = prod.number(ProductColumn::Water, row);
    in.lambda = prod.number(ProductColumn::Conductivity, row);
    in.lambdaFrozen = prod.number(ProductColumn::ConductivityFrozen, row);
    in.shape = prod.number(ProductColumn::Shape, row);
    in.density = prod.number(ProductColumn::Density, row);
    in.tCryo = prod.number(ProductColumn::Cryoscopic, row);
    in.latent = prod.number(ProductColumn::LatentHeat, row);
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

}  // namespace coldroom
