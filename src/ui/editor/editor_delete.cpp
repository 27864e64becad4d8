// Deleting rows in the parameter editor. Rows are addressed by position everywhere: tasks
// by the product groups' fixed numbers, products by the numbers in the tasks' lists,
// materials, places, packagings and coatings by the positions saved in project files. A
// delete therefore either keeps those references right or is refused or confirmed first.
#include <algorithm>
#include <cmath>

#include "core/numtext.h"
#include "ui/editor/editor_form.h"

namespace coldroom {
namespace {

constexpr int kReferenceColumn = 7;  // Tasks.Reference
constexpr int kReadWhole = 10000;
const char* kCannotDelete = "Удаление невозможно!";

bool ListsProduct(const std::string& reference, long product) {
    if (LeadingNumber(reference) == 0) return false;
    for (double n : ParseNumberList(reference, kReadWhole).values)
        if (std::lround(n) == product) return true;
    return false;
}

// The list with every product number above `deleted` moved down by one; false when none was.
bool Renumbered(const std::string& reference, long deleted, std::string& out) {
    if (LeadingNumber(reference) == 0) return false;
    std::vector<double> numbers = ParseNumberList(reference, kReadWhole).values;
    bool changed = false;
    for (double& n : numbers) {
        if (std::lround(n) > deleted) {
            n -= 1;
            changed = true;
        }
    }
    if (changed) out = JoinNumberList(numbers);
    return changed;
}

}  // namespace

bool EditorForm::refuseDelete(BoundView& view) {
    const std::string name = view.data.text(0, view.current);
    const TableSchema* schema = FindTableSchema(view.table);
    if (schema && view.data.rowCount() - 1 < schema->minimumRows) {
        ui_.message("В таблице «" + SSTab1.items[static_cast<size_t>(view.tab)] + "» должно остаться не меньше " +
                        std::to_string(schema->minimumRows) + " строк: программа обращается к ним по номерам.",
                    kCannotDelete, MsgIcon::Warning);
        return true;
    }
    if (&view == &datTask) {
        if (view.current < kFixedTasks) {
            ui_.message("Задачи с 1 по " + std::to_string(kFixedTasks) +
                            " закреплены за группами продуктов и не удаляются." + "\r\n" +
                            "Удалить можно только задачи, добавленные после них.",
                        kCannotDelete, MsgIcon::Warning);
            return true;
        }
        return false;
    }
    if (&view == &datProduct) {
        const long product = view.current + 1;
        std::string tasks;
        for (int row = 0; row < datTask.rowCount(); ++row) {
            // The task shown may hold a list not stored yet; it counts as it stands.
            const bool shown = row == datTask.current;
            const std::string reference = shown ? txtReference.text : datTask.data.text(kReferenceColumn, row);
            if (!ListsProduct(reference, product)) continue;
            const std::string task = shown ? txtTask.text : datTask.data.text(0, row);
            tasks += "\r\n" + std::to_string(row + 1) + ". " + task;
        }
        if (tasks.empty()) return false;
        ui_.message("Продукт «" + name + "» входит в списки задач:" + tasks + "\r\n" +
                        "Уберите его из этих списков, затем удалите.",
                    kCannotDelete, MsgIcon::Warning);
        return true;
    }
    if (&view == &datOthers) return true;
    // Projects keep the position of the chosen material, place, packaging or coating.
    const MsgAnswer answer = ui_.message(
        "Сохраненные проекты помнят номер строки этой таблицы. Проекты, сохраненные с этой строкой "
        "или с одной из следующих, после удаления будут указывать на другую строку." +
            std::string("\r\n") + "Удалить «" + name + "»?",
        "Удаление строки", MsgIcon::Warning, MsgButtons::YesNo);
    return answer != MsgAnswer::Yes;
}

// The product row and, in the same transaction, every task list renumbered past it.
std::vector<RowChange> EditorForm::productDeletion(int row, std::vector<std::pair<int, std::string>>& renumbered) {
    std::vector<RowChange> changes{RowChange::Delete(datProduct.table, row)};
    for (int task = 0; task < datTask.data.rowCount(); ++task) {
        std::string text;
        if (!Renumbered(datTask.data.text(kReferenceColumn, task), row + 1, text)) continue;
        changes.push_back(RowChange::Update(datTask.table, task, {{kReferenceColumn, text}}));
        renumbered.emplace_back(task, text);
    }
    return changes;
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
    std::vector<std::pair<int, std::string>> renumbered;
    const bool product = &view == &datProduct;
    const std::vector<RowChange> changes =
        product ? productDeletion(view.current, renumbered) : std::vector{RowChange::Delete(view.table, view.current)};
    if (!store(view, changes)) return;
    view.data.rows.erase(view.data.rows.begin() + view.current);
    if (product) {
        for (const auto& [task, text] : renumbered)
            datTask.data.rows[static_cast<size_t>(task)][kReferenceColumn] = text;
        std::string text;
        if (Renumbered(txtReference.text, view.current + 1, text)) txtReference.text = text;
        txtReference_Change();
        refreshProductNames();
    }
    // The next row takes the deleted one's place; after the last row, the new last one.
    view.current = std::min(view.current, view.data.rowCount() - 1);
    show(view);
}

}  // namespace coldroom
