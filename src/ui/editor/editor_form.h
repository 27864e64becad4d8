// State and handlers of the parameter editor " Изменение расчетных параметров": the seven
// reference tables, each browsed through a bound view whose current row is shown in edit
// fields, the current task's product list and the product's temperature-enthalpy points.
// Changes are written into the user's copy of the reference database (see
// refdb/database_location.h) and reach the calculations at the next start of the program.
#pragma once

#include <functional>
#include <string>
#include <vector>

#include "ui/controls.h"
#include "ui/user_interface.h"
#include "refdb/editor_lock.h"
#include "refdb/reference_db.h"
#include "refdb/reference_writer.h"

namespace coldroom {

struct Rgb {
    int red = 255, green = 255, blue = 255;
    bool operator==(const Rgb&) const = default;
};

// A record navigator over one table; its current row is shown in the bound edit fields.
class BoundView {
public:
    Caption caption;   // "Выбор задачи"
    Caption position;  // "3 из 39"
    Button first, previous, next, last;
    bool visible = true;

    struct Field {
        TextBox* box;
        const char* name;
        int column;
        const char* label;  // "" for a field shown through another control
        bool number;        // a number column: its text is normalised before it is stored
    };
    const char* table = "";
    const char* name = "";
    const char* heading = "";
    int tab = 0;
    std::vector<Field> fields;
    Button *add = nullptr, *remove = nullptr, *update = nullptr;

    RefTable data;       // the rows as stored
    int current = -1;    // the row shown; -1 for an empty table
    bool adding = false;  // the row shown is new and not stored yet (it follows the last row)
    // Rows that came with the program: projects point at them by position, so they are
    // edited but never deleted.
    int shippedRows = 0;

    int rowCount() const { return data.rowCount() + (adding ? 1 : 0); }
};

class EditorForm {
public:
    explicit EditorForm(UserInterface& ui);
    EditorForm(const EditorForm&) = delete;
    EditorForm& operator=(const EditorForm&) = delete;

    // ---- Controls -------------------------------------------------------------------
    ListBox SSTab1;  // the seven tabs
    BoundView datTask, datIsolation, datProduct, datLocus, datTara, datUpper, datOthers;
    TextBox txtTask, txtTcell, txtTstart, txtTend, txtCooltime, txtVelocity, txtHumidity, txtReference;
    TextBox txtIsoName, txtConduct;
    TextBox txtProduct, txtNorma, txtHeatCap, txtHeatCap_freez, txtWlaga, txtCond, txtCond_freez,
        txtSize, txtShape, txtDensity, txtCryo, txtFreez, txtT, txtE;
    TextBox txtCity, txtLongitude, txtSummerTemp, txtHumid;
    TextBox txtTara, txtHeatTara;
    TextBox txtCoat, txtAbsorp;
    TextBox Param_txt, Value_txt;
    ListBox cmbProduct, cmbNewProd;
    Button btnAdd, btnDelete;
    TextBox txtTemperature, txtEnthalpy;
    Button Up_pic, Down_pic;
    Rgb TemperatureBackColor, EnthalpyBackColor;  // back colours of txtTemperature, txtEnthalpy
    Button cmdTaskAdd, cmdTaskDelete, cmdTaskUpdate, cmdIsoAdd, cmdIsoDelete, cmdIsoUpdate,
        cmdProdAdd, cmdProdDelete, cmdProdUpdate, cmdLocusAdd, cmdLocusDelete, cmdLocusUpdate,
        cmdTaraAdd, cmdTaraDelete, cmdTaraUpdate, cmdUpperAdd, cmdUpperDelete, cmdUpperUpdate,
        cmdOtherUpdate;
    Button Exit_btn, btnCancel;

    // ---- Editor state ------------------------------------------------------------------
    std::vector<std::string> ProdNames;  // Name of every product, by row
    std::vector<double> TaskRefs;        // the current task's product numbers; empty: none
    std::vector<double> PointTemps, PointEnthalpies;
    int PointLast = -1;  // last point both lists have
    int PointIndex = 0;  // the point shown

    // Texts of the window that belong to no control of their own.
    static constexpr const char* kCaption = " Изменение расчетных параметров";
    static constexpr const char* kAddProductTip = "Добавить новый продукт";
    static constexpr const char* kDeleteProductTip = "Удалить существующий продукт";
    static constexpr const char* kProductListLabel = "Продукты";
    static constexpr const char* kTemperatureLabel = "Температура, °С";
    static constexpr const char* kEnthalpyLabel = "Энтальпия, кДж/кг";
    // The specific heat column of a product holds the dry matter's, which the cooling time
    // uses; a person who knows meat's 3.4 would otherwise "correct" it.
    static constexpr const char* kHeatCapTip =
        "Теплоемкость сухих веществ продукта, кДж/кг °С. Время охлаждения считается с теплоемкостью\n"
        "продукта 4.2·W + c·(1 − W), где W — влагосодержание, c — это значение.\n"
        "Это не теплоемкость продукта в целом (для мяса около 3.4): не заменяйте ее.";

    static constexpr int kMaxProducts = 61;
    static constexpr int kFixedTasks = 17;  // the product groups' task numbers

    // Opens the editor on the database the program reads: the user's copy `userCopy` when it
    // exists, else `shipped`. The first change copies `shipped` to `userCopy` and is written
    // there; an empty `userCopy` writes into `shipped` itself. The rows `shipped` holds are
    // the ones that came with the program. Returns false with a Russian message when a table
    // cannot be read or another editor has the database open.
    bool Load(const std::string& shipped, const std::string& userCopy, std::string& error);
    // The file changes are written to ("" until the first change).
    const std::string& writtenPath() const { return writer_.path(); }

    // Handlers (also reachable through the controls' callbacks).
    void SSTab1_Click();
    void MoveTo(BoundView& view, int row);
    void Add_Click(BoundView& view);
    void Delete_Click(BoundView& view);
    void Update_Click(BoundView& view);
    void txtReference_Change();
    void btnAdd_Click();
    void btnDelete_Click();
    void txtT_Change();
    void txtE_Change();
    void Up_pic_Click();
    void Down_pic_Click();
    void Up_pic_MouseDown();
    void Up_pic_MouseUp();
    void Down_pic_MouseDown();
    void Down_pic_MouseUp();
    void txtEnthalpy_Commit(bool enter);
    // Enter (`enter`) or leaving a checked field. Returns whether the value passed.
    bool CommitField(BoundView& view, const BoundView::Field& field, bool enter);
    void Exit_btn_Click();
    void btnCancel_Click();

    ControlRegistry& controls() { return registry_; }
    std::vector<BoundView*> views();

    // Set by the program: the editor has closed.
    std::function<void()> onClosed;
    // A change reached the file (the program reads the task dialog's tables again).
    std::function<void()> onWritten;

private:
    void setUpView(BoundView& view, const char* name, const char* table, int tab, const char* caption,
                   const char* heading, Button* add, Button* remove, Button* update);
    void bind(BoundView& view, TextBox& box, const char* name, int column, const char* label,
              bool number = true);
    void registerControls();
    void enableEditing(BoundView& view);
    void show(BoundView& view);
    bool dirty(const BoundView& view) const;
    static std::function<double(const char*)> fieldValues(const BoundView& view);
    // Writes the shown row if it changed (or is new) and all its checks pass; a failure is
    // reported and leaves the row shown. Returns whether the table now holds the row.
    bool writeCurrent(BoundView& view);
    bool store(BoundView& view, const std::vector<RowChange>& changes);
    bool ensureWriter();
    void reportWriteFailure(const BoundView& view, const WriteFailure& failure);
    bool refuseDelete(BoundView& view);
    void deleteProduct();
    std::string listedMessage(const std::vector<int>& tasks) const;
    void countShippedRows();
    // Reads every table again after another program changed one, keeping the tab and rows.
    void reload();
    void refreshProductNames();
    std::string productName(double number) const;
    void showPoint();
    void close();

    UserInterface& ui_;
    ControlRegistry registry_;
    ReferenceWriter writer_;
    EditorLock lock_;
    std::string shipped_, userCopy_, readPath_;
};

}  // namespace coldroom
