#pragma once

#include "platform/AdminTest.h"

#include <windows.h>

namespace palisade {

// The security calls the administrator test makes, so that its decisions can be tried on
// made-up tokens.
class TokenApi {
public:
    virtual ~TokenApi() = default;
    virtual HANDLE currentProcess() = 0;
    virtual BOOL openProcessToken(HANDLE process, DWORD access, HANDLE* token) = 0;
    virtual BOOL getTokenInformation(HANDLE token, TOKEN_INFORMATION_CLASS kind, void* buffer,
                                     DWORD length, DWORD* returned) = 0;
    virtual BOOL allocateAndInitializeSid(SID_IDENTIFIER_AUTHORITY* authority, BYTE count,
                                          DWORD sub0, DWORD sub1, PSID* sid) = 0;
    virtual BOOL lookupAccountSid(PSID sid, char* name, DWORD* nameLength, char* domain,
                                  DWORD* domainLength, SID_NAME_USE* use) = 0;
    virtual void freeSid(PSID sid) = 0;
    virtual void closeHandle(HANDLE handle) = 0;
};

TokenApi& realTokenApi();

// Whether the user belongs to the built-in Administrators group, decided by comparing the
// account names of the token's groups with that group's name. Group attributes are not looked
// at, so an administrator without elevation is still reported as one.
class Win32AdministratorCheck : public AdminTest {
public:
    explicit Win32AdministratorCheck(TokenApi& api = realTokenApi()) : api_(api) {}
    std::int32_t IsAdministrator() override;

private:
    TokenApi& api_;
};

} // namespace palisade
