#include "linux/system/XdgAutostartRegistry.h"

#include "ScratchFolder.h"

#include <gtest/gtest.h>
#include <sys/stat.h>

namespace palisade::test {
namespace {

using namespace std::string_literals;

struct XdgAutostartRegistryTest : ::testing::Test {
    ScratchFolder folder;
    XdgAutostartRegistry registry{folder.path()};
    Registry::Key key = Registry::NoKey;

    void SetUp() override {
        ASSERT_FALSE(folder.path().empty());
        ASSERT_EQ(registry.openKey(HiveLocalMachine, RunSubKey, KeyAllAccess, key), RegSuccess);
    }
    RegStatus set(const std::string& name, const std::string& path) {
        return registry.setValue(key, name, RegTypeSz, path + '\0');
    }
};

TEST_F(XdgAutostartRegistryTest, OnlyTheMachineRunKeyExistsWhateverItsCase) {
    Registry::Key other = Registry::NoKey;
    EXPECT_EQ(registry.openKey(HiveLocalMachine,
                               "Software\\Microsoft\\Windows\\CurrentVersion\\Run\\", KeyAllAccess,
                               other),
              RegSuccess);
    EXPECT_NE(other, key);
    EXPECT_EQ(registry.closeKey(other), RegSuccess);

    Registry::Key missing = Registry::NoKey;
    EXPECT_EQ(registry.openKey(0x80000001, RunSubKey, KeyAllAccess, missing), RegFileNotFound);
    EXPECT_EQ(registry.openKey(HiveLocalMachine, "SOFTWARE\\RUN\\", KeyAllAccess, missing),
              RegFileNotFound);
    XdgAutostartRegistry absent(folder / "no such folder");
    EXPECT_EQ(absent.openKey(HiveLocalMachine, RunSubKey, KeyAllAccess, missing), RegFileNotFound);
    EXPECT_EQ(missing, Registry::NoKey);
}

TEST_F(XdgAutostartRegistryTest, AValueIsAWorldReadableDesktopEntryWrittenWithoutLeftovers) {
    ASSERT_EQ(set("palisade", "/opt/Pal isade/palisade"), RegSuccess);
    EXPECT_EQ(folder.names(), std::vector<std::string>{"palisade.desktop"});
    EXPECT_EQ(ReadWhole(folder / "palisade.desktop"), "[Desktop Entry]\n"
                                                      "Type=Application\n"
                                                      "Name=palisade\n"
                                                      "Exec=\"/opt/Pal isade/palisade\"\n"
                                                      "TryExec=/opt/Pal isade/palisade\n");
    struct stat st {};
    ASSERT_EQ(::stat((folder / "palisade.desktop").c_str(), &st), 0);
    EXPECT_EQ(st.st_mode & 07777, 0644u);
}

TEST_F(XdgAutostartRegistryTest, WritingAgainReplacesTheEntry) {
    WriteWhole(folder / "palisade.desktop", "[Desktop Entry]\nExec=/old\n");
    ASSERT_EQ(set("palisade", "/new/palisade"), RegSuccess);
    EXPECT_NE(ReadWhole(folder / "palisade.desktop").find("Exec=/new/palisade\n"),
              std::string::npos);
    EXPECT_EQ(folder.names().size(), 1u);
}

TEST_F(XdgAutostartRegistryTest, DeletingRemovesOnlyThatEntryAndAMissingOneIsNotFound) {
    WriteWhole(folder / "other.desktop", "[Desktop Entry]\n");
    ASSERT_EQ(set("palisade", "/opt/palisade"), RegSuccess);
    EXPECT_EQ(registry.deleteValue(key, "palisade"), RegSuccess);
    EXPECT_EQ(registry.deleteValue(key, "palisade"), RegFileNotFound);
    EXPECT_EQ(folder.names(), std::vector<std::string>{"other.desktop"});
}

TEST_F(XdgAutostartRegistryTest, RefusesWhatCannotBeAnEntryInThisFolder) {
    EXPECT_EQ(registry.setValue(key, "palisade", RegTypeDword, "\1\0\0\0"s), RegInvalidParameter);
    EXPECT_EQ(set("../escape", "/opt/palisade"), RegInvalidParameter);
    EXPECT_EQ(set("", "/opt/palisade"), RegInvalidParameter);
    EXPECT_TRUE(folder.names().empty());
}

TEST_F(XdgAutostartRegistryTest, AKeyThatIsClosedOrNeverOpenedIsAnInvalidHandle) {
    EXPECT_EQ(registry.closeKey(key), RegSuccess);
    EXPECT_EQ(registry.closeKey(key), RegInvalidHandle);
    EXPECT_EQ(set("palisade", "/opt/palisade"), RegInvalidHandle);
    EXPECT_EQ(registry.deleteValue(Registry::NoKey, "palisade"), RegInvalidHandle);
    EXPECT_TRUE(folder.names().empty());
}

TEST_F(XdgAutostartRegistryTest, EntriesForAwkwardPathsPassTheValidator) {
    if (!HaveDesktopFileValidate())
        GTEST_SKIP() << "desktop-file-validate is not installed";
    ASSERT_EQ(set("palisade", "/opt/Pal isade/100% \"sure\" $HOME\\`x`/palisade"), RegSuccess);
    const Validation verdict = ValidateDesktopFile(folder / "palisade.desktop");
    EXPECT_EQ(verdict.status, 0) << verdict.output;
    EXPECT_EQ(verdict.output, "");
}

} // namespace
} // namespace palisade::test
