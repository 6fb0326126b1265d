#include "ProgramRig.h"

#include <algorithm>
#include <gtest/gtest.h>

namespace palisade::test {
namespace {

// One user's day on a desktop with a notification area (true) or without one (false).
struct DayRig : ProgramRig {
    explicit DayRig(bool trayArea) : ProgramRig(true), trayArea(trayArea) {
        admin.result = -1;
        shell.isAvailable = trayArea;
        fs.files["C:\\Lists\\social.txt"] = "one.example\ntwo.example\n";
    }
    void run() {
        launch();
        everInSight = false;
        main().window.changed.connect([this] { everInSight = everInSight || inSight(); });
        program->Start();
    }
    bool inSight() {
        return main().window.visible() && main().window.state() == WindowState::Normal;
    }
    // Hidden into the tray, or minimised on the task bar where there is none.
    bool outOfSight() {
        return trayArea
                   ? !main().window.visible()
                   : main().window.visible() && main().window.state() == WindowState::Minimized;
    }
    void enterPassword(const std::string& typed) {
        password().txtPassword.setText(typed);
        password().window.pressDefault();
    }
    std::size_t balloons() {
        return std::count_if(shell.records.begin(), shell.records.end(),
                             [](const auto& r) { return !r.data.info.empty(); });
    }

    bool trayArea;
    bool everInSight = false;
};

class ProgramDay : public ::testing::TestWithParam<bool> {};

TEST_P(ProgramDay, FromTheFirstStartToBlockingOverNightAndBack) {
    const std::string blocked = std::string(ProgramRig::Original) +
                                "127.0.0.1          typed.example\r\n127.0.0.1          "
                                "one.example\r\n127.0.0.1          two.example\r\n";
    DayRig rig(GetParam());
    rig.run(); // the first start: the window is there, nothing is blocked
    ASSERT_TRUE(rig.inSight());

    rig.dialogs.inputAnswers.push_back("typed.example");
    rig.main().PushButton6.press();
    rig.dialogs.openFileAnswers.push_back("C:\\Lists\\social.txt");
    rig.main().PushButton4.press();
    EXPECT_EQ(rig.settings.get("Blocked Websites"),
              "typed.example||My_Separator||one.example||My_Separator||two.example||My_"
              "Separator||");
    rig.main().txtPassword.setText("s3cret");

    rig.main().PushButton2.press(); // blocking starts; the window goes out of sight
    EXPECT_EQ(rig.fs.files[ProgramRig::Hosts], blocked);
    EXPECT_EQ(rig.settings.get("BlockOnStart"), "1");
    EXPECT_TRUE(rig.outOfSight());
    EXPECT_EQ(rig.balloons(), rig.trayArea ? 1u : 0u);

    if (rig.trayArea) // back through the password; a wrong one is refused
        rig.shell.deliver(tray::LeftButtonUp);
    else
        rig.main().window.setState(WindowState::Normal);
    EXPECT_TRUE(rig.password().window.visible() && rig.outOfSight());
    rig.enterPassword("secret");
    rig.enterPassword(" s3cret ");
    EXPECT_TRUE(rig.inSight() && !rig.password().window.loaded());

    rig.program->SessionEnding(); // the session asks, then goes on: the two keys, nothing else
    EXPECT_EQ(rig.settings.writes.end()[-2].first + "|" + rig.settings.writes.back().first,
              "Blocked Websites|BlockOnStart");
    rig.main().window.requestClose(); // closed while blocking: the lines stay
    EXPECT_EQ(rig.quits, 1);
    EXPECT_EQ(rig.settings.get("BlockOnStart") + rig.settings.get("Minimized"), "1On");

    rig.run(); // the next start: out of sight at once, blocking re-applied without duplicates
    EXPECT_FALSE(rig.everInSight);
    EXPECT_TRUE(rig.outOfSight());
    EXPECT_EQ(rig.main().PushButton2.caption(), "Stop Blocking");
    EXPECT_EQ(rig.fs.files[ProgramRig::Hosts], blocked);
    EXPECT_EQ(rig.balloons(), rig.trayArea ? 2u : 0u);

    EXPECT_FALSE(rig.program->SecondStart(false)); // a second start: forward the same way
    rig.enterPassword("s3cret");
    ASSERT_TRUE(rig.inSight());
    rig.main().PushButton2.press(); // stop
    EXPECT_EQ(rig.fs.files[ProgramRig::Hosts], ProgramRig::Original);
    EXPECT_EQ(rig.settings.get("BlockOnStart"), "0");

    rig.main().window.requestClose();
    EXPECT_EQ(rig.quits, 1);
    EXPECT_EQ(rig.settings.get("BlockOnStart"), "0");
    EXPECT_EQ(rig.dialogs.texts(), std::vector<std::string>{"Invalid password entered."});
}

INSTANTIATE_TEST_SUITE_P(Desktops, ProgramDay, ::testing::Values(true, false),
                         [](const auto& info) {
                             return std::string(info.param ? "WithNotificationArea"
                                                           : "WithoutNotificationArea");
                         });

} // namespace
} // namespace palisade::test
