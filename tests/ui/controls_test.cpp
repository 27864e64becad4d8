#include "ui/controls.h"

#include <gtest/gtest.h>

namespace coldroom {
namespace {

TEST(Controls, ListRunsItsHandlerOnlyWhenThePositionChanges) {
    ListBox list;
    list.items = {"a", "b", "c"};
    int clicks = 0;
    list.onClick = [&] { ++clicks; };
    EXPECT_TRUE(list.setIndex(1));
    EXPECT_TRUE(list.setIndex(1));  // the position it already shows: nothing runs
    EXPECT_EQ(clicks, 1);
    EXPECT_FALSE(list.setIndex(3));  // beyond the list: refused, nothing changes
    EXPECT_FALSE(list.setIndex(-2));
    EXPECT_EQ(list.index(), 1);
    EXPECT_TRUE(list.setIndex(-1));
    EXPECT_EQ(list.text(), "");
    EXPECT_EQ(clicks, 2);
    list.setIndex(2);
    list.setText("своё");  // an editable list shows its own text until an entry is chosen
    EXPECT_EQ(list.text(), "своё");
    list.setIndex(2);
    EXPECT_EQ(list.text(), "c");
    list.clear();
    EXPECT_EQ(list.index(), -1);
    EXPECT_EQ(clicks, 3);  // clearing runs nothing
}

TEST(Controls, MirroredListsComeToRestAfterOnePass) {
    ListBox walls[4];
    int clicks = 0;
    for (auto& w : walls) {
        w.items = {"x", "y", "z"};
        w.onClick = [&, self = &w] {
            ++clicks;
            for (auto& other : walls) other.setIndex(self->index());
        };
    }
    walls[2].setIndex(2);
    for (auto& w : walls) EXPECT_EQ(w.index(), 2);
    EXPECT_EQ(clicks, 4);  // each list ran its handler once
}

TEST(Controls, OptionsAreExclusiveAndRunOnlyWhenChosen) {
    OptionButton a, b, c;
    OptionGroup group{&a, &b, &c};
    int aClicks = 0, bClicks = 0;
    a.onClick = [&] { ++aClicks; };
    b.onClick = [&] { ++bClicks; };
    a.setValue(true);
    a.setValue(true);
    EXPECT_EQ(aClicks, 1);
    b.setValue(true);
    EXPECT_FALSE(a.value());
    EXPECT_TRUE(b.value());
    EXPECT_EQ(bClicks, 1);
    b.setValue(false);  // clearing runs nothing and leaves the group without a choice
    EXPECT_FALSE(a.value() || b.value() || c.value());
    EXPECT_EQ(aClicks + bClicks, 2);
}

TEST(Controls, CheckBoxRunsOnChangeAndRegistryFindsByName) {
    CheckBox box;
    int clicks = 0;
    box.onClick = [&] { ++clicks; };
    box.setValue(5);  // any non-zero value is 1
    box.setValue(1);
    EXPECT_EQ(box.value(), 1);
    EXPECT_EQ(clicks, 1);

    TextBox text;
    ControlRegistry registry;
    registry.add("Length_txt", &text);
    registry.add("optAll_Temp", &box);
    EXPECT_EQ(registry.get<TextBox>("Length_txt"), &text);
    EXPECT_EQ(registry.get<ListBox>("Length_txt"), nullptr);  // wrong kind
    EXPECT_EQ(registry.get<CheckBox>("missing"), nullptr);
}

}  // namespace
}  // namespace coldroom
