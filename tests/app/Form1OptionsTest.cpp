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

TEST_F(Form1Options, CheckingCheck1ShowsCheck8RegistersAndWritesTheMarkerInThatOrder) {
    rig.controls.Check8.setVisible(false);
    rig.log.calls.clear();

    rig.controls.Check1.setValue(CheckBox::Checked);

    EXPECT_EQ(rig.log.calls,
              (std::vector<std::string>{"Check8 visible=1 value=0", "write Windows Startup=On",
                                        "EnableWindowsStartup",
                                        std::string("fs.write ") + Form1Rig::Marker}));
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
    EXPECT_EQ(rig.log.calls,
              (std::vector<std::string>{"write Windows Startup=On", "EnableWindowsStartup",
                                        std::string("fs.write ") + Form1Rig::Marker}));
}

TEST_F(Form1Options, UncheckingCheck1WithCheck8CheckedTurnsStartInTrayOffFirst) {
    rig.controls.Check1.setValue(CheckBox::Checked);
    rig.controls.Check8.setValue(CheckBox::Checked);
    rig.log.calls.clear();

    rig.controls.Check1.setValue(CheckBox::Unchecked);

    EXPECT_EQ(rig.log.calls,
              (std::vector<std::string>{"Check8 visible=1 value=0", "write Minimized=Off",
                                        "Check8 visible=0 value=0", "write Windows Startup=Off",
                                        "DisableWindowsStartup", "doEvents",
                                        std::string("fs.remove ") + Form1Rig::Marker}));
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

TEST_F(Form1Options, MarkerFailuresPassSilentlyAndTheSettingStillChanges) {
    rig.fs.fail(FsOp::Write, Form1Rig::Marker);
    rig.controls.Check1.setValue(CheckBox::Checked);
    EXPECT_EQ(rig.settings.get("Windows Startup"), "On");
    EXPECT_EQ(rig.autostart.enabled, 1);

    rig.fs.fail(FsOp::Remove, Form1Rig::Marker);
    rig.fs.fail(FsOp::ForceRemove, Form1Rig::Marker);
    rig.controls.Check1.setValue(CheckBox::Unchecked);
    EXPECT_EQ(rig.settings.get("Windows Startup"), "Off");
    EXPECT_TRUE(rig.dialogs.messages.empty());
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

TEST_F(Form1Options, FailedWriteIsReportedAndTheRestOfTheHandlerRuns) {
    rig.settings.failingKeys.insert("Windows Startup");
    rig.controls.Check1.setValue(CheckBox::Checked);
    ASSERT_EQ(rig.dialogs.messages.size(), 1u);
    EXPECT_EQ(rig.dialogs.messages[0].text,
              "Permission denied\r\nin Hedgerow2021/08/31.Form1.Check1_Click at line 106\r\r"
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
