#include "platform/posix/FsIdentity.h"

#include <sys/fsuid.h>

namespace palisade {

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
