// The parameter editor's product list of the current task and its point editor for the
// current product's temperature-enthalpy table.
#include <algorithm>
#include <cmath>

#include "core/numtext.h"
#include "refdb/reference_columns.h"
#include "ui/editor/editor_checks.h"
#include "ui/editor/editor_form.h"

namespace coldroom {
namespace {

// Lists are read whole: the editor only limits what it adds, it never drops stored numbers.
constexpr int kReadWhole = 10000;

const Rgb kWhite{255, 255, 255};

}  // namespace

void EditorForm::refreshProductNames() {
    ProdNames.clear();
    for (int row = 0; row < datProduct.data.rowCount(); ++row) ProdNames.push_back(datProduct.data.text(0, row));
    const int position = cmbNewProd.index();
    cmbNewProd.clear();
    for (const auto& name : ProdNames) cmbNewProd.addItem(name);
    if (position >= 0) cmbNewProd.setIndex(std::min(position, cmbNewProd.count() - 1));
    // The names shown for the current task follow a renamed or renumbered product.
    if (!TaskRefs.empty()) {
        const int chosen = cmbProduct.index();
        cmbProduct.clear();
        for (double number : TaskRefs) cmbProduct.addItem(productName(number));
        cmbProduct.setIndex(std::clamp(chosen, 0, cmbProduct.count() - 1));
    }
}

std::string EditorForm::productName(double number) const {
    const long n = std::lround(number);
    if (n >= 1 && n <= static_cast<long>(ProdNames.size())) return ProdNames[static_cast<size_t>(n - 1)];
    return "продукт № " + std::to_string(n) + " отсутствует";
}

void EditorForm::txtReference_Change() {
    cmbProduct.clear();
    TaskRefs.clear();
    if (LeadingNumber(txtReference.text) != 0) TaskRefs = ParseNumberList(txtReference.text, kReadWhole).values;
    if (TaskRefs.empty()) cmbProduct.addItem("нет продуктов");
    for (double number : TaskRefs) cmbProduct.addItem(productName(number));
    cmbProduct.setIndex(0);
}

void EditorForm::btnAdd_Click() {
    const int position = cmbNewProd.index();
    if (position < 0 || datTask.current < 0) return;
    // The task dialog offers no more products of a task than this; one more would be lost.
    if (static_cast<int>(TaskRefs.size()) >= kTaskProductsInDialog) {
        ui_.message("В задаче уже " + std::to_string(kTaskProductsInDialog) +
                        " продуктов: окно «Выбор технологической задачи» показывает не больше " +
                        std::to_string(kTaskProductsInDialog) + " продуктов одной задачи.",
                    "Добавление невозможно!", MsgIcon::Warning);
        return;
    }
    // A task without products ("нет продуктов") gets the new product as its only one.
    TaskRefs.push_back(position + 1);
    txtReference.text = JoinNumberList(TaskRefs);
    txtReference_Change();
    if (writeCurrent(datTask)) show(datTask);
}

void EditorForm::btnDelete_Click() {
    if (cmbProduct.count() <= 1) {
        ui_.message(std::string("Последний продукт в списке.") + "\r\n" + "Прежде чем удалить его, надо" + "\r\n" +
                        " добавить другой продукт",
                    "Удаление невозможно!", MsgIcon::Warning);
        return;
    }
    const int k = std::max(cmbProduct.index(), 0);
    if (k >= static_cast<int>(TaskRefs.size())) return;
    TaskRefs.erase(TaskRefs.begin() + k);
    txtReference.text = JoinNumberList(TaskRefs);
    txtReference_Change();
    if (writeCurrent(datTask)) show(datTask);
}

// The two lists may differ in length in a hand-edited table; the editor then walks only the
// points both have, and each list keeps the rest of its numbers.
void EditorForm::txtT_Change() {
    PointTemps = ParseNumberList(txtT.text, kReadWhole).values;
    PointIndex = 0;
    PointLast = static_cast<int>(std::min(PointTemps.size(), PointEnthalpies.size())) - 1;
    showPoint();
}

void EditorForm::txtE_Change() {
    PointEnthalpies = ParseNumberList(txtE.text, kReadWhole).values;
    PointIndex = 0;
    PointLast = static_cast<int>(std::min(PointTemps.size(), PointEnthalpies.size())) - 1;
    showPoint();
}

void EditorForm::showPoint() {
    auto at = [this](const std::vector<double>& list) {
        return PointIndex < static_cast<int>(list.size()) ? GeneralText(list[static_cast<size_t>(PointIndex)])
                                                          : std::string();
    };
    txtTemperature.text = at(PointTemps);
    txtEnthalpy.text = at(PointEnthalpies);
}

void EditorForm::Up_pic_Click() {
    if (PointIndex < 1) return;
    --PointIndex;
    showPoint();
}

void EditorForm::Down_pic_Click() {
    if (PointIndex >= PointLast) return;
    ++PointIndex;
    showPoint();
}

// Pressing a picture button tints both fields while the move is possible.
void EditorForm::Up_pic_MouseDown() {
    if (PointIndex < 1) return;
    TemperatureBackColor = {230, 230, 250};
    EnthalpyBackColor = {230, 250, 250};
}

void EditorForm::Up_pic_MouseUp() {
    if (PointIndex < 1) return;
    TemperatureBackColor = EnthalpyBackColor = kWhite;
}

void EditorForm::Down_pic_MouseDown() {
    if (PointIndex >= PointLast) return;
    TemperatureBackColor = {250, 230, 230};
    EnthalpyBackColor = {250, 250, 230};
}

void EditorForm::Down_pic_MouseUp() {
    if (PointIndex >= PointLast) return;
    TemperatureBackColor = EnthalpyBackColor = kWhite;
}

void EditorForm::txtEnthalpy_Commit(bool enter) {
    if (datProduct.current < 0 || PointIndex > PointLast) return;
    txtEnthalpy.text = NormalizeNumberText(txtEnthalpy.text);
    const EditorCheck* check = FindEditorCheck("txtEnthalpy");
    const std::string message = EditorCheckMessage(*check, txtEnthalpy.text, enter, {});
    if (!message.empty()) {
        // The point keeps its stored value; the lists are shown from point 0 again.
        ui_.message(message, kInputErrorTitle, MsgIcon::Critical);
        ui_.setFocus(WindowId::Editor, "txtEnthalpy");
    } else {
        PointEnthalpies[static_cast<size_t>(PointIndex)] = LeadingNumber(txtEnthalpy.text);
        txtT.text = JoinNumberList(PointTemps);
        txtE.text = JoinNumberList(PointEnthalpies);
    }
    txtT_Change();
    txtE_Change();
}

}  // namespace coldroom
