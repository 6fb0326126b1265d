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

TEST(PlatformTexts,
     LinuxSpeaksOfAdministratorsAndTheirPasswordWhereWindowsSpeaksOfItselfAndItsUac) {
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

    const std::string only =
        "Only an administrator (a member of the sudo, wheel or admin group) can ";
    const std::string advice =
        "\r\nAn administrator must do this, and give their password when it is asked for.";
    const auto texts = rig.dialogs.texts();
    EXPECT_EQ(texts,
              (std::vector<std::string>{
                  texts.at(0), only + "block sites: ask an administrator to start blocking.",
                  only + "stop blocking sites: ask an administrator to stop blocking.",
                  "Could not start blocking." + advice, "Could not restore settings." + advice}));
    for (const auto& text : texts) // an administrator as themself reads nothing about root
        EXPECT_EQ(text.find("root"), std::string::npos) << text;
    EXPECT_NE(texts.at(0).find("password is asked for"), std::string::npos);
}

} // namespace
} // namespace palisade::test
