#include "support/Form1Rig.h"

#include <gtest/gtest.h>

namespace palisade::test {
namespace {

// The main window hidden in the tray with a password set, and the password window opened by a
// tray click.
struct PasswordRig : Form1Rig {
    explicit PasswordRig(const std::string& stored) {
        settings.set("Password", stored);
        form.Start();
        controls.window.setState(WindowState::Minimized);
        tray.mouseUp(1, 0);
    }
    Form2Controls& dialog() { return form2Controls; }
    void type(const std::string& text) { dialog().txtPassword.setText(text); }
    bool mainBack() const {
        return controls.window.visible() && !state.HiddenInTray && !tray.added;
    }
};

TEST(Form2, OpensLoadedWithTheFocusInAnEmptyBox) {
    PasswordRig rig("pw");
    EXPECT_TRUE(rig.dialog().window.visible());
    EXPECT_TRUE(rig.dialog().txtPassword.hasFocus());
    EXPECT_EQ(rig.dialog().txtPassword.text(), "");
    EXPECT_EQ(rig.dialog().window.backColor(), colors::ButtonFace);
    EXPECT_EQ(rig.dialog().Frame2.backColor(), colors::ButtonFace);
    EXPECT_EQ(rig.dialog().window.icon(), WindowIcon::Program);
    EXPECT_EQ(rig.dialog().window.mouseIcon(), ""); // no pointer file in the program folder
    EXPECT_FALSE(rig.controls.window.visible());
}

struct PasswordRow {
    const char* name;
    const char* stored;
    const char* typed;
    bool accepted;
};

void PrintTo(const PasswordRow& row, std::ostream* os) {
    *os << row.name;
}

class Form2Ok : public ::testing::TestWithParam<PasswordRow> {};

TEST_P(Form2Ok, AcceptsTheStoredPasswordTrimmedOfSpacesOnBothSides) {
    const PasswordRow& row = GetParam();
    PasswordRig rig(row.stored);
    rig.type(row.typed);

    rig.dialog().PushButton2.press();

    EXPECT_EQ(rig.mainBack(), row.accepted);
    if (row.accepted) {
        EXPECT_TRUE(rig.dialogs.messages.empty());
        EXPECT_FALSE(rig.dialog().window.loaded());
        EXPECT_EQ(rig.dialog().txtPassword.text(), ""); // emptied with the window
        return;
    }
    // Refused: the message, then the whole entry selected so that typing replaces it.
    ASSERT_EQ(rig.dialogs.messages.size(), 1u);
    EXPECT_EQ(rig.dialogs.messages[0].text, "Invalid password entered.");
    EXPECT_EQ(rig.dialogs.messages[0].title, "Palisade");
    EXPECT_EQ(rig.dialogs.messages[0].icon, MessageIcon::None);
    EXPECT_TRUE(rig.dialog().window.visible());
    EXPECT_TRUE(rig.dialog().txtPassword.hasFocus());
    EXPECT_EQ(rig.dialog().txtPassword.selStart(), 0u);
    EXPECT_EQ(rig.dialog().txtPassword.selLength(), std::string(row.typed).size());
    EXPECT_TRUE(rig.state.HiddenInTray);
}

INSTANTIATE_TEST_SUITE_P(
    Rows, Form2Ok,
    ::testing::Values(PasswordRow{"Exact", "secret", "secret", true},
                      PasswordRow{"TypedWithSpaces", "secret", "  secret ", true},
                      PasswordRow{"StoredWithSpaces", " secret  ", "secret", true},
                      PasswordRow{"OtherCase", "secret", "Secret", false},
                      PasswordRow{"Empty", "secret", "", false},
                      PasswordRow{"TabIsNotTrimmed", "secret", "secret\t", false}),
    [](const auto& info) { return std::string(info.param.name); });

// Every way of leaving the window but OK is Cancel.
struct CancelRow {
    const char* name;
    void (*leave)(Form2Controls&);
};

void PrintTo(const CancelRow& row, std::ostream* os) {
    *os << row.name;
}

class Form2Cancel : public ::testing::TestWithParam<CancelRow> {};

TEST_P(Form2Cancel, UnloadsTheWindowAndLeavesTheProgramHidden) {
    PasswordRig rig("pw");
    rig.type("pw"); // even the right password is not looked at
    GetParam().leave(rig.dialog());

    EXPECT_FALSE(rig.dialog().window.loaded());
    EXPECT_FALSE(rig.dialog().window.visible());
    EXPECT_FALSE(rig.controls.window.visible());
    EXPECT_TRUE(rig.state.HiddenInTray);
    EXPECT_TRUE(rig.tray.added);
    EXPECT_TRUE(rig.dialogs.messages.empty());

    rig.tray.mouseUp(1, 0); // opens again, afresh
    EXPECT_TRUE(rig.dialog().window.visible());
    EXPECT_EQ(rig.dialog().txtPassword.text(), "");
}

INSTANTIATE_TEST_SUITE_P(
    Rows, Form2Cancel,
    ::testing::Values(CancelRow{"CancelButton", [](Form2Controls& c) { c.PushButton1.press(); }},
                      CancelRow{"CloseBox", [](Form2Controls& c) { c.window.requestClose(); }},
                      CancelRow{"Escape", [](Form2Controls& c) { c.window.pressCancel(); }}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(Form2, EnterIsOk) {
    PasswordRig rig("pw");
    rig.type("pw");
    EXPECT_TRUE(rig.dialog().window.pressDefault());
    EXPECT_TRUE(rig.mainBack());
    // The main window names no buttons for the keys: they go on to the focused control.
    EXPECT_FALSE(rig.controls.window.pressDefault());
    EXPECT_FALSE(rig.controls.window.pressCancel());
}

TEST(Form2, TakesTheHandPointerWhenTheFileIsThere) {
    Form1Rig rig;
    rig.fs.files["C:\\Program Files\\Palisade\\HAND-M.CUR"] = "cursor";
    rig.form2.Show();
    EXPECT_EQ(rig.form2Controls.window.mouseIcon(), "C:\\Program Files\\Palisade\\HAND-M.CUR");
}

} // namespace
} // namespace palisade::test
