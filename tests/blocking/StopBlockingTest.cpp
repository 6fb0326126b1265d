#include "blocking/BlockingRig.h"

#include <gtest/gtest.h>

namespace palisade::test {
namespace {

using Rig = BlockingRig;

const std::string RestoreFailed =
    "Could not restore settings.\r\nPlease check your UAC settings to make sure they are on "
    "'Never Notify'. Please make sure you run this software as administrator by right clicking "
    "the desktop icon for this software and choosing 'Run as administrator'";
const std::string StopRefused =
    "You must be logged in as Administrator in Windows in order to stop block sites.";

// A rig in which blocking of two sites has been started successfully.
struct Blocked : Rig {
    Blocked() {
        add("a.example");
        add("b.example");
        switchCaptionOn();
        blocker.StartBlocking(false);
        log.calls.clear();
    }
};

TEST(StopBlocking, OrdinaryStopGivesBackTheSnapshotByteForByte) {
    // A system line aligned with spaces after "127.0.0.1" is not one of ours.
    const std::string aligned = "127.0.0.1" + std::string(15, ' ') + "localhost\r\n";
    // Lines like ours that were there before, twice over, the last without a line end.
    const std::string theirs =
        BlockLine("mydev.local") + BlockLine("mydev.local") + "127.0.0.1          a.example";
    for (std::string original : {std::string(Rig::Original), std::string("no line end"),
                                 std::string(""), std::string("a\n\n\r\n"), aligned, theirs}) {
        Rig rig;
        rig.fs.files[Rig::Hosts] = original;
        rig.add("a.example");
        rig.add("mydev.local");
        rig.add("b.example");
        rig.switchCaptionOn();
        rig.blocker.StartBlocking(false);
        rig.blocker.StartBlocking(true);
        ASSERT_NE(rig.hosts(), original);

        rig.blocker.StopBlocking(false, StopRequest::BlockButton);

        EXPECT_EQ(rig.hosts(), original);
        EXPECT_FALSE(rig.hasSnapshot());
        EXPECT_TRUE(rig.dialogs.messages.empty());
        EXPECT_EQ(rig.controls.PushButton2.caption(), "Start Blocking");
        EXPECT_EQ(rig.log.calls.back(), "doEvents");
    }
}

TEST(StopBlocking, KeepsWhatOthersChangedWhileBlockingWasOn) {
    Blocked rig;
    rig.fs.files[Rig::Hosts] = "# edited\r\n" + rig.hosts() + "10.1.1.1 added.example\r\n";
    rig.blocker.StopBlocking(false, StopRequest::BlockButton);
    EXPECT_EQ(rig.hosts(),
              "# edited\r\n" + std::string(Rig::Original) + "10.1.1.1 added.example\r\n");
    EXPECT_FALSE(rig.hasSnapshot());
    // The restore goes in whole through the restore target.
    EXPECT_EQ(rig.countOps("fs.replace C:\\WINDOWS\\system32\\drivers\\etc\\hosts"), 1);
}

TEST(StopBlocking, WithoutASnapshotTheButtonTakesOutTheListsLinesAndTheCloseNothing) {
    for (StopRequest request : {StopRequest::BlockButton, StopRequest::Close}) {
        Blocked rig;
        rig.fs.files.erase(Rig::Snapshot);
        const std::string mine = BlockLine("mydev.local");
        rig.fs.files[Rig::Hosts] = mine + rig.hosts() + mine;
        const std::string before = rig.hosts();
        rig.blocker.StopBlocking(false, request);
        const bool button = request == StopRequest::BlockButton;
        EXPECT_EQ(rig.hosts(), button ? mine + Rig::Original + mine : before);
        EXPECT_EQ(rig.anyFileWritten(), button);
        EXPECT_TRUE(rig.dialogs.messages.empty());
        EXPECT_EQ(rig.controls.PushButton2.caption(), "Start Blocking");
    }
}

TEST(StopBlocking, NothingToRemoveAndNoSnapshotWritesAndShowsNothing) {
    Rig rig;
    rig.switchCaptionOn();
    rig.blocker.StopBlocking(false, StopRequest::BlockButton);
    EXPECT_FALSE(rig.anyFileWritten());
    EXPECT_TRUE(rig.dialogs.messages.empty());
    EXPECT_EQ(rig.controls.PushButton2.caption(), "Start Blocking");
}

TEST(StopBlocking, MissingOrUnreadableHostsFileGetsTheSnapshot) {
    for (bool missing : {true, false}) {
        Blocked rig;
        if (missing)
            rig.fs.files.erase(Rig::Hosts);
        else
            rig.fs.fail(FsOp::Read, Rig::Hosts);
        rig.blocker.StopBlocking(false, StopRequest::BlockButton);
        EXPECT_EQ(rig.fs.files[Rig::Hosts], Rig::Original) << missing;
        EXPECT_FALSE(rig.hasSnapshot());
        EXPECT_TRUE(rig.dialogs.messages.empty());
    }
}

TEST(StopBlocking, ReportsFailureUnlessTheHostsFileIsMissingOrSomethingStandsInForIt) {
    // The snapshot stands in, lines like ours that were there before included.
    const std::string mine = BlockLine("a.example");
    for (bool missing : {true, false}) {
        for (bool snapshot : {false, true}) {
            SCOPED_TRACE(std::string(missing ? "missing" : "unreadable") +
                         (snapshot ? ", snapshot" : ""));
            Rig rig;
            rig.switchCaptionOn();
            rig.fs.files[Rig::Hosts] = mine;
            if (missing)
                rig.fs.files.erase(Rig::Hosts);
            rig.fs.fail(FsOp::Read, Rig::Hosts);
            if (snapshot)
                rig.fs.files[Rig::Snapshot] = std::string(Rig::Original) + mine;
            rig.blocker.StopBlocking(false, StopRequest::BlockButton);
            EXPECT_EQ(rig.hosts(), snapshot  ? std::string(Rig::Original) + mine
                                   : missing ? "<missing>"
                                             : mine);
            const bool reported = !missing && !snapshot;
            EXPECT_EQ(rig.dialogs.texts(), std::vector<std::string>(reported, RestoreFailed));
            EXPECT_FALSE(rig.hasSnapshot());
            EXPECT_EQ(rig.controls.PushButton2.caption(), "Start Blocking");
        }
    }
}

TEST(StopBlocking, FailedWriteIsReportedAndKeepsHostsFileAndSnapshot) {
    Blocked rig;
    const std::string blocked = rig.hosts();
    rig.fs.fail(FsOp::Replace, Rig::Hosts);
    rig.blocker.StopBlocking(false, StopRequest::BlockButton);
    EXPECT_EQ(rig.dialogs.texts(), std::vector<std::string>{RestoreFailed});
    EXPECT_EQ(rig.dialogs.messages[0].title, "Palisade");
    EXPECT_EQ(rig.dialogs.messages[0].icon, MessageIcon::None);
    EXPECT_EQ(rig.hosts(), blocked);
    EXPECT_EQ(rig.fs.files[Rig::Snapshot], Rig::Original);
    EXPECT_EQ(rig.controls.PushButton2.caption(), "Start Blocking");

    // A later attempt that can write finishes the job.
    rig.fs.fail(FsOp::Replace, Rig::Hosts, 0);
    rig.blocker.StopBlocking(false, StopRequest::BlockButton);
    EXPECT_EQ(rig.hosts(), Rig::Original);
    EXPECT_FALSE(rig.hasSnapshot());
}

TEST(StopBlocking, HostsFileAndSnapshotBothUnreadableKeepsTheSnapshot) {
    Blocked rig;
    rig.fs.files.erase(Rig::Hosts);
    rig.fs.fail(FsOp::Read, Rig::Snapshot);
    rig.blocker.StopBlocking(false, StopRequest::BlockButton);
    EXPECT_EQ(rig.dialogs.texts(), std::vector<std::string>{RestoreFailed});
    EXPECT_TRUE(rig.hasSnapshot());
    EXPECT_EQ(rig.hosts(), "<missing>");
    EXPECT_EQ(rig.controls.PushButton2.caption(), "Start Blocking");
}

TEST(StopBlocking, SnapshotThatCannotBeDeletedPassesSilently) {
    Blocked rig;
    rig.fs.fail(FsOp::Remove, Rig::Snapshot);
    rig.fs.fail(FsOp::ForceRemove, Rig::Snapshot);
    rig.blocker.StopBlocking(false, StopRequest::BlockButton);
    EXPECT_EQ(rig.hosts(), Rig::Original);
    EXPECT_TRUE(rig.dialogs.messages.empty());
    EXPECT_EQ(rig.controls.PushButton2.caption(), "Start Blocking");
}

TEST(StopBlocking, ReadOnlySnapshotIsForcedAway) {
    Blocked rig;
    rig.fs.readOnly.insert(Rig::Snapshot);
    rig.blocker.StopBlocking(false, StopRequest::BlockButton);
    EXPECT_FALSE(rig.hasSnapshot());
}

// The close handler's stop is refused only when there is something to stop.
TEST(StopBlocking, NonAdministratorIsRefusedWhenThereIsSomethingToStopAndNothingChanges) {
    for (bool quiet : {false, true}) {
        for (StopRequest request : {StopRequest::BlockButton, StopRequest::Close}) {
            for (bool snapshot : {true, false}) {
                Blocked rig;
                rig.state.UserIsAdmin = false;
                if (!snapshot)
                    rig.fs.files.erase(Rig::Snapshot);
                const std::string blocked = rig.hosts();
                rig.blocker.StopBlocking(quiet, request);
                const bool refused = !quiet && (request == StopRequest::BlockButton || snapshot);
                EXPECT_EQ(rig.dialogs.texts(), std::vector<std::string>(refused, StopRefused));
                EXPECT_EQ(rig.hosts(), blocked);
                EXPECT_EQ(rig.hasSnapshot(), snapshot);
                EXPECT_FALSE(rig.anyFileWritten());
                EXPECT_EQ(rig.controls.PushButton2.caption(), "Stop Blocking");
                EXPECT_EQ(rig.log.calls.back(), "doEvents");
            }
        }
    }
}

TEST(StopBlocking, RestoresThroughTheRestoreTargetNotTheHostsPath) {
    Blocked rig;
    // A system directory elsewhere than under %WINDIR%: the stop still works on %WINDIR%'s file.
    rig.system.environment["WINDIR"] = "D:\\WIN";
    const std::string other = "D:\\WIN\\system32\\drivers\\etc\\hosts";
    rig.fs.files[other] = "x\r\n127.0.0.1          a.example\r\n";
    rig.blocker.StopBlocking(false, StopRequest::BlockButton);
    EXPECT_EQ(rig.fs.files[other], "x\r\n");
}

} // namespace
} // namespace palisade::test
