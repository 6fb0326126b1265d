// Runs against the Run key of the throwaway Wine prefix the tests live in, and removes every
// value it writes.
#include "platform/RegStuff.h"
#include "platform/StartUp.h"
#include "support/Fakes.h"
#include "windows/system/Win32Registry.h"

#include <gtest/gtest.h>

namespace palisade::test {
namespace {

using namespace std::string_literals;

constexpr const char* RunPath = "SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Run";

struct RunValue {
    DWORD type = 0;
    std::string data; // as stored, terminating NUL included
};

std::optional<RunValue> ReadRunValue(const std::string& name) {
    UniqueHKey key;
    if (::RegOpenKeyExA(HKEY_LOCAL_MACHINE, RunPath, 0, KEY_QUERY_VALUE, key.put()) !=
        ERROR_SUCCESS)
        return std::nullopt;
    DWORD type = 0;
    DWORD size = 0;
    if (::RegQueryValueExA(key.get(), name.c_str(), nullptr, &type, nullptr, &size) !=
        ERROR_SUCCESS)
        return std::nullopt;
    std::string data(size, '\0');
    if (::RegQueryValueExA(key.get(), name.c_str(), nullptr, &type,
                           reinterpret_cast<BYTE*>(data.data()), &size) != ERROR_SUCCESS)
        return std::nullopt;
    data.resize(size);
    return RunValue{type, data};
}

void PutRunValue(const std::string& name, const std::string& text) {
    UniqueHKey key;
    ASSERT_EQ(::RegOpenKeyExA(HKEY_LOCAL_MACHINE, RunPath, 0, KEY_SET_VALUE, key.put()),
              ERROR_SUCCESS);
    ASSERT_EQ(::RegSetValueExA(key.get(), name.c_str(), 0, REG_SZ,
                               reinterpret_cast<const BYTE*>(text.c_str()),
                               static_cast<DWORD>(text.size() + 1)),
              ERROR_SUCCESS);
}

void DropRunValue(const std::string& name) {
    UniqueHKey key;
    if (::RegOpenKeyExA(HKEY_LOCAL_MACHINE, RunPath, 0, KEY_SET_VALUE, key.put()) == ERROR_SUCCESS)
        ::RegDeleteValueA(key.get(), name.c_str());
}

struct Win32RunKeyTest : ::testing::Test {
    static constexpr const char* Own = "Palisade.exe";
    static constexpr const char* Other = "Aaa Uninstall.exe";

    void SetUp() override {
        DropRunValue(Own);
        DropRunValue(Other);
    }
    void TearDown() override {
        DropRunValue(Own);
        DropRunValue(Other);
    }
    void runFrom(const std::string& folder) {
        system.program = folder;
        system.exe = folder.ends_with("\\") ? folder + Own : folder + "\\" + Own;
    }

    Win32Registry registry;
    FakeSystemInfo system;
    RegStuff regStuff{registry, system};
    mStartUp startUp{regStuff, system};
};

TEST_F(Win32RunKeyTest, StoresTheProgramPathUnquotedForARootAndAFolderWithSpaces) {
    runFrom("C:\\");
    startUp.EnableWindowsStartup();
    auto value = ReadRunValue(Own);
    ASSERT_TRUE(value);
    EXPECT_EQ(value->type, static_cast<DWORD>(REG_SZ));
    EXPECT_EQ(value->data, "C:\\Palisade.exe\0"s);

    runFrom("C:\\Program Files\\Pal isade");
    startUp.EnableWindowsStartup();
    value = ReadRunValue(Own);
    ASSERT_TRUE(value);
    EXPECT_EQ(value->data, "C:\\Program Files\\Pal isade\\Palisade.exe\0"s);
}

TEST_F(Win32RunKeyTest, ReplacesAnExistingValueAndRemovesItThenAMissingOneSilently) {
    PutRunValue(Own, "D:\\elsewhere\\Palisade.exe");
    runFrom("C:\\Program Files\\Palisade");
    startUp.EnableWindowsStartup();
    ASSERT_TRUE(ReadRunValue(Own));
    EXPECT_EQ(ReadRunValue(Own)->data, "C:\\Program Files\\Palisade\\Palisade.exe\0"s);

    EXPECT_TRUE(startUp.DisableWindowsStartup());
    EXPECT_FALSE(ReadRunValue(Own));
    EXPECT_TRUE(startUp.DisableWindowsStartup()); // a missing value is no failure
    EXPECT_FALSE(ReadRunValue(Own));
}

TEST_F(Win32RunKeyTest, AnotherExecutableInTheFolderIsLeftAlone) {
    char temp[MAX_PATH + 1] = {};
    ASSERT_NE(::GetTempPathA(MAX_PATH, temp), 0u);
    const std::string folder =
        std::string(temp) + "palisade-runkey-" + std::to_string(::GetCurrentProcessId());
    ASSERT_TRUE(::CreateDirectoryA(folder.c_str(), nullptr));
    // Named to come first in any listing of the folder.
    for (const char* name : {Other, Own})
        UniqueHandle(::CreateFileA((folder + "\\" + name).c_str(), GENERIC_WRITE, 0, nullptr,
                                   CREATE_NEW, FILE_ATTRIBUTE_ARCHIVE, nullptr));
    PutRunValue(Other, folder + "\\" + Other);
    runFrom(folder);

    startUp.EnableWindowsStartup();
    ASSERT_TRUE(ReadRunValue(Own));
    EXPECT_EQ(ReadRunValue(Own)->data, folder + "\\" + Own + '\0');
    startUp.DisableWindowsStartup();
    EXPECT_FALSE(ReadRunValue(Own));
    ASSERT_TRUE(ReadRunValue(Other));
    EXPECT_EQ(ReadRunValue(Other)->data, folder + "\\" + Other + '\0');

    for (const char* name : {Other, Own})
        ::DeleteFileA((folder + "\\" + name).c_str());
    ::RemoveDirectoryA(folder.c_str());
}

TEST_F(Win32RunKeyTest, AMissingKeyIsNotCreatedAndItsStatusComesBack) {
    const std::string missing = "SOFTWARE\\PALISADE-NO-SUCH-KEY\\";
    EXPECT_EQ(regStuff.WriteRegValue(HiveLocalMachine, missing, Own, std::string("x"), RegTypeSz),
              ERROR_FILE_NOT_FOUND);
    UniqueHKey probe;
    EXPECT_EQ(::RegOpenKeyExA(HKEY_LOCAL_MACHINE, missing.c_str(), 0, KEY_READ, probe.put()),
              ERROR_FILE_NOT_FOUND);

    Registry::Key key = Registry::NoKey;
    EXPECT_EQ(registry.openKey(HiveLocalMachine, missing, KeyAllAccess, key), ERROR_FILE_NOT_FOUND);
    EXPECT_EQ(registry.setValue(key, Own, RegTypeSz, "x\0"s), ERROR_INVALID_HANDLE);
    EXPECT_EQ(registry.closeKey(key), ERROR_INVALID_HANDLE);
}

} // namespace
} // namespace palisade::test
