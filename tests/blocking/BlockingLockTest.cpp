#include "blocking/BlockingRig.h"

#include <algorithm>
#include <chrono>
#include <gtest/gtest.h>

namespace palisade::test {
namespace {

using Rig = BlockingRig;
using namespace std::chrono_literals;

const char* const StartFailed = "Could not start blocking.\r\n";
const char* const RestoreFailed = "Could not restore settings.\r\n";

bool IsWrite(const std::string& call) {
    for (const char* op : {"fs.write", "fs.append", "fs.sync", "fs.replace", "fs.remove"})
        if (call.starts_with(op))
            return true;
    return false;
}

// Every change to a file comes between taking the lock and giving it back, and no message box is
// shown while it is held.
void ExpectWritesOnlyUnderTheLock(const std::vector<std::string>& calls) {
    bool held = false;
    int writes = 0;
    for (const auto& call : calls) {
        if (call == "hostsLock.lock") {
            held = true;
        } else if (call == "hostsLock.unlock") {
            held = false;
        } else if (IsWrite(call)) {
            ++writes;
            EXPECT_TRUE(held) << call;
        } else if (call.starts_with("message")) {
            EXPECT_FALSE(held) << call;
        }
    }
    EXPECT_GT(writes, 0);
    EXPECT_FALSE(held);
}

TEST(BlockingLock, StartAndStopWriteOnlyWhileHoldingTheLockOnTheDataFolder) {
    Rig rig;
    rig.add("a.example");
    rig.add("b.example");
    rig.switchCaptionOn();
    // A start and a stop that fail show their messages; they come after the lock is given back.
    rig.fs.fail(FsOp::Append, Rig::Hosts, 1);
    rig.blocker.StartBlocking(false);
    rig.fs.fail(FsOp::Replace, Rig::Hosts, 1);
    rig.blocker.StopBlocking(false);
    rig.blocker.StopBlocking(false);

    EXPECT_EQ(rig.hosts(), Rig::Original);
    EXPECT_EQ(rig.dialogs.messages.size(), 2u);
    ExpectWritesOnlyUnderTheLock(rig.log.calls);
    EXPECT_EQ(std::count(rig.log.calls.begin(), rig.log.calls.end(), "hostsLock.lock"), 3);
    EXPECT_EQ(rig.hostsLock.folders.front(), rig.state.DataFolder);
}

TEST(BlockingLock, WaitsWhileAnotherCopyHoldsItAndLetsEventsRun) {
    Rig rig;
    rig.add("a.example");
    rig.switchCaptionOn();
    rig.hostsLock.busyAttempts = 5;
    bool eventRan = false;
    rig.pump.pending.push_back([&] { eventRan = true; });

    rig.blocker.StartBlocking(false);

    EXPECT_TRUE(eventRan);
    EXPECT_EQ(rig.hosts(), std::string(Rig::Original) + BlockLine("a.example"));
    EXPECT_TRUE(rig.dialogs.messages.empty());
    EXPECT_EQ(rig.hostsLock.attempts, 6);
    EXPECT_EQ(rig.pump.waits, 5);
    EXPECT_LE(rig.clock.time.time_since_epoch(), 1s); // short waits, not one long sleep
}

// The lock never comes: busy past the patience, or not to be had at all.
TEST(BlockingLock, GivesUpWithTheOperationsOwnFailureAndChangesNothing) {
    enum class Run { Start, Reapply, Stop };
    for (bool unavailable : {false, true}) {
        for (Run run : {Run::Start, Run::Reapply, Run::Stop}) {
            SCOPED_TRACE(std::to_string(static_cast<int>(run)) +
                         (unavailable ? " unavailable" : " busy"));
            Rig rig;
            rig.add("a.example");
            rig.switchCaptionOn();
            if (run == Run::Stop) {
                rig.blocker.StartBlocking(false);
                rig.log.calls.clear();
            }
            const std::string hostsBefore = rig.hosts();
            const bool snapshotBefore = rig.hasSnapshot();
            rig.hostsLock.unavailable = unavailable;
            rig.hostsLock.busyAttempts = -1;
            const auto start = rig.clock.now();

            if (run == Run::Stop)
                rig.blocker.StopBlocking(false);
            else
                rig.blocker.StartBlocking(run == Run::Reapply);

            const auto waited = rig.clock.now() - start;
            EXPECT_EQ(waited >= 10s && waited < 10100ms, !unavailable) << waited.count();
            EXPECT_FALSE(rig.anyFileWritten());
            EXPECT_EQ(rig.hosts(), hostsBefore);
            EXPECT_EQ(rig.hasSnapshot(), snapshotBefore);
            std::vector<std::string> expected;
            if (run != Run::Reapply)
                expected.push_back(run == Run::Start ? StartFailed : RestoreFailed);
            ASSERT_EQ(rig.dialogs.messages.size(), expected.size());
            if (!expected.empty()) {
                EXPECT_TRUE(rig.dialogs.messages[0].text.starts_with(expected[0]));
            }
            EXPECT_EQ(rig.controls.PushButton2.caption(),
                      run == Run::Reapply ? "Stop Blocking" : "Start Blocking");
            EXPECT_EQ(rig.hostsLock.depth, 0);
        }
    }
}

// Neither a non-administrator's re-apply nor a stop with nothing to undo (at every close while
// blocking is off) waits for the lock or fails for the want of it.
TEST(BlockingLock, WorkWithNothingToWriteLeavesTheLockAlone) {
    Rig reapply;
    reapply.state.UserIsAdmin = false;
    reapply.add("a.example");
    reapply.hostsLock.busyAttempts = -1;
    reapply.blocker.StartBlocking(true);
    EXPECT_EQ(reapply.hostsLock.attempts, 0);
    EXPECT_EQ(reapply.controls.window.state(), WindowState::Minimized);

    for (bool hostsMissing : {false, true}) {
        Rig stop;
        if (hostsMissing)
            stop.fs.files.erase(Rig::Hosts);
        stop.hostsLock.unavailable = true;
        stop.switchCaptionOn();
        stop.blocker.StopBlocking(false);
        EXPECT_EQ(stop.hostsLock.attempts, 0);
        EXPECT_TRUE(stop.dialogs.messages.empty());
        EXPECT_EQ(stop.controls.PushButton2.caption(), "Start Blocking");
    }
}

} // namespace
} // namespace palisade::test
