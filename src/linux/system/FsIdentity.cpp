#include "linux/system/FsIdentity.h"

#include <cerrno>
#include <grp.h>
#include <optional>
#include <pwd.h>
#include <string>
#include <sys/fsuid.h>
#include <unistd.h>
#include <vector>

namespace palisade {

namespace {

std::optional<std::string> NameOf(uid_t uid) {
    std::vector<char> buffer(16384);
    passwd entry{};
    passwd* found = nullptr;
    while (::getpwuid_r(uid, &entry, buffer.data(), buffer.size(), &found) == ERANGE)
        buffer.resize(buffer.size() * 2);
    if (found == nullptr || found->pw_name == nullptr)
        return std::nullopt;
    return std::string(found->pw_name);
}

} // namespace

std::vector<gid_t> GroupsOf(const UserAccount& account) {
    const auto name = NameOf(account.uid);
    if (!name)
        return {account.gid};
    std::vector<gid_t> groups(32);
    int count = static_cast<int>(groups.size());
    while (::getgrouplist(name->c_str(), account.gid, groups.data(), &count) < 0) {
        const auto wanted = static_cast<std::size_t>(count);
        groups.resize(wanted > groups.size() ? wanted : groups.size() * 2);
        count = static_cast<int>(groups.size());
    }
    groups.resize(static_cast<std::size_t>(count));
    return groups;
}

bool TakeGroupsOf(const UserAccount& account) {
    const std::vector<gid_t> groups = GroupsOf(account);
    return ::setgroups(groups.size(), groups.data()) == 0;
}

AsUser::AsUser(const std::optional<UserAccount>& account) {
    if (!account)
        return;
    // The group first: once the user id is no longer root, changing it would need a
    // capability that the switch has just dropped.
    previousGid_ = static_cast<gid_t>(::setfsgid(account->gid));
    previousUid_ = static_cast<uid_t>(::setfsuid(account->uid));
    switched_ = true;
}

AsUser::~AsUser() {
    if (!switched_)
        return;
    ::setfsuid(previousUid_);
    ::setfsgid(previousGid_);
}

} // namespace palisade
