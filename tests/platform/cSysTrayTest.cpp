#include "platform/cSysTray.h"

#include "support/ErrorOf.h"
#include "support/Fakes.h"

#include <gtest/gtest.h>

namespace palisade::test {
namespace {

using namespace std::chrono_literals;

struct TrayRig {
    CallLog log;
    RecordingShell shell;
    FakeClock clock;
    CountingEventPump pump;
    std::optional<cSysTray> tray;
    TrayRig() {
        shell.log = &log;
        pump.clock = &clock;
        tray.emplace(shell, pump, clock);
        for (const char* name : {"move", "down", "up", "dblclick"})
            Watch(name);
    }
    void Watch(std::string name) {
        auto note = [this, name](int button, std::int32_t id) {
            log.add(name + " " + std::to_string(button) + " " + std::to_string(id));
        };
        if (name == "move")
            tray->mouseMove.connect([note](std::int32_t id) { note(0, id); });
        else
            (name == "down" ? tray->mouseDown
             : name == "up" ? tray->mouseUp
                            : tray->mouseDblClick)
                .connect(note);
    }
    const NotifyIconData& last() const { return shell.records.back().data; }
    std::chrono::nanoseconds elapsed() const { return clock.time.time_since_epoch(); }
};

using Calls = std::vector<std::string>;

TEST(cSysTray, StartsOutOfTheTrayWithTheDefaultTipAndTheProgramIcon) {
    TrayRig rig;
    EXPECT_FALSE(rig.tray->inTray());
    EXPECT_EQ(rig.tray->trayTip(), "Telnet Server");
    EXPECT_EQ(rig.tray->trayIcon().handle, rig.shell.icon);
    rig.shell.isAvailable = false;
    EXPECT_FALSE(rig.tray->available());
    EXPECT_TRUE(rig.log.calls.empty());
}

TEST(cSysTray, HookGoesInBeforeTheIconAndOutAfterIt) {
    TrayRig rig;
    for (bool v : {true, true, false, false})
        rig.tray->setInTray(v);
    EXPECT_EQ(rig.log.calls, (Calls{"shell.hook", "shell.add", "shell.delete", "shell.unhook"}));
    EXPECT_FALSE(rig.tray->iconAdded());
}

TEST(cSysTray, RecordsCarryTheFlagsAndCutTextsOfEachOperation) {
    const std::string tip128(128, 't');
    struct Case {
        std::string tip;
        IconHandle icon;
        std::uint32_t addFlags;
    };
    for (const Case& c : {Case{"tip", 7, 7}, Case{"", 7, 3}, Case{tip128, 0, 5}}) {
        TrayRig rig;
        rig.tray->setTrayTip(c.tip); // not added yet: stored only
        rig.tray->setTrayIcon(Picture{PictureType::Icon, c.icon});
        EXPECT_TRUE(rig.shell.records.empty());
        rig.tray->setInTray(true);
        EXPECT_EQ(rig.shell.records[0].message, tray::NimAdd);
        EXPECT_EQ(rig.last().flags, c.addFlags);
        EXPECT_EQ(rig.last().callbackMessage, 1125u);
        EXPECT_EQ(rig.last().icon, c.icon);
        EXPECT_EQ(rig.last().tip, c.tip.substr(0, 127));
    }
    TrayRig rig;
    rig.tray->setInTray(true);
    rig.tray->setTrayTip("");
    EXPECT_EQ(rig.shell.records[1].message, tray::NimModify);
    EXPECT_EQ(rig.last().flags, tray::NifTip);
    rig.tray->setTrayIcon(Picture{PictureType::Icon, 9});
    EXPECT_EQ(rig.last().flags, tray::NifIcon);
    EXPECT_EQ(rig.last().icon, 9u);
    rig.tray->setInTray(false);
    EXPECT_EQ(rig.last().flags, 0u);
}

TEST(cSysTray, IgnoresANullPictureOrOneThatIsNoIcon) {
    TrayRig rig;
    rig.tray->setInTray(true);
    for (auto bad : {std::optional<Picture>(), std::optional(Picture{PictureType::Bitmap, 5}),
                     std::optional(Picture{PictureType::None, 0})})
        rig.tray->setTrayIcon(bad);
    EXPECT_EQ(rig.shell.records.size(), 1u);
    EXPECT_EQ(rig.tray->trayIcon().handle, rig.shell.icon);
}

TEST(cSysTray, MapsCallbackCodesToTheFourEvents) {
    TrayRig rig;
    rig.tray->setInTray(true);
    rig.log.calls.clear();
    for (std::uint32_t code = 0x200; code <= 0x209; ++code)
        rig.shell.deliver(code, 0);
    rig.shell.deliver(tray::BalloonShow);
    EXPECT_EQ(rig.log.calls, (Calls{"move 0 0", "down 1 0", "up 1 0", "dblclick 1 0", "down 2 0",
                                    "up 2 0", "dblclick 2 0"}));
}

TEST(cSysTray, BalloonShowsOnceOnlyWithShowOnceTrueAndNeverWithOtherValues) {
    struct Case {
        std::int16_t showOnce;
        std::size_t shown;
    };
    for (Case c : {Case{0, 3}, Case{-1, 1}, Case{1, 0}, Case{-2, 0}}) {
        TrayRig rig;
        for (int i = 0; i < 3; ++i)
            rig.tray->ShowBalloon("text", "title", 0, c.showOnce);
        EXPECT_EQ(rig.shell.records.size(), c.shown) << c.showOnce;
        EXPECT_EQ(rig.tray->onceBalloonCount(), c.showOnce == -1 ? 1 : 0);
    }
}

TEST(cSysTray, BalloonWaitEndsOnTheShellsNoticeWithoutHiding) {
    for (std::uint32_t code : {tray::BalloonHide, tray::BalloonTimeout, tray::BalloonUserClick}) {
        TrayRig rig;
        rig.tray->setInTray(true);
        rig.pump.pending.push_back([&] { rig.clock.advance(1500ms); });
        rig.pump.pending.push_back([&] { rig.shell.deliver(code); });
        rig.tray->ShowBalloon(std::string(300, 'x'), std::string(70, 'y'), 5, -1);
        ASSERT_EQ(rig.shell.records.size(), 2u) << code; // add, show: no hide
        EXPECT_EQ(rig.last().flags, tray::NifInfo);
        EXPECT_EQ(rig.last().info.size(), 255u);
        EXPECT_EQ(rig.last().infoTitle.size(), 63u);
        EXPECT_EQ(rig.last().timeoutMs, 5000u);
        EXPECT_EQ(rig.elapsed(), 1500ms);
        EXPECT_EQ(rig.pump.waits, 2);
        EXPECT_FALSE(rig.tray->balloonShowing());
    }
}

TEST(cSysTray, BalloonWaitEndsByTimeAndThenHidesTheBalloon) {
    TrayRig rig;
    rig.tray->setInTray(true);
    // Other events during the wait, a click that takes the icon down among them.
    rig.tray->mouseUp.connect([&](int, std::int32_t) { rig.tray->setInTray(false); });
    rig.pump.pending.push_back([&] { rig.shell.deliver(tray::BalloonShow); });
    rig.pump.pending.push_back([&] { rig.clock.advance(2000ms); });
    rig.pump.pending.push_back([&] { rig.shell.deliver(tray::LeftButtonUp); });
    rig.tray->ShowBalloon("text", "title", 5, 0);
    EXPECT_EQ(rig.elapsed(), 5000ms);
    EXPECT_EQ(rig.pump.waits, 4); // one sleep for the 3 s left after the three events
    EXPECT_EQ(rig.log.calls.back(), "shell.modify");
    EXPECT_EQ(rig.shell.records[1].data.info, "text");
    EXPECT_EQ(rig.last().info, "");
    EXPECT_EQ(rig.last().infoTitle, "");
    EXPECT_EQ(rig.last().timeoutMs, 5000u);
    EXPECT_TRUE(rig.tray->balloonShowing());
}

TEST(cSysTray, BalloonOfNoSecondsReturnsAtOnceAndTooManySecondsOverflow) {
    for (std::int32_t seconds : {0, -3}) {
        TrayRig rig;
        rig.tray->ShowBalloon("t", "", seconds, 0);
        EXPECT_EQ(rig.shell.records.size(), 1u);
        EXPECT_EQ(rig.last().timeoutMs, 0u);
        EXPECT_EQ(rig.pump.waits, 0);
    }
    TrayRig rig;
    EXPECT_EQ(ErrorOf([&] { rig.tray->ShowBalloon("t", "", 2147484, -1); }), "Overflow");
    EXPECT_TRUE(rig.shell.records.empty());
    rig.tray->ShowBalloon("t", "", 2147483, 0);
    EXPECT_EQ(rig.shell.records[0].data.timeoutMs, 2147483000u);
}

TEST(cSysTray, ShellRestartReaddsAnIconInTheTrayAndTerminateRemovesIt) {
    TrayRig rig;
    rig.shell.restarted();
    rig.tray->setTrayTip("Palisade Software");
    rig.tray->setInTray(true);
    rig.shell.restarted();
    EXPECT_EQ(rig.log.calls, (Calls{"shell.hook", "shell.add", "shell.add"}));
    EXPECT_EQ(rig.last().tip, "Palisade Software");
    rig.tray.reset();
    rig.shell.restarted(); // the control is gone: nothing
    EXPECT_EQ(rig.log.calls,
              (Calls{"shell.hook", "shell.add", "shell.add", "shell.delete", "shell.unhook"}));
}

} // namespace
} // namespace palisade::test
