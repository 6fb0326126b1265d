#include "windows/system/Win32AdministratorCheck.h"

#include <algorithm>
#include <array>
#include <cstddef>
#include <cstring>
#include <vector>

namespace palisade {

namespace {

constexpr DWORD TokenRead = 0x20008;
constexpr DWORD NameLength = 255;
// Entries past this many are never examined.
constexpr std::size_t MaxGroups = 501;

class RealTokenApi : public TokenApi {
public:
    HANDLE currentProcess() override { return ::GetCurrentProcess(); }
    BOOL openProcessToken(HANDLE process, DWORD access, HANDLE* token) override {
        return ::OpenProcessToken(process, access, token);
    }
    BOOL getTokenInformation(HANDLE token, TOKEN_INFORMATION_CLASS kind, void* buffer, DWORD length,
                             DWORD* returned) override {
        return ::GetTokenInformation(token, kind, buffer, length, returned);
    }
    BOOL allocateAndInitializeSid(SID_IDENTIFIER_AUTHORITY* authority, BYTE count, DWORD sub0,
                                  DWORD sub1, PSID* sid) override {
        return ::AllocateAndInitializeSid(authority, count, sub0, sub1, 0, 0, 0, 0, 0, 0, sid);
    }
    BOOL lookupAccountSid(PSID sid, char* name, DWORD* nameLength, char* domain,
                          DWORD* domainLength, SID_NAME_USE* use) override {
        return ::LookupAccountSidA(nullptr, sid, name, nameLength, domain, domainLength, use);
    }
    void freeSid(PSID sid) override { ::FreeSid(sid); }
    void closeHandle(HANDLE handle) override { ::CloseHandle(handle); }
};

// Closes a handle opened through the api when it goes out of scope.
class ApiHandle {
public:
    explicit ApiHandle(TokenApi& api) : api_(api) {}
    ~ApiHandle() {
        if (handle_ != nullptr)
            api_.closeHandle(handle_);
    }
    ApiHandle(const ApiHandle&) = delete;
    ApiHandle& operator=(const ApiHandle&) = delete;
    HANDLE get() const { return handle_; }
    HANDLE* put() { return &handle_; }

private:
    TokenApi& api_;
    HANDLE handle_ = nullptr;
};

// Frees a SID built through the api when it goes out of scope.
class ApiSid {
public:
    explicit ApiSid(TokenApi& api) : api_(api) {}
    ~ApiSid() {
        if (sid_ != nullptr)
            api_.freeSid(sid_);
    }
    ApiSid(const ApiSid&) = delete;
    ApiSid& operator=(const ApiSid&) = delete;
    PSID get() const { return sid_; }
    PSID* put() { return &sid_; }

private:
    TokenApi& api_;
    PSID sid_ = nullptr;
};

using NameBuffer = std::array<char, NameLength>;

// The account name of sid written into name, which starts as spaces; a failed lookup leaves it
// so, and such a buffer never equals a real name.
BOOL LookUpName(TokenApi& api, PSID sid, NameBuffer& name) {
    NameBuffer domain;
    name.fill(' ');
    domain.fill(' ');
    DWORD nameLength = NameLength;
    DWORD domainLength = NameLength;
    SID_NAME_USE use{};
    return api.lookupAccountSid(sid, name.data(), &nameLength, domain.data(), &domainLength, &use);
}

} // namespace

TokenApi& realTokenApi() {
    static RealTokenApi api;
    return api;
}

std::int32_t Win32AdministratorCheck::IsAdministrator() {
    const HANDLE process = api_.currentProcess();
    if (process == nullptr)
        return 0;
    ApiHandle token(api_);
    if (api_.openProcessToken(process, TokenRead, token.put()) != 1)
        return 0;

    DWORD needed = 0;
    if (api_.getTokenInformation(token.get(), TokenGroups, nullptr, 0, &needed) != 0 || needed == 0)
        return 0;
    // Exactly the size the system asked for, so the second query cannot write beyond it.
    std::vector<BYTE> record(needed);
    DWORD returned = 0;
    if (api_.getTokenInformation(token.get(), TokenGroups, record.data(), needed, &returned) != 1)
        return 0;

    SID_IDENTIFIER_AUTHORITY ntAuthority = SECURITY_NT_AUTHORITY;
    ApiSid administrators(api_);
    if (api_.allocateAndInitializeSid(&ntAuthority, 2, SECURITY_BUILTIN_DOMAIN_RID,
                                      DOMAIN_ALIAS_RID_ADMINS, administrators.put()) != 1)
        return 0;
    NameBuffer adminName;
    if (LookUpName(api_, administrators.get(), adminName) != 1)
        return 0;

    // Read the record field by field: it is bytes, and a count larger than what fits in it is
    // not believed.
    constexpr std::size_t first = offsetof(TOKEN_GROUPS, Groups);
    if (record.size() < first)
        return 0;
    DWORD count = 0;
    std::memcpy(&count, record.data(), sizeof count);
    const std::size_t fits = (record.size() - first) / sizeof(SID_AND_ATTRIBUTES);
    const std::size_t examined = std::min<std::size_t>({count, fits, MaxGroups});

    NameBuffer groupName;
    for (std::size_t i = 0; i < examined; ++i) {
        SID_AND_ATTRIBUTES entry{};
        std::memcpy(&entry, record.data() + first + i * sizeof entry, sizeof entry);
        LookUpName(api_, entry.Sid, groupName);
        if (groupName == adminName)
            return -1;
    }
    return 0;
}

} // namespace palisade
