#include "linux/system/PosixSystemInfo.h"

#include "platform/FileHelpers.h"

#include <cstdlib>
#include <gtest/gtest.h>
#include <sys/stat.h>

namespace palisade {
namespace {

TEST(PosixSystemInfo, ExecutablePathIsTheRunningProgramInsideProgramFolder) {
    PosixSystemInfo info;
    const std::string exe = info.executablePath();
    ASSERT_FALSE(exe.empty());
    EXPECT_EQ(exe.front(), '/');
    struct stat st {};
    ASSERT_EQ(::stat(exe.c_str(), &st), 0);
    EXPECT_TRUE(S_ISREG(st.st_mode));

    const std::string folder = info.programFolder();
    EXPECT_EQ(exe.substr(0, folder.size() + 1), folder + "/");
    EXPECT_EQ(exe.find('/', folder.size() + 1), std::string::npos);
}

TEST(PosixSystemInfo, SpecialFolderKnowsOnlyProgramData) {
    PosixSystemInfo info;
    EXPECT_EQ(GetSpecialFolder(info, CommonAppData), "/var/lib");
    EXPECT_FALSE(info.specialFolder(0).has_value());
    EXPECT_FALSE(info.specialFolder(26).has_value());
}

TEST(PosixSystemInfo, EnvironmentVariableIsEmptyWhenUnset) {
    PosixSystemInfo info;
    ::setenv("PALISADE_TEST_VARIABLE", "a value", 1);
    EXPECT_EQ(info.environmentVariable("PALISADE_TEST_VARIABLE"), "a value");
    ::unsetenv("PALISADE_TEST_VARIABLE");
    EXPECT_EQ(info.environmentVariable("PALISADE_TEST_VARIABLE"), "");
}

} // namespace
} // namespace palisade
