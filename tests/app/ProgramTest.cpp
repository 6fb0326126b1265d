#include "ProgramRig.h"

#include <gtest/gtest.h>

namespace palisade::test {
namespace {

TEST(ProgramSessionEnd, ClosesAtOnceWithoutABoxCancelsTheOpenOnesAndTheDialogAndQuitsOnce) {
    ProgramRig rig; // not an administrator: the close would refuse to unblock with a message
    rig.settings.set("Password", "pw");
    rig.program->Start();
    rig.program->SecondStart(false); // brought forward: the password window opens
    ASSERT_TRUE(rig.password().window.visible());

    rig.program->SessionEnd();
    rig.program->SessionEnd();
    rig.main().window.requestClose();

    EXPECT_TRUE(rig.dialogs.messages.empty());
    EXPECT_EQ(rig.dialogs.cancelled, 1);
    EXPECT_FALSE(rig.password().window.loaded() || rig.main().window.visible());
    EXPECT_EQ(rig.settings.get("BlockOnStart"), "0");
    EXPECT_TRUE(rig.settings.has("Blocked Websites"));
    EXPECT_EQ(rig.quits, 1);
}

TEST(ProgramQuit, AnEndDuringANestedWaitQuitsWhenTheOuterHandlerHasReturned) {
    // A close in the start; a close or the session's end in a click.
    for (int arrival : {0, 1, 2}) {
        ProgramRig rig;
        rig.admin.result = -1;
        rig.settings.set("BlockOnStart", arrival == 0 ? "1" : "0");
        rig.settings.set("Blocked Websites", "a.example||My_Separator||");
        int quitsInside = -1;
        rig.pump.pending.push_back([&] { // while the start of blocking lets events run
            if (arrival == 2)
                rig.program->SessionEnd();
            else
                rig.main().window.requestClose();
            quitsInside = rig.quits;
        });
        rig.program->Start();
        if (arrival != 0)
            rig.main().PushButton2.press();

        EXPECT_EQ(quitsInside, 0);
        EXPECT_EQ(rig.quits, 1);
        EXPECT_FALSE(rig.main().window.visible());
        EXPECT_EQ(rig.settings.get("BlockOnStart"), "1"); // closed while blocking was on
    }
}

TEST(ProgramQuit, ACloseDuringAStopWaitsForItAndStoresBlockingOff) {
    // The stop lets events run before its caption goes back; a close then must not read the
    // caption it is about to leave and store blocking on for the next start.
    ProgramRig rig(true);
    rig.admin.result = -1;
    rig.settings.set("Blocked Websites", "a.example||My_Separator||");
    rig.program->Start();
    rig.main().PushButton2.press();
    rig.pump.doEvents();
    ASSERT_EQ(rig.main().PushButton2.caption(), "Stop Blocking");
    rig.pump.pending.push_back([&] { rig.main().window.requestClose(); });
    rig.main().PushButton2.press();

    EXPECT_EQ(rig.quits, 1);
    EXPECT_EQ(rig.settings.get("BlockOnStart"), "0");
    EXPECT_EQ(rig.fs.files[ProgramRig::Hosts], ProgramRig::Original);
}

TEST(ProgramClicks, AStopClickedAtOnceWhenTheWindowIsBackFromBlockingsHideIsNotLost) {
    // As the start hides the window (the run's first balloon goes up), the user brings it back
    // from the icon or by a second start, and clicks "Stop Blocking".
    for (bool fromIcon : {true, false}) {
        ProgramRig rig(true);
        rig.admin.result = -1;
        rig.settings.set("Blocked Websites", "a.example||My_Separator||");
        rig.program->Start();
        rig.main().window.changed.connect([&] {
            if (rig.main().window.visible() || !rig.pump.pending.empty())
                return;
            rig.pump.pending.push_back([&] {
                fromIcon ? rig.shell.deliver(tray::LeftButtonUp)
                         : void(rig.program->SecondStart(false));
            });
            rig.pump.pending.push_back([&] { rig.main().PushButton2.press(); });
        });
        rig.main().PushButton2.press();
        rig.pump.doEvents(); // the event loop, once the start's click has returned
        EXPECT_EQ(rig.fs.files[ProgramRig::Hosts], ProgramRig::Original) << fromIcon;
        EXPECT_TRUE(rig.main().window.visible());
    }
}

TEST(ProgramHandOver, OnlyARunningCopyThatCannotWriteTheHostsFileStepsAside) {
    EXPECT_TRUE(TakesOver(true, false));
    EXPECT_FALSE(TakesOver(true, true) || TakesOver(false, false) || TakesOver(false, true));
    for (bool running : {false, true}) {
        ProgramRig rig(running);
        rig.program->Start();
        int forward = 0;
        rig.main().window.activateRequested.connect([&] { ++forward; });
        EXPECT_EQ(rig.program->SecondStart(true), !running);
        EXPECT_EQ(rig.quits, running ? 0 : 1); // steps aside as at the session's end
        EXPECT_EQ(forward, running ? 1 : 0);   // or comes forward (the day's test: through
                                               // the password when there is one)
    }
}

} // namespace
} // namespace palisade::test
