// The main window's handlers: what each committed field, list and option does before the
// recalculation it starts.
#include "core/envelope.h"
#include "core/field_commit.h"
#include "core/numtext.h"
#include "refdb/reference_columns.h"
#include "ui/field_ranges.h"
#include "ui/main/main_form.h"
#include "ui/task/task_form.h"

namespace coldroom {
namespace {

const char* kFloorHeatNotice = "Подогрев пола в среднетемпературных камерах не предусмотрен!";

// Commits a field that has no message of its own for a value out of its range: only a
// negative value is refused (a layer of 0 mm is an unused layer, 0 people an empty room).
bool commitNonNegative(TextBox& box, const std::string& name, UserInterface& ui) {
    const FieldRange* range = FindFieldRange(name, false);
    if (!range) {
        box.text = NormalizeNumberText(box.text);
        return true;
    }
    const std::string refusal = NegativeValueText(*range);
    auto check = [range, &refusal](double v) { return InFieldRange(*range, v) ? nullptr : refusal.c_str(); };
    return CommitNumericField(box, check, ui, WindowId::MainWindow, name);
}

// The typing check of a field with its own message: the range from the table.
ValueCheck rangeCheck(const char* name, const char* message) {
    const FieldRange* range = FindFieldRange(name, false);
    return [range, message](double v) { return !range || InFieldRange(*range, v) ? nullptr : message; };
}

}  // namespace

void MainForm::thickness_Commit(int s, int l) {
    TextBox& box = *thickness[s][l];
    const bool accepted =
        commitNonNegative(box, std::string(kSurfacePrefixes[s]) + std::to_string(l + 1) + "_D_txt", ui_);
    // The material follows the text the field keeps, refused or not, as when a file is read.
    if (l > 0) material[s][l]->enabled = LeadingNumber(box.text) != 0;
    if (!accepted) return;
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
    if (!CommitNumericField(box, rangeCheck(name, message), ui_, WindowId::MainWindow, name)) return;
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
    const ValueCheck percent = rangeCheck("Cycle_txt", "Значение должно быть между 0% и 100% !");
    if (CommitNumericField(Cycle_txt, percent, ui_, WindowId::MainWindow, "Cycle_txt")) UpdateAll();
}

void MainForm::operation_Commit(TextBox& box, const char* name) {
    if (commitNonNegative(box, name, ui_)) RecalcOperation();
}

void MainForm::TempIn_txt_KeyEnter() {
    const double productEnd = LeadingNumber(task_.Tend_Prod_txt.text);
    const ValueCheck range =
        rangeCheck("TempIn_txt", "Температура в камере должна быть в пределах от -50°С до +20°С");
    auto roomTemperature = [productEnd, range](double v) -> const char* {
        if (const char* refusal = range(v)) return refusal;
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
