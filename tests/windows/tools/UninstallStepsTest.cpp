#include "windows/tools/UninstallSteps.h"

#include "platform/Registry.h"
#include "windows/system/Handles.h"

#include <gtest/gtest.h>

namespace palisade::test {
namespace {

using win32::RemoveRunValueOf;
using win32::RunValueNamesProgram;

constexpr const char* Program = "C:\\Program Files\\Palisade\\palisade.exe";

TEST(RunValueNamesProgram, OnlyTheSamePathQuotedOrNotInAnyCase) {
    const struct {
        const char* data;
        bool names;
    } cases[] = {
        {"C:\\Program Files\\Palisade\\palisade.exe", true},
        {"\"C:\\Program Files\\Palisade\\palisade.exe\"", true},
        {"c:\\program files\\PALISADE\\Palisade.EXE", true},
        {"C:\\Program Files\\Palisade2\\palisade.exe", false},
        {"C:\\Program Files\\Palisade\\palisade.exe /hidden", false},
        {"\"C:\\Program Files\\Palisade\\palisade.exe", false},
    };
    for (const auto& c : cases)
        EXPECT_EQ(RunValueNamesProgram(c.data, Program), c.names) << c.data;
    EXPECT_FALSE(RunValueNamesProgram("", ""));
}

class RunValues : public ::testing::Test {
protected:
    // A name of its own, so that no other test's value is touched.
    static constexpr const char* Name = "palisade-uninstall-test.exe";

    void TearDown() override {
        Run([](HKEY key) { ::RegDeleteValueA(key, Name); });
    }

    template <typename Work> static void Run(Work work) {
        HKEY run = nullptr;
        ASSERT_EQ(::RegCreateKeyExA(HKEY_LOCAL_MACHINE, RunSubKey, 0, nullptr, 0,
                                    KEY_ALL_ACCESS | KEY_WOW64_64KEY, nullptr, &run, nullptr),
                  ERROR_SUCCESS);
        UniqueHKey key(run);
        work(run);
    }
    static void Put(const std::string& data) {
        Run([&](HKEY key) {
            ::RegSetValueExA(key, Name, 0, REG_SZ, reinterpret_cast<const BYTE*>(data.c_str()),
                             static_cast<DWORD>(data.size() + 1));
        });
    }
    static bool There() {
        bool there = false;
        Run([&](HKEY key) {
            there =
                ::RegQueryValueExA(key, Name, nullptr, nullptr, nullptr, nullptr) == ERROR_SUCCESS;
        });
        return there;
    }
};

TEST_F(RunValues, OnlyTheValueThatStartsThisInstallsProgramGoes) {
    const std::string program = std::string("C:\\Program Files\\Palisade\\") + Name;
    Put("D:\\Portable\\" + std::string(Name));
    EXPECT_FALSE(RemoveRunValueOf(program));
    EXPECT_TRUE(There()) << "a copy elsewhere keeps starting with Windows";

    Put(program);
    EXPECT_TRUE(RemoveRunValueOf(program));
    EXPECT_FALSE(There());
    EXPECT_FALSE(RemoveRunValueOf(program)) << "nothing left to remove";
}

} // namespace
} // namespace palisade::test
