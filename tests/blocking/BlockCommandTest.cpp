#include "blocking/BlockingRig.h"

#include <gtest/gtest.h>

namespace palisade::test {
namespace {

const std::string EmptyList = "Please add site to block.";
const std::string StartRefused =
    "You must be logged in as Administrator in Windows in order to block sites.";
const std::string Help = "You must be logged in as Administrator in Windows in order to block "
                         "sites. You need to lower your User Account Control settings to have "
                         "this software work.";

// The command over a recording blocker, to see what it asks for and when.
struct CommandRig : BlockingRig {
    CommandRig() {
        recording.log = &log;
        dialogs.log = &log;
        recording.onStart = [this] { captionDuringStart = controls.PushButton2.caption(); };
    }
    struct Recorder : RecordingBlocking {
        std::function<void()> onStart;
        void StartBlocking(bool reapply) override {
            if (onStart)
                onStart();
            RecordingBlocking::StartBlocking(reapply);
        }
    } recording;
    std::string captionDuringStart;
    BlockCommand command{ports, controls, state, recording};
};

TEST(BlockCommand, OffWithAnEmptyListOnlyAsksForASite) {
    for (bool admin : {true, false}) {
        CommandRig rig;
        rig.state.UserIsAdmin = admin;
        rig.state.SavedBlockCaption = "before";
        rig.controls.PushButton2.press();
        EXPECT_EQ(rig.dialogs.texts(), std::vector<std::string>{EmptyList});
        EXPECT_EQ(rig.dialogs.messages[0].title, "Palisade");
        EXPECT_EQ(rig.dialogs.messages[0].icon, MessageIcon::None);
        EXPECT_EQ(rig.controls.PushButton2.caption(), "Start Blocking");
        EXPECT_EQ(rig.state.SavedBlockCaption, "before");
        EXPECT_TRUE(rig.recording.starts.empty());
        EXPECT_FALSE(rig.anyFileWritten());
    }
}

TEST(BlockCommand, OffNonAdministratorIsRefusedAndStaysOff) {
    CommandRig rig;
    rig.state.UserIsAdmin = false;
    rig.add("a.example");
    rig.controls.PushButton2.press();
    EXPECT_EQ(rig.dialogs.texts(), std::vector<std::string>{StartRefused});
    EXPECT_EQ(rig.controls.PushButton2.caption(), "Start Blocking");
    EXPECT_TRUE(rig.recording.starts.empty());
}

TEST(BlockCommand, OffAdministratorSwitchesTheCaptionBeforeStarting) {
    CommandRig rig;
    rig.add("a.example");
    rig.controls.PushButton2.press();
    EXPECT_EQ(rig.recording.starts, std::vector<bool>{false});
    EXPECT_EQ(rig.captionDuringStart, "Stop Blocking");
    EXPECT_EQ(rig.state.SavedBlockCaption, "Start Blocking");
    EXPECT_TRUE(rig.dialogs.messages.empty());
}

TEST(BlockCommand, OnlyTheExactCaptionStopBlockingMeansOn) {
    for (const char* caption : {"stop blocking", "Stop Blocking ", ""}) {
        CommandRig rig;
        rig.add("a.example");
        rig.controls.PushButton2.setCaption(caption);
        rig.controls.PushButton2.press();
        EXPECT_EQ(rig.recording.starts, std::vector<bool>{false}) << caption;
        EXPECT_EQ(rig.state.SavedBlockCaption, caption);
        EXPECT_TRUE(rig.recording.stops.empty());
    }
}

TEST(BlockCommand, OnStopsWithoutLookingAtTheList) {
    for (bool admin : {true, false}) {
        CommandRig rig;
        rig.state.UserIsAdmin = admin;
        rig.controls.PushButton2.setCaption("Stop Blocking");
        rig.controls.PushButton2.press();
        EXPECT_EQ(rig.recording.stops, std::vector<bool>{false});
        EXPECT_TRUE(rig.recording.starts.empty());
        EXPECT_TRUE(rig.dialogs.messages.empty());
    }
}

TEST(BlockCommand, HelpShowsItsMessageWhateverTheState) {
    for (const char* caption : {"Start Blocking", "Stop Blocking"}) {
        CommandRig rig;
        rig.controls.PushButton2.setCaption(caption);
        rig.controls.PushButton1.press();
        EXPECT_EQ(rig.dialogs.texts(), std::vector<std::string>{Help});
        EXPECT_EQ(rig.dialogs.messages[0].title, "Palisade");
        EXPECT_EQ(rig.dialogs.messages[0].icon, MessageIcon::None);
        EXPECT_EQ(rig.controls.PushButton2.caption(), caption);
    }
}

// The command over the real blocker.
struct BlockButtonRig : BlockingRig {
    BlockCommand command{ports, controls, state, blocker};
};

TEST(BlockButton, StartThenStopRoundTripsTheHostsFile) {
    BlockButtonRig rig;
    rig.add("a.example");
    rig.controls.PushButton2.press();
    EXPECT_EQ(rig.controls.PushButton2.caption(), "Stop Blocking");
    EXPECT_EQ(rig.controls.window.state(), WindowState::Minimized);
    EXPECT_EQ(rig.hosts(), std::string(BlockingRig::Original) + BlockLine("a.example"));

    rig.controls.PushButton2.press();
    EXPECT_EQ(rig.controls.PushButton2.caption(), "Start Blocking");
    EXPECT_EQ(rig.hosts(), BlockingRig::Original);
    EXPECT_FALSE(rig.hasSnapshot());
    EXPECT_TRUE(rig.dialogs.messages.empty());
}

// "BlockOnStart" says what the user asked for before the hosts file changes, so that a kill at
// any moment leaves a state the next start or close completes; a failure puts it back.
TEST(BlockButton, RecordsTheIntentBeforeTheHostsFileChangesAndPutsItBackOnFailure) {
    BlockButtonRig rig;
    rig.add("a.example");
    rig.settings.set("BlockOnStart", "0");
    bool failing = true;
    std::vector<std::string> atWrite; // the stored intent as the hosts file is written
    rig.fs.beforeOp = [&](FsOp op, const std::string& path) {
        if ((op == FsOp::Append || op == FsOp::Replace) && path == BlockingRig::Hosts) {
            atWrite.push_back(rig.settings.get("BlockOnStart"));
            if (failing)
                throw RuntimeError("Disk full");
        }
    };
    const auto press = [&](bool fails) {
        failing = fails;
        rig.controls.PushButton2.press();
        return rig.settings.get("BlockOnStart");
    };
    EXPECT_EQ(press(true), "0");  // a failed start
    EXPECT_EQ(press(false), "1"); // a start
    rig.controls.PushButton2.setCaption("Stop Blocking");
    EXPECT_EQ(press(true), "1"); // a failed stop
    rig.controls.PushButton2.setCaption("Stop Blocking");
    EXPECT_EQ(press(false), "0"); // a stop
    EXPECT_EQ(atWrite, (std::vector<std::string>{"1", "1", "0", "0"}));
    EXPECT_EQ(rig.hosts(), BlockingRig::Original);
}

TEST(BlockButton, FailedStartLeavesTheButtonOffAndTheWindowAsItWas) {
    BlockButtonRig rig;
    rig.add("a.example");
    rig.fs.fail(FsOp::Append, BlockingRig::Hosts);
    rig.controls.PushButton2.press();
    EXPECT_EQ(rig.controls.PushButton2.caption(), "Start Blocking");
    EXPECT_EQ(rig.controls.window.state(), WindowState::Normal);
    ASSERT_EQ(rig.dialogs.messages.size(), 1u);
    EXPECT_EQ(rig.dialogs.messages[0].text.rfind("Could not start blocking.\r\n", 0), 0u);
}

TEST(BlockButton, NonAdministratorStopIsRefusedAndStaysOn) {
    BlockButtonRig rig;
    rig.add("a.example");
    rig.controls.PushButton2.press();
    rig.state.UserIsAdmin = false;
    rig.controls.PushButton2.press();
    EXPECT_EQ(
        rig.dialogs.texts(),
        std::vector<std::string>{
            "You must be logged in as Administrator in Windows in order to stop block sites."});
    EXPECT_EQ(rig.controls.PushButton2.caption(), "Stop Blocking");
    EXPECT_TRUE(rig.hasSnapshot());
}

TEST(BlockCommand, AClickWhileAButtonHandlerRunsWaitsAndRunsOnceItHasReturned) {
    // The start yields to pending events; a click on "Help" and one on the block button arrive
    // then. Once the window is closing, a waiting click runs no more.
    for (bool closing : {false, true}) {
        BlockingRig rig;
        BlockCommand command(rig.ports, rig.controls, rig.state, rig.blocker);
        rig.add("a.example");
        rig.pump.pending.push_back([&] { rig.controls.PushButton1.press(); });
        rig.pump.pending.push_back([&] {
            rig.controls.PushButton2.press();
            rig.state.Closing = closing;
        });
        rig.controls.PushButton2.press();

        std::vector<std::string> seen; // the start ran to its end before "Help"
        for (const auto& call : rig.log.calls)
            if (call.starts_with("fs.append") || call.starts_with("message"))
                seen.push_back(call.substr(0, call.find(' ')));
        const std::vector<std::string> ran{"fs.append", "message"};
        EXPECT_EQ(seen, std::vector<std::string>(ran.begin(), ran.end() - (closing ? 1 : 0)));
        EXPECT_EQ(rig.controls.PushButton2.caption(), closing ? "Stop Blocking" : "Start Blocking");
        EXPECT_EQ(rig.hosts(), closing ? BlockingRig::Original + BlockLine("a.example")
                                       : std::string(BlockingRig::Original));
        EXPECT_FALSE(rig.state.Form1Buttons.busy());
    }
}

} // namespace
} // namespace palisade::test