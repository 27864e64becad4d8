#include "ui/study/program_snapshot.h"

#include <utility>
#include <variant>

#include "ui/program.h"

namespace coldroom {
namespace {

static_assert(TaskForm::kChecks == 8, "the snapshot keeps every checked field's flag");

// Sets a value the way a project reader would, without the handler a change runs.
template <class C, class F> void quietly(C& control, F&& set) {
    Handler saved = std::exchange(control.onClick, nullptr);
    set();
    control.onClick = std::move(saved);
}

template <class S> std::vector<S> capture(const ControlRegistry& registry) {
    std::vector<S> states;
    states.reserve(registry.all().size());
    for (const auto& [name, ref] : registry.all()) {
        S s;
        std::visit(
            [&](auto* c) {
                using T = std::remove_pointer_t<decltype(c)>;
                s.enabled = c->enabled;
                if constexpr (std::is_same_v<T, TextBox> || std::is_same_v<T, Caption>) {
                    s.text = c->text;
                } else if constexpr (std::is_same_v<T, ListBox>) {
                    s.items = c->items;
                    s.number = c->index();
                    s.text = c->text();
                } else if constexpr (std::is_same_v<T, CheckBox> || std::is_same_v<T, OptionButton>) {
                    s.number = c->value() ? 1 : 0;
                }
            },
            ref);
        states.push_back(std::move(s));
    }
    return states;
}

template <class S> void restore(const std::vector<S>& states, const ControlRegistry& registry) {
    auto s = states.begin();
    for (const auto& [name, ref] : registry.all()) {
        std::visit(
            [&](auto* c) {
                using T = std::remove_pointer_t<decltype(c)>;
                c->enabled = s->enabled;
                if constexpr (std::is_same_v<T, TextBox> || std::is_same_v<T, Caption>) {
                    if (c->text != s->text) c->text = s->text;
                } else if constexpr (std::is_same_v<T, ListBox>) {
                    if (c->items != s->items) {
                        quietly(*c, [&] { c->setIndex(-1); });
                        c->items = s->items;
                    }
                    quietly(*c, [&] { c->setIndex(s->number); });
                    // An editable list showing a text of its own.
                    if (c->text() != s->text) c->setText(s->text);
                } else if constexpr (std::is_same_v<T, CheckBox>) {
                    quietly(*c, [&] { c->setValue(s->number); });
                } else if constexpr (std::is_same_v<T, OptionButton>) {
                    quietly(*c, [&] { c->setValue(s->number != 0); });
                }
            },
            ref);
        ++s;
    }
}

}  // namespace

ProgramSnapshot::ProgramSnapshot(Program& program)
    : main_(capture<ControlState>(program.main.controls())),
      task_(capture<ControlState>(program.task.controls())),
      state_(program.state),
      results_(program.main.results()),
      resultsProblem_(program.main.ResultsProblem),
      tempShapeColour_(program.main.TempShapeColour) {
    const TaskForm& t = program.task;
    taskValues_ = {t.TempInCell, t.Prod_in_list, t.TaskSelected_ind, t.ProdSelected_ind, t.Cheese, t.Oborot_Kg,
                   t.RTime, t.RabCoef, t.TaskProducts, t.TaskReference, t.FieldError, t.FieldMessage};
}

void ProgramSnapshot::RestoreInto(Program& target) const {
    restore(main_, target.main.controls());
    restore(task_, target.task.controls());
    // The decimal separator the program found at its start stays the target's own.
    const std::string separator = std::move(target.state.SavedDecimalSeparator);
    target.state = state_;
    target.state.SavedDecimalSeparator = separator;
    TaskForm& t = target.task;
    const TaskValues& v = taskValues_;
    t.TempInCell = v.TempInCell;
    t.Prod_in_list = v.Prod_in_list;
    t.TaskSelected_ind = static_cast<int16_t>(v.TaskSelected_ind);
    t.ProdSelected_ind = static_cast<int16_t>(v.ProdSelected_ind);
    t.Cheese = v.Cheese;
    t.Oborot_Kg = v.Oborot_Kg;
    t.RTime = v.RTime;
    t.RabCoef = v.RabCoef;
    if (t.TaskProducts != v.TaskProducts) t.TaskProducts = v.TaskProducts;
    if (t.TaskReference != v.TaskReference) t.TaskReference = v.TaskReference;
    t.FieldError = v.FieldError;
    t.FieldMessage = v.FieldMessage;
    target.main.RestoreResults(results_);
    target.main.ResultsProblem = resultsProblem_;
    target.main.TempShapeColour = tempShapeColour_;
}

}  // namespace coldroom
