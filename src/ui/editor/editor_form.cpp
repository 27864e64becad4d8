#include "ui/editor/editor_form.h"

#include <algorithm>
#include <cmath>

#include "core/numtext.h"
#include "refdb/database_location.h"
#include "refdb/reference_columns.h"
#include "ui/editor/editor_checks.h"

namespace coldroom {
namespace {

const char* kCrLf = "\r\n";

}  // namespace

EditorForm::EditorForm(UserInterface& ui) : ui_(ui) {
    SSTab1.items = {"Задача", "Изоляция", "Продукты", "Место", "Упаковка", "Покрытие", "Разное"};
    SSTab1.onClick = [this] { SSTab1_Click(); };

    setUpView(datTask, "datTask", "Tasks", 0, "Выбор задачи",
              "Рекомендованные параметры технологической задачи", &cmdTaskAdd, &cmdTaskDelete, &cmdTaskUpdate);
    bind(datTask, txtTask, "txtTask", 0, "Название", false);
    bind(datTask, txtTcell, "txtTcell", 1, "Температура в камере, °С");
    bind(datTask, txtTstart, "txtTstart", 2, "Т начала охлаждения, °С");
    bind(datTask, txtTend, "txtTend", 3, "Т конца охлаждения, °С");
    bind(datTask, txtCooltime, "txtCooltime", 5, "Длительность охлаждения, часов");
    bind(datTask, txtVelocity, "txtVelocity", 6, "Скорость воздуха в камере, м/с");
    bind(datTask, txtHumidity, "txtHumidity", 4, "Влажность воздуха, %");
    bind(datTask, txtReference, "txtReference", 7, "Продукты", false);

    setUpView(datIsolation, "datIsolation", "Isolation", 1, "Выбор типа изоляции",
              "Расчетные коэффициенты теплопроводности материалов ограждающих конструкций", &cmdIsoAdd,
              &cmdIsoDelete, &cmdIsoUpdate);
    bind(datIsolation, txtIsoName, "txtIsoName", 0, "Материал ", false);
    bind(datIsolation, txtConduct, "txtConduct", 1, "Коэффициент теплопроводности, Вт/(м·К)");

    setUpView(datProduct, "datProduct", "ProdMeat", 2, "Выбор типа продуктов", "", &cmdProdAdd,
              &cmdProdDelete, &cmdProdUpdate);
    bind(datProduct, txtProduct, "txtProduct", 0, "Вид продуктов", false);
    bind(datProduct, txtNorma, "txtNorma", 1, "Норма хранения, т/куб.м");
    bind(datProduct, txtHeatCap, "txtHeatCap", 2, "Удельная теплоемкость, кДж/кг °С");
    bind(datProduct, txtHeatCap_freez, "txtHeatCap_freez", 3, "Удельная теплоемкость (после заморозки), кДж/кг °С");
    bind(datProduct, txtWlaga, "txtWlaga", 6, "Влагосодержание");
    bind(datProduct, txtCond, "txtCond", 7, "Теплопроводность, Вт/м°С");
    bind(datProduct, txtCond_freez, "txtCond_freez", 8, "Теплопроводность (после заморозки), , Вт/м°С");
    bind(datProduct, txtSize, "txtSize", 9, "Характерный размер,м");
    bind(datProduct, txtShape, "txtShape", 10,
         "Коэффициент формы (1 -пластина, 0.5 -цилиндр, 0.33 - шар, 0.56 - полутуша)");
    bind(datProduct, txtDensity, "txtDensity", 11, "Плотность, кг/куб.м");
    bind(datProduct, txtCryo, "txtCryo", 12, "Т криоск");
    bind(datProduct, txtFreez, "txtFreez", 13, "Q замор, кДж/кг");
    bind(datProduct, txtT, "txtT", 4, "", false);
    bind(datProduct, txtE, "txtE", 5, "", false);

    setUpView(datLocus, "datLocus", "Location", 3, "Выбор места расположения камеры",
              "Температурно-влажностный режим в месте расположения охлаждаемого помещения", &cmdLocusAdd,
              &cmdLocusDelete, &cmdLocusUpdate);
    bind(datLocus, txtCity, "txtCity", 0, "Город/ район", false);
    bind(datLocus, txtLongitude, "txtLongitude", 1, "Широта места, °с.ш.");
    bind(datLocus, txtSummerTemp, "txtSummerTemp", 2, "Расчетная летняя температура, °С");
    bind(datLocus, txtHumid, "txtHumid", 3, "Влажность, %");

    setUpView(datTara, "datTara", "Tara", 4, "Выбор типа упаковки",
              "Теплоемкость материала тары, в которой хранится продукт в охлаждаемом помещении", &cmdTaraAdd,
              &cmdTaraDelete, &cmdTaraUpdate);
    bind(datTara, txtTara, "txtTara", 0, "Тип  тары", false);
    bind(datTara, txtHeatTara, "txtHeatTara", 1, "Удельная теплоемкость, кДж/кг °С");

    setUpView(datUpper, "datUpper", "Upper", 5, "Выбор материала покрытия",
              "Коэффициенты поглощения солнечной радиации материалом наружной поверхности ограждающей "
              "конструкции",
              &cmdUpperAdd, &cmdUpperDelete, &cmdUpperUpdate);
    bind(datUpper, txtCoat, "txtCoat", 0, "Тип  внешнего покрытия камеры", false);
    bind(datUpper, txtAbsorp, "txtAbsorp", 1, "Коэффициент поглощения");

    setUpView(datOthers, "datOthers", "Others", 6, "Выбор параметра", "Значения специальных расчетных параметров",
              nullptr, nullptr, &cmdOtherUpdate);
    bind(datOthers, Param_txt, "Param_txt", 0, "Параметр расчета", false);
    bind(datOthers, Value_txt, "Value_txt", 1, "Значение параметра");

    btnAdd.caption = "<<";
    btnDelete.caption = "X";
    btnAdd.onClick = [this] { btnAdd_Click(); };
    btnDelete.onClick = [this] { btnDelete_Click(); };
    Up_pic.onClick = [this] { Up_pic_Click(); };
    Down_pic.onClick = [this] { Down_pic_Click(); };
    txtEnthalpy.onEnter = [this] { txtEnthalpy_Commit(true); };
    txtEnthalpy.onLeave = [this] { txtEnthalpy_Commit(false); };
    Exit_btn.caption = "ВЫХОД с сохранением изменений";
    btnCancel.caption = "ОТМЕНА";
    Exit_btn.onClick = [this] { Exit_btn_Click(); };
    btnCancel.onClick = [this] { btnCancel_Click(); };
    registerControls();
}

std::vector<BoundView*> EditorForm::views() {
    return {&datTask, &datIsolation, &datProduct, &datLocus, &datTara, &datUpper, &datOthers};
}

void EditorForm::setUpView(BoundView& view, const char* name, const char* table, int tab, const char* caption,
                           const char* heading, Button* add, Button* remove, Button* update) {
    view.name = name;
    view.table = table;
    view.tab = tab;
    view.caption.text = caption;
    view.heading = heading;
    view.add = add;
    view.remove = remove;
    view.update = update;
    view.first.onClick = [this, &view] { MoveTo(view, 0); };
    view.previous.onClick = [this, &view] { MoveTo(view, std::max(view.current - 1, 0)); };
    view.next.onClick = [this, &view] { MoveTo(view, std::min(view.current + 1, view.rowCount() - 1)); };
    view.last.onClick = [this, &view] { MoveTo(view, view.rowCount() - 1); };
    if (add) {
        add->caption = "Добавить";
        add->onClick = [this, &view] { Add_Click(view); };
    }
    if (remove) {
        remove->caption = "Удалить";
        remove->onClick = [this, &view] { Delete_Click(view); };
    }
    update->caption = "Изменить";
    update->onClick = [this, &view] { Update_Click(view); };
}

void EditorForm::bind(BoundView& view, TextBox& box, const char* name, int column, const char* label, bool number) {
    view.fields.push_back({&box, name, column, label, number});
    box.enabled = false;
    if (FindEditorCheck(name)) {
        box.onEnter = [this, &view, name] {
            for (const auto& f : view.fields)
                if (f.name == name) CommitField(view, f, true);
        };
        box.onLeave = [this, &view, name] {
            for (const auto& f : view.fields)
                if (f.name == name) CommitField(view, f, false);
        };
    } else if (number) {
        box.onEnter = box.onLeave = [&box] {
            if (double value = 0; TypedNumber(box.text, value)) box.text = NormalizeNumberText(box.text);
        };
    }
}

void EditorForm::registerControls() {
    auto& r = registry_;
    r.add("SSTab1", &SSTab1);
    for (BoundView* view : views()) {
        const std::string name = view->name;
        r.add(name, &view->caption);
        r.add(name + "_Position", &view->position);
        r.add(name + "_First", &view->first);
        r.add(name + "_Previous", &view->previous);
        r.add(name + "_Next", &view->next);
        r.add(name + "_Last", &view->last);
        for (const auto& f : view->fields) r.add(f.name, f.box);
    }
    const std::pair<const char*, Button*> buttons[] = {
        {"cmdTaskAdd", &cmdTaskAdd},       {"cmdTaskDelete", &cmdTaskDelete},   {"cmdTaskUpdate", &cmdTaskUpdate},
        {"cmdIsoAdd", &cmdIsoAdd},         {"cmdIsoDelete", &cmdIsoDelete},     {"cmdIsoUpdate", &cmdIsoUpdate},
        {"cmdProdAdd", &cmdProdAdd},       {"cmdProdDelete", &cmdProdDelete},   {"cmdProdUpdate", &cmdProdUpdate},
        {"cmdLocusAdd", &cmdLocusAdd},     {"cmdLocusDelete", &cmdLocusDelete}, {"cmdLocusUpdate", &cmdLocusUpdate},
        {"cmdTaraAdd", &cmdTaraAdd},       {"cmdTaraDelete", &cmdTaraDelete},   {"cmdTaraUpdate", &cmdTaraUpdate},
        {"cmdUpperAdd", &cmdUpperAdd},     {"cmdUpperDelete", &cmdUpperDelete}, {"cmdUpperUpdate", &cmdUpperUpdate},
        {"cmdOtherUpdate", &cmdOtherUpdate}, {"btnAdd", &btnAdd},               {"btnDelete", &btnDelete},
        {"Up_pic", &Up_pic},               {"Down_pic", &Down_pic},             {"Exit_btn", &Exit_btn},
        {"btnCancel", &btnCancel}};
    for (const auto& [name, button] : buttons) r.add(name, button);
    r.add("cmbProduct", &cmbProduct);
    r.add("cmbNewProd", &cmbNewProd);
    r.add("txtTemperature", &txtTemperature);
    r.add("txtEnthalpy", &txtEnthalpy);
}

bool EditorForm::Load(const std::string& shipped, const std::string& userCopy, std::string& error) {
    shipped_ = shipped;
    userCopy_ = userCopy;
    readPath_ = EffectiveDatabasePath(shipped, userCopy);
    writer_.close();
    // One editor per database: the lock is on the file the changes go to.
    if (!lock_.held() && !lock_.acquire(userCopy.empty() ? readPath_ : userCopy, error)) return false;
    // Every table is read before anything is shown, so a damaged file leaves the editor unopened.
    ReferenceDatabase db;
    if (!db.open(readPath_, error)) return false;
    for (BoundView* view : views()) {
        auto table = db.loadTable(view->table, error);
        if (!table) return false;
        view->data = std::move(*table);
        view->adding = false;
        view->current = view->data.rowCount() > 0 ? 0 : -1;
        for (const auto& f : view->fields) f.box->enabled = false;
    }
    countShippedRows();
    txtTemperature.enabled = txtEnthalpy.enabled = false;
    cmbProduct.enabled = cmbNewProd.enabled = btnAdd.enabled = btnDelete.enabled = false;
    TemperatureBackColor = EnthalpyBackColor = Rgb{};

    // The opening order matters: the product names exist before the first task is shown,
    // because the task's product list is built from them.
    show(datIsolation);
    show(datProduct);
    refreshProductNames();
    cmbNewProd.setIndex(cmbNewProd.count() > 0 ? 0 : -1);
    show(datTask);
    for (BoundView* view : {&datLocus, &datTara, &datUpper, &datOthers}) show(*view);
    SSTab1.setIndex(0);
    SSTab1_Click();  // also when tab 0 was chosen already
    return true;
}

// The rows of the shipped file are the program's own. A shipped file that cannot be read
// leaves every row there now protected.
void EditorForm::countShippedRows() {
    ReferenceDatabase shipped;
    std::string ignored;
    const bool readable = readPath_ != shipped_ && shipped.open(shipped_, ignored);
    for (BoundView* view : views()) {
        auto table = readable ? shipped.loadTable(view->table, ignored) : std::nullopt;
        view->shippedRows = table ? table->rowCount() : view->data.rowCount();
    }
}

void EditorForm::reload() {
    const int tab = SSTab1.index();
    std::vector<int> rows;
    for (BoundView* view : views()) rows.push_back(view->current);
    std::string error;
    if (!Load(shipped_, userCopy_, error)) {
        ui_.message(error, kAppTitle, MsgIcon::Critical);
        return;
    }
    size_t i = 0;
    for (BoundView* view : views()) {
        const int row = std::min(rows[i++], view->data.rowCount() - 1);
        if (row > 0) {
            view->current = row;
            show(*view);
        }
    }
    SSTab1.setIndex(tab);
    SSTab1_Click();
}

void EditorForm::SSTab1_Click() {
    const int tab = SSTab1.index();
    datTask.visible = tab == 0;
    datIsolation.visible = tab == 1;
}

void EditorForm::show(BoundView& view) {
    const bool blank = view.adding || view.current < 0;
    for (const auto& f : view.fields) f.box->text = blank ? std::string() : view.data.text(f.column, view.current);
    view.position.text = std::to_string(view.current + 1) + " из " + std::to_string(view.rowCount());
    if (&view == &datTask) txtReference_Change();
    if (&view == &datProduct) {
        txtT_Change();
        txtE_Change();
    }
}

bool EditorForm::dirty(const BoundView& view) const {
    if (view.adding) return true;
    if (view.current < 0) return false;
    for (const auto& f : view.fields)
        if (f.box->text != view.data.text(f.column, view.current)) return true;
    return false;
}

void EditorForm::MoveTo(BoundView& view, int row) {
    if (view.current < 0 || row < 0 || row >= view.rowCount()) return;
    if (row == view.current) return;
    if (!writeCurrent(view)) return;  // the row left keeps its fields until they can be stored
    view.current = row;
    show(view);
}

void EditorForm::enableEditing(BoundView& view) {
    for (const auto& f : view.fields) f.box->enabled = f.box != &Param_txt;
    if (&view == &datTask) cmbProduct.enabled = cmbNewProd.enabled = btnAdd.enabled = btnDelete.enabled = true;
    if (&view == &datProduct) txtEnthalpy.enabled = true;
}

// The cross-checks read the other fields of the same row as they stand.
bool EditorForm::ensureWriter() {
    if (writer_.isOpen()) return true;
    std::string error, path = readPath_;
    if (!userCopy_.empty() && readPath_ != userCopy_) path = EnsureWritableCopy(shipped_, userCopy_, error);
    if (!path.empty() && writer_.open(path, error)) return true;
    ui_.message(error, kAppTitle, MsgIcon::Critical);
    return false;
}

bool EditorForm::store(BoundView& view, const std::vector<RowChange>& changes) {
    if (!ensureWriter()) return false;
    WriteFailure failure;
    if (writer_.apply(changes, failure)) {
        if (onWritten) onWritten();
        return true;
    }
    reportWriteFailure(view, failure);
    return false;
}

void EditorForm::reportWriteFailure(const BoundView& view, const WriteFailure& failure) {
    switch (failure.kind) {
    case WriteFailure::Kind::Stale:
        ui_.message(std::string("Строка изменена другой программой.") + kCrLf +
                        "Справочные данные прочитаны заново, изменение не записано: проверьте строку и повторите его.",
                    kAppTitle, MsgIcon::Warning);
        reload();
        return;
    case WriteFailure::Kind::Refused:
        ui_.message(failure.message, kAppTitle, MsgIcon::Critical);
        return;
    case WriteFailure::Kind::Engine:
        break;
    }
    // The task view has always reported the engine's words this way; the others get the
    // full sentence naming the table and the file.
    if (&view == &datTask)
        ui_.message("Data error event hit err:" + failure.engineText, kAppTitle, MsgIcon::None);
    else
        ui_.message(failure.message, kAppTitle, MsgIcon::Critical);
}

void EditorForm::Add_Click(BoundView& view) {
    if (&view == &datProduct && datProduct.rowCount() >= kMaxProducts) {
        ui_.message("В справочнике уже " + std::to_string(kMaxProducts) +
                        " продукт — больше продуктов редактор не поддерживает.",
                    "Добавление невозможно!", MsgIcon::Warning);
        return;
    }
    if (!writeCurrent(view)) return;
    enableEditing(view);
    view.adding = true;
    view.current = view.data.rowCount();
    show(view);
    if (&view == &datTask) {
        // The first four products, "1,2,3,4"; a shorter table gives what it has, since a
        // number without its product could never be stored.
        std::vector<double> first;
        for (int n = 1; n <= std::min(4, datProduct.data.rowCount()); ++n) first.push_back(n);
        txtReference.text = JoinNumberList(first);
        txtReference_Change();
    } else if (&view == &datProduct) {
        txtT.text = "-30,-28,-26,-24,-22,-20,-18,-16,-14,-12,-10,-8,-6,-4,-3,-2,-1,0,1,2,3,4,6,8,10,12,14,16,18,"
                    "20,22,24,26,28,30,32,34,36";
        txtE.text = "19.9,24.4,28.9,33.6,38.5,43.5,48.9,54.5,60.6,67.2,74.8,83.8,95.6,114.0,129.8,159.3,258.7,"
                    "300.9,304.4,308,311.6,315.1,322.3,329.6,336.9,344.2,351.6,359,366.3,373.7,380.9,388.2,"
                    "395.4,402.5,409.7,416.9,424.1,431.3";
        txtT_Change();
        txtE_Change();
    }
}

void EditorForm::Update_Click(BoundView& view) {
    enableEditing(view);
    if (writeCurrent(view)) show(view);
}

void EditorForm::Exit_btn_Click() {
    for (BoundView* view : views())
        if (!writeCurrent(*view)) return;  // stays open on the row that cannot be stored
    close();
    ui_.message(std::string("Сделанные изменения будут учитываться") + kCrLf + "только после перезапуска программы!",
                kAppTitle, MsgIcon::Information);
    ui_.hideWindow(WindowId::Editor);
    if (onClosed) onClosed();
}

void EditorForm::btnCancel_Click() {
    close();
    ui_.hideWindow(WindowId::Editor);
    if (onClosed) onClosed();
}

void EditorForm::close() {
    writer_.close();
    lock_.release();
    for (BoundView* view : views()) view->adding = false;
}

}  // namespace coldroom
