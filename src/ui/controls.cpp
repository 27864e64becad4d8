#include "ui/controls.h"

#include "refdb/reference_db.h"

#include <set>
#include <type_traits>

namespace coldroom {

bool ListBox::setIndex(int position) {
    if (position < -1 || position >= count()) return false;
    hasEditText_ = false;
    if (position == index_) return true;
    index_ = position;
    if (onClick) onClick();
    return true;
}

std::string ListBox::text() const {
    if (hasEditText_) return editText_;
    return index_ >= 0 && index_ < count() ? items[index_] : std::string();
}

void ListBox::clear() {
    items.clear();
    index_ = -1;
    hasEditText_ = false;
}

void CheckBox::setValue(int v) {
    v = v ? 1 : 0;
    if (v == value_) return;
    value_ = v;
    if (onClick) onClick();
}

void OptionButton::setValue(bool v) {
    if (!v) {
        value_ = false;
        return;
    }
    if (value_) return;
    if (group_) group_->clearOthers(this);
    value_ = true;
    if (onClick) onClick();
}

OptionGroup::OptionGroup(std::initializer_list<OptionButton*> members) : members_(members) {
    for (auto* m : members_) m->group_ = this;
}

void OptionGroup::clearOthers(OptionButton* keep) {
    for (auto* m : members_)
        if (m != keep) m->value_ = false;
}

const ControlRef* ControlRegistry::find(const std::string& name) const {
    auto it = controls_.find(name);
    return it == controls_.end() ? nullptr : &it->second;
}

namespace {

void chain(Handler& handler, const Handler& after) {
    if (!handler) return;
    handler = [inner = std::move(handler), after] {
        inner();
        after();
    };
}

}  // namespace

void ControlRegistry::runAfterEveryHandler(const Handler& after) {
    std::set<const void*> seen;  // a control known by two names is chained once
    for (auto& [name, ref] : controls_) {
        if (!seen.insert(std::visit([](auto* c) { return static_cast<const void*>(c); }, ref)).second) continue;
        std::visit(
            [&](auto* control) {
                using C = std::remove_pointer_t<decltype(control)>;
                if constexpr (std::is_same_v<C, TextBox>) {
                    chain(control->onEnter, after);
                    chain(control->onLeave, after);
                } else if constexpr (!std::is_same_v<C, Caption>) {
                    chain(control->onClick, after);
                }
            },
            ref);
    }
}

void FillList(ListBox& list, const RefTable& table) {
    list.clear();
    for (int row = 0; row < table.rowCount(); ++row) list.addItem(table.text(0, row));
}

}  // namespace coldroom
