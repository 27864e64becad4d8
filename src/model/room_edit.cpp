#include "model/room_edit.h"

#include <algorithm>

#include "core/numtext.h"
#include "core/quantity_ranges.h"
#include "model/task_derived.h"
#include "refdb/reference_columns.h"

namespace coldroom {
namespace {

constexpr int kStartLocation = 34;
constexpr int kWalls = 4;

const char* kRoomBelowProductEnd = "Температура конца охлаждения должна быть\r\nбольше температуры в камере";

// The surface and layer of a thickness or material field (index = surface * 3 + layer).
int surfaceOf(const FieldSpec& f) { return f.index / 3; }
int layerOf(const FieldSpec& f) { return f.index % 3; }


EditOutcome refuse(EditOutcome out, std::string text, const FieldSpec& field) {
    out.accepted = false;
    out.notices.push_back({Notice::Kind::Refusal, std::move(text)});
    out.focus = field.control;  // back into the field
    out.recompute = Recompute::None;
    return out;
}

// The floor heating a warm room cannot have is cleared, with the notice.
void refuseFloorHeating(RoomProject& p, EditOutcome& out) {
    out.notices.push_back({Notice::Kind::FloorHeating, kFloorHeatNotice});
    p.FloorHeat_Opt = false;
    out.recompute |= Recompute::Envelope;
}

void setWallTemperatures(RoomProject& p, const std::string& text) {
    for (int s : {kWest, kEast, kSouth, kCeiling}) p.sideTemp[s] = text;
}

}  // namespace

bool FloorHeatingAllowed(const RoomProject& p) {
    double t = 0;
    return StrictNumber(p.TempIn_txt, t) && t < kFloorHeatingBelow;
}

bool SettleFloorHeating(RoomProject& p) {
    RoomProject shown = p;
    shown.TempIn_txt = TaskRoomTemperature(p);
    if (!p.FloorHeat_Opt || FloorHeatingAllowed(shown)) return false;
    p.FloorHeat_Opt = false;
    return true;
}

EditOutcome CommitText(RoomProject& p, const ReferenceData&, const FieldSpec& f, std::string_view typed, Entry how) {
    EditOutcome out;
    if (f.role == FieldRole::Title) {
        // A title typed here is the project's title: the next activation must not take it back.
        p.Name_txt = std::string(typed);
        p.ProjectTitle = p.Name_txt;
        out.shown = p.Name_txt;
        return out;
    }
    double typedValue = 0;
    if (!TypedNumber(typed, typedValue)) {
        // A typing slip ("1O0", "4,5x") must not become another number: the field keeps its value.
        out.shown = f.textOf(p);
        out.restored = true;
        return refuse(out, f.notANumberText(std::string(typed)), f);
    }
    const std::string text = NormalizeNumberText(typed);
    out.shown = text;
    const double v = LeadingNumber(text);
    // Told once, when the value changes to it.
    if (const std::string unusual = f.unusualText(text);
        !unusual.empty() && text != f.textOf(p) && (!f.range || f.range->contains(v)))
        out.notices.push_back({Notice::Kind::Unusual, unusual});

    if (f.role == FieldRole::RoomTemperature) {
        if (how == Entry::Enter) {
            // The checks only; leaving the field then takes the value.
            if (!f.range->contains(v)) return refuse(out, f.refusalText(), f);
            if (v > LeadingNumber(p.task.Tend_Prod_txt)) return refuse(out, kRoomBelowProductEnd, f);
            p.TempIn_txt = text;
            out.focus = "optAll_Temp";
            return out;
        }
        // A room temperature left without Enter is taken unchecked.
        p.TempIn_txt = text;
        p.task.TempIn_txt = GeneralText(v);
        if (p.FloorHeat_Opt && !FloorHeatingAllowed(p)) refuseFloorHeating(p, out);
        out.recompute |= Recompute::Envelope | Recompute::CoolingTime | Recompute::Totals;
        return out;
    }
    if (f.range && !f.range->contains(v)) return refuse(out, f.refusalText(), f);
    f.textOf(p) = text;

    switch (f.role) {
    case FieldRole::Thickness: {
        const int s = surfaceOf(f), l = layerOf(f);
        if (s < kWalls && p.optAll_as_one)
            for (int w = 0; w < kWalls; ++w) p.thickness[w][l] = text;
        out.recompute = Recompute::Envelope;
        break;
    }
    case FieldRole::SideTemperature:
        if (f.index != kFloor && p.optAll_Temp) {
            for (int s = 0; s < kFloor; ++s) p.sideTemp[s] = text;
        }
        out.recompute = Recompute::Envelope;
        break;
    case FieldRole::Dimension: {
        const double volume = LeadingNumber(p.Length_txt) * LeadingNumber(p.Width_txt) * LeadingNumber(p.Height_txt);
        p.Volume_txt = NormalizeNumberText(FormatMask(volume, Mask::Fixed4));
        out.recompute = Recompute::Envelope;
        break;
    }
    case FieldRole::Volume: {
        const double across = LeadingNumber(p.Width_txt) * LeadingNumber(p.Height_txt);
        // The length follows the volume; with no cross-section there is nothing to follow.
        if (across != 0) p.Length_txt = NormalizeNumberText(FormatMask(v / across, Mask::Fixed4));
        out.recompute = Recompute::Envelope;
        break;
    }
    default:
        // The work cycle and the operational inputs change the totals only.
        out.recompute = Recompute::Totals;
        break;
    }
    return out;
}

EditOutcome ChooseEntry(RoomProject& p, const ReferenceData& d, const FieldSpec& f, int position) {
    EditOutcome out;
    int& current = f.positionOf(p);
    if (position == current) return out;
    current = position;
    switch (f.role) {
    case FieldRole::Location:
        if (position >= 0) {
            const std::string t = GeneralText(d.Loc_array.number(LocationColumn::Temperature, position));
            p.sideTemp[kNorth] = t;
            setWallTemperatures(p, t);
            p.TempOut_txt = t;
            p.HumidOut_txt = GeneralText(d.Loc_array.number(LocationColumn::Humidity, position));
        }
        out.recompute = Recompute::Envelope;
        break;
    case FieldRole::DoorKind:
        out.recompute = Recompute::Totals;
        break;
    case FieldRole::Material: {
        const int s = surfaceOf(f), l = layerOf(f);
        if (s < kWalls && p.optAll_as_one)
            for (int w = 0; w < kWalls; ++w) p.material[w][l] = position;
        out.recompute = Recompute::Envelope;
        break;
    }
    case FieldRole::Coating:
        if (f.index < kWalls && p.optAll_as_one)
            for (int w = 0; w < kWalls; ++w) p.coating[w] = position;
        out.recompute = Recompute::Envelope;
        break;
    default:
        break;
    }
    return out;
}

EditOutcome ChooseOption(RoomProject& p, const ReferenceData&, const FieldSpec& f) {
    EditOutcome out;
    bool& value = f.optionOf(p);
    if (value == f.selects) return out;
    if (f.role == FieldRole::FloorHeating && f.selects && !FloorHeatingAllowed(p)) {
        // Refused: the other option stays, and its own recomputation runs.
        out.notices.push_back({Notice::Kind::FloorHeating, kFloorHeatNotice});
        out.recompute = Recompute::Envelope;
        return out;
    }
    value = f.selects;
    // Fans whose power is entered start from none.
    if (f.role == FieldRole::FanMode && !f.selects) p.ElectroEva_txt = "0";
    const bool operation = f.role == FieldRole::DoorMode || f.role == FieldRole::FanMode;
    out.recompute = operation ? Recompute::Totals : Recompute::Envelope;
    return out;
}

EditOutcome SetCheck(RoomProject& p, const ReferenceData&, const FieldSpec& f, int value) {
    EditOutcome out;
    int& current = f.positionOf(p);
    value = value ? 1 : 0;
    if (value == current) return out;
    current = value;
    if (f.role == FieldRole::ShareTemperatures) {
        if (value) setWallTemperatures(p, p.sideTemp[kNorth]);
        out.recompute = Recompute::Envelope;
    }
    return out;
}

void SettleNewRoom(RoomProject& p, const ReferenceData& d) {
    const FieldSpec& location = *FindField("Location_cmb", FieldForm::Main);
    ChooseEntry(p, d, location, std::min(kStartLocation, d.Loc_array.rowCount() - 1));
    p.TypeOfCell_cmb = 0;
    p.TypeOfCurtain_cmb = 0;
    p.coating.fill(0);
    for (auto& layers : p.material) layers.fill(0);
}

std::string ActivateRoom(RoomProject& p, bool firstTime) {
    p.Name_txt = p.ProjectTitle;
    p.TempIn_txt = TaskRoomTemperature(p);
    // The task's cycle first: the operation shown and the one in the total are one value.
    const std::string taskCycle = InputTextSingle(p.task.RabCoef);
    // A cycle a file held outside its range is kept as written, when it is the task's own
    // value: the task's single-precision number cannot spell it (1e308 would become 3.4E+38).
    const double shown = LeadingNumber(p.Cycle_txt);
    if (!Quantity::kPercent.contains(shown) && static_cast<float>(shown) == p.task.RabCoef) return {};
    std::string note;
    if (!firstTime && NormalizeNumberText(p.Cycle_txt) != taskCycle)
        note = "Цикл работы " + p.Cycle_txt + " % заменен значением задачи " + taskCycle +
               " % (он берется из задачи при каждом возврате в окно)";
    p.Cycle_txt = taskCycle;
    return note;
}

std::string TaskRoomTemperature(const RoomProject& p) { return GeneralText(LeadingNumber(p.task.TempIn_txt)); }

RoomEnabling EnabledControls(const RoomProject& p, const ReferenceData& d) {
    RoomEnabling e;
    for (int s = 0; s < kSurfaceCount; ++s) {
        e.material[s][0] = true;
        for (int l = 1; l < 3; ++l) e.material[s][l] = LeadingNumber(p.thickness[s][l]) != 0;
    }
    e.TempFloor_txt = !p.FloorGrunt_Opt;
    e.floorHeating = p.FloorGrunt_Opt && FloorHeatingAllowed(p);
    e.ElectroEva_txt = !p.AutoEva_opt;
    e.respiration = TaskProductsBreathe(p.task, d);
    e.standardDoor = p.Door_Standard_opt;
    return e;
}

bool FieldEnabled(const RoomEnabling& e, const FieldSpec& f) {
    using E = FieldSpec::Enabling;
    switch (f.enabling) {
    case E::Always: return true;
    case E::Material: return e.material[f.index / 3][f.index % 3];
    case E::FloorTemperature: return e.TempFloor_txt;
    case E::FloorHeating: return e.floorHeating;
    case E::FanPower: return e.ElectroEva_txt;
    case E::StandardDoor: return e.standardDoor;
    case E::SpecialDoor: return !e.standardDoor;
    }
    return true;
}

}  // namespace coldroom
