#include "ui/task/task_form.h"

#include <type_traits>

#include "core/numtext.h"
#include "ui/field_ranges.h"
#include "refdb/reference_columns.h"

namespace coldroom {

// The title under which the dialog names a field that holds a wrong value.
constexpr const char* kTaskInputErrorTitle = "Неверный ввод параметра";
namespace {

const char* kCrLf = "\r\n";

const std::vector<double> kMeatGroup{1, 2, 3, 4};
const std::vector<double> kSausageGroup{5, 6};
const std::vector<double> kFishGroup{7, 8, 9};
const std::vector<double> kMilkGroup{10, 11, 12, 13, 14};
const std::vector<double> kIceCreamGroup{15, 16, 17};
constexpr int kPredefinedTasks = 17;
// The one product list whose products breathe (ripening cheese).
constexpr const char* kRespirationReference = "27,28";

// The table row of a task or product number: number 1 is row 0. A number no int holds reads
// no row at all, as a negative one does.
int rowOf(double number) { return WholeOr(number, -1) - 1; }

std::string twoLines(const char* first, const char* second) {
    return std::string(first) + kCrLf + second;
}

}  // namespace

TaskForm::TaskForm(ProgramState& state, UserInterface& ui) : state_(state), ui_(ui) {
    btn_Meat.caption = "Мясо, птица и субпродукты";
    btn_Kolb.caption = "Колбасы и колбасные изделия";
    btn_Fish.caption = "Рыба и рыбопродукты";
    btn_Milk.caption = "Яйца, сыр и молочные продукты";
    btn_Ice.caption = "Мороженое";
    btn_Special.caption = "Специальные задачи";
    OK_btn.caption = "Далее >>";
    Cancel_btn.caption = "Отмена";
    Smena_cmb.items = {"Непрерывный", "Сменный"};
    for (TextBox* box : {&TempIn_txt, &Tin_Prod_txt, &Tend_Prod_txt, &Load_prod_txt, &Oborot_Prod_txt,
                         &Oborot_tonn_txt, &Real_time_txt, &Velocity_txt, &HumidIn_txt, &Dimens_txt})
        box->text = "0";

    btn_Meat.onClick = [this] { GroupButton_Click(kMeatGroup); };
    btn_Kolb.onClick = [this] { GroupButton_Click(kSausageGroup); };
    btn_Fish.onClick = [this] { GroupButton_Click(kFishGroup); };
    btn_Milk.onClick = [this] { GroupButton_Click(kMilkGroup); };
    btn_Ice.onClick = [this] { GroupButton_Click(kIceCreamGroup); };
    btn_Special.onClick = [this] { btn_Special_Click(); };
    Task_cmb.onClick = [this] { Task_cmb_Click(); };
    Produkt_cmb.onClick = [this] { Produkt_cmb_Click(); };
    Smena_cmb.onClick = [this] { Smena_cmb_Click(); };
    OK_btn.onClick = [this] { OK_btn_Click(); };
    Cancel_btn.onClick = [this] { Cancel_btn_Click(); };

    // Each checked field runs its check on Enter and on leaving; both are the same.
    for (int i = 0; i < kChecks; ++i) {
        const auto k = static_cast<Check>(i);
        checkedField(k).onEnter = [this, k] { RunCheck(k); };
        checkedField(k).onLeave = [this, k] { RunCheck(k); };
    }
    Oborot_tonn_txt.onEnter = [this] { Oborot_tonn_Check(); };
    Oborot_tonn_txt.onLeave = [this] { Oborot_tonn_Check(); };
    registerControls();
}

void TaskForm::registerControls() {
    auto& r = registry_;
    r.add("btn_Meat", &btn_Meat);
    r.add("btn_Kolb", &btn_Kolb);
    r.add("btn_Fish", &btn_Fish);
    r.add("btn_Milk", &btn_Milk);
    r.add("btn_Ice", &btn_Ice);
    r.add("btn_Special", &btn_Special);
    r.add("Task_cmb", &Task_cmb);
    r.add("Produkt_cmb", &Produkt_cmb);
    r.add("Packing_cmb", &Packing_cmb);
    r.add("Smena_cmb", &Smena_cmb);
    r.add("TempIn_txt", &TempIn_txt);
    r.add("Tin_Prod_txt", &Tin_Prod_txt);
    r.add("Tend_Prod_txt", &Tend_Prod_txt);
    r.add("Load_prod_txt", &Load_prod_txt);
    r.add("Oborot_Prod_txt", &Oborot_Prod_txt);
    r.add("Oborot_tonn_txt", &Oborot_tonn_txt);
    r.add("Real_time_txt", &Real_time_txt);
    r.add("Velocity_txt", &Velocity_txt);
    r.add("HumidIn_txt", &HumidIn_txt);
    r.add("Dimens_txt", &Dimens_txt);
    r.add("OK_btn", &OK_btn);
    r.add("Cancel_btn", &Cancel_btn);
}

bool TaskForm::reloadTable(const char* name, RefTable& into) {
    std::string error;
    auto table = db_.loadTable(name, error);
    if (!table) {
        ui_.message(error, kAppTitle, MsgIcon::Critical);
        return false;
    }
    into = std::move(*table);
    return true;
}

bool TaskForm::Load(const std::string& databasePath, std::string& error) {
    state_.ProjectTitle = "Название проекта";
    state_.ReportAuthor = "Исполнитель";
    if (!db_.open(databasePath, error)) return false;
    auto tasks = db_.loadTable("Tasks", error);
    if (!tasks) return false;
    Task_array = std::move(*tasks);
    // The product and packaging tables are read again on every Init; check them once here
    // so that a damaged database is reported at start, not halfway through.
    for (const char* name : {"ProdMeat", "Tara"}) {
        auto table = db_.loadTable(name, error);
        if (!table) return false;
        (std::string(name) == "Tara" ? Tara_array : Prod_array) = std::move(*table);
    }
    state_.OfferedTasks = kMeatGroup;
    Init(0, 0, 0);
    return true;
}

void TaskForm::Activate() {
    TempIn_txt.text = GeneralText(TempInCell);
    RabCoef = 100;
}

void TaskForm::Init(int IndexTask, int IndexProduct, int IndexTara) {
    Task_cmb.clear();
    for (double task : state_.OfferedTasks)
        Task_cmb.addItem(Task_array.text(TaskColumn::Name, rowOf(task)));
    if (IndexTask >= 0 && IndexTask < static_cast<int>(state_.OfferedTasks.size())) {
        TaskReference = Task_array.text(TaskColumn::Reference, rowOf(state_.OfferedTasks[IndexTask]));
        TaskProducts = ParseNumberList(TaskReference, kTaskProductsInDialog).values;
    }
    reloadTable("ProdMeat", Prod_array);
    fillProducts();
    Prod_in_list = IndexProduct;
    selectProductInList();
    Task_cmb.setIndex(IndexTask);
    TaskSelected_ind = static_cast<int16_t>(IndexTask);
    reloadTable("Tara", Tara_array);
    Packing_cmb.clear();
    FillList(Packing_cmb, Tara_array);
    if (!Packing_cmb.setIndex(IndexTara)) Packing_cmb.setIndex(Packing_cmb.count() > 0 ? 0 : -1);
}

void TaskForm::fillProducts() {
    Produkt_cmb.clear();
    for (double product : TaskProducts)
        Produkt_cmb.addItem(Prod_array.text(ProductColumn::Name, rowOf(product)));
}

// A stored list position that the new product list does not have selects the first product.
void TaskForm::selectProductInList() {
    if (!Produkt_cmb.setIndex(static_cast<int>(Prod_in_list)))
        Produkt_cmb.setIndex(Produkt_cmb.count() > 0 ? 0 : -1);
}

void TaskForm::GroupButton_Click(std::vector<double> tasks) {
    state_.OfferedTasks = std::move(tasks);
    Init(0, 0, 0);
    Task_cmb_Click();
}

void TaskForm::btn_Special_Click() {
    int n = Task_array.rowCount() - kPredefinedTasks;
    Task_cmb.clear();
    if (n < 1) {
        ui_.message(std::string("Ни одной из специальных задач не введено. Если Вы хотите добавить") + kCrLf +
                        "свою задачу к уже существующим, нажмите кнопку Далее и воспользуйтесь" + kCrLf +
                        "командой меню Настройка параметров",
                    "Нет специальных задач!", MsgIcon::Information);
        return;
    }
    std::vector<double> tasks;
    for (int i = 1; i <= n; ++i) tasks.push_back(kPredefinedTasks + i);
    GroupButton_Click(std::move(tasks));
}

void TaskForm::Task_cmb_Click() {
    int position = Task_cmb.index();
    if (position < 0 || position >= static_cast<int>(state_.OfferedTasks.size())) return;
    int row = rowOf(state_.OfferedTasks[position]);
    auto valueText = [&](int column) { return GeneralText(Task_array.number(column, row)); };

    TempIn_txt.text = valueText(TaskColumn::TempCell);
    TempInCell = Task_array.number(TaskColumn::TempCell, row);
    Tin_Prod_txt.text = valueText(TaskColumn::TempIn);
    Tend_Prod_txt.text = valueText(TaskColumn::TempOut);
    HumidIn_txt.text = valueText(TaskColumn::Humidity);
    Real_time_txt.text = valueText(TaskColumn::CoolTime);
    RTime = static_cast<float>(Task_array.number(TaskColumn::CoolTime, row));
    Velocity_txt.text = valueText(TaskColumn::Velocity);

    Smena_cmb.setIndex(RTime == 24 ? 0 : 1);

    TaskSelected_ind = static_cast<int16_t>(position);
    TaskReference = Task_array.text(TaskColumn::Reference, row);
    TaskProducts = ParseNumberList(TaskReference, kTaskProductsInDialog).values;
    fillProducts();
    selectProductInList();

    // The refilled fields hold the task's values now; a flag left from an earlier entry
    // must not block the confirmation with a message about a value that is gone.
    for (Check k : {CheckRoomTemperature, CheckProductStart, CheckProductEnd, CheckAirVelocity, CheckCoolingTime,
                    CheckHumidity})
        RunCheck(k, true);
}

void TaskForm::Produkt_cmb_Click() {
    int position = Produkt_cmb.index();
    if (position < 0 || position >= static_cast<int>(TaskProducts.size())) return;
    const int row = rowOf(TaskProducts[position]);
    ProdSelected_ind = row >= INT16_MIN && row <= INT16_MAX ? static_cast<int16_t>(row) : int16_t{-2};
    Dimens_txt.text = GeneralText(100 * Prod_array.number(ProductColumn::Dimension, ProdSelected_ind));
}

void TaskForm::Smena_cmb_Click() {
    if (Smena_cmb.index() == 0) {
        Real_time_txt.text = "24";
        RabCoef = 75;
    }
}

TextBox& TaskForm::checkedField(Check k) {
    TextBox* const fields[kChecks] = {&TempIn_txt,   &Tin_Prod_txt,  &Tend_Prod_txt, &Oborot_Prod_txt,
                                      &Velocity_txt, &Real_time_txt, &Load_prod_txt, &HumidIn_txt};
    return *fields[k];
}

std::string TaskForm::checkMessage(Check k, double v) const {
    const double tempIn = LeadingNumber(TempIn_txt.text);
    const double tStart = LeadingNumber(Tin_Prod_txt.text);
    const double tEnd = LeadingNumber(Tend_Prod_txt.text);
    const char* endMust = "Температура конца охлаждения должна быть";
    const char* startMust = "Температура начала охлаждения должна быть";
    auto outside = [v](const char* control) { return !InFieldRange(*FindFieldRange(control, true), v); };
    switch (k) {
    case CheckRoomTemperature:
        if (outside("TempIn_txt")) return "Температура в камере должна быть в пределах от -50°С до +20°С";
        if (v > tEnd) return twoLines(endMust, "больше температуры в камере");
        if (v > tStart) return twoLines(startMust, "больше температуры в камере");
        return {};
    case CheckProductStart:
        if (outside("Tin_Prod_txt")) return twoLines(startMust, "в пределах от -20°С до +36°С");
        if (tempIn > v) return twoLines(startMust, "больше температуры в камере");
        if (tEnd > v) return twoLines(startMust, "больше температуры конца охлаждения");
        return {};
    case CheckProductEnd:
        if (outside("Tend_Prod_txt")) return twoLines(endMust, "в пределах от -40°С до +15°С");
        if (tempIn > v) return twoLines(endMust, "больше температуры в камере");
        if (v > tStart) return twoLines(endMust, "меньше температуры начала охлаждения");
        return {};
    case CheckTurnover:
        if (outside("Oborot_Prod_txt"))
            return twoLines("Неверно задан суточный оборот продуктов. ",
                            "Значение должно лежать в интервале от 0 до 100 %");
        return {};
    case CheckAirVelocity:
        if (outside("Velocity_txt"))
            return twoLines("Скорость движения воздуха в камере должна быть", "в пределах от 0 до 20 м/с");
        return {};
    case CheckCoolingTime:
        if (outside("Real_time_txt"))
            return twoLines("Неверно задано время охлаждения продуктов.", "Значение должно быть больше 0 часов!");
        return {};
    case CheckLoad:
        if (outside("Load_prod_txt")) return "Неверно задана загрузка камеры. Значение должно быть положительным!";
        return {};
    case CheckHumidity:
        if (outside("HumidIn_txt"))
            return twoLines("Неверно задана относительная влажность в камере. ",
                            "Значение должно быть в интервале от 0 до 100% !");
        return {};
    }
    return {};
}

bool TaskForm::RunCheck(Check k, bool silent) {
    TextBox& box = checkedField(k);
    // The cooling time is judged as typed ("0,5" reads 0) and normalised only once it passed.
    if (k != CheckCoolingTime) box.text = NormalizeNumberText(box.text);
    double v = LeadingNumber(box.text);
    std::string message = checkMessage(k, v);
    if (!message.empty()) {
        FieldError[k] = true;
        FieldMessage[k] = message;
        if (!silent) ui_.message(message, kInputErrorTitle, MsgIcon::Critical);
        return false;
    }
    FieldError[k] = false;
    if (silent) {
        if (k == CheckCoolingTime) box.text = NormalizeNumberText(box.text);
        return true;
    }
    switch (k) {
    case CheckRoomTemperature:
        TempInCell = v;
        break;
    case CheckTurnover:
        SetTurnoverShare(v);
        break;
    case CheckCoolingTime:
        box.text = NormalizeNumberText(box.text);
        break;
    case CheckLoad:
        RunCheck(CheckTurnover);
        break;
    default:
        break;
    }
    return true;
}

bool TaskForm::Oborot_tonn_Check(bool silent) {
    Oborot_tonn_txt.text = NormalizeNumberText(Oborot_tonn_txt.text);
    double v = LeadingNumber(Oborot_tonn_txt.text);
    double load = LeadingNumber(Load_prod_txt.text);
    if (v < 0 || v > load) {
        std::string message = twoLines("Неверно задан суточный оборот продуктов. ",
                                       "Значение должно лежать в интервале от 0 до ") +
                              Load_prod_txt.text;
        FieldError[CheckTurnover] = true;
        FieldMessage[CheckTurnover] = message;
        if (!silent) ui_.message(message, kInputErrorTitle, MsgIcon::Critical);
        return false;
    }
    FieldError[CheckTurnover] = false;
    if (silent) return true;
    // With no load the turnover can only be 0, and so is its share.
    double percent = load != 0 ? v / load * 100 : 0;
    Oborot_Prod_txt.text = FormatMask(percent, Mask::NoLeadZero);
    Oborot_Kg = static_cast<float>(v * 1000);
    return true;
}

void TaskForm::OK_btn_Click() {
    const double hours = LeadingNumber(Real_time_txt.text);
    if (hours > 0) RTime = static_cast<float>(hours);
    // A value refused when it was typed is named first: it is what the person must correct.
    for (int k = 0; k < kChecks; ++k) {
        if (FieldError[k]) {
            ui_.message(FieldMessage[k], kTaskInputErrorTitle, MsgIcon::Critical);
            return;
        }
    }
    if (Task_cmb.count() == 0 || Task_cmb.index() < 0) {
        ui_.message("Не выбрана технологическая задача. Выберите группу продуктов, в которой есть задачи.",
                    kTaskInputErrorTitle, MsgIcon::Critical);
        return;
    }
    if (!(hours > 0)) {
        // A time that does not read as a positive number would divide every load by zero.
        RunCheck(CheckCoolingTime);
        ui_.setFocus(WindowId::TaskDialog, "Real_time_txt");
        return;
    }
    Cheese = IsRespirationTask();
    ui_.hideWindow(WindowId::TaskDialog);
    state_.ProjectTitle = Task_cmb.text();
    if (onConfirmed) onConfirmed();
}

bool TaskForm::IsRespirationTask() const { return TaskReference == kRespirationReference; }

void TaskForm::SetTurnoverShare(double percent) {
    Oborot_tonn_txt.text = FormatMask(percent / 100 * LeadingNumber(Load_prod_txt.text), Mask::Fixed4);
    Oborot_Kg = static_cast<float>(LeadingNumber(Oborot_tonn_txt.text) * 1000);
}

void TaskForm::SettleAfterRead() {
    RTime = static_cast<float>(LeadingNumber(Real_time_txt.text));
    Cheese = IsRespirationTask();
    FieldError.fill(false);
    for (auto& message : FieldMessage) message.clear();
}

TaskForm::Kept TaskForm::Keep() const {
    Kept k;
    for (const auto& [name, ref] : registry_.all())
        std::visit([&, n = name](auto* c) { k.controls.emplace(n, *c); }, ref);
    k.TempInCell = TempInCell;
    k.Prod_in_list = Prod_in_list;
    k.TaskSelected_ind = TaskSelected_ind;
    k.ProdSelected_ind = ProdSelected_ind;
    k.Cheese = Cheese;
    k.Oborot_Kg = Oborot_Kg;
    k.RTime = RTime;
    k.RabCoef = RabCoef;
    k.TaskProducts = TaskProducts;
    k.OfferedTasks = state_.OfferedTasks;
    k.TaskReference = TaskReference;
    k.ProjectTitle = state_.ProjectTitle;
    k.FieldError = FieldError;
    k.FieldMessage = FieldMessage;
    return k;
}

void TaskForm::Restore(const Kept& k) {
    for (const auto& entry : k.controls) {
        const auto& value = entry.second;
        const ControlRef* ref = registry_.find(entry.first);
        if (!ref) continue;
        std::visit(
            [&](auto* c) {
                using C = std::remove_pointer_t<decltype(c)>;
                if (auto* v = std::get_if<C>(&value)) *c = *v;
            },
            *ref);
    }
    TempInCell = k.TempInCell;
    Prod_in_list = k.Prod_in_list;
    TaskSelected_ind = k.TaskSelected_ind;
    ProdSelected_ind = k.ProdSelected_ind;
    Cheese = k.Cheese;
    Oborot_Kg = k.Oborot_Kg;
    RTime = k.RTime;
    RabCoef = k.RabCoef;
    TaskProducts = k.TaskProducts;
    state_.OfferedTasks = k.OfferedTasks;
    TaskReference = k.TaskReference;
    state_.ProjectTitle = k.ProjectTitle;
    FieldError = k.FieldError;
    FieldMessage = k.FieldMessage;
}

void TaskForm::Cancel_btn_Click() {
    if (onCancel) onCancel();
}

}  // namespace coldroom
