#include "model/compute_room.h"

#include <algorithm>

#include "core/load_components.h"
#include "core/numtext.h"
#include "model/component_functions.h"
#include "refdb/reference_columns.h"

namespace coldroom {
namespace {

EnvelopeInputs envelopeInputs(const RoomProject& p, const ReferenceData& d) {
    EnvelopeInputs in;
    in.velocity = LeadingNumber(p.task.Velocity_txt);
    // One list without a choice makes all six read as their first row.
    bool anyUnset = p.Location_cmb < 0;
    for (int c : p.coating) anyUnset = anyUnset || c < 0;
    auto position = [&](int index) { return anyUnset ? 0 : index; };
    in.latitude = d.locations.at(LocationColumn::Latitude, position(p.Location_cmb));
    for (int s = 0; s < kSurfaceCount; ++s) {
        SurfaceInput& surface = in.surfaces[s];
        for (int l = 0; l < 3; ++l) {
            surface.layers[l].thicknessText = p.thickness[s][l];
            surface.layers[l].conductivity = d.materials.at(kValueColumn, p.material[s][l]);
        }
        if (s < 5) {
            surface.outer = p.outer[s];
            surface.absorption = d.coatings.at(kValueColumn, position(p.coating[s]));
        }
        surface.sideTemperature = LeadingNumber(p.sideTemp[s]);
    }
    in.tempIn = LeadingNumber(p.TempIn_txt);
    in.length = LeadingNumber(p.Length_txt);
    in.width = LeadingNumber(p.Width_txt);
    in.height = LeadingNumber(p.Height_txt);
    in.floorAboveRoom = !p.FloorGrunt_Opt;
    in.floorHeated = p.FloorHeat_Opt;
    return in;
}

OperationalInputs operationalInputs(const RoomProject& p, const ReferenceData& d, const DerivedTask& task) {
    OperationalInputs in;
    in.roomType = p.TypeOfCell_cmb;
    in.tempIn = LeadingNumber(p.TempIn_txt);
    in.length = LeadingNumber(p.Length_txt);
    in.width = LeadingNumber(p.Width_txt);
    in.peopleHours = LeadingNumber(p.TimePeople_txt);
    in.people = LeadingNumber(p.NofPeople_txt);
    in.lifterKWh = LeadingNumber(p.Lifter_txt);
    in.equipmentKWh = LeadingNumber(p.Electro_txt);
    in.fanPower = LeadingNumber(p.ElectroEva_txt);
    in.fansManual = !p.AutoEva_opt;
    in.cycle = LeadingNumber(p.Cycle_txt);
    in.curtain = p.TypeOfCurtain_cmb;
    in.tempOut = LeadingNumber(p.TempOut_txt);
    in.humidOut = LeadingNumber(p.HumidOut_txt);
    in.humidIn = LeadingNumber(p.task.HumidIn_txt);
    in.doorHours = LeadingNumber(p.Door_Open_txt);
    in.doorHeight = LeadingNumber(p.Door_H_txt);
    in.doorWidth = LeadingNumber(p.Door_W_txt);
    in.doorStandard = p.Door_Standard_opt;
    in.doorSpecial = !p.Door_Standard_opt;
    in.rTime = task.hours;
    in.illumStore = d.Illum_store;
    in.illumTechno = d.Illum_techno;
    in.attStrip = d.Att_Koef_StripCurtain;
    in.attAir = d.Att_Koef_AirCurtain;
    return in;
}

ProductLoadInputs productInputs(const RoomProject& p, const ReferenceData& d, const DerivedTask& task) {
    const int row = task.productRow;
    const RefTable& prod = d.Prod_array;
    ProductLoadInputs in;
    in.tIn = LeadingNumber(p.task.Tin_Prod_txt);
    in.tEnd = LeadingNumber(p.task.Tend_Prod_txt);
    in.dailyMassKg = task.dailyMassKg;
    in.requestedHours = task.requestedHours;
    in.respiration = task.respiration;
    in.volume = LeadingNumber(p.Volume_txt);
    in.normaText = CellText(prod, ProductColumn::Norma, row);
    if (row < static_cast<int>(d.productTables.size())) {
        in.temperatures = &d.productTables[row].temperatures;
        in.enthalpies = &d.productTables[row].enthalpies;
    } else {
        in.temperaturesText = CellText(prod, ProductColumn::Temperatures, row);
        in.enthalpyText = CellText(prod, ProductColumn::Enthalpy, row);
    }
    in.productName = CellText(prod, ProductColumn::Name, row);
    return in;
}

PackagingLoadInputs packagingInputs(const RoomProject& p, const ReferenceData& d, const DerivedTask& task) {
    PackagingLoadInputs in;
    in.tIn = LeadingNumber(p.task.Tin_Prod_txt);
    in.tEnd = LeadingNumber(p.task.Tend_Prod_txt);
    in.dailyMassKg = task.dailyMassKg;
    in.packagingSelected = p.task.Packing_cmb >= 0;
    in.specificHeat = d.packagings.at(kValueColumn, p.task.Packing_cmb);
    in.rTime = task.hours;
    return in;
}

CoolingTimeInputs coolingInputs(const RoomProject& p, const ReferenceData& d, const DerivedTask& task) {
    const int row = task.productRow;
    const NumberTable& prod = d.products;
    CoolingTimeInputs in;
    in.tIn = LeadingNumber(p.task.Tin_Prod_txt);
    in.tEnd = LeadingNumber(p.task.Tend_Prod_txt);
    in.tAir = static_cast<float>(LeadingNumber(p.TempIn_txt));
    in.velocity = LeadingNumber(p.task.Velocity_txt);
    in.sizeCm = LeadingNumber(p.task.Dimens_txt);
    in.taskPosition = p.task.Task_cmb;
    in.requestedHours = task.requestedHours;
    in.cs = prod.at(ProductColumn::SpecificHeat, row);
    in.water = prod.at(ProductColumn::Water, row);
    in.lambda = prod.at(ProductColumn::Conductivity, row);
    in.lambdaFrozen = prod.at(ProductColumn::ConductivityFrozen, row);
    in.shape = prod.at(ProductColumn::Shape, row);
    in.density = prod.at(ProductColumn::Density, row);
    in.tCryo = prod.at(ProductColumn::Cryoscopic, row);
    in.latent = prod.at(ProductColumn::LatentHeat, row);
    return in;
}

void note(std::vector<std::string>& list, const std::string& problem) {
    if (!problem.empty()) list.push_back(problem);
}

}  // namespace

RoomResult ComputeRoom(const RoomProject& p, const ReferenceData& d) {
    RoomResult r;
    r.task = DeriveTask(p, d);
    const DerivedTask& task = r.task;
    LoadBreakdown& b = r.loads;

    RoomTrace& trace = r.trace;
    const EnvelopeResult envelope = computeEnvelope(envelopeInputs(p, d));
    trace.envelope = envelope.trace;
    for (int s = 0; s < kSurfaceCount; ++s) {
        b.surfaces[s] = envelope.surfaces[s];
        if (!envelope.surfaces[s].defined) note(r.envelopeProblems, envelope.surfaces[s].problem);
    }
    b.envelope = envelope.total;
    r.wallTotal = envelope.wallTotal;

    trace.operationInputs = operationalInputs(p, d, task);
    const OperationalResult operation = computeOperationalLoad(trace.operationInputs);
    trace.operation = operation.trace;
    if (!operation.total.defined) r.operationProblem = operation.total.problem;

    const ProductLoadResult product = computeProductLoad(productInputs(p, d, task));
    trace.product = product.trace;
    r.storageCapacity = product.storageCapacity;
    b.respiration = LoadValue::of(product.respiration);
    note(r.productProblems, product.warning);
    if (!product.load.defined) note(r.productProblems, product.load.problem);
    b.product = product.load;

    trace.packagingInputs = packagingInputs(p, d, task);
    b.packaging = computePackagingLoad(trace.packagingInputs, &trace.packaging);
    if (!b.packaging.defined) r.packagingProblem = b.packaging.problem;

    if (operation.trace.outsideNotWarmer && !trace.operationInputs.doorStandard) r.notices.push_back(kColdOutsideDoorNotice);
    const double stored = LeadingNumber(p.task.Load_prod_txt);
    if (r.storageCapacity > 0 && stored > r.storageCapacity)
        r.notices.push_back("Загрузка камеры " + GeneralText(stored) + " т больше её вместимости " +
                            GeneralText(r.storageCapacity) + " т по норме загрузки продукта");

    trace.coolingInputs = coolingInputs(p, d, task);
    r.cooling = computeCoolingTime(trace.coolingInputs);

    b.door = operation.door;
    b.operation = operation.total;
    for (const ComponentFunction& f : ComponentFunctions()) {
        const LoadValue v = b.own[static_cast<int>(f.id)] = f.compute(p, d, task);
        const LoadId sum = LoadComponentOf(f.id).sum;
        if (sum == LoadId::Total) continue;  // the totals take it with the other components
        LoadValue& into = sum == LoadId::Operation ? b.operation : sum == LoadId::Product ? b.product : b.envelope;
        if (!into.defined) continue;
        if (v.defined) into.watts += v.watts;
        else into = v;
    }
    TotalsInput totals;
    totals.cycle = LeadingNumber(p.Cycle_txt);
    totals.autoFans = p.AutoEva_opt;
    totals.fanShare = d.Koef_ElectroEva;
    totals.fanPower = LeadingNumber(p.ElectroEva_txt);
    FormTotals(b, totals, &trace.totals);
    return r;
}

CoolingTimeTexts CoolingTimeCaptions(const RoomProject& p, const RoomResult& r) {
    CoolingTimeTexts t;
    t.requested = p.task.Real_time_txt;
    switch (r.cooling.status) {
    case CoolingTimeResult::Status::Error:
        t.cooling = t.freezing = t.afterFreezing = t.total = kUndefinedText;
        break;
    case CoolingTimeResult::Status::SameTemperature:
        t.total = "0";
        t.requested = GeneralTextSingle(r.task.hours);
        t.cooling = t.freezing = t.afterFreezing = "0.0";
        break;
    case CoolingTimeResult::Status::Computed:
        t.cooling = FormatMask(r.cooling.coolingHours, Mask::Fixed4);
        t.freezing = FormatMask(r.cooling.freezingHours, Mask::Fixed4);
        t.afterFreezing = FormatMask(r.cooling.afterFreezingHours, Mask::Fixed4);
        t.total = FormatMask(r.cooling.totalHours, Mask::Fixed4);
        break;
    }
    return t;
}

std::array<int, 3> RoomTemperatureColour(const RoomProject& p) {
    if (LeadingNumber(p.TempIn_txt) >= 0) return {250, 210, 200};
    return {200, 210, 255};
}

}  // namespace coldroom
