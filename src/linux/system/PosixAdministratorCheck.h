#pragma once

#include "platform/AdminTest.h"

#include <optional>
#include <string>
#include <sys/types.h>
#include <vector>

namespace palisade {

// What the administrator test asks of the system about the running process.
class PosixAccounts {
public:
    virtual ~PosixAccounts() = default;
    virtual uid_t effectiveUser() = 0;
    virtual gid_t effectiveGroup() = 0;
    // The supplementary groups; empty when they cannot be read.
    virtual std::vector<gid_t> supplementaryGroups() = 0;
    // Nothing when the group has no name that can be looked up.
    virtual std::optional<std::string> groupName(gid_t group) = 0;
};

PosixAccounts& RealAccounts();

// An administrator is root, or a user whose process belongs to a group named "sudo", "wheel" or
// "admin": such a user is one command away from root, as an administrator under User Account
// Control is one elevation away.
class PosixAdministratorCheck : public AdminTest {
public:
    explicit PosixAdministratorCheck(PosixAccounts& accounts = RealAccounts())
        : accounts_(accounts) {}
    std::int32_t IsAdministrator() override;

private:
    PosixAccounts& accounts_;
};

} // namespace palisade
