#include "support/AutostartRig.h"
#include "support/FakeRegistry.h"

#include <gtest/gtest.h>

namespace palisade::test {
namespace {

using Value = FakeRegistry::Value;
using namespace std::string_literals;

struct StartUpTest : ::testing::Test {
    FakeRegistry registry;
    AutostartRig rig{registry};
};

TEST_F(StartUpTest, RegistersTheRunningExecutableNotAnotherOneInItsFolder) {
    rig.system.exe = "C:\\Program Files\\Palisade\\Palisade.exe";
    rig.fs.files["C:\\Program Files\\Palisade\\Uninstall.exe"] = "MZ";
    registry.run()["Uninstall.exe"] = {RegTypeSz, "C:\\Program Files\\Palisade\\Uninstall.exe\0"s};

    rig.startUp.EnableWindowsStartup();
    EXPECT_EQ(registry.run().at("Palisade.exe").data,
              "C:\\Program Files\\Palisade\\Palisade.exe\0"s);

    rig.startUp.DisableWindowsStartup();
    EXPECT_FALSE(registry.run().contains("Palisade.exe"));
    EXPECT_TRUE(registry.run().contains("Uninstall.exe"));
}

TEST_F(StartUpTest, AnUnknownExecutableChangesNothing) {
    rig.system.exe = "";
    EXPECT_FALSE(rig.startUp.EnableWindowsStartup()); // nothing can be registered
    EXPECT_TRUE(rig.startUp.DisableWindowsStartup()); // and so nothing is left to remove
    EXPECT_TRUE(registry.run().empty());
    EXPECT_EQ(registry.lastAccess, 0u); // never opened
}

TEST_F(StartUpTest, Check1RegistersAndUnregistersWithTheSettingAndTheMarker) {
    rig.setCheck1(true);
    EXPECT_EQ(rig.settings.get("Windows Startup"), "On");
    EXPECT_EQ(registry.run(),
              (std::map<std::string, Value>{
                  {"Palisade.exe", {RegTypeSz, "C:\\Program Files\\Palisade\\Palisade.exe\0"s}}}));
    EXPECT_EQ(rig.fs.files.at(rig.markerPath()), " \r\n");

    rig.setCheck1(false);
    EXPECT_EQ(rig.settings.get("Windows Startup"), "Off");
    EXPECT_TRUE(registry.run().empty());
    EXPECT_FALSE(rig.fs.files.contains(rig.markerPath()));
    EXPECT_TRUE(rig.dialogs.messages.empty());
    EXPECT_TRUE(registry.openKeys.empty());
}

TEST_F(StartUpTest, Check1ForAStandardUserChangesNothingAndSaysSo) {
    registry.denyWrite = true;
    registry.run()["Palisade.exe"] = {RegTypeSz, "left by an administrator\0"s};

    rig.setCheck1(true);
    EXPECT_FALSE(rig.controls.Check1.checked());
    EXPECT_FALSE(rig.settings.has("Windows Startup"));
    EXPECT_FALSE(rig.fs.files.contains(rig.markerPath()));
    EXPECT_EQ(registry.run().at("Palisade.exe").data, "left by an administrator\0"s);
    EXPECT_EQ(rig.dialogs.messages.size(), 1u);
    EXPECT_TRUE(registry.openKeys.empty());
}

} // namespace
} // namespace palisade::test
