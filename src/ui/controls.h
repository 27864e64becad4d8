// The control primitives that hold a form's state. They carry what a window shows
// (texts, list entries, positions, options, enabled states) and the handler that runs when
// a value is chosen. Setting a list position or an option from code runs its handler only
// when the value changes; setting a text runs none.
#pragma once

#include <functional>
#include <map>
#include <string>
#include <variant>
#include <vector>

namespace coldroom {

class RefTable;

using Handler = std::function<void()>;

// A text field. `onEnter` runs when Enter is pressed in it, `onLeave` when it loses the focus.
struct TextBox {
    std::string text;
    bool enabled = true;
    Handler onEnter;
    Handler onLeave;
};

// A read-only caption.
struct Caption {
    std::string text;
    bool enabled = true;
};

struct Button {
    std::string caption;
    bool enabled = true;
    Handler onClick;
};

// A drop-down list. Position -1 means nothing chosen. An editable list can show a text of
// its own (setText); choosing an entry replaces it with the entry's text.
class ListBox {
public:
    std::vector<std::string> items;
    bool enabled = true;
    Handler onClick;

    int index() const { return index_; }
    int count() const { return static_cast<int>(items.size()); }
    // Runs onClick when the position changes. A position outside -1..count-1 is refused
    // (returns false) and changes nothing.
    bool setIndex(int position);
    // The displayed text: the edited text if one was set, else the chosen entry, else "".
    std::string text() const;
    void setText(const std::string& text) { editText_ = text; hasEditText_ = true; }
    // Shows a position the model holds: no handler runs, the edited text stays.
    void showIndex(int position) { index_ = position; }
    void clear();
    void addItem(std::string item) { items.push_back(std::move(item)); }

private:
    int index_ = -1;
    std::string editText_;
    bool hasEditText_ = false;
};

// A check box, 0 or 1; onClick runs when the value changes.
class CheckBox {
public:
    bool enabled = true;
    Handler onClick;
    int value() const { return value_; }
    void setValue(int v);
    // Shows a value the model holds: no handler runs.
    void showValue(int v) { value_ = v ? 1 : 0; }

private:
    int value_ = 0;
};

class OptionGroup;

// An option button of an exclusive group. Setting it selects it and clears the others of
// its group; onClick runs only when it becomes selected. Clearing it runs nothing.
class OptionButton {
public:
    bool enabled = true;
    Handler onClick;
    bool value() const { return value_; }
    void setValue(bool v);
    // Shows a value the model holds: no handler runs and the group is left alone (the form
    // shows every option of it).
    void showValue(bool v) { value_ = v; }

private:
    friend class OptionGroup;
    bool value_ = false;
    OptionGroup* group_ = nullptr;
};

class OptionGroup {
public:
    explicit OptionGroup(std::initializer_list<OptionButton*> members);
    OptionGroup(const OptionGroup&) = delete;
    OptionGroup& operator=(const OptionGroup&) = delete;
    void clearOthers(OptionButton* keep);

private:
    std::vector<OptionButton*> members_;
};

using ControlRef = std::variant<TextBox*, Caption*, Button*, ListBox*, CheckBox*, OptionButton*>;

// Every control of a form by its name, so windows, files and tests address them
// generically ("Length_txt", "Nord1_Mt_cmb").
class ControlRegistry {
public:
    void add(const std::string& name, ControlRef control) { controls_[name] = control; }
    const ControlRef* find(const std::string& name) const;
    template <class T> T* get(const std::string& name) const {
        const ControlRef* ref = find(name);
        if (!ref) return nullptr;
        auto* p = std::get_if<T*>(ref);
        return p ? *p : nullptr;
    }
    const std::map<std::string, ControlRef>& all() const { return controls_; }
    // Makes every handler set so far run `after` once it has run: one place that learns of
    // every value the person commits, whichever control it was.
    void runAfterEveryHandler(const Handler& after);

private:
    std::map<std::string, ControlRef> controls_;
};

// Fills a list with column 0 of every row of a reference table, in row order.
void FillList(ListBox& list, const RefTable& table);

}  // namespace coldroom
