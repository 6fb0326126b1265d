#include "blocking/BlockingRig.h"
#include "support/Form1Rig.h"

#include <gtest/gtest.h>

namespace palisade::test {
namespace {

// The block button and the "Help" button over the real blocker, on Linux. (Windows keeps its
// texts, which the block command's and the blocker's tests hold.)
struct LinuxRig : BlockingRig {
    LinuxRig() { state.platform = Platform::Linux; }
    BlockCommand command{ports, controls, state, blocker};
};

TEST(PlatformTexts, LinuxSpeaksOfRootAndSudoWhereWindowsSpeaksOfItselfAndItsUac) {
    EXPECT_EQ(Form1Rig(Platform::Windows).controls.Check1.caption(),
              "Load this software on Windows startup");
    EXPECT_EQ(Form1Rig(Platform::Linux).controls.Check1.caption(),
              "Load this software at desktop login");

    LinuxRig rig;
    rig.add("a.example");
    rig.controls.PushButton1.press();
    rig.state.UserIsAdmin = false;
    rig.controls.PushButton2.press(); // start refused
    rig.controls.PushButton2.setCaption("Stop Blocking");
    rig.controls.PushButton2.press(); // stop refused
    rig.state.UserIsAdmin = true;
    rig.fs.fail(FsOp::Append, BlockingRig::Hosts);
    rig.controls.PushButton2.setCaption("Start Blocking");
    rig.controls.PushButton2.press(); // the start fails
    rig.fs.files.erase(BlockingRig::Hosts);
    rig.fs.fail(FsOp::Read, BlockingRig::Snapshot);
    rig.controls.PushButton2.setCaption("Stop Blocking");
    rig.controls.PushButton2.press(); // the restore fails

    const std::string root = "You must run this software as administrator (root) in order to ";
    const std::string how =
        " Choose 'Run as administrator' in its menu entry, or start it with sudo";
    const std::string password = "; an administrator's password is asked for.";
    const std::string advice = "\r\nPlease make sure you run this software as administrator "
                               "(root): choose 'Run as administrator' in its menu entry, or start "
                               "it with sudo.";
    EXPECT_EQ(rig.dialogs.texts(),
              (std::vector<std::string>{
                  root + "block sites." + how + ".", root + "block sites." + how + password,
                  root + "stop block sites." + how + password, "Could not start blocking." + advice,
                  "Could not restore settings." + advice}));
}

} // namespace
} // namespace palisade::test
