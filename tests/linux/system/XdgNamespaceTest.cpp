// Runs the real registration against the real autostart folder path, with a scratch folder
// mounted over it. Only ever inside a private mount namespace: CTest starts this program through
// `unshare -m`, and it refuses to mount anything when it shares its parent's namespace.
#include "MountNamespace.h"
#include "ScratchFolder.h"
#include "linux/system/XdgAutostartRegistry.h"
#include "support/AutostartRig.h"

#include <cerrno>
#include <cstring>
#include <gtest/gtest.h>
#include <sys/mount.h>
#include <unistd.h>

namespace palisade::test {
namespace {

constexpr const char* AutostartFolder = "/etc/xdg/autostart";

// The scratch folder mounted over the autostart folder, read-only on request.
class ScratchAutostart : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(InPrivateMountNamespace())
            << "refusing to mount over " << AutostartFolder << " outside a private namespace";
        ASSERT_FALSE(scratch.path().empty());
        ASSERT_EQ(::mount(scratch.path().c_str(), AutostartFolder, nullptr, MS_BIND, nullptr), 0)
            << std::strerror(errno);
        mounted = true;
    }
    void TearDown() override {
        if (mounted)
            ::umount2(AutostartFolder, MNT_DETACH);
    }
    void makeReadOnly() {
        ASSERT_EQ(
            ::mount(nullptr, AutostartFolder, nullptr, MS_REMOUNT | MS_BIND | MS_RDONLY, nullptr),
            0)
            << std::strerror(errno);
    }
    void linuxProgramIn(AutostartRig& rig) {
        rig.system.sep = "/";
        rig.system.eol = "\n";
        rig.system.program = "/opt/Pal isade";
        rig.system.exe = "/opt/Pal isade/palisade";
    }

    ScratchFolder scratch;
    bool mounted = false;
    XdgAutostartRegistry registry; // the real folder path
    const std::string dataFolder = "/var/lib/Quillmoor/Palisade Software";
};

TEST_F(ScratchAutostart, Check1WritesAValidEntryForTheProgramAndRemovesIt) {
    AutostartRig rig(registry, dataFolder);
    linuxProgramIn(rig);

    rig.setCheck1(true);
    ASSERT_EQ(scratch.names(), std::vector<std::string>{"palisade.desktop"});
    const std::string entry = scratch / "palisade.desktop";
    EXPECT_NE(ReadWhole(entry).find("Exec=\"/opt/Pal isade/palisade\"\n"), std::string::npos);
    if (HaveDesktopFileValidate()) {
        const Validation verdict = ValidateDesktopFile(entry);
        EXPECT_EQ(verdict.status, 0) << verdict.output;
    }
    EXPECT_EQ(rig.settings.get("Windows Startup"), "On");
    EXPECT_EQ(rig.fs.files.at(rig.markerPath()), " \n");

    rig.setCheck1(false);
    EXPECT_TRUE(scratch.names().empty());
    EXPECT_EQ(rig.settings.get("Windows Startup"), "Off");
    EXPECT_FALSE(rig.fs.files.contains(rig.markerPath()));
    EXPECT_TRUE(rig.dialogs.messages.empty());
}

TEST_F(ScratchAutostart, AReadOnlyFolderChangesNeitherTheEntryNorTheOptionAndTheUserIsTold) {
    WriteWhole(scratch / "palisade.desktop", "[Desktop Entry]\nExec=/written/earlier\n");
    makeReadOnly();
    for (bool tick : {true, false}) {
        AutostartRig rig(registry, dataFolder);
        linuxProgramIn(rig);
        rig.state.Loading = !tick; // restored as the stored option, with no handling
        rig.setCheck1(!tick);
        rig.state.Loading = false;

        rig.setCheck1(tick);
        EXPECT_EQ(rig.controls.Check1.checked(), !tick);
        EXPECT_FALSE(rig.settings.has("Windows Startup"));
        EXPECT_FALSE(rig.fs.files.contains(rig.markerPath()));
        EXPECT_EQ(rig.dialogs.messages.size(), 1u);
    }
    EXPECT_EQ(ReadWhole(scratch / "palisade.desktop"), "[Desktop Entry]\nExec=/written/earlier\n");
}

} // namespace
} // namespace palisade::test
