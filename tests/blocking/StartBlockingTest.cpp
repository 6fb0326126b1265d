#include "blocking/BlockingRig.h"
#include "ui/ErrorTrap.h"

#include <gtest/gtest.h>

namespace palisade::test {
namespace {

using Rig = BlockingRig;

const std::string StartFailed =
    "Could not start blocking.\r\nPlease check your UAC settings to make sure they are on 'Never "
    "Notify'. Please make sure you run this software as administrator by right clicking the "
    "desktop icon for this software and choosing 'Run as administrator'";

TEST(StartBlocking, SnapshotsThenAppendsOneLinePerEntryAndMinimises) {
    Rig rig;
    rig.add("a.example");
    rig.add("https://www.b.example/page");
    rig.switchCaptionOn();

    rig.blocker.StartBlocking(false);

    EXPECT_EQ(rig.fs.files[Rig::Snapshot], Rig::Original);
    EXPECT_EQ(rig.hosts(),
              std::string(Rig::Original) + BlockLine("a.example") + BlockLine("www.b.example"));
    EXPECT_EQ(rig.controls.ListView1.item(2), "https://www.b.example/page");
    EXPECT_TRUE(rig.dialogs.messages.empty());
    EXPECT_EQ(rig.controls.window.state(), WindowState::Minimized);
    EXPECT_EQ(rig.controls.PushButton2.caption(), "Stop Blocking");
    // The snapshot goes in whole, and all the lines in one append after it.
    EXPECT_EQ(rig.countOps("fs.replace " + std::string(Rig::Snapshot)), 1);
    EXPECT_EQ(rig.countOps("fs.append"), 1);
    EXPECT_EQ(rig.log.calls.front(), "doEvents");
}

TEST(StartBlocking, NeverReplacesAnExistingSnapshot) {
    for (bool reapply : {false, true}) {
        Rig rig;
        rig.fs.files[Rig::Snapshot] = "clean";
        rig.add("a.example");
        rig.blocker.StartBlocking(reapply);
        EXPECT_EQ(rig.fs.files[Rig::Snapshot], "clean") << reapply;
        EXPECT_EQ(rig.hosts(), std::string(Rig::Original) + BlockLine("a.example"));
    }
}

// Blocking was on: the list's lines in the hosts file are most likely ours, other lines like
// them someone else's, which the stop then keeps.
TEST(StartBlocking, ReapplyWithoutASnapshotTakesOneWithoutTheListsLines) {
    Rig rig;
    const std::string theirs = BlockLine("mydev.local");
    rig.fs.files[Rig::Hosts] = std::string(Rig::Original) + BlockLine("a.example") + theirs;
    rig.add("a.example");
    rig.switchCaptionOn();
    rig.blocker.StartBlocking(true);
    EXPECT_EQ(rig.fs.files[Rig::Snapshot], std::string(Rig::Original) + theirs);
    rig.blocker.StopBlocking(false, StopRequest::BlockButton);
    EXPECT_EQ(rig.hosts(), std::string(Rig::Original) + theirs);
}

TEST(StartBlocking, AppendsOnlyLinesTheHostsFileLacksEachOnce) {
    for (bool reapply : {false, true}) {
        Rig rig;
        rig.fs.files[Rig::Hosts] = std::string(Rig::Original) + "127.0.0.1          a.example  \n";
        rig.add("a.example");
        rig.add("b.example");
        rig.add("http://b.example/other");
        rig.add("b.example");
        rig.blocker.StartBlocking(reapply);
        EXPECT_EQ(rig.hosts(), std::string(Rig::Original) + "127.0.0.1          a.example  \n" +
                                   BlockLine("b.example"))
            << reapply;
        // Starting once more adds nothing.
        rig.blocker.StartBlocking(true);
        EXPECT_EQ(rig.countOps("fs.append"), 1);
        EXPECT_TRUE(rig.dialogs.messages.empty());
    }
}

TEST(StartBlocking, StartsOnANewLineWhenTheFileLacksALineEnd) {
    Rig rig;
    rig.fs.files[Rig::Hosts] = "10.0.0.1 intranet";
    rig.add("a.example");
    rig.add("b.example");
    rig.blocker.StartBlocking(false);
    EXPECT_EQ(rig.hosts(),
              "10.0.0.1 intranet\r\n" + BlockLine("a.example") + BlockLine("b.example"));
}

TEST(StartBlocking, UsesThePlatformsLineEnd) {
    Rig rig;
    rig.system.eol = "\n";
    rig.fs.files[Rig::Hosts] = "x";
    rig.add("a.example");
    rig.blocker.StartBlocking(false);
    EXPECT_EQ(rig.hosts(), "x\n127.0.0.1          a.example\n");
}

TEST(StartBlocking, FailedAppendIsReportedOnceAndLeavesNoLine) {
    for (const std::string& original : {std::string(Rig::Original), std::string("no line end")}) {
        Rig rig;
        rig.fs.files[Rig::Hosts] = original;
        rig.add("a.example");
        rig.add("b.example");
        rig.switchCaptionOn();
        rig.fs.fail(FsOp::Append, Rig::Hosts);

        rig.blocker.StartBlocking(false);

        EXPECT_EQ(rig.hosts(), original);
        EXPECT_EQ(rig.dialogs.texts(), std::vector<std::string>{StartFailed});
        EXPECT_EQ(rig.dialogs.messages[0].title, "Palisade");
        EXPECT_EQ(rig.dialogs.messages[0].icon, MessageIcon::None);
        EXPECT_EQ(rig.controls.PushButton2.caption(), "Start Blocking");
        EXPECT_EQ(rig.controls.window.state(), WindowState::Normal);
        EXPECT_EQ(rig.fs.files[Rig::Snapshot], original);
    }
}

TEST(StartBlocking, ReapplyDoesNotReportAFailedWriteAndStillMinimises) {
    Rig rig;
    rig.add("a.example");
    rig.switchCaptionOn();
    rig.fs.fail(FsOp::Append, Rig::Hosts);
    rig.blocker.StartBlocking(true);
    EXPECT_TRUE(rig.dialogs.messages.empty());
    EXPECT_EQ(rig.controls.PushButton2.caption(), "Stop Blocking");
    EXPECT_EQ(rig.controls.window.state(), WindowState::Minimized);
}

// The rest blocks as usual; the list keeps every entry as typed; a re-apply says nothing.
TEST(StartBlocking, EntriesThatAreNoHostNameOrAddressAreSkippedAndNamedInOneMessage) {
    const std::vector<std::string> bad = {"# my list of sites",
                                          "/etc/hosts",
                                          "file:///etc/hosts",
                                          "face book.com",
                                          "evil.example\r\n0.0.0.0 bank.example",
                                          std::string("nul\0.example", 12),
                                          "https://",
                                          "*.example.com",
                                          "C:\\lists\\sites.txt",
                                          "tab\tbed.example",
                                          std::string(100, 'x') + " " + std::string(100, 'y'),
                                          "a..b"};
    const std::string shown = "These entries were not blocked because they are not host names "
                              "or IP addresses:\r\n# my list of sites\r\n/etc/hosts\r\n"
                              "file:///etc/hosts\r\nface book.com\r\n"
                              "evil.example??0.0.0.0 bank.example\r\nnul?.example\r\nhttps://"
                              "\r\n*.example.com\r\nC:\\lists\\sites.txt\r\ntab?bed.example"
                              "\r\n...and 2 more.";
    for (bool reapply : {false, true}) {
        Rig rig;
        rig.add("good.example");
        for (const auto& entry : bad)
            rig.add(entry);
        rig.add("https://also.good.example/x");
        rig.switchCaptionOn();
        rig.blocker.StartBlocking(reapply);
        EXPECT_EQ(rig.hosts(), std::string(Rig::Original) + BlockLine("good.example") +
                                   BlockLine("also.good.example"));
        EXPECT_EQ(rig.dialogs.texts(),
                  reapply ? std::vector<std::string>{} : std::vector<std::string>{shown});
        EXPECT_EQ(rig.controls.PushButton2.caption(), "Stop Blocking");
        EXPECT_EQ(rig.controls.window.state(), WindowState::Minimized);
        EXPECT_EQ(rig.controls.ListView1.item(2), bad[0]);
        EXPECT_EQ(rig.controls.ListView1.count(), 14);
    }
}

TEST(StartBlocking, BlankEntriesArePassedOverAndHostsAreWrittenWithoutBlanks) {
    Rig rig;
    for (const char* entry : {"", "  ", "\t", " a.example ", "\tb.example", "https://c.example/ "})
        rig.add(entry);
    rig.switchCaptionOn();
    rig.blocker.StartBlocking(false);
    EXPECT_EQ(rig.hosts(), std::string(Rig::Original) + BlockLine("a.example") +
                               BlockLine("b.example") + BlockLine("c.example"));
    EXPECT_TRUE(rig.dialogs.messages.empty());
    EXPECT_EQ(rig.controls.PushButton2.caption(), "Stop Blocking");
    EXPECT_EQ(rig.controls.ListView1.item(4), " a.example ");

    // Every line written is one that a stop takes out again.
    rig.blocker.StopBlocking(false, StopRequest::BlockButton);
    EXPECT_EQ(rig.hosts(), Rig::Original);
}

TEST(StartBlocking, FailedSnapshotIsReportedAndBlockingGoesOn) {
    Rig rig;
    rig.add("a.example");
    rig.fs.fail(FsOp::Replace, Rig::Snapshot);
    rig.blocker.StartBlocking(false);
    EXPECT_FALSE(rig.hasSnapshot());
    EXPECT_EQ(rig.dialogs.texts(), std::vector<std::string>{ErrorReportText(
                                       "Permission denied", "Form1", "StartBlocking", 124)});
    EXPECT_EQ(rig.dialogs.messages[0].title, "Application Error");
    EXPECT_EQ(rig.hosts(), std::string(Rig::Original) + BlockLine("a.example"));
    EXPECT_EQ(rig.controls.window.state(), WindowState::Minimized);
}

TEST(StartBlocking, MissingHostsFileIsReportedThenCreatedWithTheBlockLines) {
    Rig rig;
    rig.fs.files.erase(Rig::Hosts);
    rig.add("a.example");
    rig.blocker.StartBlocking(false);
    EXPECT_EQ(rig.dialogs.texts(), std::vector<std::string>{ErrorReportText(
                                       "File not found", "Form1", "StartBlocking", 124)});
    EXPECT_FALSE(rig.hasSnapshot());
    EXPECT_EQ(rig.hosts(), BlockLine("a.example"));
}

TEST(StartBlocking, ReapplyByANonAdministratorTouchesNothingAndMinimises) {
    Rig rig;
    rig.state.UserIsAdmin = false;
    rig.add("a.example");
    rig.blocker.StartBlocking(true);
    EXPECT_FALSE(rig.anyFileWritten());
    EXPECT_TRUE(rig.dialogs.messages.empty());
    EXPECT_EQ(rig.controls.window.state(), WindowState::Minimized);
}

TEST(StartBlocking, EmptyListStillTakesTheSnapshotAndMinimises) {
    Rig rig;
    rig.blocker.StartBlocking(false);
    EXPECT_EQ(rig.fs.files[Rig::Snapshot], Rig::Original);
    EXPECT_EQ(rig.hosts(), Rig::Original);
    EXPECT_TRUE(rig.dialogs.messages.empty());
    EXPECT_EQ(rig.controls.window.state(), WindowState::Minimized);
}

} // namespace
} // namespace palisade::test
