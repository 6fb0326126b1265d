#include "windows/system/RegistrySettingsStore.h"

#include "platform/RuntimeError.h"
#include "settings/SettingsKeys.h"
#include "windows/system/Handles.h"

#include <gtest/gtest.h>
#include <windows.h>

namespace palisade {
namespace {

const std::string kApplication(SettingsApplication);
const std::string kSection(SettingsSection);

// A key of its own under HKEY_CURRENT_USER of the test prefix, deleted with all below it.
class RegistrySettingsStoreTest : public ::testing::Test {
protected:
    const std::string root = "Software\\PalisadeTests\\" + std::to_string(::GetCurrentProcessId()) +
                             "-" + ::testing::UnitTest::GetInstance()->current_test_info()->name();
    RegistrySettingsStore store{root};

    ~RegistrySettingsStoreTest() override { ::RegDeleteTreeA(HKEY_CURRENT_USER, root.c_str()); }

    std::string sectionKey() const { return root + "\\" + kApplication + "\\" + kSection; }

    // The names of the values under the section key.
    std::vector<std::string> valueNames() const {
        std::vector<std::string> names;
        UniqueHKey key;
        if (::RegOpenKeyExA(HKEY_CURRENT_USER, sectionKey().c_str(), 0, KEY_READ, key.put()) !=
            ERROR_SUCCESS)
            return names;
        for (DWORD i = 0;; ++i) {
            char name[256];
            DWORD size = sizeof name;
            if (::RegEnumValueA(key.get(), i, name, &size, nullptr, nullptr, nullptr, nullptr) !=
                ERROR_SUCCESS)
                return names;
            names.emplace_back(name, size);
        }
    }

    std::string roundTrip(const std::string& value) {
        store.write(kApplication, kSection, "Password", value);
        return store.read(kApplication, kSection, "Password", "default");
    }
};

TEST_F(RegistrySettingsStoreTest, AbsentApplicationSectionOrKeyGivesTheDefault) {
    EXPECT_EQ(store.read(kApplication, kSection, "BlockOnStart", "0"), "0");
    store.write(kApplication, kSection, "Minimized", "On");
    EXPECT_EQ(store.read(kApplication, kSection, "BlockOnStart", "0"), "0");
    EXPECT_EQ(store.read(kApplication, "Other Section", "Minimized", "Off"), "Off");
    EXPECT_EQ(store.read("Other", kSection, "Minimized", ""), "");
    EXPECT_EQ(store.read(kApplication, kSection, "Minimized", "Off"), "On");
}

TEST_F(RegistrySettingsStoreTest, ValuesComeBackByteForByte) {
    EXPECT_EQ(roundTrip("  secret with spaces  "), "  secret with spaces  ");
    EXPECT_EQ(roundTrip(""), "");
    EXPECT_EQ(roundTrip("a.com||My_Separator||b.com||My_Separator||"),
              "a.com||My_Separator||b.com||My_Separator||");
    EXPECT_EQ(roundTrip("line one\r\nline two\r\n"), "line one\r\nline two\r\n");
}

TEST_F(RegistrySettingsStoreTest, EightBitBytesComeBackUnchanged) {
    std::string high;
    for (int c = 0x80; c <= 0xFF; ++c)
        high.push_back(static_cast<char>(c));
    EXPECT_EQ(roundTrip("caf\xE9 " + high), "caf\xE9 " + high);
}

TEST_F(RegistrySettingsStoreTest, ASiteListOfSeveralMegabytesComesBackWhole) {
    std::string list;
    for (int i = 0; i < 200000; ++i)
        list += "www.site" + std::to_string(i) + ".com" + "||My_Separator||";
    ASSERT_GT(list.size(), 5'000'000u);
    store.write(kApplication, kSection, "Blocked Websites", list);
    EXPECT_EQ(store.read(kApplication, kSection, "Blocked Websites", ""), list);
}

TEST_F(RegistrySettingsStoreTest, RewritingAKeyLeavesOneValueHoldingTheLast) {
    store.write(kApplication, kSection, "Windows Startup", "On");
    store.write(kApplication, kSection, "Windows Startup", "On");
    store.write(kApplication, kSection, "Windows Startup", "Off");
    EXPECT_EQ(valueNames(), std::vector<std::string>{"Windows Startup"});
    EXPECT_EQ(store.read(kApplication, kSection, "Windows Startup", ""), "Off");
}

TEST_F(RegistrySettingsStoreTest, ValueOfAnotherTypeReadsAsAbsent) {
    store.write(kApplication, kSection, "Minimized", "On");
    UniqueHKey key;
    ASSERT_EQ(::RegOpenKeyExA(HKEY_CURRENT_USER, sectionKey().c_str(), 0, KEY_SET_VALUE, key.put()),
              ERROR_SUCCESS);
    const DWORD one = 1;
    ASSERT_EQ(::RegSetValueExA(key.get(), "BlockOnStart", 0, REG_DWORD,
                               reinterpret_cast<const BYTE*>(&one), sizeof one),
              ERROR_SUCCESS);
    EXPECT_EQ(store.read(kApplication, kSection, "BlockOnStart", "0"), "0");
}

TEST_F(RegistrySettingsStoreTest, ValueStoredWithoutTerminatorLosesNoCharacter) {
    store.write(kApplication, kSection, "Minimized", "On");
    UniqueHKey key;
    ASSERT_EQ(::RegOpenKeyExA(HKEY_CURRENT_USER, sectionKey().c_str(), 0, KEY_SET_VALUE, key.put()),
              ERROR_SUCCESS);
    ASSERT_EQ(
        ::RegSetValueExA(key.get(), "Password", 0, REG_SZ, reinterpret_cast<const BYTE*>("abc"), 3),
        ERROR_SUCCESS);
    EXPECT_EQ(store.read(kApplication, kSection, "Password", ""), "abc");
}

TEST_F(RegistrySettingsStoreTest, FailedWriteThrowsAndStoresNothing) {
    // A volatile application key cannot hold the lasting section key the store creates.
    UniqueHKey application;
    ASSERT_EQ(::RegCreateKeyExA(HKEY_CURRENT_USER, (root + "\\" + kApplication).c_str(), 0, nullptr,
                                REG_OPTION_VOLATILE, KEY_ALL_ACCESS, nullptr, application.put(),
                                nullptr),
              ERROR_SUCCESS);
    EXPECT_THROW(store.write(kApplication, kSection, "Minimized", "On"), RuntimeError);
    EXPECT_EQ(store.read(kApplication, kSection, "Minimized", "Off"), "Off");
}

TEST(RegistrySettingsStoreLocation, KeepsSettingsWhereTheBasicRuntimeKeepsThem) {
    // An application name of its own: the area may hold other programs' settings.
    const std::string application = "PalisadeTests-" + std::to_string(::GetCurrentProcessId());
    const std::string applicationKey = "Software\\VB and VBA Program Settings\\" + application;
    const std::string sectionKey = applicationKey + "\\" + kSection;
    {
        UniqueHKey key; // a value that runtime's save-setting function stored earlier
        ASSERT_EQ(::RegCreateKeyExA(HKEY_CURRENT_USER, sectionKey.c_str(), 0, nullptr, 0,
                                    KEY_SET_VALUE, nullptr, key.put(), nullptr),
                  ERROR_SUCCESS);
        ASSERT_EQ(::RegSetValueExA(key.get(), "Minimized", 0, REG_SZ,
                                   reinterpret_cast<const BYTE*>("On"), 3),
                  ERROR_SUCCESS);
    }
    RegistrySettingsStore store;
    EXPECT_EQ(store.read(application, kSection, "Minimized", "Off"), "On");
    store.write(application, kSection, "Password", " pw ");

    char data[16] = {};
    DWORD size = sizeof data;
    DWORD type = 0;
    EXPECT_EQ(::RegGetValueA(HKEY_CURRENT_USER, sectionKey.c_str(), "Password", RRF_RT_ANY, &type,
                             data, &size),
              ERROR_SUCCESS);
    EXPECT_EQ(type, static_cast<DWORD>(REG_SZ));
    EXPECT_EQ(std::string(data, size), std::string(" pw \0", 5));
    ::RegDeleteTreeA(HKEY_CURRENT_USER, applicationKey.c_str());
}

} // namespace
} // namespace palisade
