#include "support/Form1Rig.h"

#include <algorithm>
#include <gtest/gtest.h>

namespace palisade::test {
namespace {

const std::string Balloon = "has been minimized to the system tray.\r\nClick on the blue 'Q' icon "
                            "(Q for Quillmoor) to bring the software back.";

// A loaded and shown main window, as the user first sees it.
struct ShownRig : Form1Rig {
    explicit ShownRig(Platform platform = Platform::Windows) : Form1Rig(platform) {
        tray.pump = &pump;
        form.Start();
        log.calls.clear();
    }
    Window& window() { return controls.window; }
    void minimise() { window().setState(WindowState::Minimized); }
    void trayClick(int button = 1) { tray.mouseUp(button, 0); }
    bool form2Open() { return form2Controls.window.loaded() && form2Controls.window.visible(); }
};

TEST(Form1Resize, MinimiseHidesIntoTheTrayWithTheBalloonAndOtherResizesDoNothing) {
    ShownRig rig;
    rig.window().setState(WindowState::Maximized);
    rig.window().setState(WindowState::Normal);
    EXPECT_TRUE(rig.tray.balloons.empty());
    EXPECT_TRUE(rig.window().visible());

    rig.minimise();

    EXPECT_FALSE(rig.window().visible());
    EXPECT_EQ(rig.window().state(), WindowState::Normal);
    EXPECT_TRUE(rig.state.HiddenInTray);
    EXPECT_TRUE(rig.tray.added);
    ASSERT_EQ(rig.tray.balloons.size(), 1u);
    EXPECT_EQ(rig.tray.balloons[0].text, Balloon);
    EXPECT_EQ(rig.tray.balloons[0].title, "Palisade Software");
    EXPECT_EQ(rig.tray.balloons[0].seconds, 5);
    EXPECT_EQ(rig.tray.balloons[0].showOnce, -1);
}

TEST(Form1Resize, ATrayClickDuringTheBalloonRestoresAndAMinimiseAfterItHidesAgain) {
    ShownRig rig;
    // Both arrive while the first balloon waits: handlers nest inside the resize handler.
    rig.pump.pending.push_back([&] { rig.trayClick(); });
    rig.pump.pending.push_back([&] { rig.minimise(); });

    rig.minimise();

    EXPECT_FALSE(rig.window().visible());
    EXPECT_TRUE(rig.state.HiddenInTray);
    EXPECT_TRUE(rig.tray.added);
    EXPECT_EQ(rig.tray.balloons.size(), 2u);
}

struct TrayClickRow {
    const char* name;
    const char* password;
    bool hidden; // minimised into the tray first
    int button;
    bool form2;   // the password window opens
    bool visible; // the main window afterwards
};

void PrintTo(const TrayClickRow& row, std::ostream* os) {
    *os << row.name;
}

class Form1TrayClick : public ::testing::TestWithParam<TrayClickRow> {};

TEST_P(Form1TrayClick, BringsTheWindowBackOrOpensThePasswordWindow) {
    const TrayClickRow& row = GetParam();
    ShownRig rig;
    rig.settings.set("Password", row.password);
    if (row.hidden)
        rig.minimise();
    const bool hiddenBefore = rig.state.HiddenInTray;

    rig.trayClick(row.button);

    EXPECT_EQ(rig.form2Open(), row.form2);
    EXPECT_EQ(rig.window().visible(), row.visible);
    EXPECT_EQ(rig.window().state(), WindowState::Normal);
    // Either the window came back and the icon left, or nothing changed but the dialog.
    EXPECT_EQ(rig.tray.added, row.form2);
    EXPECT_EQ(rig.state.HiddenInTray, row.form2 && hiddenBefore);
    EXPECT_TRUE(rig.dialogs.messages.empty());
}

INSTANTIATE_TEST_SUITE_P(
    Rows, Form1TrayClick,
    ::testing::Values(TrayClickRow{"HiddenNoPassword", "", true, 1, false, true},
                      TrayClickRow{"HiddenNoPasswordRightButton", "", true, 2, false, true},
                      TrayClickRow{"VisibleNoPassword", "", false, 1, false, true},
                      TrayClickRow{"HiddenWithPassword", "pw", true, 1, true, false},
                      TrayClickRow{"HiddenWithPasswordRightButton", "pw", true, 2, true, false},
                      TrayClickRow{"VisibleWithPassword", "pw", false, 1, true, true}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(Form1TrayClick, ASecondClickOpensNoSecondPasswordWindow) {
    ShownRig rig;
    rig.settings.set("Password", "pw");
    rig.minimise();
    rig.trayClick();
    rig.form2Controls.txtPassword.setText("typed so far");
    int activations = 0;
    rig.form2Controls.window.activateRequested.connect([&] { ++activations; });

    rig.trayClick();

    EXPECT_EQ(rig.form2Controls.txtPassword.text(), "typed so far");
    EXPECT_EQ(activations, 1); // brought to the front, not opened again
}

// The close handler, with blocking off and on.
struct CloseRow {
    const char* name;
    bool blocking;
    std::vector<std::string> calls;
};

void PrintTo(const CloseRow& row, std::ostream* os) {
    *os << row.name;
}

class Form1Close : public ::testing::TestWithParam<CloseRow> {};

TEST_P(Form1Close, RecordsBlockingSavesTheListAndYieldsInOrder) {
    const CloseRow& row = GetParam();
    ShownRig rig;
    rig.controls.ListView1.add("a");
    rig.controls.ListView1.add("b");
    if (row.blocking)
        rig.controls.PushButton2.setCaption("Stop Blocking");
    rig.settings.set("Password", "pw");
    rig.trayClick(); // the password window is open
    rig.log.calls.clear();
    int closed = 0;
    rig.form.closed.connect([&] { ++closed; });

    rig.window().requestClose();

    EXPECT_EQ(rig.log.calls, row.calls);
    EXPECT_EQ(rig.settings.get("Blocked Websites"), "a||My_Separator||b||My_Separator||");
    EXPECT_FALSE(rig.form2Controls.window.loaded());
    EXPECT_FALSE(rig.window().loaded());
    EXPECT_EQ(closed, 1);
    EXPECT_TRUE(rig.dialogs.messages.empty()); // never asks, never refuses
}

INSTANTIATE_TEST_SUITE_P(
    Rows, Form1Close,
    ::testing::Values(
        CloseRow{"BlockingOff",
                 false,
                 {"StopBlocking", "write BlockOnStart=0", "InTray false", "doEvents", "doEvents",
                  "write Blocked Websites=a||My_Separator||b||My_Separator||", "doEvents"}},
        CloseRow{"BlockingOn",
                 true,
                 {"write BlockOnStart=1", "write Minimized=On", "write Minimized=On",
                  "InTray false", "doEvents", "doEvents",
                  "write Blocked Websites=a||My_Separator||b||My_Separator||", "doEvents"}}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(Form1Close, RunsOnceAndASecondCloseDuringItIsDropped) {
    ShownRig rig;
    int closed = 0;
    rig.form.closed.connect([&] { ++closed; });
    rig.pump.pending.push_back([&] { rig.window().requestClose(); });

    rig.window().requestClose();
    rig.window().requestClose();

    EXPECT_EQ(closed, 1);
    EXPECT_EQ(rig.blocking.stops.size(), 1u);
    EXPECT_EQ(rig.settings.writeCount("Blocked Websites"), 1);
}

TEST(Form1Close, EmptyListIsStoredAsTheEmptyText) {
    ShownRig rig;
    rig.settings.set("Blocked Websites", "old||My_Separator||");
    rig.window().requestClose();
    EXPECT_TRUE(rig.settings.has("Blocked Websites"));
    EXPECT_EQ(rig.settings.get("Blocked Websites"), "");
}

// No notification area: the window waits minimised on the task bar.

TEST(Form1NoTray, MinimiseStaysOnTheTaskBarWithoutBalloonAndComesBackFromIt) {
    ShownRig rig;
    rig.tray.trayAvailable = false;
    rig.minimise();

    EXPECT_TRUE(rig.window().visible());
    EXPECT_EQ(rig.window().state(), WindowState::Minimized);
    EXPECT_TRUE(rig.tray.balloons.empty());
    EXPECT_EQ(std::count(rig.log.calls.begin(), rig.log.calls.end(), "InTray true"), 0);
    EXPECT_TRUE(rig.state.HiddenInTray);

    rig.window().setState(WindowState::Normal); // the user restores it from the task bar

    EXPECT_TRUE(rig.window().visible());
    EXPECT_EQ(rig.window().state(), WindowState::Normal);
    EXPECT_FALSE(rig.state.HiddenInTray);
    EXPECT_FALSE(rig.state.OnTaskBar);
}

TEST(Form1NoTray, WithAPasswordTheWindowStaysMinimisedUntilThePasswordIsAccepted) {
    ShownRig rig;
    rig.tray.trayAvailable = false;
    rig.settings.set("Password", "pw");
    rig.minimise();

    rig.window().setState(WindowState::Normal);

    EXPECT_EQ(rig.window().state(), WindowState::Minimized);
    EXPECT_TRUE(rig.form2Open());

    rig.form2Controls.PushButton1.press(); // Cancel
    rig.window().setState(WindowState::Normal);
    EXPECT_EQ(rig.window().state(), WindowState::Minimized);
    ASSERT_TRUE(rig.form2Open());

    rig.form2Controls.txtPassword.setText("pw");
    rig.form2Controls.window.pressDefault();

    EXPECT_EQ(rig.window().state(), WindowState::Normal);
    EXPECT_TRUE(rig.window().visible());
    EXPECT_FALSE(rig.state.HiddenInTray);
    EXPECT_FALSE(rig.form2Open());
}

TEST(Form1NoTray, TheAreaIsAskedForAtEveryMinimise) {
    ShownRig rig;
    rig.tray.trayAvailable = false;
    rig.minimise();
    rig.window().setState(WindowState::Normal);
    rig.tray.trayAvailable = true; // the panel has come up since

    rig.minimise();

    EXPECT_FALSE(rig.window().visible());
    EXPECT_EQ(rig.tray.balloons.size(), 1u);
}

TEST(Form1NoTray, StartingInTheTrayShowsTheWindowMinimisedInstead) {
    Form1Rig rig;
    rig.tray.trayAvailable = false;
    rig.settings.set("Minimized", "On");
    rig.form.Start();
    EXPECT_TRUE(rig.controls.window.visible());
    EXPECT_EQ(rig.controls.window.state(), WindowState::Minimized);
    EXPECT_TRUE(rig.tray.balloons.empty());
}

// The data folder's creation refused for lack of rights is expected on Linux only.
struct FolderRow {
    const char* name;
    Platform platform;
    const char* failure;
    std::size_t reports;
};

void PrintTo(const FolderRow& row, std::ostream* os) {
    *os << row.name;
}

class Form1DataFolder : public ::testing::TestWithParam<FolderRow> {};

TEST_P(Form1DataFolder, ReportsCreationFailuresExceptARefusalOnLinux) {
    const FolderRow& row = GetParam();
    Form1Rig rig(row.platform);
    const std::string failure = row.failure;
    rig.fs.beforeOp = [&](FsOp op, const std::string&) {
        if (op == FsOp::CreateFolder)
            throw RuntimeError(failure);
    };
    rig.form.Form_Load();
    EXPECT_EQ(rig.dialogs.messages.size(), row.reports);
    EXPECT_FALSE(rig.state.Loading);
}

INSTANTIATE_TEST_SUITE_P(
    Rows, Form1DataFolder,
    ::testing::Values(FolderRow{"LinuxPermissionDenied", Platform::Linux, "Permission denied", 0},
                      FolderRow{"LinuxDiskFull", Platform::Linux, "Disk full", 2},
                      FolderRow{"WindowsPermissionDenied", Platform::Windows, "Permission denied",
                                2}),
    [](const auto& info) { return std::string(info.param.name); });

} // namespace
} // namespace palisade::test
