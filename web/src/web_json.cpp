#include "web_json.h"

#include <cmath>

#include "core/design_margin.h"
#include "core/load_components.h"
#include "core/numtext.h"
#include "core/shared_texts.h"
#include "model/field_catalogue.h"
#include "model/room_edit.h"
#include "model/task_derived.h"
#include "ui/main/door_notice.h"

namespace coldroom {
namespace {

const char* formName(FieldForm f) { return f == FieldForm::Task ? "Task" : "Main"; }

const char* kindName(FieldKind k) {
    switch (k) {
    case FieldKind::Text: return "Text";
    case FieldKind::List: return "List";
    case FieldKind::Option: return "Option";
    case FieldKind::Check: return "Check";
    }
    return "";
}

const char* groupName(FieldGroup g) {
    switch (g) {
    case FieldGroup::Task: return "Task";
    case FieldGroup::Room: return "Room";
    case FieldGroup::Walls: return "Walls";
    case FieldGroup::Operation: return "Operation";
    }
    return "";
}

// Every list source with its name in the page.
constexpr std::pair<ListSource, const char*> kSources[] = {
    {ListSource::Locations, "Locations"}, {ListSource::RoomTypes, "RoomTypes"},   {ListSource::Curtains, "Curtains"},
    {ListSource::Tasks, "Tasks"},         {ListSource::Products, "Products"},     {ListSource::Packagings, "Packagings"},
    {ListSource::Shifts, "Shifts"},       {ListSource::Materials, "Materials"},   {ListSource::Coatings, "Coatings"},
};

const char* sourceName(ListSource s) {
    for (const auto& [source, name] : kSources)
        if (source == s) return name;
    return nullptr;
}

// "от -50 до 20", "больше 0": what a typed value may be, as a hint beside the field.
std::string rangeHint(const QuantityRange* r) {
    if (!r) return {};
    std::string low = (r->lowExcluded ? "больше " : "от ") + GeneralText(r->low);
    if (std::isinf(r->high)) return r->lowExcluded ? low : "не меньше " + GeneralText(r->low);
    return low + (r->highExcluded ? " и меньше " : " до ") + GeneralText(r->high);
}

std::string colourText(const std::array<unsigned char, 3>& c) {
    char buf[8];
    std::snprintf(buf, sizeof buf, "#%02x%02x%02x", c[0], c[1], c[2]);
    return buf;
}

const char* roleName(LoadRole r) {
    switch (r) {
    case LoadRole::Surface: return "Surface";
    case LoadRole::Component: return "Component";
    case LoadRole::Part: return "Part";
    case LoadRole::Sum: return "Sum";
    }
    return "";
}

const char* messageKind(WebMessage::Kind k) {
    switch (k) {
    case WebMessage::Kind::Error: return "error";
    case WebMessage::Kind::Warning: return "warning";
    case WebMessage::Kind::Information: return "information";
    }
    return "";
}

void row(JsonOut& j, const std::string& control, const std::string& caption, const std::string& value,
         const char* unit, bool indented, bool on) {
    j.object().member("control", control).member("caption", caption).member("v", value).member("unit", unit);
    j.member("indent", indented).member("on", on).end();
}

}  // namespace

std::string CatalogueJson() {
    JsonOut j;
    j.object();
    j.member("app", kAppTitle).member("version", COLDROOM_VERSION);
    // The task dialog, then the room's frame above the tabs and the window's three tabs (the last shows
    // the product and the cooling time).
    j.key("groups").array();
    const std::pair<const char*, const char*> groups[] = {{"Task", "Выбор технологической задачи"},
                                                          {"Room", "Камера"},
                                                          {"Walls", "Размеры/Изоляция/Темп. режим"},
                                                          {"Operation", "Параметры эксплуатации"},
                                                          {"Product", "Продукты в камере"}};
    for (const auto& [id, title] : groups) j.object().member("id", id).member("title", title).end();
    j.end();
    j.key("fields").array();
    for (const FieldSpec& f : FieldCatalogue()) {
        j.object().member("id", f.setName()).member("control", f.control).member("form", formName(f.form));
        j.member("kind", kindName(f.kind)).member("caption", f.caption).member("unit", f.unit);
        j.member("group", groupName(f.group)).member("file", f.fileItem);
        if (f.kind == FieldKind::Text) j.member("hint", rangeHint(f.range));
        if (const char* s = sourceName(f.list)) j.member("list", s);
        if (f.kind == FieldKind::Option) j.member("pair", f.selects ? f.control + "|" + f.other : f.other + "|" + f.control);
        j.end();
    }
    j.end();
    j.key("taskGroups").array();
    for (const auto& g : WebSession::TaskGroups()) j.value(g.caption);
    j.end();
    j.key("loads").array();
    for (const LoadComponent& c : LoadComponents()) {
        j.object().member("id", c.jsonKey).member("control", c.control).member("caption", c.caption);
        j.member("role", roleName(c.role)).member("colour", colourText(c.colour)).end();
    }
    j.end();
    j.member("marginMax", kMaxDesignMargin);
    j.end();
    return j.text();
}

std::string StateJson(WebSession& s) {
    const RoomProject& p = s.project();
    const ReferenceData& d = s.data();
    const RoomResult& r = s.result();
    const RoomEnabling enabling = EnabledControls(p, d);
    JsonOut j;
    j.object();
    j.member("step", s.taskStep() ? "task" : "room").member("canCancel", s.canCancelTask());
    j.member("title", p.ProjectTitle);

    j.key("fields").object();
    for (const FieldSpec& f : FieldCatalogue()) {
        j.key(f.setName()).object();
        j.member("on", FieldEnabled(enabling, f));
        switch (f.kind) {
        case FieldKind::Text: {
            const std::string* refused = f.form == FieldForm::Main ? s.refusedText(f.control) : nullptr;
            std::string shown = refused ? *refused : f.textOf(p);
            // The fans' power follows from the capacity while the program chooses it.
            if (!refused && f.enabling == FieldSpec::Enabling::FanPower && p.AutoEva_opt && s.computed())
                shown = LoadText(r.loads.fanPower);
            const bool bad = refused || (f.check >= 0 && s.dialog().FieldError[f.check]);
            j.member("v", shown).member("bad", bad);
            break;
        }
        case FieldKind::List: {
            const int position = f.positionOf(p);
            const bool titled = f.role == FieldRole::TaskChoice;
            j.member("v", position).member("t", titled ? TaskListText(p, d) : ListText(f, p, d, position));
            break;
        }
        case FieldKind::Option: j.member("v", f.optionOf(p) == f.selects); break;
        case FieldKind::Check: j.member("v", f.positionOf(p) != 0); break;
        }
        j.end();
    }
    j.end();

    j.key("lists").object();
    for (const auto& [source, name] : kSources) {
        FieldSpec probe;
        probe.list = source;
        j.key(name).array();
        const int count = source == ListSource::Tasks && s.dialog().taskListEmpty ? 0 : ListCount(probe, p, d);
        for (int i = 0; i < count; ++i) j.value(ListText(probe, p, d, i));
        j.end();
    }
    j.end();

    j.member("computed", s.computed());
    if (s.computed()) {
        // The results as the window's frame lists them, the four walls' sum after the walls.
        j.key("results").array();
        for (const LoadComponent& c : LoadComponents()) {
            const bool indented = c.role == LoadRole::Surface || c.role == LoadRole::Part;
            row(j, c.control.empty() ? c.jsonKey : c.control, c.caption, LoadText(c.value(r.loads)), "Вт", indented,
                c.id != LoadId::Respiration || enabling.respiration);
            if (c.id == LoadId::West) row(j, "WallLossTotal", "Стены, всего", LoadText(r.wallTotal), "Вт", true, true);
        }
        j.end();
        j.member("problem", r.loads.problem);
        j.member("margin", s.margin()).member("marginLine", DesignMarginLine(r.loads.capacity, s.margin()));
        j.key("chart").array();
        for (const ChartedLoad& c : ChartedLoads(r.loads)) {
            j.object().member("label", c.label).member("colour", colourText(LoadComponentOf(c.id).colour));
            if (c.value.defined) j.member("watts", c.value.watts);
            else j.key("watts").null();
            j.end();
        }
        j.end();
        static const FieldSpec& products = *FindField("Produkt_cmb", FieldForm::Task);
        static const FieldSpec& packings = *FindField("Packing_cmb", FieldForm::Task);
        const CoolingTimeTexts times = CoolingTimeCaptions(p, r);
        const struct {
            const char *control, *caption;
            std::string value;
            const char* unit;
        } rows[] = {
            {"TypeOfProduct_lbl", "ТИП ПРОДУКТОВ", ListText(products, p, d, p.task.Produkt_cmb), ""},
            {"TempIn_lbl", "Начальная Т продуктов", p.task.Tin_Prod_txt, "°C"},
            {"TempEnd_lbl", "Конечная Т продуктов", p.task.Tend_Prod_txt, "°C"},
            {"Norma_lbl", "Норма хранения", GeneralText(r.storageCapacity), "т"},
            {"Loading_lbl", "Загрузка камеры", p.task.Load_prod_txt, "т"},
            {"Oborot_lbl", "Сколько продукции охлаждается", TurnoverTonnesText(p.task), "т"},
            {"Tara_lbl", "Упаковка", ListText(packings, p, d, p.task.Packing_cmb), ""},
            {"AirSpeed_lbl", "Скорость движения воздуха в камере", p.task.Velocity_txt, "м/с"},
            {"TimeReal_lbl", "Желаемое время", times.requested, "ч"},
            {"TimeCooling_lbl", "Охлаждение", times.cooling, "ч"},
            {"TimeFreezing_lbl", "Замораживание", times.freezing, "ч"},
            {"TimeAfterFreezing_lbl", "Домораживание", times.afterFreezing, "ч"},
            {"TimeMin_lbl", "Общее время", times.total, "ч"},
        };
        // The product as the task hands it over, then the cooling time: the window's third tab.
        j.key("product").array();
        for (const auto& row : rows) {
            if (std::string_view(row.control) == "TimeReal_lbl") j.end().key("times").array();
            j.object().member("control", row.control).member("caption", row.caption).member("v", row.value);
            j.member("unit", row.unit).end();
        }
        j.end();
        const auto colour = RoomTemperatureColour(p);
        char buf[8];
        std::snprintf(buf, sizeof buf, "#%02x%02x%02x", colour[0] & 0xff, colour[1] & 0xff, colour[2] & 0xff);
        j.member("roomColour", buf);
    }
    // The work cycle the task's mode gives, beside the mode in the dialog.
    j.member("taskCycle", "цикл " + InputTextSingle(p.task.RabCoef) + " %");
    j.member("doorNotice", DoorRoomTypeNotice(p));
    // Beside the results: the work cycle the task put back, then what the figures may surprise with.
    std::string notices = s.statusNote();
    for (const std::string& n : r.notices) notices += (notices.empty() ? "" : "\n") + n;
    j.member("notices", notices);

    j.key("messages").array();
    for (const WebMessage& m : s.messages())
        j.object().member("kind", messageKind(m.kind)).member("title", m.title).member("text", m.text).end();
    j.end();
    s.messages().clear();
    j.end();
    return j.text();
}

}  // namespace coldroom
