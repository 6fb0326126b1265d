#include "blocking/BlockingRig.h"
#include "support/Form1Rig.h"

#include <gtest/gtest.h>

namespace palisade::test {
namespace {

struct TextsRow {
    const char* name;
    Platform platform;
    const char* startupOption;
    const char* startRefused;
    const char* help;
    const char* stopRefused;
    const char* advice;
};

void PrintTo(const TextsRow& row, std::ostream* os) {
    *os << row.name;
}

// The block button and the "Help" button over the real blocker, on the given platform.
struct CommandRig : BlockingRig {
    explicit CommandRig(Platform platform) { state.platform = platform; }
    BlockCommand command{ports, controls, state, blocker};
};

class PlatformTexts : public ::testing::TestWithParam<TextsRow> {};

TEST_P(PlatformTexts, EveryHandlerShowsItsPlatformsWording) {
    const TextsRow& row = GetParam();
    const std::string advice = row.advice;

    Form1Rig form(row.platform);
    EXPECT_EQ(form.controls.Check1.caption(), row.startupOption);

    CommandRig help(row.platform);
    help.controls.PushButton1.press();
    EXPECT_EQ(help.dialogs.texts(), std::vector<std::string>{row.help});

    CommandRig refused(row.platform);
    refused.state.UserIsAdmin = false;
    refused.add("a.example");
    refused.controls.PushButton2.press(); // start refused
    refused.controls.PushButton2.setCaption("Stop Blocking");
    refused.controls.PushButton2.press(); // stop refused
    EXPECT_EQ(refused.dialogs.texts(),
              (std::vector<std::string>{row.startRefused, row.stopRefused}));

    CommandRig failing(row.platform);
    failing.add("a.example");
    failing.fs.fail(FsOp::Append, BlockingRig::Hosts);
    failing.controls.PushButton2.press(); // the start fails
    failing.fs.files.erase(BlockingRig::Hosts);
    failing.fs.fail(FsOp::Read, BlockingRig::Snapshot);
    failing.controls.PushButton2.setCaption("Stop Blocking");
    failing.controls.PushButton2.press(); // the restore fails
    EXPECT_EQ(failing.dialogs.texts(),
              (std::vector<std::string>{"Could not start blocking.\r\n" + advice,
                                        "Could not restore settings.\r\n" + advice}));
}

INSTANTIATE_TEST_SUITE_P(
    Rows, PlatformTexts,
    ::testing::Values(
        TextsRow{"Windows", Platform::Windows, "Load this software on Windows startup",
                 "You must be logged in as Administrator in Windows in order to block sites.",
                 "You must be logged in as Administrator in Windows in order to block sites. You "
                 "need to lower your User Account Control settings to have this software work.",
                 "You must be logged in as Administrator in Windows in order to stop block sites.",
                 "Please check your UAC settings to make sure they are on 'Never Notify'. Please "
                 "make sure you run this software as administrator by right clicking the desktop "
                 "icon for this software and choosing 'Run as administrator'"},
        TextsRow{"Linux", Platform::Linux, "Load this software at desktop login",
                 "You must run this software as administrator (root) in order to block sites.",
                 "You must run this software as administrator (root) in order to block sites. "
                 "Choose 'Run as administrator' in its menu entry, or start it with sudo.",
                 "You must run this software as administrator (root) in order to stop block "
                 "sites.",
                 "Please make sure you run this software as administrator (root): choose 'Run as "
                 "administrator' in its menu entry, or start it with sudo."}),
    [](const auto& info) { return std::string(info.param.name); });

// "BlockOnStart" follows every start or stop of the block button that turned it over.
struct BlockOnStartRow {
    const char* name;
    bool admin;
    bool on;            // blocking is on before the click
    bool failWrite;     // the hosts file cannot be appended to
    const char* stored; // nullptr: not written
};

void PrintTo(const BlockOnStartRow& row, std::ostream* os) {
    *os << row.name;
}

class BlockOnStartAtOnce : public ::testing::TestWithParam<BlockOnStartRow> {};

TEST_P(BlockOnStartAtOnce, IsWrittenWhenTheButtonTurnsOver) {
    const BlockOnStartRow& row = GetParam();
    CommandRig rig(Platform::Windows);
    rig.state.UserIsAdmin = row.admin;
    rig.add("a.example");
    if (row.on) {
        rig.switchCaptionOn();
        rig.blocker.StartBlocking(false);
    }
    if (row.failWrite)
        rig.fs.fail(FsOp::Append, BlockingRig::Hosts);

    rig.controls.PushButton2.press();

    if (row.stored) {
        EXPECT_EQ(rig.settings.get("BlockOnStart"), row.stored);
        EXPECT_EQ(rig.settings.writeCount("BlockOnStart"), 1);
    } else {
        EXPECT_FALSE(rig.settings.has("BlockOnStart"));
    }
}

INSTANTIATE_TEST_SUITE_P(
    Rows, BlockOnStartAtOnce,
    ::testing::Values(BlockOnStartRow{"StartByAdministrator", true, false, false, "1"},
                      BlockOnStartRow{"StartRefused", false, false, false, nullptr},
                      BlockOnStartRow{"StartFailed", true, false, true, nullptr},
                      BlockOnStartRow{"StopByAdministrator", true, true, false, "0"},
                      BlockOnStartRow{"StopRefused", false, true, false, nullptr}),
    [](const auto& info) { return std::string(info.param.name); });

} // namespace
} // namespace palisade::test
