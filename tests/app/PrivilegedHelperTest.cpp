// The window of a user who may not write the hosts file: who writes it (the program itself, the
// helper, nobody), and what the window does with each answer of the helper.
#include "app/ProgramRig.h"
#include "blocking/HostsBlocker.h"
#include "blocking/PrivilegedBlocker.h"
#include "support/FakePrivilegedHosts.h"

#include <gtest/gtest.h>

namespace palisade::test {
namespace {

const std::string Snapshot = "C:\\ProgramData\\Quillmoor\\Palisade Software\\hosts";
const std::string Block = "127.0.0.1          a.example\r\n";

struct HelperRig : ProgramRig {
    explicit HelperRig(bool canWrite, bool admin) : ProgramRig(canWrite) {
        this->admin.result = admin ? -1 : 0;
        helper = &fake;
        launch();
    }
    void start() { program->Start(); }
    void press() { main().PushButton2.press(); }
    std::string caption() { return main().PushButton2.caption(); }
    FakePrivilegedHosts fake;
};

TEST(PrivilegedHelper, RootWritesItselfAnAdministratorThroughTheHelperAndOthersAreRefused) {
    struct Case {
        bool canWrite, admin;
        std::size_t helperCalls;
        bool hostsWritten;
        std::string message; // first word of the only message, if any
    };
    for (const Case& c : {Case{true, true, 0, true, ""}, Case{false, true, 1, false, ""},
                          Case{false, false, 0, false, "You"}}) {
        HelperRig rig(c.canWrite, c.admin);
        rig.start();
        rig.main().ListView1.add("a.example");
        rig.press();
        SCOPED_TRACE(std::to_string(c.canWrite) + std::to_string(c.admin));
        EXPECT_EQ(rig.fake.calls.size(), c.helperCalls);
        EXPECT_EQ(rig.fs.files[ProgramRig::Hosts] != ProgramRig::Original, c.hostsWritten);
        const auto texts = rig.dialogs.texts();
        EXPECT_EQ(texts.empty() ? "" : texts[0].substr(0, texts[0].find(' ')), c.message);
    }
}

TEST(PrivilegedHelper, AStartActsOnEachAnswerAsOnItsOwnWrites) {
    struct Case {
        HelperAnswer answer;
        std::string caption;
        bool minimized;
        std::string message;
        std::string blockOnStart; // as the window leaves it
    };
    const std::string failed = "Could not start blocking.";
    const std::string skipped = std::string(SkippedEntriesText) + "\r\nnot a site!";
    for (const Case& c : {
             Case{{0, ""}, "Stop Blocking", true, skipped, "1"},
             Case{
                 {1, failed + " Disk full."}, "Start Blocking", false, failed + " Disk full.", "0"},
             Case{{3, "Not authorised."},
                  "Start Blocking",
                  false,
                  failed + "\r\nNot authorised.",
                  "0"},
             Case{{126, ""}, "Start Blocking", false, "", "0"},
             Case{{127, ""}, "Start Blocking", false, std::string(NoAuthenticationAgentText), "0"},
             Case{{-1, "/opt/p/palisade-helper"},
                  "Start Blocking",
                  false,
                  failed + "\r\n" + std::string(HelperMissingText) + "/opt/p/palisade-helper.",
                  "0"},
         }) {
        HelperRig rig(false, true);
        rig.start();
        rig.fake.answer = c.answer;
        rig.main().ListView1.add("a.example");
        rig.main().ListView1.add("not a site!");
        rig.main().ListView1.add("https://b.example/page");
        rig.press();
        SCOPED_TRACE(c.answer.status);
        ASSERT_EQ(rig.fake.calls.size(), 1u);
        EXPECT_EQ(rig.fake.calls[0].request, "start button");
        // Only the hosts reach the helper, never the rest of an entry.
        EXPECT_EQ(rig.fake.calls[0].entries, (std::vector<std::string>{"a.example", "b.example"}));
        EXPECT_EQ(rig.caption(), c.caption);
        EXPECT_EQ(rig.program->state().HiddenInTray, c.minimized);
        EXPECT_EQ(rig.dialogs.texts(),
                  c.message.empty() ? std::vector<std::string>{} : std::vector{c.message});
        EXPECT_EQ(rig.settings.get("BlockOnStart"), c.blockOnStart);
    }
}

TEST(PrivilegedHelper, AStopActsOnEachAnswerAndADismissedPasswordLeavesBlockingOn) {
    struct Case {
        int status;
        std::string caption;
        std::size_t messages;
        std::string blockOnStart;
    };
    for (const Case& c : {Case{0, "Start Blocking", 0, "0"}, Case{1, "Start Blocking", 1, "1"},
                          Case{126, "Stop Blocking", 0, "1"}, Case{127, "Start Blocking", 1, "1"},
                          Case{-1, "Start Blocking", 1, "1"}}) {
        HelperRig rig(false, true);
        rig.settings.set("BlockOnStart", "1");
        rig.fs.files[ProgramRig::Hosts] = ProgramRig::Original + Block;
        rig.start(); // every line is there: the re-apply asks the helper nothing
        EXPECT_TRUE(rig.fake.calls.empty());
        rig.fake.answer = {c.status, "Could not restore settings. Disk full."};
        rig.press();
        SCOPED_TRACE(c.status);
        ASSERT_EQ(rig.fake.calls.size(), 1u);
        EXPECT_EQ(rig.fake.calls[0].request, "stop button");
        EXPECT_EQ(rig.caption(), c.caption);
        EXPECT_EQ(rig.dialogs.texts().size(), c.messages);
        EXPECT_EQ(rig.settings.get("BlockOnStart"), c.blockOnStart);
    }
}

TEST(PrivilegedHelper, AReapplyAsksOnlyForMissingLinesAndACloseOnlyWhenThereIsASnapshot) {
    HelperRig rig(false, true);
    rig.settings.set("BlockOnStart", "1");
    rig.settings.set("Blocked Websites", "a.example||My_Separator||c.example");
    rig.fs.files[ProgramRig::Hosts] = ProgramRig::Original + Block;
    rig.fake.answer = {127, ""}; // not reported at start: the next start tries again
    rig.start();
    ASSERT_EQ(rig.fake.calls.size(), 1u);
    EXPECT_EQ(rig.fake.calls[0].request, "start reapply");
    EXPECT_TRUE(rig.dialogs.texts().empty());
    EXPECT_EQ(rig.caption(), "Stop Blocking");

    // Blocking off, no snapshot: closing asks nothing; with one, the close stops through it.
    for (bool snapshot : {false, true}) {
        HelperRig closing(false, true);
        if (snapshot)
            closing.fs.files[Snapshot] = ProgramRig::Original;
        closing.start();
        closing.fake.answer = {126, ""};
        closing.main().window.requestClose();
        EXPECT_EQ(closing.fake.calls.size(), snapshot ? 1u : 0u);
        EXPECT_EQ(closing.quits, 1);
    }
}

TEST(PrivilegedHelper, TheStartupOptionGoesThroughTheHelperWhichKeepsTheMarker) {
    for (int status : {0, 1, 126}) {
        HelperRig rig(false, true);
        rig.start();
        rig.fake.answer = {status, "Could not change the startup setting. Disk full."};
        rig.main().Check1.setValue(CheckBox::Checked);
        SCOPED_TRACE(status);
        ASSERT_EQ(rig.fake.calls.size(), 1u);
        EXPECT_EQ(rig.fake.calls[0].request, "autostart on");
        EXPECT_EQ(rig.autostart.enabled, 0);
        EXPECT_EQ(rig.fs.files.count("C:\\ProgramData\\Quillmoor\\Palisade Software\\iStart"), 0u);
        EXPECT_EQ(rig.main().Check1.checked(), status == 0);
        EXPECT_EQ(rig.dialogs.texts().size(), status == 1 ? 1u : 0u);
    }
}

} // namespace
} // namespace palisade::test
