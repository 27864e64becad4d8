#include "reports/report_model.h"

#include <ctime>

#include "core/load_components.h"
#include "core/numtext.h"
#include "model/field_catalogue.h"
#include "model/room_edit.h"
#include "model/task_derived.h"

namespace coldroom {
namespace {

std::string listText(const char* control, FieldForm form, const RoomProject& p, const ReferenceData& d,
                     int position) {
    return ListText(*FindField(control, form), p, d, position);
}

std::string loadText(const RoomResult& r, LoadId id) { return LoadText(LoadComponentOf(id).value(r.loads)); }

}  // namespace

ReportModel::ReportModel() {
    const char* const sides[kSurfaceCount] = {"Север", "Юг", "Восток", "Запад", "ПОТОЛОК", "ПОЛ"};
    for (int s = 0; s < kSurfaceCount; ++s) surfaces[s].side = sides[s];
    productLoad.label = LoadCaption(LoadId::Product);
    packagingLoad.label = LoadCaption(LoadId::Packaging);
    operation.label = LoadCaption(LoadId::Operation);
}

std::string PeopleLoadText(const RoomProject& p) {
    return GeneralText(LeadingNumber(p.NofPeople_txt) * LeadingNumber(p.TimePeople_txt));
}

ReportModel BuildReportModel(const RoomProject& p, const RoomResult& r, const ReferenceData& d,
                             const ReportHeading& heading) {
    using F = FieldForm;
    ReportModel m;
    m.heading = heading;
    for (const std::string& line : FieldsOutOfRange(p)) m.warnings.push_back("Значение вне допустимых пределов: " + line);
    for (const std::string& line : r.notices) m.warnings.push_back(line);

    m.length.value = p.Length_txt;
    m.width.value = p.Width_txt;
    m.height.value = p.Height_txt;
    m.volume.value = p.Volume_txt;

    const RoomEnabling enabled = EnabledControls(p, d);
    for (int s = 0; s < kSurfaceCount; ++s) {
        ReportSurface& surface = m.surfaces[s];
        for (int l = 0; l < 3; ++l) {
            const std::string list = std::string(kSurfacePrefixes[s]) + std::to_string(l + 1) + "_Mt_cmb";
            // A layer not in use shows dots in place of the material its list still holds.
            surface.material[l] = l == 0 || enabled.material[s][l]
                                      ? listText(list.c_str(), F::Main, p, d, p.material[s][l])
                                      : kUnusedLayer;
            surface.thickness[l] = p.thickness[s][l];
        }
        m.sideTemperature[s].value = p.sideTemp[s];
    }
    m.ceilingCoating = listText("CeilSurf_cmb", F::Main, p, d, p.coating[kCeiling]);
    m.ceilingIsSlab = !p.outer[kCeiling];
    m.floorHeated = p.FloorHeat_Opt;
    m.floorOnGround = p.FloorGrunt_Opt;
    m.roomTemperature.value = p.TempIn_txt;

    const TaskValues& t = p.task;
    m.product.value = listText("Produkt_cmb", F::Task, p, d, t.Produkt_cmb);
    m.loading.value = t.Load_prod_txt;
    m.turnover.value = TurnoverTonnesText(t);
    m.productStart.value = t.Tin_Prod_txt;
    m.productEnd.value = t.Tend_Prod_txt;
    m.airSpeed.value = t.Velocity_txt;
    m.packaging.value = listText("Packing_cmb", F::Task, p, d, t.Packing_cmb);
    const CoolingTimeTexts times = CoolingTimeCaptions(p, r);
    m.requestedTime.value = times.requested;
    m.shortestTime.value = times.total;

    m.standardDoors = p.Door_Standard_opt;
    m.location.value = listText("Location_cmb", F::Main, p, d, p.Location_cmb);
    m.roomType.value = listText("TypeOfCell_cmb", F::Main, p, d, p.TypeOfCell_cmb);
    m.doorHeight.value = p.Door_H_txt;
    m.doorWidth.value = p.Door_W_txt;
    m.doorOpen.value = p.Door_Open_txt;
    m.curtain.value = listText("TypeOfCurtain_cmb", F::Main, p, d, p.TypeOfCurtain_cmb);
    m.outsideTemperature.value = p.TempOut_txt;
    m.outsideHumidity.value = p.HumidOut_txt;
    m.cycle.value = p.Cycle_txt;
    m.people.value = PeopleLoadText(p);
    m.equipment.value = p.Electro_txt;
    m.lifter.value = p.Lifter_txt;
    // With automatic fans their power is a result, shown as the results show it.
    m.fanPower.value = p.AutoEva_opt ? LoadText(r.loads.fanPower) : p.ElectroEva_txt;

    m.walls.value = LoadText(r.wallTotal);
    m.wallsBelowZero = r.wallTotal.defined && r.wallTotal.watts < 0;
    m.floor.value = loadText(r, LoadId::Floor);
    m.ceiling.value = loadText(r, LoadId::Ceiling);
    m.productLoad.value = loadText(r, LoadId::Product);
    m.packagingLoad.value = loadText(r, LoadId::Packaging);
    m.operation.value = loadText(r, LoadId::Operation);
    m.total.value = loadText(r, LoadId::Total);
    m.capacity.value = loadText(r, LoadId::Capacity);
    return m;
}

std::vector<std::string> ReportModel::Values() const {
    std::vector<std::string> v = {heading.title, heading.author, heading.date, ceilingCoating};
    for (const ReportSurface& s : surfaces) {
        v.insert(v.end(), s.material.begin(), s.material.end());
        v.insert(v.end(), s.thickness.begin(), s.thickness.end());
    }
    for (const ReportLine& t : sideTemperature) v.push_back(t.value);
    for (const ReportLine* l : {&length, &width, &height, &volume, &roomTemperature, &product, &loading, &turnover,
                                &productStart, &productEnd, &airSpeed, &packaging, &requestedTime, &shortestTime,
                                &location, &roomType, &doorHeight, &doorWidth, &doorOpen, &curtain,
                                &outsideTemperature, &outsideHumidity, &cycle, &people, &equipment, &lifter,
                                &fanPower})
        v.push_back(l->value);
    return v;
}

std::string ShortDateToday() {
    std::time_t now = std::time(nullptr);
    std::tm local{};
    localtime_r(&now, &local);
    char buf[16];
    size_t n = std::strftime(buf, sizeof buf, "%d.%m.%Y", &local);
    return std::string(buf, n);
}

}  // namespace coldroom
