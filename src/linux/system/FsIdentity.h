#pragma once

#include "linux/system/UserAccount.h"

#include <optional>
#include <vector>

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

// The user's groups as the group database has them; their own group alone when it cannot say.
std::vector<gid_t> GroupsOf(const UserAccount& account);

// Gives the process the supplementary groups of the user it works for in place of root's own.
// The kernel checks a switched identity's group rights against the process's groups: with
// root's (group 0) kept, the user would reach files only root's group may read or write.
// Root's own work needs no group, its capabilities pass every check. Groups are the process's,
// not the thread's: call it once, before other threads start. False when they stay root's.
bool TakeGroupsOf(const UserAccount& account);

} // namespace palisade
