#include "ui/model/Form1Controls.h"

#include <algorithm>
#include <gtest/gtest.h>

namespace palisade {
namespace {

TEST(CheckBoxModel, ChangingTheValueRaisesClickOnceAndTheSameValueRaisesNothing) {
    CheckBox box("Check1", "caption", {}, 0);
    int clicks = 0;
    int seenValue = -1;
    box.click.connect([&] {
        ++clicks;
        seenValue = box.value();
    });
    box.setValue(CheckBox::Checked);
    box.setValue(CheckBox::Checked);
    EXPECT_EQ(clicks, 1);
    EXPECT_EQ(seenValue, CheckBox::Checked); // the handler sees the new value
    box.setValue(CheckBox::Greyed);
    EXPECT_EQ(clicks, 2);
    EXPECT_FALSE(box.checked());
    EXPECT_THROW(box.setValue(3), std::invalid_argument);
    EXPECT_EQ(box.value(), CheckBox::Greyed);
}

TEST(TextBoxModel, ChangeIsRaisedForEveryNewTextOnly) {
    TextBox box("txtPassword", {}, 0, '*');
    std::vector<std::string> seen;
    box.change.connect([&] { seen.push_back(box.text()); });
    box.setText("a");
    box.setText("a");
    box.setText("");
    EXPECT_EQ(seen, (std::vector<std::string>{"a", ""}));
}

TEST(TextBoxModel, SelectionStaysInsideTheText) {
    TextBox box("t", {}, 0);
    box.setText("secret");
    box.select(0, 99);
    EXPECT_EQ(box.selLength(), 6u);
    box.setText("ab");
    EXPECT_LE(box.selStart() + box.selLength(), 2u);
}

TEST(ListViewModel, ItemsAreOneBasedAndRemovalShiftsTheSelection) {
    ListView list("ListView1", {}, 0);
    list.add("a");
    list.add("b");
    list.add("c");
    list.select(3);
    list.remove(1);
    EXPECT_EQ(list.items(), (std::vector<std::string>{"b", "c"}));
    EXPECT_EQ(list.selectedIndex(), 2u);
    list.remove(2);
    EXPECT_EQ(list.selectedIndex(), 0u);
    EXPECT_THROW(list.item(0), std::out_of_range);
    EXPECT_THROW(list.remove(5), std::out_of_range);
    list.clear();
    EXPECT_EQ(list.count(), 0u);
}

TEST(ListViewModel, ALongEntryIsShownCutWithAnEllipsisAndNeverMidCharacter) {
    const std::string host(253, 'h'), euro = "\xe2\x82\xac"; // three bytes in UTF-8
    const std::pair<std::string, std::string> entries[] = {
        {host, host},
        {host + "x", host + "..."},
        {std::string(10 << 20, 'x'), std::string(253, 'x') + "..."},
        {std::string(251, 'a') + euro + "b", std::string(251, 'a') + "..."}};
    for (const auto& [entry, shown] : entries)
        EXPECT_EQ(ShownItemText(entry), shown) << entry.size();
}

TEST(ControlModel, ABackgroundBringsTheTextColourOfItsOwnScheme) {
    const std::pair<Color, Color> pairs[] = {{colors::White, colors::Black},
                                             {0x00402020, colors::White},
                                             {colors::ButtonFace, colors::ButtonText},
                                             {colors::WindowBackground, colors::WindowText}};
    Label label("Label2", "Status", {}, 1);
    for (const auto& [back, fore] : pairs) {
        label.setBackColor(back);
        EXPECT_EQ(label.foreColor(), fore) << std::hex << back;
    }
    EXPECT_EQ(Form1Controls().PushButton2.foreColor(), colors::Black) << "a button on white";
}

TEST(WindowModel, StateChangesRaiseResizeOnlyOnceTheWindowExists) {
    Window window("Form1", "Form1", {});
    int resizes = 0;
    window.resize.connect([&] { ++resizes; });
    window.setState(WindowState::Minimized);
    EXPECT_EQ(resizes, 0);
    window.show(); // the first showing raises resize
    EXPECT_EQ(resizes, 1);
    window.setState(WindowState::Normal);
    EXPECT_EQ(resizes, 2);
}

TEST(WindowModel, FirstShowLeavesTheWindowHiddenWhenItsResizeHandlingHidesIt) {
    Window window("Form1", "Form1", {});
    window.setState(WindowState::Minimized);
    bool everVisible = false;
    window.changed.connect([&] { everVisible = everVisible || window.visible(); });
    window.resize.connect([&] {
        if (window.state() == WindowState::Minimized)
            window.hide();
    });
    window.show();
    EXPECT_FALSE(everVisible);
    window.setState(WindowState::Normal);
    window.show(); // brought back later, e.g. from the tray
    EXPECT_TRUE(window.visible());
}

TEST(Form1Model, DesignedValuesBeforeLoading) {
    Form1Controls form;
    EXPECT_EQ(form.PushButton2.caption(), "Start Blocking");
    EXPECT_EQ(form.Label2.caption(), "Status");
    EXPECT_TRUE(form.Check8.visible());
    EXPECT_FALSE(form.Check1.checked() || form.Check8.checked() || form.Check9.checked());
    EXPECT_EQ(form.ListView1.columns().size(), 0u);
    EXPECT_FALSE(form.window.visible());
    // Focus order: the list first, labels and frames passed over.
    std::vector<std::pair<int, std::string>> order;
    for (Control* c : form.controls())
        if (c->kind() != ControlKind::Label && c->kind() != ControlKind::Frame)
            order.emplace_back(c->tabIndex(), c->name());
    std::sort(order.begin(), order.end());
    std::vector<std::string> names;
    for (auto& [index, name] : order)
        names.push_back(name);
    EXPECT_EQ(names, (std::vector<std::string>{"ListView1", "Check9", "PushButton6", "PushButton4",
                                               "PushButton3", "PushButton2", "Check1", "Check8",
                                               "txtPassword", "PushButton1", "PushButton5"}));
}

} // namespace
} // namespace palisade
