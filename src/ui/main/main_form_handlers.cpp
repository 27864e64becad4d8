// The main window's handlers: what each committed field, list and option does before the
// recalculation it starts.
#include "core/field_commit.h"
#include "core/numtext.h"
#include "refdb/reference_columns.h"
#include "ui/main/main_form.h"
#include "ui/task/task_form.h"

namespace coldroom {
namespace {

const char* kFloorHeatNotice = "Подогрев пола в среднетемпературных камерах не предусмотрен!";

}  // namespace

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

void MainForm::dimension_Commit(TextBox& box, const char* name, const char* message, bool affectsOperation) {
    auto positive = [message](double v) { return v > 0 ? nullptr : message; };
    if (!CommitNumericField(box, positive, ui_, WindowId::MainWindow, name)) return;
    double volume = LeadingNumber(Length_txt.text) * LeadingNumber(Width_txt.text) * LeadingNumber(Height_txt.text);
    Volume_txt.text = NormalizeNumberText(FormatMask(volume, Mask::Fixed4));
    refreshStorageCapacity();
    if (loading_) return;
    ComputeEnvelopeLoss();
    if (affectsOperation)
        RecalcOperation();
    else
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
    auto percent = [](double v) { return v < 0 || v > 100 ? "Значение должно быть между 0% и 100% !" : nullptr; };
    if (CommitNumericField(Cycle_txt, percent, ui_, WindowId::MainWindow, "Cycle_txt")) UpdateAll();
}

void MainForm::operation_Commit(TextBox& box) {
    box.text = NormalizeNumberText(box.text);
    RecalcOperation();
}

void MainForm::TempIn_txt_KeyEnter() {
    const double productEnd = LeadingNumber(task_.Tend_Prod_txt.text);
    auto roomTemperature = [productEnd](double v) -> const char* {
        if (v < -50 || v > 20) return "Температура в камере должна быть в пределах от -50°С до +20°С";
        if (v > productEnd) return "Температура конца охлаждения должна быть\r\nбольше температуры в камере";
        return nullptr;
    };
    if (CommitNumericField(TempIn_txt, roomTemperature, ui_, WindowId::MainWindow, "TempIn_txt"))
        ui_.setFocus(WindowId::MainWindow, "optAll_Temp");
}

void MainForm::TempIn_txt_LostFocus() {
    TempIn_txt.text = NormalizeNumberText(TempIn_txt.text);
    double v = LeadingNumber(TempIn_txt.text);
    task_.TempInCell = v;
    task_.TempIn_txt.text = GeneralText(v);
    if (FloorHeat_Opt.value() && !FloorHeatingAllowed()) {
        ui_.message(kFloorHeatNotice, kAppTitle, MsgIcon::None);
        FloorCold_Opt.setValue(true);
    }
    if (FloorGrunt_Opt.value() && FloorHeatingAllowed()) {
        FloorHeat_Opt.enabled = true;
        FloorCold_Opt.enabled = true;
    }
    if (loading_) return;
    ComputeEnvelopeLoss();
    const OperationalResult operation = OperationalLoad();
    CoolingTime();
    recalculate(operation, true);
    ShowRoomTempColour();
}

void MainForm::Location_cmb_Click() {
    int row = Location_cmb.index();
    if (row >= 0) {
        TempNord_txt.text = GeneralText(Loc_array.number(LocationColumn::Temperature, row));
        for (TextBox* t : {&TempWest_txt, &TempEast_txt, &TempSouth_txt, &TempCeil_txt}) t->text = TempNord_txt.text;
        TempOut_txt.text = GeneralText(Loc_array.number(LocationColumn::Temperature, row));
        HumidOut_txt.text = GeneralText(Loc_array.number(LocationColumn::Humidity, row));
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
    if (FloorHeatingAllowed()) {
        FloorHeat_Opt.enabled = true;
        FloorCold_Opt.enabled = true;
    }
    RecalcEnvelope();
}

void MainForm::FloorHeat_Opt_Click() {
    if (!FloorHeatingAllowed()) {
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

}  // namespace coldroom
