#include "blocking/HostsCleanup.h"

#include "support/FakeFileSystem.h"
#include "support/Fakes.h"

#include <gtest/gtest.h>
#include <optional>

namespace palisade::test {
namespace {

using namespace std::chrono_literals;

constexpr const char* Hosts = "/etc/hosts";
constexpr const char* Folder = "/data";
constexpr const char* Snapshot = "/data/hosts";
const std::string Ours = "127.0.0.1          ";

struct Rig {
    CallLog log;
    FakeFileSystem fs;
    FakeHostsLock lock;
    FakeClock clock;
    CountingEventPump pump;

    Rig() {
        pump.clock = &clock;
        fs.folders.insert(Folder);
        fs.log = &log;
        lock.log = &log;
    }
    CleanupResult run() {
        return TakeOutBlockLines(fs, lock, pump, clock, Hosts, Folder, Snapshot, 1000ms);
    }
    bool replaced() const {
        for (const auto& call : log.calls)
            if (call.starts_with("fs.replace"))
                return true;
        return false;
    }
};

struct Case {
    const char* name;
    std::optional<std::string> hosts, snapshot;
    std::optional<std::string> after; // nothing: the hosts file is not there
    CleanupResult::Outcome outcome;
};

// Only our lines go; every other byte stays, line ends, look-alikes and the lines the snapshot
// holds included. A line end that a start put before its first line goes too, when the snapshot
// shows the file had none. Without a snapshot nothing is taken out.
TEST(TakeOutBlockLines, TakesOutOurLinesAndNothingElse) {
    const std::string theirs =
        "127.0.0.1           aligned\n" + Ours + "\tx\n# " + Ours + "y\n" + Ours + "mydev.local\n";
    const Case cases[] = {
        {"ours among others", "a\r\n" + Ours + "x.example\r\n# c\n" + Ours + "y.example\n\tb",
         "a\r\n# c\n\tb", "a\r\n# c\n\tb", CleanupResult::TakenOut},
        {"look-alikes and the snapshot's own stay", theirs, theirs, theirs,
         CleanupResult::NothingToTakeOut},
        {"no line end at the end before", "a\nb\n" + Ours + "x.example\n", "a\nb", "a\nb",
         CleanupResult::TakenOut},
        {"... with no snapshot to tell", "a\nb\n" + Ours + "x.example\n", std::nullopt,
         "a\nb\n" + Ours + "x.example\n", CleanupResult::NoSnapshot},
        {"... and a line added after ours", "a\n" + Ours + "x.example\nz\n", "a", "a\nz\n",
         CleanupResult::TakenOut},
        {"no hosts file", std::nullopt, "a\n", std::nullopt, CleanupResult::NothingToTakeOut},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        Rig rig;
        if (c.hosts)
            rig.fs.files[Hosts] = *c.hosts;
        if (c.snapshot)
            rig.fs.files[Snapshot] = *c.snapshot;

        const CleanupResult result = rig.run();

        EXPECT_EQ(result.outcome, c.outcome);
        EXPECT_EQ(rig.replaced(), c.outcome == CleanupResult::TakenOut);
        EXPECT_EQ(rig.fs.files.count(Hosts) ? std::optional(rig.fs.files[Hosts]) : std::nullopt,
                  c.after);
        EXPECT_EQ(rig.fs.files.count(Snapshot), c.snapshot ? 1u : 0u);
        EXPECT_EQ(rig.lock.depth, 0);
    }
}

// Work happens under the lock; without it, or when the file cannot be read or written, nothing
// changes and the problem is told. With no data folder no copy of the program can hold the lock.
TEST(TakeOutBlockLines, ChangesNothingItCannotDoUnderTheLock) {
    const std::string blocked = "a\n" + Ours + "x.example\n";
    enum Fault { None, Busy, NoFolder, Unreadable, Unwritable };
    for (Fault fault : {None, Busy, NoFolder, Unreadable, Unwritable}) {
        SCOPED_TRACE(fault);
        Rig rig;
        rig.fs.files[Hosts] = blocked;
        rig.fs.files[Snapshot] = "a\n";
        rig.lock.busyAttempts = fault == Busy ? 1000 : 0;
        if (fault == NoFolder)
            rig.fs.folders.clear();
        if (fault == Unreadable)
            rig.fs.fail(FsOp::Read, Hosts);
        if (fault == Unwritable)
            rig.fs.fail(FsOp::Replace, Hosts);

        const CleanupResult result = rig.run();

        const bool fails = fault == Busy || fault == Unreadable || fault == Unwritable;
        EXPECT_EQ(result.outcome, fails ? CleanupResult::Failed : CleanupResult::TakenOut);
        EXPECT_EQ(rig.fs.files[Hosts], fails ? blocked : "a\n");
        EXPECT_EQ(result.problem.empty(), !fails);
        if (fault == Busy) {
            EXPECT_NE(result.problem.find("another copy of Palisade"), std::string::npos);
        }
        EXPECT_EQ(rig.lock.attempts == 0, fault == NoFolder);
        EXPECT_EQ(rig.lock.depth, 0);
        bool held = false;
        for (const auto& call : rig.log.calls) {
            if (call.starts_with("hostsLock.")) {
                held = call == "hostsLock.lock";
            } else if (call.starts_with("fs.read") || call.starts_with("fs.replace")) {
                EXPECT_TRUE(held || fault == NoFolder) << call;
            }
        }
    }
}

} // namespace
} // namespace palisade::test
