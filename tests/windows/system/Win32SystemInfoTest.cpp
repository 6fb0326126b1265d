#include "windows/system/Win32SystemInfo.h"

#include "platform/FileHelpers.h"

#include <gtest/gtest.h>
#include <windows.h>

namespace palisade {
namespace {

// Full, case-folded form of a path, so that two spellings of one file compare equal.
std::string Canonical(const std::string& path) {
    char buffer[MAX_PATH * 2];
    const DWORD n = ::GetFullPathNameA(path.c_str(), sizeof buffer, buffer, nullptr);
    std::string full = (n > 0 && n < sizeof buffer) ? std::string(buffer, n) : path;
    for (char& c : full)
        c = static_cast<char>(::tolower(static_cast<unsigned char>(c)));
    return full;
}

bool IsFolder(const std::string& path) {
    const DWORD attributes = ::GetFileAttributesA(path.c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY);
}

bool IsFile(const std::string& path) {
    const DWORD attributes = ::GetFileAttributesA(path.c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && !(attributes & FILE_ATTRIBUTE_DIRECTORY);
}

TEST(Win32SystemInfo, HostsFileUnderSystemDirectoryIsTheOneUnderWindir) {
    Win32SystemInfo system;
    const std::string fromSystemDir = system.systemDirectory() + "\\drivers\\etc\\hosts";
    const std::string fromWindir =
        system.environmentVariable("WINDIR") + "\\system32\\drivers\\etc\\hosts";

    EXPECT_TRUE(IsFile(fromSystemDir)) << fromSystemDir;
    EXPECT_EQ(Canonical(fromSystemDir), Canonical(fromWindir));
    EXPECT_NE(system.systemDirectory().back(), '\\');
}

TEST(Win32SystemInfo, CommonAppDataIsARealFolderOnceTidied) {
    Win32SystemInfo system;
    const auto raw = system.specialFolder(CommonAppData);
    ASSERT_TRUE(raw.has_value());
    // The raw answer is the whole buffer, padding and all; the core's helper tidies it.
    EXPECT_EQ(raw->size(), 512u);
    const std::string folder = GetSpecialFolder(system, CommonAppData);
    EXPECT_FALSE(folder.empty());
    EXPECT_TRUE(IsFolder(folder)) << folder;
}

TEST(Win32SystemInfo, ProgramFolderHoldsTheRunningExecutable) {
    Win32SystemInfo system;
    const std::string exe = system.executablePath();
    const std::string folder = system.programFolder();

    EXPECT_TRUE(IsFile(exe)) << exe;
    EXPECT_TRUE(IsFolder(folder)) << folder;
    EXPECT_EQ(Canonical(folder + "\\" + exe.substr(exe.find_last_of('\\') + 1)), Canonical(exe));
}

TEST(Win32SystemInfo, FolderOfPathKeepsOnlyARootsBackslash) {
    EXPECT_EQ(FolderOfPath("C:\\Program Files\\Palisade\\Palisade.exe"),
              "C:\\Program Files\\Palisade");
    EXPECT_EQ(FolderOfPath("C:\\Palisade.exe"), "C:\\");
    EXPECT_EQ(FolderOfPath("\\\\server\\share\\Palisade.exe"), "\\\\server\\share");
}

TEST(Win32SystemInfo, EnvironmentVariablesOfAnyLengthComeBackWhole) {
    Win32SystemInfo system;
    const std::string longValue(1000, 'x');
    ASSERT_TRUE(::SetEnvironmentVariableA("PALISADE_TEST_VALUE", longValue.c_str()));
    EXPECT_EQ(system.environmentVariable("PALISADE_TEST_VALUE"), longValue);
    ::SetEnvironmentVariableA("PALISADE_TEST_VALUE", nullptr);
    EXPECT_EQ(system.environmentVariable("PALISADE_TEST_VALUE"), "");
}

TEST(Win32SystemInfo, WindowsConventions) {
    Win32SystemInfo system;
    EXPECT_EQ(system.separator(), "\\");
    EXPECT_EQ(system.lineEnd(), "\r\n");
}

} // namespace
} // namespace palisade
