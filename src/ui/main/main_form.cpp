// The main window's form: its controls, how they show the project and its result, and how
// each entry reaches the editing layer.
#include "ui/main/main_form.h"

#include <algorithm>

#include "core/numtext.h"
#include "model/task_derived.h"
#include "model/task_edit.h"
#include "ui/main/door_notice.h"

namespace coldroom {

MainForm::EventScope::~EventScope() {
    if (--form_.eventDepth_ == 0) form_.flushProblems();
}

MainForm::MainForm(RoomSession& session, UserInterface& ui)
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
      session_(session), ui_(ui) {
    registerControls();
    TypeOfCell_cmb.items = RoomTypeNames();
    TypeOfCurtain_cmb.items = CurtainNames();
    TypeOfCell_lbl.text = "Тип камеры";
    Door_W_lbl.text = "Ширина двери";
    Door_H_lbl.text = "Высота двери";
    Door_Open_lbl.text = "Дверь открыта";
    TypeOfCurtain_lbl.text = "Тип занавеси";
    TempOut_lbl.text = "Наружная температура";
    HumidOut_lbl.text = "Относительная влажность, %";
    BreathLoss_lbl.text = "Теплота дыхания, Вт";
    Change_btn.caption = "ИЗМЕНИТЬ";
    Quit_btn.caption = "ВЫХОД";
    // Every result reads 0 until the first recalculation; the door's field keeps its placeholder.
    for (TextBox* r : resultFields_)
        if (r) r->text = "0";
    Door_Loss_txt.text = "Text4";
    Show();
    wireHandlers();
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
    REG(TempOut_lbl); REG(HumidOut_lbl); REG(DoorNotice_lbl); REG(ResultsNotice_lbl);
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
    for (const FieldSpec& f : FieldCatalogue())
        if (f.form == FieldForm::Main) shown_.emplace_back(&f, *r.find(f.control));
}

void MainForm::wireHandlers() {
    // Every field of the catalogue on this window hands its entries to the editing layer.
    for (const FieldSpec& f : FieldCatalogue()) {
        if (f.form != FieldForm::Main) continue;
        const FieldSpec* field = &f;
        switch (f.kind) {
        case FieldKind::Text: {
            TextBox* box = registry_.get<TextBox>(f.control);
            box->onEnter = [this, field, box] { commitText(*field, *box, Entry::Enter); };
            box->onLeave = [this, field, box] { commitText(*field, *box, Entry::Leave); };
            break;
        }
        case FieldKind::List: {
            ListBox* list = registry_.get<ListBox>(f.control);
            list->onClick = [this, field, list] {
                EventScope scope(*this);
                handleOutcome(ChooseEntry(session_.project, *session_.data, *field, list->index()), field);
            };
            break;
        }
        case FieldKind::Option:
            registry_.get<OptionButton>(f.control)->onClick = [this, field] {
                EventScope scope(*this);
                handleOutcome(ChooseOption(session_.project, *session_.data, *field), field);
            };
            break;
        case FieldKind::Check: {
            CheckBox* box = registry_.get<CheckBox>(f.control);
            box->onClick = [this, field, box] {
                EventScope scope(*this);
                handleOutcome(SetCheck(session_.project, *session_.data, *field, box->value()), field);
            };
            break;
        }
        }
    }
    Change_btn.onClick = [this] {
        if (onChangeTask) onChangeTask();
    };
    Quit_btn.onClick = [this] {
        if (onQuit) onQuit();
    };
}

void MainForm::commitText(const FieldSpec& field, TextBox& box, Entry how) {
    EventScope scope(*this);
    const EditOutcome outcome = CommitText(session_.project, *session_.data, field, box.text, how);
    if (outcome.accepted || outcome.restored)
        refused_.erase(field.control);
    else
        refused_[field.control] = outcome.shown;
    if (outcome.restored) box.text = outcome.shown;
    handleOutcome(outcome, &field);
    if (outcome.accepted && field.role == FieldRole::RoomTemperature && how == Entry::Leave && onTaskChanged) onTaskChanged();
}

void MainForm::Tell(const Notice& n) {
    if (n.kind == Notice::Kind::Refusal) {
        ++refusals;
        ui_.message(n.text, kInputErrorTitle, MsgIcon::Critical);
    } else {
        ui_.message(n.text, kAppTitle, n.kind == Notice::Kind::Unusual ? MsgIcon::Exclamation : MsgIcon::None);
    }
}

void MainForm::handleOutcome(const EditOutcome& outcome, const FieldSpec*) {
    // The work cycle the task put back is told until the person enters something.
    if (outcome.accepted && outcome.recompute != Recompute::None) cycleNote_.clear();
    for (const Notice& n : outcome.notices) Tell(n);
    if (!outcome.focus.empty()) ui_.setFocus(WindowId::MainWindow, outcome.focus);
    if (outcome.recompute != Recompute::None) Recalculate(outcome.recompute);
    Show();
}

// ---- Loading and activation -----------------------------------------------------------

bool MainForm::Load(const std::string& databasePath, std::string& error) {
    if (!LoadRoomTables(databasePath, *session_.data, error)) return false;
    SettleNewRoom(session_.project, *session_.data);
    session_.project.Name_txt = TaskListText(session_.project, *session_.data);
    fillLists();
    loaded_ = true;
    Show();
    return true;
}

void MainForm::fillLists() {
    const ReferenceData& d = *session_.data;
    FillList(Location_cmb, d.Loc_array);
    for (ListBox* l : {&SouthSurf_cmb, &NorthSurf_cmb, &EastSurf_cmb, &WestSurf_cmb, &CeilSurf_cmb})
        FillList(*l, d.Upp_array);
    for (auto& layers : material)
        for (ListBox* l : layers) FillList(*l, d.Mat_array);
}

void MainForm::Activate() {
    EventScope scope(*this);
    const std::string note = ActivateRoom(session_.project, !activated_);
    if (!note.empty()) StatusNote = cycleNote_ = note;
    activated_ = true;
    refused_.clear();
    Recalculate(Recompute::Everything);
    Show();
}

void MainForm::StartNew() {
    activated_ = false;
    cycleNote_.clear();
    refused_.clear();
    session_.result = RoomResult{};
    ResultsProblem.clear();
    MarginText.clear();
    for (TextBox* r : resultFields_)
        if (r) r->text = "0";
    if (loaded_) {
        SettleNewRoom(session_.project, *session_.data);
        session_.project.Name_txt = TaskListText(session_.project, *session_.data);
    }
    Show();
}

void MainForm::Recalculate(unsigned recompute) {
    if (!loaded_) return;
    session_.Recompute();
    const RoomResult& r = session_.result;
    const bool all = recompute & Recompute::Everything;
    if (all || (recompute & Recompute::Envelope))
        for (const std::string& p : r.envelopeProblems) reportProblem(p);
    reportProblem(r.operationProblem);
    if (all) {
        for (const std::string& p : r.productProblems) reportProblem(p);
        reportProblem(r.packagingProblem);
    }
    if (all || (recompute & Recompute::CoolingTime)) {
        if (r.cooling.status == CoolingTimeResult::Status::Error)
            ui_.message(kCoolingTimeErrorText, kAppTitle, MsgIcon::Exclamation);
        else if (r.cooling.status == CoolingTimeResult::Status::Computed && r.cooling.tooShort)
            askAboutCoolingTime();
    }
}

void MainForm::askAboutCoolingTime() {
    std::string text = "Желаемое время меньше расчетного! Для заданных параметров невозможно\r\n охладить продукт за " +
                       session_.project.task.Real_time_txt + " ч.\r\n Изменить желаемое время охлаждения?";
    if (ui_.message(text, "Ошибка ввода времени охлаждения", MsgIcon::None, MsgButtons::YesNo) == MsgAnswer::Yes) {
        ui_.showWindow(WindowId::TaskDialog);
        ui_.setFocus(WindowId::TaskDialog, "Real_time_txt");
    }
}

// ---- Showing --------------------------------------------------------------------------

void MainForm::Show() {
    const RoomProject& p = session_.project;
    const ReferenceData& d = *session_.data;
    for (const auto& [field, control] : shown_) {
        const FieldSpec& f = *field;
        switch (f.kind) {
        case FieldKind::Text: {
            TextBox* box = std::get<TextBox*>(control);
            if (!refused_.empty()) {
                auto refused = refused_.find(f.control);
                if (refused != refused_.end()) {
                    box->text = refused->second;
                    break;
                }
            }
            const std::string& text = f.textOf(p);
            if (box->text != text) box->text = text;
            break;
        }
        case FieldKind::List: {
            ListBox* list = std::get<ListBox*>(control);
            const int position = f.positionOf(p);
            // Positions the lists do not hold yet (before the window loads) stay unchosen.
            if (position >= -1 && position < list->count()) list->showIndex(position);
            break;
        }
        case FieldKind::Option:
            std::get<OptionButton*>(control)->showValue(f.optionOf(p) == f.selects);
            break;
        case FieldKind::Check:
            std::get<CheckBox*>(control)->showValue(f.positionOf(p));
            break;
        }
    }
    // Every field as the model enables it; the captions beside them follow.
    const RoomEnabling e = EnabledControls(p, *session_.data);
    for (const auto& [field, control] : shown_) {
        const bool enabled = FieldEnabled(e, *field);
        std::visit([enabled](auto* c) { c->enabled = enabled; }, control);
    }
    BreathLoss_lbl.enabled = BreathLoss_txt.enabled = e.respiration;
    TypeOfCell_lbl.enabled = e.standardDoor;
    DoorNotice_lbl.text = DoorRoomTypeNotice(p);
    std::string notices = cycleNote_;
    for (const std::string& n : session_.result.notices) notices += (notices.empty() ? "" : "\n") + n;
    ResultsNotice_lbl.text = notices;
    for (Caption* c : {&Door_Open_lbl, &Door_H_lbl, &Door_W_lbl, &TypeOfCurtain_lbl, &TempOut_lbl, &HumidOut_lbl})
        c->enabled = !e.standardDoor;

    if (!loaded_) return;
    // The product as the task hands it over.
    static const FieldSpec& products = *FindField("Produkt_cmb", FieldForm::Task);
    static const FieldSpec& packings = *FindField("Packing_cmb", FieldForm::Task);
    TypeOfProduct_lbl.text = ListText(products, p, d, p.task.Produkt_cmb);
    TempIn_lbl.text = p.task.Tin_Prod_txt;
    TempEnd_lbl.text = p.task.Tend_Prod_txt;
    Loading_lbl.text = p.task.Load_prod_txt;
    Oborot_lbl.text = TurnoverTonnesText(p.task);
    AirSpeed_lbl.text = p.task.Velocity_txt;
    Tara_lbl.text = ListText(packings, p, d, p.task.Packing_cmb);
    if (!activated_) return;

    const RoomResult& r = session_.result;
    for (const LoadComponent& c : LoadComponents())
        if (TextBox* field = resultFields_[static_cast<int>(c.id)]) field->text = LoadText(c.value(r.loads));
    // The fans' power is an input unless it follows from the capacity.
    if (p.AutoEva_opt && !refused_.count("ElectroEva_txt")) ElectroEva_txt.text = LoadText(r.loads.fanPower);
    ResultsProblem = r.loads.problem;
    MarginText = DesignMarginLine(r.loads.capacity, DesignMargin);
    Norma_lbl.text = GeneralText(r.storageCapacity);
    // An estimate that failed leaves the captions as they were; the message said why.
    if (r.cooling.status != CoolingTimeResult::Status::Error) {
        const CoolingTimeTexts times = CoolingTimeCaptions(p, r);
        TimeReal_lbl.text = times.requested;
        TimeCooling_lbl.text = times.cooling;
        TimeFreezing_lbl.text = times.freezing;
        TimeAfterFreezing_lbl.text = times.afterFreezing;
        TimeMin_lbl.text = times.total;
    }
    TempShapeColour = RoomTemperatureColour(p);
}

std::vector<std::string> MainForm::RefusedFields() const {
    std::vector<std::string> names;
    for (const auto& [name, text] : refused_) names.push_back(name);
    return names;
}

std::vector<std::string> MainForm::PutBackRefused() {
    std::vector<std::string> captions;
    for (const auto& [name, text] : refused_)
        if (const FieldSpec* f = FindField(name, FieldForm::Main)) captions.push_back(f->caption);
    refused_.clear();
    Show();
    return captions;
}

// ---- Problems -------------------------------------------------------------------------

void MainForm::reportProblem(const std::string& text) {
    if (text.empty()) return;
    if (std::find(problems_.begin(), problems_.end(), text) == problems_.end()) problems_.push_back(text);
}

void MainForm::flushProblems() {
    std::vector<std::string> problems;
    problems.swap(problems_);
    for (const auto& p : problems) ui_.message(p, kAppTitle, MsgIcon::Exclamation);
}

}  // namespace coldroom
