#include "support/Form1Rig.h"

#include <gtest/gtest.h>

namespace palisade::test {
namespace {

// The option check boxes after loading, with the log recording only what a click does.
class Form1Options : public ::testing::Test {
protected:
    Form1Rig rig;

    void SetUp() override {
        rig.form.Form_Load();
        rig.controls.Check8.changed.connect([this] {
            rig.log.add(std::string("Check8 visible=") +
                        (rig.controls.Check8.visible() ? "1" : "0") +
                        " value=" + std::to_string(rig.controls.Check8.value()));
        });
        rig.log.calls.clear();
        rig.settings.writes.clear();
    }
};

TEST_F(Form1Options, CheckingCheck1RegistersWritesTheMarkerThenShowsCheck8AndStoresOn) {
    rig.controls.Check8.setVisible(false);
    rig.log.calls.clear();

    rig.controls.Check1.setValue(CheckBox::Checked);

    EXPECT_EQ(rig.log.calls,
              (std::vector<std::string>{"EnableWindowsStartup",
                                        std::string("fs.write ") + Form1Rig::Marker,
                                        "Check8 visible=1 value=0", "write Windows Startup=On"}));
    EXPECT_FALSE(rig.controls.Check8.checked());
    EXPECT_EQ(rig.fs.files[Form1Rig::Marker], " \r\n");
}

TEST_F(Form1Options, CheckingCheck1WithCheck8CheckedLeavesStartInTrayOn) {
    rig.controls.Check8.setValue(CheckBox::Checked);
    rig.log.calls.clear();
    rig.settings.writes.clear();

    rig.controls.Check1.setValue(CheckBox::Checked);

    EXPECT_TRUE(rig.controls.Check8.checked());
    EXPECT_TRUE(rig.controls.Check8.visible());
    EXPECT_EQ(rig.settings.writes,
              (std::vector<std::pair<std::string, std::string>>{{"Windows Startup", "On"}}));
    EXPECT_EQ(rig.log.calls, (std::vector<std::string>{"EnableWindowsStartup",
                                                       std::string("fs.write ") + Form1Rig::Marker,
                                                       "write Windows Startup=On"}));
}

TEST_F(Form1Options, UncheckingCheck1UnregistersRemovesTheMarkerThenTurnsStartInTrayOff) {
    rig.controls.Check1.setValue(CheckBox::Checked);
    rig.controls.Check8.setValue(CheckBox::Checked);
    rig.log.calls.clear();

    rig.controls.Check1.setValue(CheckBox::Unchecked);

    const std::string marker = Form1Rig::Marker;
    EXPECT_EQ(rig.log.calls,
              (std::vector<std::string>{"DisableWindowsStartup", "doEvents", "fs.remove " + marker,
                                        "fs.find " + marker, "Check8 visible=1 value=0",
                                        "write Minimized=Off", "Check8 visible=0 value=0",
                                        "write Windows Startup=Off"}));
    EXPECT_EQ(rig.fs.files.count(Form1Rig::Marker), 0u);
    EXPECT_EQ(rig.settings.get("Minimized"), "Off");
}

TEST_F(Form1Options, UncheckingCheck1WithCheck8UncheckedDoesNotWriteMinimized) {
    rig.controls.Check1.setValue(CheckBox::Checked);
    rig.settings.writes.clear();

    rig.controls.Check1.setValue(CheckBox::Unchecked);

    EXPECT_FALSE(rig.controls.Check8.visible());
    EXPECT_EQ(rig.settings.writeCount("Minimized"), 0);
    EXPECT_EQ(rig.settings.get("Windows Startup"), "Off");
    EXPECT_EQ(rig.autostart.disabled, 1);
}

TEST_F(Form1Options, MarkerThatCannotBeDeletedPlainlyIsForced) {
    rig.controls.Check1.setValue(CheckBox::Checked);
    rig.fs.readOnly.insert(Form1Rig::Marker);
    rig.controls.Check1.setValue(CheckBox::Unchecked);
    EXPECT_EQ(rig.fs.files.count(Form1Rig::Marker), 0u);
    EXPECT_TRUE(rig.dialogs.messages.empty());
}

TEST_F(Form1Options, AFailedRegistrationOrMarkerIsSaidOnceAndLeavesTheOptionsAsTheyWere) {
    // Ticking or clearing; the registration failing, or the marker (whose failure undoes the
    // registration before it): the calls made, setting the box back running none again.
    for (auto [tick, registrationFails, calls] :
         {std::tuple{true, true, "+"}, std::tuple{true, false, "+-"}, std::tuple{false, true, "-"},
          std::tuple{false, false, "-+"}}) {
        Form1Rig rig;
        rig.form.Form_Load();
        rig.controls.Check1.setValue(tick ? CheckBox::Unchecked : CheckBox::Checked);
        rig.controls.Check8.setValue(tick ? CheckBox::Unchecked : CheckBox::Checked);
        rig.autostart.log = &rig.log;
        rig.log.calls.clear();
        rig.settings.writes.clear();
        const auto marker = rig.fs.files.count(Form1Rig::Marker);
        rig.autostart.works = !registrationFails;
        for (FsOp op : {FsOp::Write, FsOp::Remove, FsOp::ForceRemove})
            rig.fs.fail(op, Form1Rig::Marker);

        rig.controls.Check1.setValue(tick ? CheckBox::Checked : CheckBox::Unchecked);

        EXPECT_EQ(rig.dialogs.texts(),
                  std::vector<std::string>{"Could not change the startup setting.\r\n" +
                                           std::string(rig.state.texts().adminAdvice)});
        EXPECT_TRUE(rig.controls.Check1.checked() != tick && rig.controls.Check8.checked() != tick);
        EXPECT_TRUE(rig.settings.writes.empty() && rig.fs.files.count(Form1Rig::Marker) == marker);
        std::string made;
        for (const auto& call : rig.log.calls)
            made += call == "EnableWindowsStartup"    ? "+"
                    : call == "DisableWindowsStartup" ? "-"
                                                      : "";
        EXPECT_EQ(made, calls) << tick << registrationFails;
    }
}

TEST_F(Form1Options, Check1DoesNothingWhileLoading) {
    rig.state.Loading = true;
    rig.controls.Check1.setValue(CheckBox::Checked);
    rig.controls.Check1.setValue(CheckBox::Unchecked);
    EXPECT_TRUE(rig.log.calls.empty());
}

TEST_F(Form1Options, SettingTheSameValueAgainRunsNothing) {
    rig.controls.Check1.setValue(CheckBox::Unchecked);
    rig.controls.Check9.setValue(CheckBox::Unchecked);
    EXPECT_TRUE(rig.log.calls.empty());
}

TEST_F(Form1Options, GreyedCountsAsNotChecked) {
    rig.controls.Check8.setValue(CheckBox::Greyed);
    rig.controls.Check9.setValue(CheckBox::Greyed);
    EXPECT_EQ(rig.settings.get("Minimized"), "Off");
    EXPECT_EQ(rig.settings.get("Block Administrator"), "Off");
}

TEST_F(Form1Options, Check8AndCheck9WriteOnlyTheirOwnKey) {
    rig.controls.Check8.setValue(CheckBox::Checked);
    rig.controls.Check9.setValue(CheckBox::Checked);
    rig.controls.Check9.setValue(CheckBox::Unchecked);
    EXPECT_EQ(rig.settings.writes,
              (std::vector<std::pair<std::string, std::string>>{{"Minimized", "On"},
                                                                {"Block Administrator", "On"},
                                                                {"Block Administrator", "Off"}}));
    EXPECT_EQ(rig.autostart.enabled + rig.autostart.disabled, 0);
    EXPECT_TRUE(rig.blocking.starts.empty());
    EXPECT_EQ(rig.controls.PushButton2.caption(), "Start Blocking");
}

TEST_F(Form1Options, FailedWriteIsReportedWithItsLineAfterTheRegistration) {
    rig.settings.failingKeys.insert("Windows Startup");
    rig.controls.Check1.setValue(CheckBox::Checked);
    ASSERT_EQ(rig.dialogs.messages.size(), 1u);
    EXPECT_EQ(rig.dialogs.messages[0].text,
              "Permission denied\r\nin Hedgerow2021/08/31.Form1.Check1_Click at line 112\r\r"
              "Please email screenshot of this message to support@quillmoor.example");
    EXPECT_EQ(rig.autostart.enabled, 1);
    EXPECT_EQ(rig.fs.files.count(Form1Rig::Marker), 1u);
}

TEST_F(Form1Options, EveryPasswordChangeIsWrittenAsTyped) {
    rig.controls.txtPassword.setText("p");
    rig.controls.txtPassword.setText("pw");
    rig.controls.txtPassword.setText("");
    EXPECT_EQ(rig.settings.writes, (std::vector<std::pair<std::string, std::string>>{
                                       {"Password", "p"}, {"Password", "pw"}, {"Password", ""}}));
}

} // namespace
} // namespace palisade::test
