#include "support/Form1Rig.h"
#include "ui/ErrorTrap.h"

#include <algorithm>
#include <gtest/gtest.h>

namespace palisade::test {
namespace {

using ::testing::Test;

class Form1Load : public Test {
protected:
    Form1Rig rig;
    const std::string sep = "||My_Separator||";

    void markerExists() { rig.fs.files[Form1Rig::Marker] = " \r\n"; }
    bool logHas(const std::string& call) const {
        const auto& calls = rig.log.calls;
        return std::find(calls.begin(), calls.end(), call) != calls.end();
    }
    std::size_t logIndex(const std::string& call) const {
        const auto& calls = rig.log.calls;
        return static_cast<std::size_t>(std::find(calls.begin(), calls.end(), call) -
                                        calls.begin());
    }
};

TEST_F(Form1Load, FirstRunSetsUpTheWindowAndCreatesBothDataFolders) {
    rig.form.Start();
    EXPECT_EQ(rig.blocking.settled, 1); // a change of the hosts file cut short by a kill

    EXPECT_EQ(rig.controls.window.caption(), "Palisade Software");
    EXPECT_EQ(rig.controls.window.icon(), WindowIcon::Program);
    EXPECT_EQ(rig.state.AppTitle, "Palisade");
    ASSERT_EQ(rig.controls.ListView1.columns().size(), 1u);
    EXPECT_EQ(rig.controls.ListView1.columns()[0].text, "Blocked Website(s)");
    EXPECT_EQ(rig.controls.ListView1.columns()[0].width, 7000);
    EXPECT_EQ(rig.controls.ListView1.count(), 0u);
    EXPECT_TRUE(rig.fs.folders.count("C:\\ProgramData\\Quillmoor"));
    EXPECT_TRUE(rig.fs.folders.count(Form1Rig::DataFolder));
    EXPECT_EQ(rig.state.DataFolder, Form1Rig::DataFolder);
    EXPECT_EQ(rig.tray.tip, "Palisade Software");
    EXPECT_TRUE(rig.tray.added);
    EXPECT_FALSE(rig.controls.Check1.checked());
    EXPECT_FALSE(rig.controls.Check8.checked());
    EXPECT_FALSE(rig.controls.Check9.checked());
    EXPECT_TRUE(rig.controls.Check8.visible());
    EXPECT_EQ(rig.controls.Label2.caption(), "User is not a member of the Administrator's group");
    EXPECT_EQ(rig.controls.Label2.backColor(), colors::White);
    EXPECT_EQ(rig.controls.txtPassword.text(), "");
    EXPECT_FALSE(rig.state.Loading);
    EXPECT_TRUE(rig.blocking.starts.empty());
    EXPECT_TRUE(rig.dialogs.messages.empty());
    EXPECT_TRUE(rig.controls.window.visible());
    EXPECT_EQ(rig.controls.window.state(), WindowState::Normal);
    // Nothing is written on a first run but the options' own echoes.
    EXPECT_FALSE(rig.settings.has("BlockOnStart"));
    EXPECT_FALSE(rig.settings.has("Password"));
    EXPECT_EQ(rig.admin.calls, 1);
}

TEST_F(Form1Load, ExistingFoldersAreLeftAlone) {
    rig.fs.folders.insert("C:\\ProgramData\\Quillmoor");
    rig.fs.folders.insert(Form1Rig::DataFolder);
    rig.form.Form_Load();
    EXPECT_FALSE(logHas("fs.mkdir C:\\ProgramData\\Quillmoor"));
    EXPECT_FALSE(logHas(std::string("fs.mkdir ") + Form1Rig::DataFolder));
    EXPECT_TRUE(rig.dialogs.messages.empty());
}

TEST_F(Form1Load, RestoresTheStoredListInOrderSkippingEmptyPieces) {
    rig.settings.set("Blocked Websites", "one.example" + sep + sep + "two.example" + sep);
    rig.form.Form_Load();
    EXPECT_EQ(rig.controls.ListView1.items(),
              (std::vector<std::string>{"one.example", "two.example"}));
}

TEST_F(Form1Load, AdministratorGetsTheMemberStatusText) {
    rig.admin.result = 1; // any non-zero answer counts
    rig.form.Form_Load();
    EXPECT_TRUE(rig.state.UserIsAdmin);
    EXPECT_EQ(rig.controls.Label2.caption(), "Current user is member of the Administrator's group");
}

TEST_F(Form1Load, OptionsRestoreWithoutRegisteringAndEchoTheirValues) {
    rig.settings.set("Windows Startup", "On");
    rig.settings.set("Minimized", "On");
    rig.settings.set("Block Administrator", "On");
    rig.form.Form_Load();

    EXPECT_TRUE(rig.controls.Check1.checked());
    EXPECT_TRUE(rig.controls.Check8.checked());
    EXPECT_TRUE(rig.controls.Check9.checked());
    // Check1's handling is suppressed while loading: no registration, no marker.
    EXPECT_EQ(rig.autostart.enabled, 0);
    EXPECT_EQ(rig.fs.files.count(Form1Rig::Marker), 0u);
    EXPECT_EQ(rig.settings.writeCount("Windows Startup"), 0);
    EXPECT_EQ(rig.settings.writes, (std::vector<std::pair<std::string, std::string>>{
                                       {"Minimized", "On"}, {"Block Administrator", "On"}}));
}

TEST_F(Form1Load, OptionTextsOtherThanExactlyOnReadAsOff) {
    rig.settings.set("Windows Startup", "on");
    rig.settings.set("Minimized", "ON");
    rig.settings.set("Block Administrator", " On");
    rig.form.Form_Load();
    EXPECT_FALSE(rig.controls.Check1.checked());
    EXPECT_FALSE(rig.controls.Check8.checked());
    EXPECT_FALSE(rig.controls.Check9.checked());
    EXPECT_TRUE(rig.settings.writes.empty());
}

TEST_F(Form1Load, StartInTrayMinimisesBeforeTheWindowIsFirstShown) {
    rig.settings.set("Minimized", "On");
    rig.settings.set("BlockOnStart", "0");
    bool seenVisibleWhileMinimised = false;
    int resizesDuringLoad = 0;
    rig.controls.window.resize.connect([&] {
        if (!rig.controls.window.created())
            ++resizesDuringLoad;
        // Stands in for the minimise handling: hide into the tray.
        if (rig.controls.window.state() == WindowState::Minimized) {
            rig.controls.window.hide();
            rig.controls.window.setState(WindowState::Normal);
        }
    });
    rig.controls.window.changed.connect([&] {
        if (rig.controls.window.visible() && rig.controls.window.state() == WindowState::Minimized)
            seenVisibleWhileMinimised = true;
    });

    rig.form.Start();

    EXPECT_EQ(resizesDuringLoad, 0);
    EXPECT_FALSE(seenVisibleWhileMinimised);
    EXPECT_FALSE(rig.controls.window.visible());
    EXPECT_TRUE(rig.tray.added);
    EXPECT_TRUE(rig.blocking.starts.empty());
}

TEST_F(Form1Load, PasswordIsFilledFromTheStoreAndWrittenBack) {
    rig.settings.set("Password", " secret ");
    rig.form.Form_Load();
    EXPECT_EQ(rig.controls.txtPassword.text(), " secret ");
    EXPECT_EQ(rig.settings.writes.back(),
              (std::pair<std::string, std::string>{"Password", " secret "}));
}

TEST_F(Form1Load, HandPointerIsLoadedOnlyWhenTheFileExists) {
    rig.form.Form_Load();
    EXPECT_EQ(rig.controls.window.mouseIcon(), "");
    EXPECT_TRUE(rig.dialogs.messages.empty());

    Form1Rig withCursor;
    withCursor.fs.files["C:\\Program Files\\Palisade\\HAND-M.CUR"] = "cursor";
    withCursor.form.Form_Load();
    EXPECT_EQ(withCursor.controls.window.mouseIcon(), "C:\\Program Files\\Palisade\\HAND-M.CUR");
}

TEST_F(Form1Load, SkinComesFirstAndTheOrderOfSideEffectsHolds) {
    rig.settings.set("BlockOnStart", "1");
    rig.form.Form_Load();
    EXPECT_EQ(rig.log.calls.front(), "ApplySkin");
    EXPECT_LT(logIndex("TrayTip Palisade Software"), logIndex("InTray true"));
    EXPECT_LT(logIndex("InTray true"), logIndex("StartBlocking(reapply)"));
}

TEST(AppTitle, CutsBeforeTheLastSpaceAtLeastOnceThenWhileLongerThanForty) {
    EXPECT_EQ(AppTitleFrom("Palisade Software"), "Palisade");
    EXPECT_EQ(AppTitleFrom(std::string(45, 'a') + " b c d"), std::string(45, 'a'));
    EXPECT_EQ(AppTitleFrom("aaaa bbbb " + std::string(40, 'c')), "aaaa bbbb");
}

// The four rows of the start-up blocking decision.
struct DecisionRow {
    const char* name;
    const char* blockOnStart; // nullptr: absent
    bool marker;
    int admin;
    bool reapplied;
    bool forcedOn;
};

// Test runners name each case after this: plain characters only, and no addresses.
void PrintTo(const DecisionRow& row, std::ostream* os) {
    *os << row.name;
}

class Form1Decision : public Form1Load, public ::testing::WithParamInterface<DecisionRow> {};

TEST_P(Form1Decision, ReappliesExactlyUnderTheTableConditions) {
    const DecisionRow& row = GetParam();
    if (row.blockOnStart)
        rig.settings.set("BlockOnStart", row.blockOnStart);
    if (row.marker)
        markerExists();
    rig.admin.result = row.admin;

    rig.form.Form_Load();

    EXPECT_EQ(rig.blocking.starts, row.reapplied ? std::vector<bool>{true} : std::vector<bool>{});
    EXPECT_EQ(rig.controls.PushButton2.caption(),
              row.reapplied ? "Stop Blocking" : "Start Blocking");
    EXPECT_EQ(rig.state.SavedBlockCaption, row.reapplied ? "Start Blocking" : "");
    EXPECT_TRUE(rig.blocking.stops.empty()); // start-up never unblocks
    EXPECT_EQ(rig.settings.get("BlockOnStart"),
              row.forcedOn ? "1" : (row.blockOnStart ? row.blockOnStart : ""));
    EXPECT_EQ(rig.controls.Check1.checked(), row.forcedOn);
    EXPECT_EQ(rig.controls.Check8.checked(), row.forcedOn);
    EXPECT_TRUE(rig.dialogs.messages.empty());
}

INSTANTIATE_TEST_SUITE_P(
    Rows, Form1Decision,
    ::testing::Values(DecisionRow{"NonZeroForAdmin", "1", false, -1, true, false},
                      DecisionRow{"NonZeroForNonAdminWithMarker", "-1", true, 0, true, false},
                      DecisionRow{"TwoCountsAsOn", "2", false, 0, true, false},
                      DecisionRow{"MarkerForNonAdmin", nullptr, true, 0, true, true},
                      DecisionRow{"MarkerForNonAdminZero", "0", true, 0, true, true},
                      DecisionRow{"MarkerIgnoredForAdmin", nullptr, true, -1, false, false},
                      DecisionRow{"NoMarkerNonAdmin", "0", false, 0, false, false},
                      DecisionRow{"NoMarkerAdmin", nullptr, false, -1, false, false}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(Form1Load, MarkerBranchForcesTheOptionsOnForANonAdministrator) {
    markerExists();
    rig.form.Form_Load();

    EXPECT_EQ(rig.settings.get("Windows Startup"), "On");
    EXPECT_EQ(rig.settings.get("Minimized"), "On");
    EXPECT_EQ(rig.settings.get("BlockOnStart"), "1");
    EXPECT_TRUE(rig.controls.Check1.checked());
    EXPECT_TRUE(rig.controls.Check8.checked());
    EXPECT_TRUE(rig.controls.Check8.visible());
    // Check1's full checked handling ran: registration and the marker written again.
    EXPECT_EQ(rig.autostart.enabled, 1);
    EXPECT_EQ(rig.fs.files[Form1Rig::Marker], " \r\n");
    const std::size_t enable = logIndex("EnableWindowsStartup");
    EXPECT_LT(enable, logIndex(std::string("fs.write ") + Form1Rig::Marker));
    EXPECT_LT(enable, logIndex("write Windows Startup=On"));
    EXPECT_LT(logIndex("write BlockOnStart=1"), logIndex("StartBlocking(reapply)"));
}

TEST_F(Form1Load, MarkerBranchThatCannotRegisterSaysNothingAndForcesTheOptionsOnAllTheSame) {
    markerExists();
    rig.autostart.works = false; // as for every user who is not an administrator
    rig.form.Form_Load();
    EXPECT_TRUE(rig.dialogs.messages.empty());
    EXPECT_TRUE(rig.controls.Check1.checked() && rig.controls.Check8.checked());
    EXPECT_EQ(rig.settings.get("Windows Startup"), "On");
    EXPECT_EQ(rig.blocking.starts, std::vector<bool>{true});
}

TEST_F(Form1Load, MarkerBranchWithCheck1AlreadyCheckedDoesNotRegisterAgain) {
    markerExists();
    rig.settings.set("Windows Startup", "On");
    rig.form.Form_Load();
    EXPECT_EQ(rig.autostart.enabled, 0);
    EXPECT_EQ(rig.blocking.starts, std::vector<bool>{true});
}

TEST_F(Form1Load, MarkerHiddenFromTheOrdinaryFileLookupDoesNotCount) {
    markerExists();
    rig.fs.hidden.insert(Form1Rig::Marker);
    rig.form.Form_Load();
    EXPECT_TRUE(rig.blocking.starts.empty());
}

// Error report and resume rules.

TEST_F(Form1Load, NonNumericBlockOnStartIsReportedAndThenTreatedAsOn) {
    rig.settings.set("BlockOnStart", "abc");
    markerExists(); // the else branch must not run as well
    rig.form.Form_Load();

    ASSERT_EQ(rig.dialogs.messages.size(), 1u);
    const ShownMessage& report = rig.dialogs.messages[0];
    EXPECT_EQ(report.text, "Type mismatch\r\nin Hedgerow2021/08/31.Form1.Form_Load at line 160\r\r"
                           "Please email screenshot of this message to support@quillmoor.example");
    EXPECT_EQ(report.title, "Application Error");
    EXPECT_EQ(report.icon, MessageIcon::Warning);
    EXPECT_EQ(rig.state.SavedBlockCaption, "Start Blocking");
    EXPECT_EQ(rig.controls.PushButton2.caption(), "Stop Blocking");
    EXPECT_EQ(rig.blocking.starts, std::vector<bool>{true});
    EXPECT_FALSE(rig.controls.Check1.checked()); // 20.2 skipped
    // Loading goes on to the last step.
    EXPECT_EQ(rig.settings.writeCount("BlockOnStart"), 0);
}

TEST_F(Form1Load, FailedMarkerLookupIsReportedAndItsBranchRuns) {
    rig.fs.fail(FsOp::Find, Form1Rig::Marker);
    rig.form.Form_Load();
    ASSERT_EQ(rig.dialogs.messages.size(), 1u);
    EXPECT_NE(rig.dialogs.messages[0].text.find("Form1.Form_Load at line 168\r\r"),
              std::string::npos);
    EXPECT_EQ(rig.settings.get("BlockOnStart"), "1");
    EXPECT_EQ(rig.blocking.starts, std::vector<bool>{true});
}

TEST_F(Form1Load, FolderThatCannotBeCreatedIsReportedAndLoadingGoesOn) {
    rig.fs.fail(FsOp::CreateFolder, "C:\\ProgramData\\Quillmoor");
    rig.fs.fail(FsOp::CreateFolder, Form1Rig::DataFolder);
    rig.settings.set("Password", "pw");
    rig.form.Form_Load();
    ASSERT_EQ(rig.dialogs.messages.size(), 2u);
    EXPECT_EQ(rig.dialogs.messages[0].text,
              "Permission denied\r\nin Hedgerow2021/08/31.Form1.Form_Load at line 128\r\r"
              "Please email screenshot of this message to support@quillmoor.example");
    EXPECT_NE(rig.dialogs.messages[1].text.find("at line 134\r\r"), std::string::npos);
    EXPECT_EQ(rig.state.DataFolder, Form1Rig::DataFolder);
    EXPECT_EQ(rig.controls.txtPassword.text(), "pw");
    EXPECT_FALSE(rig.state.Loading);
}

TEST_F(Form1Load, FailedFolderLookupStillTriesToCreateTheFolder) {
    rig.fs.fail(FsOp::Find, "C:\\ProgramData\\Quillmoor", 1);
    rig.form.Form_Load();
    ASSERT_EQ(rig.dialogs.messages.size(), 1u);
    EXPECT_NE(rig.dialogs.messages[0].text.find("at line 126\r\r"), std::string::npos);
    EXPECT_TRUE(rig.fs.folders.count("C:\\ProgramData\\Quillmoor"));
}

TEST_F(Form1Load, MissingSpecialFolderGivesPathsFromTheDriveRoot) {
    rig.system.commonAppData.reset();
    rig.form.Form_Load();
    EXPECT_EQ(rig.state.DataFolder, "\\Quillmoor\\Palisade Software");
    EXPECT_TRUE(rig.fs.folders.count("\\Quillmoor"));
}

TEST_F(Form1Load, SpecialFolderIsTidiedOfNulsAndSpaces) {
    rig.system.commonAppData = std::string("  C:\\ProgramData\0\0\0", 20);
    rig.form.Form_Load();
    EXPECT_EQ(rig.state.DataFolder, Form1Rig::DataFolder);
}

TEST_F(Form1Load, FailedSettingsWriteInsideACheckBoxEchoIsReportedUnderThatHandler) {
    rig.settings.set("Minimized", "On");
    rig.settings.failingKeys.insert("Minimized");
    rig.form.Form_Load();
    ASSERT_EQ(rig.dialogs.messages.size(), 1u);
    EXPECT_EQ(rig.dialogs.messages[0].text,
              "Permission denied\r\nin Hedgerow2021/08/31.Form1.Check8_Click at line 100\r\r"
              "Please email screenshot of this message to support@quillmoor.example");
    EXPECT_TRUE(rig.controls.Check8.checked());
    EXPECT_EQ(rig.controls.window.state(), WindowState::Minimized);
}

} // namespace
} // namespace palisade::test
