#pragma once

#include "platform/posix/UserAccount.h"

#include <optional>

namespace palisade {

// Switches the calling thread's file-system identity (setfsuid/setfsgid) to a user for as long
// as it lives, then back. Files it creates belong to that user, and the kernel checks every
// access, links included, against that user's rights: a root process gains nothing from a link
// the user planted. The program does its file work on one thread, the one that holds this.
// With no account it changes nothing.
class AsUser {
public:
    explicit AsUser(const std::optional<UserAccount>& account);
    ~AsUser();
    AsUser(const AsUser&) = delete;
    AsUser& operator=(const AsUser&) = delete;

private:
    bool switched_ = false;
    uid_t previousUid_ = 0;
    gid_t previousGid_ = 0;
};

} // namespace palisade
