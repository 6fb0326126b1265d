#include "windows/system/Win32AdministratorCheck.h"

#include <cstddef>
#include <cstdint>
#include <cstring>
#include <gtest/gtest.h>
#include <map>
#include <optional>
#include <string>
#include <vector>

namespace palisade {
namespace {

// A made-up token: groups are addresses in `sids`, names come from `names`.
struct FakeTokenApi : TokenApi {
    inline static BYTE processObject = 0;
    inline static BYTE tokenObject = 0;
    inline static const HANDLE Process = &processObject;
    inline static const HANDLE Token = &tokenObject;

    std::vector<BYTE> sids = std::vector<BYTE>(1000);
    PSID adminSid = &adminStorage;
    BYTE adminStorage = 0;
    std::map<PSID, std::string> names;
    std::vector<PSID> groups;
    bool openWorks = true;
    bool firstQuerySucceeds = false;
    DWORD firstQueryLength = DWORD(-1); // -1: the record's real size
    bool secondQueryWorks = true;
    bool adminLookupWorks = true;

    std::vector<DWORD> secondQueryLengths;
    std::vector<PSID> lookups;
    int freed = 0;
    std::vector<HANDLE> closed;
    std::vector<DWORD> sidArguments;
    std::vector<BYTE> sidAuthority;

    PSID group(std::size_t i) { return &sids.at(i); }
    void addGroup(std::size_t i, std::optional<std::string> name) {
        groups.push_back(group(i));
        if (name)
            names[group(i)] = *name;
    }
    std::vector<BYTE> record() const {
        std::vector<BYTE> bytes(offsetof(TOKEN_GROUPS, Groups) +
                                groups.size() * sizeof(SID_AND_ATTRIBUTES));
        const DWORD count = static_cast<DWORD>(groups.size());
        std::memcpy(bytes.data(), &count, sizeof count);
        for (std::size_t i = 0; i < groups.size(); ++i) {
            SID_AND_ATTRIBUTES entry{groups[i], SE_GROUP_USE_FOR_DENY_ONLY};
            std::memcpy(bytes.data() + offsetof(TOKEN_GROUPS, Groups) + i * sizeof entry, &entry,
                        sizeof entry);
        }
        return bytes;
    }

    HANDLE currentProcess() override { return Process; }
    BOOL openProcessToken(HANDLE process, DWORD access, HANDLE* token) override {
        EXPECT_EQ(process, Process);
        EXPECT_EQ(access, 0x20008u);
        if (!openWorks)
            return FALSE;
        *token = Token;
        return TRUE;
    }
    BOOL getTokenInformation(HANDLE token, TOKEN_INFORMATION_CLASS kind, void* buffer, DWORD length,
                             DWORD* returned) override {
        EXPECT_EQ(token, Token);
        EXPECT_EQ(kind, TokenGroups);
        const auto bytes = record();
        const DWORD size =
            firstQueryLength == DWORD(-1) ? static_cast<DWORD>(bytes.size()) : firstQueryLength;
        if (length == 0) {
            *returned = firstQuerySucceeds ? 0 : size;
            return firstQuerySucceeds ? TRUE : FALSE;
        }
        secondQueryLengths.push_back(length);
        if (!secondQueryWorks || length < bytes.size())
            return FALSE;
        // Writes as much as the caller declared, as the system may: the buffer must hold it.
        std::memset(buffer, 0, length);
        std::memcpy(buffer, bytes.data(), bytes.size());
        *returned = static_cast<DWORD>(bytes.size());
        return TRUE;
    }
    BOOL allocateAndInitializeSid(SID_IDENTIFIER_AUTHORITY* authority, BYTE count, DWORD sub0,
                                  DWORD sub1, PSID* sid) override {
        sidAuthority.assign(authority->Value, authority->Value + 6);
        sidArguments = {count, sub0, sub1};
        *sid = adminSid;
        return TRUE;
    }
    BOOL lookupAccountSid(PSID sid, char* name, DWORD* nameLength, char* domain,
                          DWORD* domainLength, SID_NAME_USE*) override {
        EXPECT_EQ(*nameLength, 255u);
        EXPECT_EQ(*domainLength, 255u);
        EXPECT_EQ(name[254], ' ');
        if (sid == adminSid) {
            if (!adminLookupWorks)
                return FALSE;
            std::strcpy(name, "Administrators");
            std::strcpy(domain, "BUILTIN");
            return TRUE;
        }
        lookups.push_back(sid);
        auto it = names.find(sid);
        if (it == names.end())
            return FALSE;
        std::strcpy(name, it->second.c_str());
        std::strcpy(domain, "CORP");
        return TRUE;
    }
    void freeSid(PSID sid) override {
        EXPECT_EQ(sid, adminSid);
        ++freed;
    }
    void closeHandle(HANDLE handle) override { closed.push_back(handle); }
};

TEST(Win32AdministratorCheck, MemberIsFoundByNameAndEverythingIsReleased) {
    FakeTokenApi api;
    api.addGroup(0, "Everyone");
    api.addGroup(1, "Administrators");
    api.addGroup(2, "Users");
    EXPECT_EQ(Win32AdministratorCheck(api).IsAdministrator(), -1);
    EXPECT_EQ(api.sidAuthority, (std::vector<BYTE>{0, 0, 0, 0, 0, 5}));
    EXPECT_EQ(api.sidArguments, (std::vector<DWORD>{2, 32, 544}));
    EXPECT_EQ(api.lookups.size(), 2u) << "stops at the first match";
    EXPECT_EQ(api.freed, 1);
    EXPECT_EQ(api.closed, std::vector<HANDLE>{FakeTokenApi::Token});
}

TEST(Win32AdministratorCheck, StandardUserIsNotAMember) {
    FakeTokenApi api;
    api.addGroup(0, "Everyone");
    api.addGroup(1, "Users");
    api.addGroup(2, "administrators");
    api.addGroup(3, "Administrators ");
    EXPECT_EQ(Win32AdministratorCheck(api).IsAdministrator(), 0);
    EXPECT_EQ(api.lookups.size(), 4u);
}

TEST(Win32AdministratorCheck, GroupWithoutANameIsPassedOver) {
    FakeTokenApi api;
    api.addGroup(0, std::nullopt);
    api.addGroup(1, std::nullopt);
    EXPECT_EQ(Win32AdministratorCheck(api).IsAdministrator(), 0);
    api.addGroup(2, "Administrators");
    EXPECT_EQ(Win32AdministratorCheck(api).IsAdministrator(), -1);
}

TEST(Win32AdministratorCheck, ZeroGroupsIsNotAMemberWithoutAnyGroupLookup) {
    FakeTokenApi api;
    EXPECT_EQ(Win32AdministratorCheck(api).IsAdministrator(), 0);
    EXPECT_TRUE(api.lookups.empty());
    EXPECT_EQ(api.freed, 1);
}

TEST(Win32AdministratorCheck, FirstQuerySucceedingWithZeroLengthIsNotAMember) {
    FakeTokenApi api;
    api.addGroup(0, "Administrators");
    api.firstQuerySucceeds = true;
    EXPECT_EQ(Win32AdministratorCheck(api).IsAdministrator(), 0);
    EXPECT_TRUE(api.secondQueryLengths.empty());
    EXPECT_TRUE(api.sidArguments.empty());
    EXPECT_EQ(api.closed, std::vector<HANDLE>{FakeTokenApi::Token});
}

TEST(Win32AdministratorCheck, SecondQueryGetsABufferOfTheReportedSize) {
    // More groups than the classic 4012-byte record holds.
    FakeTokenApi api;
    for (std::size_t i = 0; i < 600; ++i)
        api.addGroup(i, i == 500 ? std::optional<std::string>("Administrators") : std::nullopt);
    api.firstQueryLength = static_cast<DWORD>(api.record().size() + 64);
    EXPECT_EQ(Win32AdministratorCheck(api).IsAdministrator(), -1);
    EXPECT_EQ(api.secondQueryLengths, std::vector<DWORD>{api.firstQueryLength});
}

TEST(Win32AdministratorCheck, EntriesPastTheFiveHundredFirstAreNotExamined) {
    FakeTokenApi api;
    for (std::size_t i = 0; i < 600; ++i)
        api.addGroup(i, i == 501 ? std::optional<std::string>("Administrators") : std::nullopt);
    EXPECT_EQ(Win32AdministratorCheck(api).IsAdministrator(), 0);
    EXPECT_EQ(api.lookups.size(), 501u);
}

TEST(Win32AdministratorCheck, FailingCallsMeanNotAMemberAndReleaseWhatWasTaken) {
    {
        FakeTokenApi api;
        api.addGroup(0, "Administrators");
        api.openWorks = false;
        EXPECT_EQ(Win32AdministratorCheck(api).IsAdministrator(), 0);
        EXPECT_TRUE(api.closed.empty());
    }
    {
        FakeTokenApi api;
        api.addGroup(0, "Administrators");
        api.secondQueryWorks = false;
        EXPECT_EQ(Win32AdministratorCheck(api).IsAdministrator(), 0);
        EXPECT_EQ(api.closed, std::vector<HANDLE>{FakeTokenApi::Token});
        EXPECT_EQ(api.freed, 0);
    }
    {
        FakeTokenApi api;
        api.addGroup(0, "Administrators");
        api.adminLookupWorks = false;
        EXPECT_EQ(Win32AdministratorCheck(api).IsAdministrator(), 0);
        EXPECT_TRUE(api.lookups.empty());
        EXPECT_EQ(api.freed, 1);
        EXPECT_EQ(api.closed, std::vector<HANDLE>{FakeTokenApi::Token});
    }
}

// Wine's user belongs to the Administrators group.
TEST(Win32AdministratorCheck, RealTokenOfThisProcessIsAMember) {
    EXPECT_EQ(Win32AdministratorCheck().IsAdministrator(), -1);
}

} // namespace
} // namespace palisade
