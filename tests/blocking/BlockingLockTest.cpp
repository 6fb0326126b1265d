#include "blocking/BlockingRig.h"
#include "blocking/HostsCleanup.h"

#include <algorithm>
#include <chrono>
#include <gtest/gtest.h>

namespace palisade::test {
namespace {

using Rig = BlockingRig;
using namespace std::chrono_literals;

// A start and a stop that each fail once, each followed by one that works: files change only
// while the lock on the data folder is held, and messages come only after it is given back.
TEST(BlockingLock, FilesChangeOnlyUnderTheLockAndMessagesComeAfterIt) {
    Rig rig;
    rig.add("a.example");
    rig.add("b.example");
    rig.switchCaptionOn();
    rig.fs.fail(FsOp::Append, Rig::Hosts, 1);
    rig.blocker.StartBlocking(false);
    rig.switchCaptionOn();
    rig.blocker.StartBlocking(false);
    rig.fs.fail(FsOp::Replace, Rig::Hosts, 1);
    rig.blocker.StopBlocking(false, StopRequest::BlockButton);
    rig.blocker.StopBlocking(false, StopRequest::BlockButton);

    EXPECT_EQ(rig.hosts(), Rig::Original);
    EXPECT_EQ(rig.dialogs.messages.size(), 2u);
    EXPECT_EQ(rig.hostsLock.folders.front(), rig.state.DataFolder);
    bool held = false;
    for (const auto& call : rig.log.calls) {
        const bool write =
            call.starts_with("fs.") && !call.starts_with("fs.read") && !call.starts_with("fs.find");
        if (call.starts_with("hostsLock.")) {
            held = call == "hostsLock.lock";
        } else if (write || call.starts_with("message")) {
            EXPECT_EQ(held, write) << call;
        }
    }
}

// Another copy holds the lock for a while, past the patience, or it cannot be had at all. The
// wait lets events run (through the pump) in short steps; without the lock nothing changes, and the
// operation fails as when it cannot write.
TEST(BlockingLock, WaitsInShortStepsThenGivesUpChangingNothing) {
    const char* const failure[] = {"Could not start blocking.", nullptr,
                                   "Could not restore settings."};
    for (int busy : {5, -1, 0}) {
        for (int run : {0, 1, 2}) { // a start, a re-apply, a stop
            SCOPED_TRACE(std::to_string(run) + " busy " + std::to_string(busy));
            Rig rig;
            rig.add("a.example");
            rig.switchCaptionOn();
            if (run == 2)
                rig.blocker.StartBlocking(false);
            rig.log.calls.clear();
            const std::string before = rig.hosts();
            rig.hostsLock.busyAttempts = busy;
            rig.hostsLock.unavailable = busy == 0;

            run == 2 ? rig.blocker.StopBlocking(false, StopRequest::BlockButton)
                     : rig.blocker.StartBlocking(run == 1);

            const auto waited = rig.clock.time.time_since_epoch();
            if (busy > 0) {
                EXPECT_EQ(rig.pump.waits, busy);
                EXPECT_LE(waited, 1s);
                EXPECT_NE(rig.hosts(), before);
                continue;
            }
            EXPECT_EQ(waited >= 10s && waited < 10100ms, busy < 0);
            EXPECT_FALSE(rig.anyFileWritten());
            EXPECT_EQ(rig.hasSnapshot(), run == 2);
            EXPECT_EQ(rig.dialogs.messages.size(), failure[run] ? 1u : 0u);
            if (failure[run]) {
                EXPECT_TRUE(rig.dialogs.messages[0].text.starts_with(failure[run]));
            }
            EXPECT_EQ(rig.controls.PushButton2.caption(),
                      run == 1 ? "Stop Blocking" : "Start Blocking");
        }
    }
}

// Neither a non-administrator's re-apply nor a stop with nothing to undo (as at every close while
// blocking is off) waits for the lock or fails for the want of it.
TEST(BlockingLock, WorkThatWritesNothingLeavesTheLockAlone) {
    for (int run : {0, 1, 2}) { // a re-apply, a stop, a stop without hosts file
        Rig rig;
        rig.add("a.example");
        rig.hostsLock.unavailable = true;
        rig.state.UserIsAdmin = run != 0;
        if (run == 2)
            rig.fs.files.erase(Rig::Hosts);
        run == 0 ? rig.blocker.StartBlocking(true)
                 : rig.blocker.StopBlocking(false, StopRequest::BlockButton);
        EXPECT_EQ(rig.hostsLock.attempts, 0) << run;
        EXPECT_TRUE(rig.dialogs.messages.empty()) << run;
    }
}

// A start, a stop by the button, a close's stop that finds only a journal, the clean-up of the
// package and the start of a run: under the lock each first settles a change that a kill cut
// short, and changes nothing when that cannot be done.
TEST(BlockingJournal, EveryStartStopAndCleanUpSettlesItFirst) {
    const std::string journal = std::string(Rig::Snapshot) + "-journal";
    for (bool fails : {false, true}) {
        for (int run : {0, 1, 2, 3, 4}) {
            SCOPED_TRACE(std::to_string(run) + (fails ? " failing" : ""));
            Rig rig;
            rig.add("a.example");
            rig.switchCaptionOn();
            if (run == 1 || run == 3 || run == 4)
                rig.blocker.StartBlocking(false);
            rig.log.calls.clear();
            rig.fs.files[journal] = "a change cut short";
            rig.fs.folders.insert(rig.state.DataFolder);
            if (fails)
                rig.fs.fail(FsOp::FinishJournal, journal);
            const std::string before = rig.hosts();

            CleanupResult cleanup;
            if (run == 0)
                rig.blocker.StartBlocking(false);
            else if (run == 4)
                rig.blocker.SettleInterruptedChange();
            else if (run == 3)
                cleanup = TakeOutBlockLines(rig.fs, rig.hostsLock, rig.pump, rig.clock, Rig::Hosts,
                                            rig.state.DataFolder, Rig::Snapshot);
            else
                rig.blocker.StopBlocking(false,
                                         run == 1 ? StopRequest::BlockButton : StopRequest::Close);

            const auto& calls = rig.log.calls;
            const auto locked = std::find(calls.begin(), calls.end(), "hostsLock.lock");
            ASSERT_NE(locked, calls.end());
            const auto firstChange = std::find_if(locked, calls.end(), [](const std::string& c) {
                return c.starts_with("fs.") && !c.starts_with("fs.find") &&
                       !c.starts_with("fs.read");
            });
            ASSERT_NE(firstChange, calls.end());
            EXPECT_EQ(*firstChange, "fs.finish-journal " + journal);
            if (run == 4) {
                EXPECT_TRUE(rig.dialogs.messages.empty());
                EXPECT_EQ(rig.countOps("fs.finish-journal"), 1);
            } else if (fails) {
                EXPECT_EQ(rig.hosts(), before);
                EXPECT_EQ(rig.countOps("fs.replace") + rig.countOps("fs.append"), 0);
                EXPECT_EQ(run == 3 ? cleanup.outcome == CleanupResult::Failed
                                   : rig.dialogs.messages.size() == 1,
                          true);
            } else {
                EXPECT_EQ(rig.hosts(), run == 0   ? before + BlockLine("a.example")
                                       : run == 4 ? before
                                                  : std::string(Rig::Original));
            }
        }
    }
}

} // namespace
} // namespace palisade::test
