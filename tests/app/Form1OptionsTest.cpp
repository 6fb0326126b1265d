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
    // Whether the click ticks or clears, and what fails: the registration, or the marker (whose
    // failure undoes the registration that went before it).
    for (auto [tick, failing, enabled, disabled] :
         {std::tuple{true, "registration", 1, 0}, std::tuple{true, "marker", 1, 1},
          std::tuple{false, "registration", 0, 1}, std::tuple{false, "marker", 1, 1}}) {
        Form1Rig rig;
        rig.form.Form_Load();
        if (!tick) {
            rig.controls.Check1.setValue(CheckBox::Checked);
            rig.controls.Check8.setValue(CheckBox::Checked);
        }
        rig.controls.Check8.setVisible(!tick);
        rig.autostart.enabled = rig.autostart.disabled = 0;
        rig.settings.writes.clear();
        const std::string marker = Form1Rig::Marker;
        const auto markerBefore = rig.fs.files.count(marker);
        if (std::string(failing) == "registration")
            rig.autostart.works = false;
        for (FsOp op : {FsOp::Write, FsOp::Remove, FsOp::ForceRemove})
            if (std::string(failing) == "marker")
                rig.fs.fail(op, marker);

        rig.controls.Check1.setValue(tick ? CheckBox::Checked : CheckBox::Unchecked);

        EXPECT_EQ(rig.dialogs.texts(),
                  std::vector<std::string>{"Could not change the startup setting.\r\n" +
                                           std::string(rig.state.texts().adminAdvice)})
            << tick << failing;
        EXPECT_EQ(rig.controls.Check1.checked(), !tick);
        EXPECT_EQ(rig.controls.Check8.checked(), !tick);
        EXPECT_EQ(rig.controls.Check8.visible(), !tick);
        EXPECT_TRUE(rig.settings.writes.empty());
        EXPECT_EQ(rig.fs.files.count(marker), markerBefore);
        // Setting the box back ran no second registration.
        EXPECT_EQ(std::pair(rig.autostart.enabled, rig.autostart.disabled),
                  std::pair(enabled, disabled));
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
