#pragma once

#include "linux/system/Syscalls.h"
#include "linux/system/UniqueFd.h"
#include "platform/HostsLock.h"

namespace palisade {

// The file in the data folder that carries the lock.
inline constexpr const char* HostsLockFileName = "hosts.lock";

// The hosts lock as an exclusive flock on a file in the data folder. The hosts file cannot carry
// it: a rewrite puts a new file in its place, and a lock on the old one would guard nothing.
// Only the lock's owner (the process's own user, root for a copy that may write the hosts file)
// can open the file: it is made with mode 0600, never reached through a link, and taken only when
// it is a regular file of the owner's in a folder of the owner's that nobody else may write, so
// that no other user can hold it and keep root waiting. Anything else there makes it Unavailable.
// The kernel drops the lock when the holder ends, however it ends.
class FolderLock : public HostsLock {
public:
    explicit FolderLock(Syscalls& sys = RealSyscalls()) : sys_(sys) {}
    FolderLock(const FolderLock&) = delete;
    FolderLock& operator=(const FolderLock&) = delete;
    ~FolderLock() override;

    LockAttempt tryLock(const std::string& dataFolder) override;
    void unlock() override;

private:
    Syscalls& sys_;
    UniqueFd file_;
    int depth_ = 0;
};

} // namespace palisade
