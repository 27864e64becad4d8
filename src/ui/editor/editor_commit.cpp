// What an entry in the editor's fields is checked for: a typed slip, the field's range and the
// rules between fields, when a field is left and when its row is written.
#include <algorithm>
#include <cmath>

#include "core/numtext.h"
#include "refdb/reference_columns.h"
#include "ui/editor/editor_checks.h"
#include "ui/editor/editor_form.h"

namespace coldroom {
namespace {

const char* kCrLf = "\r\n";

// A number field whose text is not one number as a whole: a slip, never read as another number.
std::string NotANumber(const BoundView::Field& field) {
    double value = 0;
    if (!field.number || TypedNumber(field.box->text, value)) return {};
    return "«" + field.box->text + "» — не число.";
}

}  // namespace

FieldValue EditorForm::fieldValues(const BoundView& view) {
    return [&view](const char* control) {
        for (const auto& f : view.fields)
            if (std::string_view(f.name) == control) return LeadingNumber(f.box->text);
        return 0.0;
    };
}

bool EditorForm::CommitField(BoundView& view, const BoundView::Field& field, bool enter) {
    std::string message = NotANumber(field);
    if (message.empty() && field.number) field.box->text = NormalizeNumberText(field.box->text);
    const EditorCheck* check = FindEditorCheck(field.name);
    if (message.empty() && check) message = EditorCheckMessage(*check, field.box->text, enter, fieldValues(view));
    if (message.empty()) return true;
    ui_.message(message, kInputErrorTitle, MsgIcon::Critical);
    ui_.setFocus(WindowId::Editor, field.name);
    return false;
}

bool EditorForm::writeCurrent(BoundView& view) {
    if (!dirty(view)) return true;
    std::vector<std::string> slips;
    for (const auto& f : view.fields) {
        slips.push_back(NotANumber(f));
        if (f.number && slips.back().empty()) f.box->text = NormalizeNumberText(f.box->text);
    }
    // A value that fails its check never reaches the table: every calculation reads it later.
    for (std::size_t i = 0; i < view.fields.size(); ++i) {
        const auto& f = view.fields[i];
        const EditorCheck* check = FindEditorCheck(f.name);
        if (!check && slips[i].empty()) continue;
        std::string problem =
            !slips[i].empty() ? slips[i] : EditorCheckMessage(*check, f.box->text, false, fieldValues(view));
        if (problem.empty()) continue;
        std::string label = f.label;
        while (!label.empty() && label.back() == ' ') label.pop_back();
        SSTab1.setIndex(view.tab);
        ui_.message("Строка не записана: неверно заполнено поле «" + label + "»." + kCrLf + problem,
                    kInputErrorTitle, MsgIcon::Critical);
        ui_.setFocus(WindowId::Editor, f.name);
        return false;
    }
    const TableSchema* schema = FindTableSchema(view.table);
    std::vector<std::string> row = view.adding ? std::vector<std::string>(schema->columns.size())
                                               : view.data.rows[static_cast<size_t>(view.current)];
    std::vector<ColumnText> changed;
    for (const auto& f : view.fields) {
        if (!view.adding && row[static_cast<size_t>(f.column)] == f.box->text) continue;
        row[static_cast<size_t>(f.column)] = f.box->text;
        changed.push_back({f.column, f.box->text});
    }
    // The row and the table as they were read: another program's change in between makes
    // the write fail rather than land on a row the person never saw.
    const int rows = view.data.rowCount();
    std::vector<RowChange> changes{
        view.adding ? RowChange::Append(view.table, row).expecting({}, rows)
                    : RowChange::Update(view.table, view.current, std::move(changed))
                          .expecting(view.data.rows[static_cast<size_t>(view.current)], rows)};
    // A product list names products by number: they must still be the ones shown.
    if (&view == &datTask && (view.adding || row[TaskColumn::Reference] != view.data.text(TaskColumn::Reference, view.current))) {
        std::vector<long> listed;
        if (LeadingNumber(row[TaskColumn::Reference]) != 0)
            for (double n : ParseNumberList(row[TaskColumn::Reference], 10000).values) listed.push_back(std::lround(n));
        std::sort(listed.begin(), listed.end());
        listed.erase(std::unique(listed.begin(), listed.end()), listed.end());
        for (long n : listed)
            if (n >= 1 && n <= datProduct.data.rowCount())
                changes.push_back(RowChange::Expect(datProduct.table, static_cast<int>(n - 1),
                                                    datProduct.data.rows[static_cast<size_t>(n - 1)]));
        if (!listed.empty()) changes.back().expectedRows = datProduct.data.rowCount();
    }
    if (!store(view, changes)) return false;
    if (view.adding) {
        view.data.rows.push_back(std::move(row));
        view.adding = false;
    } else {
        view.data.rows[static_cast<size_t>(view.current)] = std::move(row);
    }
    if (&view == &datProduct) refreshProductNames();
    return true;
}

}  // namespace coldroom
