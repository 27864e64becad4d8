// Random work in the parameter editor on the user's copy: values in and out of range typed
// into every field, rows added and deleted, products added to and taken from task lists,
// writes the engine refuses, another program changing rows meanwhile, and a second editor
// wanting the same file. After every step the database loads as at the program's start, and
// every task names the products it named before, or the list the person gave it.
// COLDROOM_STRESS_STEPS and COLDROOM_STRESS_START make longer or other runs.
#include <gtest/gtest.h>

#include <cmath>
#include <cstdlib>
#include <filesystem>
#include <memory>
#include <random>
#include <set>

#include "core/numtext.h"
#include "refdb/database_location.h"
#include "refdb/reference_columns.h"
#include "refdb/reference_writer.h"
#include "refdb/test_db.h"
#include "ui/editor/editor_checks.h"
#include "ui/editor/editor_form.h"
#include "ui/headless_ui.h"

namespace coldroom {
namespace {

using Names = std::vector<std::string>;

int EnvNumber(const char* name, int fallback) {
    const char* text = std::getenv(name);
    return text && *text ? std::atoi(text) : fallback;
}

// Products 1..12; task k lists product k mod 8 + 1 and product 3; 9 to 12 are in no list.
test::TestDatabase StressDatabase() {
    test::TestDatabase db = test::MinimalReferenceDatabase();
    auto& products = db.table("ProdMeat").rows;
    for (int i = 2; i <= 12; ++i) {
        products.push_back(products[0]);
        products.back()[0] = "Продукт " + std::to_string(i);
    }
    for (int i = 0; i < 17; ++i) db.table("Tasks").rows[static_cast<size_t>(i)][7] = std::to_string(i % 8 + 1) + ",3";
    return db;
}

class Stress {
public:
    explicit Stress(unsigned start) : db_(StressDatabase()), shipped_(db_.write()), user_(db_.pathOf("u/Data.dtx")), rng_(start) {
        reopen();
        expected_ = storedLists();
    }

    void step() {
        if (pick(2)) revertShownRows();  // the person puts a row that cannot be stored right again
        // The task shown may hold a list not stored yet (its write failed): a later step may store it.
        const int shown = form().datTask.adding ? -1 : form().datTask.current;
        const Names shownNames = shownList();
        deleted_ = listTask_ = -1;
        const int kind = pick(100);
        if (kind < 30) edit();
        else if (kind < 40) add();
        else if (kind < 50) remove();
        else if (kind < 70) changeList();
        else if (kind < 76) toggleFailure();
        else if (kind < 92) foreignChange();
        else secondEditor();

        std::vector<Names> now = storedLists(), before = expected_;
        if (now.size() == before.size() + 1) before.push_back(now.back());  // a task added
        if (now.size() + 1 == before.size() && deleted_ >= 0) before.erase(before.begin() + deleted_);
        for (size_t t = 0; t < now.size() && t < before.size(); ++t) {
            const int task = static_cast<int>(t) + (deleted_ >= 0 && static_cast<int>(t) >= deleted_ ? 1 : 0);
            const bool allowed = now[t] == before[t] || (task == shown && now[t] == shownNames) ||
                                 (task == listTask_ && now[t] == changed_);
            EXPECT_TRUE(allowed) << "step kind " << kind << ", task " << t + 1 << " names "
                                 << ::testing::PrintToString(now[t]) << " instead of "
                                 << ::testing::PrintToString(before[t]);
        }
        expected_ = now;
    }

private:
    EditorForm& form() { return *editor_; }
    int pick(int n) { return n <= 0 ? 0 : std::uniform_int_distribution<int>(0, n - 1)(rng_); }
    Names shownList() {
        Names names = form().cmbProduct.items;
        if (names == Names{"нет продуктов"}) names.clear();
        return names;
    }

    void reopen() {
        editor_ = std::make_unique<EditorForm>(ui_);
        std::string error;
        ASSERT_TRUE(editor_->Load(shipped_, user_, error)) << error;
    }

    // Every table loads, checked as at the program's start; then each task's product names.
    std::vector<Names> storedLists() {
        ReferenceDatabase db;
        std::string error;
        EXPECT_TRUE(db.open(EffectiveDatabasePath(shipped_, user_), error)) << error;
        for (const TableSchema& t : ReferenceSchema()) EXPECT_TRUE(db.loadTable(t.name, error)) << error;
        const auto tasks = db.loadTable("Tasks", error);
        const auto products = db.loadTable("ProdMeat", error);
        std::vector<Names> lists;
        for (int row = 0; tasks && products && row < tasks->rowCount(); ++row) {
            lists.emplace_back();
            const std::string text = tasks->text(TaskColumn::Reference, row);
            if (LeadingNumber(text) != 0)
                for (double n : ParseNumberList(text, 10000).values)
                    lists.back().push_back(products->text(ProductColumn::Name, static_cast<int>(n) - 1));
        }
        return lists;
    }

    // A value at, inside or past the edges of the field's range, or an odd text.
    std::string value(const BoundView::Field& field) {
        const EditorCheck* check = FindEditorCheck(field.name);
        if (!check || check->kind == EditorCheck::Kind::Name) {
            static const char* texts[] = {"", " ", "\t", "a,b", "\"'", "Имя"};
            return texts[pick(6)] + std::to_string(pick(3));
        }
        const QuantityRange& r = check->rule().range;
        const double span = r.high - r.low;
        const double numbers[] = {r.low, r.high, std::nextafter(r.low, r.high), std::nextafter(r.high, 1e9),
                                  r.low - span / 10, r.high + span / 10, 0, -0.05, 2000, r.low + span * pick(100) / 100};
        static const char* odd[] = {"1e400", "abc", "", "5,5", "-", "1e-400", "0x10", " 7 "};
        return pick(5) == 0 ? odd[pick(8)] : GeneralText(numbers[pick(10)]);
    }

    BoundView& someView(bool withAdd) {
        std::vector<BoundView*> views = form().views();
        if (withAdd) views.pop_back();  // the parameters have no Add and no Delete
        BoundView& view = *views[static_cast<size_t>(pick(static_cast<int>(views.size())))];
        form().SSTab1.setIndex(view.tab);
        form().MoveTo(view, pick(view.rowCount()));
        return view;
    }

    // Fields this test types into; product names stay, as they are how it knows a product.
    static bool typed(const BoundView::Field& f) {
        for (const char* name : {"txtProduct", "txtReference", "txtT", "txtE", "Param_txt"})
            if (std::string_view(f.name) == name) return false;
        return true;
    }

    void revertShownRows() {
        for (BoundView* view : form().views())
            if (!view->adding && view->current >= 0)
                for (const auto& field : view->fields) field.box->text = view->data.text(field.column, view->current);
        form().txtReference_Change();
        form().txtE_Change();
    }

    void edit() {
        BoundView& view = someView(false);
        view.update->onClick();
        for (const auto& field : view.fields) {
            if (!typed(field) || pick(3) != 0) continue;
            field.box->text = value(field);
            if (pick(2)) pick(2) ? field.box->onEnter() : field.box->onLeave();
        }
        if (&view == &form().datProduct && pick(2)) {
            for (int i = pick(5); i > 0; --i) form().Down_pic.onClick();
            form().txtEnthalpy.text = GeneralText(pick(1200));
            form().txtEnthalpy.onEnter();
        }
        if (pick(3) == 0) view.update->onClick();
        else if (pick(2)) form().MoveTo(view, pick(view.rowCount()));
    }

    void add() {
        BoundView& view = someView(true);
        const int from = view.current;
        view.add->onClick();
        if (!view.adding) return;
        for (const auto& field : view.fields)
            if (typed(field)) field.box->text = pick(4) ? view.data.text(field.column, from) : value(field);
        if (&view == &form().datProduct) form().txtProduct.text = "Новый продукт " + std::to_string(++serial_);
        view.update->onClick();
    }

    void remove() {
        BoundView& view = someView(true);
        if (&view == &form().datTask && !view.adding) deleted_ = view.current;
        ui_.answers.push_back(pick(4) ? MsgAnswer::Yes : MsgAnswer::No);
        view.remove->onClick();
        ui_.answers.clear();
    }

    // Adds a product to a task or takes one out; the stored list may become the one shown.
    void changeList() {
        EditorForm& f = form();
        f.SSTab1.setIndex(0);
        f.MoveTo(f.datTask, pick(f.datTask.rowCount()));
        if (f.datTask.adding) return;
        f.cmdTaskUpdate.onClick();
        listTask_ = f.datTask.current;
        changed_ = shownList();
        if (pick(2)) {
            // Products past the eighth are the ones another program's deletes move.
            const int count = f.cmbNewProd.count();
            f.cmbNewProd.setIndex(pick(2) || count <= 8 ? pick(count) : 8 + pick(count - 8));
            changed_.push_back(f.cmbNewProd.text());
            f.btnAdd.onClick();
        } else if (f.cmbProduct.count() > 1) {
            const int k = pick(f.cmbProduct.count());
            f.cmbProduct.setIndex(k);
            changed_.erase(changed_.begin() + k);
            f.btnDelete.onClick();
        }
    }

    // The engine refuses every change of a table for a while, as a locked or protected file would.
    void toggleFailure() {
        if (!std::filesystem::exists(user_)) return;
        static const char* tables[] = {"Tasks", "ProdMeat", "Isolation", "Tara"};
        const std::string table = tables[pick(4)];
        const bool on = failing_.insert(table).second;
        if (!on) failing_.erase(table);
        std::string sql;
        for (const char* event : {"UPDATE", "INSERT", "DELETE"}) {
            const std::string name = "fail_" + table + "_" + event;
            sql += on ? "CREATE TRIGGER " + name + " BEFORE " + event + " ON " + table +
                            " BEGIN SELECT RAISE(ABORT, 'отказ'); END;"
                      : "DROP TRIGGER " + name + ";";
        }
        test::ExecuteSql(user_, sql);
    }

    // Another program deletes a product nobody lists, adds one, changes a material.
    void foreignChange() {
        std::string error;
        ReferenceWriter writer;
        ASSERT_TRUE(writer.open(EnsureWritableCopy(shipped_, user_, error), error)) << error;
        WriteFailure failure;
        ProductDeletion deletion;
        auto product = db_.table("ProdMeat").rows[0];
        std::vector<std::string> texts{"Чужой продукт " + std::to_string(++serial_)};
        for (size_t c = 1; c < product.size(); ++c) texts.push_back(std::get<std::string>(product[c].value));
        switch (pick(3)) {
        case 0: writer.deleteProduct(RowChange::Delete("ProdMeat", 8 + pick(6)), deletion, failure); break;
        case 1: writer.appendRow("ProdMeat", texts, failure); break;
        default: writer.updateRow("Isolation", 0, {{1, GeneralText(0.01 + pick(100) / 100.0)}}, failure); break;
        }
    }

    // A second editor is refused while the first is open; then it takes the first one's place.
    void secondEditor() {
        HeadlessUi other;
        EditorForm second(other);
        std::string error;
        EXPECT_FALSE(second.Load(shipped_, user_, error));
        EXPECT_NE(error.find("процесс"), std::string::npos) << error;
        bool closed = false;
        form().onClosed = [&closed] { closed = true; };
        (pick(2) ? form().Exit_btn : form().btnCancel).onClick();
        if (!closed) form().btnCancel.onClick();  // a row that cannot be stored is dropped
        reopen();
    }

    test::TestDatabase db_;
    std::string shipped_, user_;
    std::mt19937 rng_;
    HeadlessUi ui_;
    std::unique_ptr<EditorForm> editor_;
    std::vector<Names> expected_;
    std::set<std::string> failing_;
    int serial_ = 0;
    int deleted_ = -1, listTask_ = -1;  // the task deleted, the task whose list changed, this step
    Names changed_;
};

TEST(EditorStress, NoSequenceOfEditsLocksTheProgramOutOrMovesAReference) {
    const int steps = EnvNumber("COLDROOM_STRESS_STEPS", 400);
    const unsigned start = static_cast<unsigned>(EnvNumber("COLDROOM_STRESS_START", 7));
    Stress stress(start);
    for (int i = 0; i < steps && !::testing::Test::HasFailure(); ++i) {
        SCOPED_TRACE("start " + std::to_string(start) + ", step " + std::to_string(i));
        stress.step();
    }
}

}  // namespace
}  // namespace coldroom
