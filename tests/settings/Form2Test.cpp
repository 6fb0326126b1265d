#include "support/Form1Rig.h"

#include <gtest/gtest.h>

namespace palisade::test {
namespace {

// The main window hidden in the tray, and the password window opened by a tray click.
struct PasswordRig : Form1Rig {
    explicit PasswordRig(const std::string& stored) {
        settings.set("Password", stored);
        form.Start();
        controls.window.setState(WindowState::Minimized);
        tray.mouseUp(1, 0);
    }
    TextBox& box() { return form2Controls.txtPassword; }
    bool mainBack() { return controls.window.visible() && !state.HiddenInTray && !tray.added; }
};

TEST(Form2, OkComparesBothSidesTrimmedOfSpacesAndRefusesWithTheEntrySelected) {
    for (auto [stored, typed, accepted] :
         {std::tuple{"secret", "  secret ", true}, std::tuple{" secret  ", "secret", true},
          std::tuple{"secret", "Secret", false}, std::tuple{"secret", "secret\t", false}}) {
        PasswordRig rig(stored);
        EXPECT_TRUE(rig.box().hasFocus() && rig.box().text().empty());
        EXPECT_EQ(rig.form2Controls.window.backColor(), colors::ButtonFace);
        rig.box().setText(typed);
        rig.box().clearFocus();
        rig.form2Controls.PushButton2.press();

        EXPECT_EQ(rig.mainBack(), accepted) << typed;
        EXPECT_EQ(rig.form2Controls.window.loaded(), !accepted);
        EXPECT_EQ(rig.dialogs.texts(), accepted
                                           ? std::vector<std::string>{}
                                           : std::vector<std::string>{"Invalid password entered."});
        EXPECT_EQ(rig.box().hasFocus(), !accepted);
        EXPECT_EQ(rig.box().selStart() + rig.box().selLength(),
                  accepted ? 0u : rig.box().text().size());
    }
}

TEST(Form2, CancelCloseBoxAndEscapeLeaveTheProgramHiddenAndEmptyTheWindow) {
    using Leave = void (*)(Form2Controls&);
    for (Leave leave : {Leave([](Form2Controls& c) { c.PushButton1.press(); }),
                        Leave([](Form2Controls& c) { c.window.requestClose(); }),
                        Leave([](Form2Controls& c) { c.window.pressCancel(); })}) {
        PasswordRig rig("pw");
        rig.box().setText("pw"); // not even looked at
        leave(rig.form2Controls);
        EXPECT_FALSE(rig.form2Controls.window.loaded() || rig.controls.window.visible());
        EXPECT_TRUE(rig.state.HiddenInTray && rig.tray.added);
        rig.tray.mouseUp(1, 0); // opens afresh
        EXPECT_EQ(rig.box().text(), "");
    }
}

} // namespace
} // namespace palisade::test
