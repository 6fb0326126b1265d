#include "support/Form1Rig.h"

#include <algorithm>
#include <gtest/gtest.h>

namespace palisade::test {
namespace {

// A loaded and shown main window, as the user first sees it.
struct ShownRig : Form1Rig {
    explicit ShownRig(const std::string& password = "") {
        settings.set("Password", password);
        form.Start();
        log.calls.clear();
    }
    void minimise() { controls.window.setState(WindowState::Minimized); }
};

TEST(Form1Resize, MinimiseHidesWithTheBalloonOrWaitsOnTheTaskBar) {
    ShownRig rig;
    rig.tray.trayAvailable = false; // asked at every minimise: no area yet
    rig.minimise();
    EXPECT_TRUE(rig.controls.window.visible() && rig.state.OnTaskBar);
    EXPECT_EQ(rig.controls.window.state(), WindowState::Minimized);
    EXPECT_EQ(std::count(rig.log.calls.begin(), rig.log.calls.end(), "InTray true"), 0);
    rig.controls.window.setState(WindowState::Normal); // from the task bar, no password asked
    EXPECT_TRUE(rig.tray.balloons.empty() && !rig.state.HiddenInTray && !rig.state.OnTaskBar);

    rig.tray.trayAvailable = true; // the panel has come up since
    rig.minimise();
    rig.tray.mouseUp(1, 0);
    rig.minimise();
    EXPECT_FALSE(rig.controls.window.visible());
    EXPECT_EQ(rig.controls.window.state(), WindowState::Normal);
    EXPECT_TRUE(rig.state.HiddenInTray && rig.tray.added);
    ASSERT_EQ(rig.tray.balloons.size(), 2u);
    const auto& b = rig.tray.balloons[0];
    EXPECT_EQ(b.title + "|" + b.text + "|" + std::to_string(b.seconds * b.showOnce),
              "Palisade Software|has been minimized to the system tray.\r\nClick on the blue 'Q' "
              "icon (Q for Quillmoor) to bring the software back.|-5");
}

TEST(Form1TrayClick, EitherButtonRestoresOrOpensThePasswordWindowOnce) {
    for (auto [password, hidden, button] :
         {std::tuple{"", true, 1}, std::tuple{"", false, 2}, std::tuple{"pw", false, 2}}) {
        ShownRig rig(password);
        if (hidden)
            rig.minimise();
        rig.tray.mouseUp(button, 0);
        const bool gate = *password != '\0';
        EXPECT_EQ(rig.form2Controls.window.visible(), gate);
        rig.form2Controls.txtPassword.setText("typed");
        rig.tray.mouseUp(1, 0); // a second click opens no second window
        EXPECT_EQ(rig.form2Controls.window.loaded() &&
                      rig.form2Controls.txtPassword.text() == "typed",
                  gate);
        EXPECT_TRUE(rig.controls.window.visible() && !rig.state.HiddenInTray);
        EXPECT_EQ(rig.tray.added, gate); // the icon leaves only with a restore
    }
}

TEST(Form1Close, RecordsBlockingSavesTheListYieldsUnloadsAndRunsOnce) {
    for (bool blocking : {false, true}) {
        ShownRig rig;
        rig.controls.ListView1.add("a");
        rig.controls.PushButton2.setCaption(blocking ? "Stop Blocking" : "Start Blocking");
        rig.form2.Show();
        rig.log.calls.clear();
        int closed = 0;
        rig.form.closed.connect([&] { ++closed; });
        rig.pump.pending.push_back([&] { rig.controls.window.requestClose(); }); // dropped
        rig.controls.window.requestClose();
        rig.controls.window.requestClose(); // dropped

        std::vector<std::string> calls = {"StopBlocking(at close)", "write BlockOnStart=0"};
        if (blocking)
            calls = {"write BlockOnStart=1", "write Minimized=On", "write Minimized=On"};
        for (const char* call : {"InTray false", "doEvents", "doEvents",
                                 "write Blocked Websites=a||My_Separator||", "doEvents"})
            calls.push_back(call);
        EXPECT_EQ(rig.log.calls, calls);
        EXPECT_FALSE(rig.form2Controls.window.loaded() || rig.controls.window.loaded());
        EXPECT_EQ(closed, 1);
    }
}

TEST(Form1DataFolder, CreationFailuresAreReportedExceptARefusalOnLinux) {
    // The first failure is the shared folder's, the second the data folder's inside it: on a
    // real system a refused parent leaves the child's path missing.
    for (auto [platform, failure, then, reports] :
         {std::tuple{Platform::Linux, "Permission denied", "Permission denied", 0u},
          std::tuple{Platform::Linux, "Permission denied", "Path not found", 0u},
          std::tuple{Platform::Linux, "Disk full", "Path not found", 2u},
          std::tuple{Platform::Windows, "Permission denied", "Path not found", 2u}}) {
        Form1Rig rig(platform);
        int creations = 0;
        rig.fs.beforeOp = [&](FsOp op, const std::string&) {
            if (op == FsOp::CreateFolder)
                throw RuntimeError(creations++ == 0 ? failure : then);
        };
        rig.form.Form_Load();
        EXPECT_EQ(rig.dialogs.messages.size(), reports) << failure << ", " << then;
    }
}

} // namespace
} // namespace palisade::test
