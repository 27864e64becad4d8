// Deleting rows in the parameter editor. Rows are addressed by position everywhere: tasks
// by the product groups' fixed numbers and by project files, products by the numbers in the
// tasks' lists, materials, places, packagings and coatings by the positions saved in
// project files. So the rows that came with the program are never deleted, and a delete of
// the person's own rows either keeps those references right or is confirmed first.
#include <algorithm>
#include <cmath>

#include "core/numtext.h"
#include "refdb/reference_columns.h"
#include "ui/editor/editor_form.h"

namespace coldroom {
namespace {

constexpr int kReadWhole = 10000;
const char* kCannotDelete = "Удаление невозможно!";

bool ListsProduct(const std::string& reference, long product) {
    if (LeadingNumber(reference) == 0) return false;
    for (double n : ParseNumberList(reference, kReadWhole).values)
        if (std::lround(n) == product) return true;
    return false;
}

}  // namespace

std::string EditorForm::listedMessage(const std::vector<int>& tasks) const {
    std::string lines;
    for (int row : tasks) {
        // The task shown may hold a list not stored yet; it is named as it stands.
        const std::string task = row == datTask.current ? txtTask.text : datTask.data.text(TaskColumn::Name, row);
        lines += "\r\n" + std::to_string(row + 1) + ". " + task;
    }
    return "Продукт «" + datProduct.data.text(ProductColumn::Name, datProduct.current) +
           "» входит в списки задач:" + lines + "\r\n" + "Уберите его из этих списков, затем удалите.";
}

bool EditorForm::refuseDelete(BoundView& view) {
    const std::string name = view.data.text(0, view.current);
    const TableSchema* schema = FindTableSchema(view.table);
    if (schema && view.data.rowCount() - 1 < schema->minimumRows) {
        ui_.message("В таблице «" + SSTab1.items[static_cast<size_t>(view.tab)] + "» должно остаться не меньше " +
                        std::to_string(schema->minimumRows) + " строк: программа обращается к ним по номерам.",
                    kCannotDelete, MsgIcon::Warning);
        return true;
    }
    if (&view == &datOthers) return true;
    if (&view == &datTask && view.current < kFixedTasks) {
        ui_.message("Задачи с 1 по " + std::to_string(kFixedTasks) +
                        " закреплены за группами продуктов и не удаляются." + "\r\n" +
                        "Удалить можно только задачи, добавленные после них.",
                    kCannotDelete, MsgIcon::Warning);
        return true;
    }
    if (view.current < view.shippedRows) {
        ui_.message("«" + name + "» — строка справочника, поставляемого с программой, и не удаляется: проекты "
                                 "помнят номера строк, и после удаления сохраненные проекты указывали бы на другие "
                                 "строки." +
                        std::string("\r\n") + "Строку можно изменить; удалить можно только строки, добавленные вами.",
                    kCannotDelete, MsgIcon::Warning);
        return true;
    }
    if (&view == &datProduct) {
        // The list shown may not be stored yet; the stored lists are checked by the delete itself.
        if (datTask.current >= 0 && ListsProduct(txtReference.text, view.current + 1)) {
            ui_.message(listedMessage({datTask.current}), kCannotDelete, MsgIcon::Warning);
            return true;
        }
        return false;
    }
    const std::string question =
        &view == &datTask
            ? "Проекты, сохраненные с задачей «" + name + "», после ее удаления не откроются, а проекты со " +
                  "следующими специальными задачами будут указывать на другую задачу."
            : std::string("Сохраненные проекты помнят номер строки этой таблицы. Проекты, сохраненные с этой "
                          "строкой или с одной из следующих, после удаления будут указывать на другую строку.");
    const MsgAnswer answer = ui_.message(question + "\r\n" + "Удалить «" + name + "»?", "Удаление строки",
                                         MsgIcon::Warning, MsgButtons::YesNo);
    return answer != MsgAnswer::Yes;
}

// The product and, in the same transaction, every stored task list renumbered past it.
void EditorForm::deleteProduct() {
    const int row = datProduct.current;
    if (!ensureWriter()) return;
    ProductDeletion result;
    WriteFailure failure;
    const RowChange product = RowChange::Delete(datProduct.table, row)
                                  .expecting(datProduct.data.rows[static_cast<size_t>(row)], datProduct.data.rowCount());
    if (!writer_.deleteProduct(product, result, failure)) {
        if (!result.listedBy.empty())
            ui_.message(listedMessage(result.listedBy), kCannotDelete, MsgIcon::Warning);
        else
            reportWriteFailure(datProduct, failure);
        return;
    }
    datProduct.data.rows.erase(datProduct.data.rows.begin() + row);
    for (const auto& [task, text] : result.renumbered)
        datTask.data.rows[static_cast<size_t>(task)][TaskColumn::Reference] = text;
    // The list shown follows, stored or not.
    if (LeadingNumber(txtReference.text) != 0) {
        std::vector<double> numbers = ParseNumberList(txtReference.text, kReadWhole).values;
        bool changed = false;
        for (double& n : numbers)
            if (std::lround(n) > row + 1) n -= 1, changed = true;
        if (changed) txtReference.text = JoinNumberList(numbers);
    }
    txtReference_Change();
    refreshProductNames();
    datProduct.current = std::min(row, datProduct.data.rowCount() - 1);
    show(datProduct);
}

void EditorForm::Delete_Click(BoundView& view) {
    if (view.current < 0) return;
    if (view.adding) {  // a new row not stored yet is simply dropped
        view.adding = false;
        view.current = view.data.rowCount() - 1;
        show(view);
        return;
    }
    if (refuseDelete(view)) return;
    if (&view == &datProduct) {
        deleteProduct();
        return;
    }
    const RowChange change = RowChange::Delete(view.table, view.current)
                                 .expecting(view.data.rows[static_cast<size_t>(view.current)], view.data.rowCount());
    if (!store(view, {change})) return;
    view.data.rows.erase(view.data.rows.begin() + view.current);
    // The next row takes the deleted one's place; after the last row, the new last one.
    view.current = std::min(view.current, view.data.rowCount() - 1);
    show(view);
}

}  // namespace coldroom
