#include "platform/cSysTray.h"

#include "support/ErrorOf.h"
#include "support/Fakes.h"

#include <gtest/gtest.h>

namespace palisade::test {
namespace {

using namespace std::chrono_literals;
using Calls = std::vector<std::string>;

struct TrayRig {
    CallLog log;
    RecordingShell shell;
    FakeTimer timer;
    std::optional<cSysTray> tray;
    TrayRig() {
        shell.log = &log;
        tray.emplace(shell, timer);
    }
    const NotifyIconData& last() const { return shell.records.back().data; }
};

TEST(cSysTray, HookGoesInBeforeTheIconAndOutAfterItAndARestartReaddsTheIcon) {
    TrayRig rig;
    EXPECT_EQ(rig.tray->trayTip(), "Telnet Server");
    EXPECT_EQ(rig.tray->trayIcon().handle, rig.shell.icon);
    rig.shell.restarted(); // not in the tray: nothing
    for (bool v : {true, true, false, false, true})
        rig.tray->setInTray(v);
    rig.shell.restarted();
    rig.tray.reset();      // terminate takes the icon down
    rig.shell.restarted(); // the control is gone: nothing
    EXPECT_EQ(rig.log.calls,
              (Calls{"shell.hook", "shell.add", "shell.delete", "shell.unhook", "shell.hook",
                     "shell.add", "shell.add", "shell.delete", "shell.unhook"}));
}

TEST(cSysTray, RecordsCarryTheFlagsAndCutTextsOfEachOperation) {
    for (auto [tip, icon, flags] : {std::tuple<std::string, IconHandle, std::uint32_t>{"t", 7, 7},
                                    {"", 7, 3},
                                    {std::string(128, 't'), 0, 5}}) {
        TrayRig rig;
        rig.tray->setTrayTip(tip); // not added yet: stored for the add
        rig.tray->setTrayIcon(Picture{PictureType::Icon, icon});
        rig.tray->setInTray(true);
        EXPECT_EQ(rig.shell.records.size(), 1u);
        EXPECT_EQ(std::tuple(rig.last().flags, rig.last().icon, rig.last().callbackMessage),
                  std::tuple(flags, icon, 1125u));
        EXPECT_EQ(rig.last().tip, tip.substr(0, 127));
    }
    TrayRig rig;
    rig.tray->setInTray(true);
    rig.tray->setTrayTip("");
    EXPECT_EQ(rig.last().flags, tray::NifTip);
    for (auto bad : {std::optional<Picture>(), std::optional(Picture{PictureType::Bitmap, 5})})
        rig.tray->setTrayIcon(bad); // ignored
    rig.tray->setTrayIcon(Picture{PictureType::Icon, 9});
    EXPECT_EQ(std::tuple(rig.last().flags, rig.last().icon), std::tuple(tray::NifIcon, 9u));
    rig.tray->setInTray(false);
    EXPECT_EQ(rig.last().flags, 0u);
    EXPECT_EQ(rig.log.calls, (Calls{"shell.hook", "shell.add", "shell.modify", "shell.modify",
                                    "shell.delete", "shell.unhook"}));
}

TEST(cSysTray, MapsCallbackCodesToTheFourEvents) {
    TrayRig rig;
    auto note = [&](std::string name) {
        return [&, name](int b, std::int32_t id) { rig.log.add(name + std::to_string(b + id)); };
    };
    rig.tray->mouseMove.connect([&](std::int32_t id) { note("move")(0, id); });
    rig.tray->mouseDown.connect(note("down"));
    rig.tray->mouseUp.connect(note("up"));
    rig.tray->mouseDblClick.connect(note("dbl"));
    rig.tray->setInTray(true);
    for (std::uint32_t code : {0x200u, 0x201u, 0x202u, 0x203u, 0x204u, 0x205u, 0x206u, 0x207u,
                               0x208u, 0x209u, tray::BalloonShow})
        rig.shell.deliver(code, 10); // the id, added to the button in the log
    EXPECT_EQ(rig.log.calls, (Calls{"shell.hook", "shell.add", "move10", "down11", "up11", "dbl11",
                                    "down12", "up12", "dbl12"}));
}

TEST(cSysTray, BalloonShowsOnceOnlyWithShowOnceTrueAndIsLeftUpForNoSeconds) {
    for (auto [showOnce, shown] : {std::pair<std::int16_t, std::size_t>{0, 3}, {-1, 1}, {1, 0}}) {
        TrayRig rig;
        for (std::int32_t seconds : {0, -3, 0})
            rig.tray->ShowBalloon("text", "title", seconds, showOnce);
        EXPECT_EQ(rig.shell.records.size(), shown) << showOnce;
        EXPECT_TRUE(rig.timer.waiting.empty()); // nothing takes it down
    }
    TrayRig rig;
    EXPECT_EQ(ErrorOf([&] { rig.tray->ShowBalloon("t", "", 2147484, -1); }), "Overflow");
    EXPECT_TRUE(rig.shell.records.empty());
}

TEST(cSysTray, BalloonReturnsAtOnceAndItsTimeTakesItDownUnlessTheShellReportedItGone) {
    for (std::uint32_t code :
         {tray::BalloonHide, tray::BalloonTimeout, tray::BalloonUserClick, tray::BalloonShow}) {
        const bool byTime = code == tray::BalloonShow; // not an end of the balloon
        TrayRig rig;
        rig.tray->setInTray(true);
        rig.tray->ShowBalloon(std::string(300, 'x'), std::string(70, 'y'), 5, -1);
        const auto& show = rig.shell.records.at(1).data;
        EXPECT_EQ(std::tuple(show.flags, show.info.size(), show.infoTitle.size(), show.timeoutMs),
                  std::tuple(tray::NifInfo, 255u, 63u, 5000u));
        ASSERT_EQ(rig.timer.waiting.size(), 1u);
        EXPECT_EQ(rig.timer.waiting[0].delay, 5000ms);

        rig.shell.deliver(code); // from the event loop, after ShowBalloon has returned
        rig.timer.fire();
        EXPECT_EQ(rig.tray->balloonShowing(), byTime) << code;
        ASSERT_EQ(rig.shell.records.size(), byTime ? 3u : 2u); // add, show, [hide]
        EXPECT_EQ(rig.last().info.size() + rig.last().infoTitle.size(), byTime ? 0u : 318u);
    }
    // A time takes down only its own balloon, and nothing once the control is gone.
    TrayRig rig;
    rig.tray->setInTray(true);
    rig.tray->ShowBalloon("first", "", 5, 0);
    rig.tray->ShowBalloon("second", "", 0, 0);
    rig.timer.fire();
    rig.tray->ShowBalloon("third", "", 5, 0);
    rig.tray.reset();
    rig.timer.fire();
    EXPECT_EQ(rig.log.calls, (Calls{"shell.hook", "shell.add", "shell.modify", "shell.modify",
                                    "shell.modify", "shell.delete", "shell.unhook"}));
}

} // namespace
} // namespace palisade::test
