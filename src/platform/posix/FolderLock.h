#pragma once

#include "platform/HostsLock.h"
#include "platform/posix/Syscalls.h"
#include "platform/posix/UniqueFd.h"

namespace palisade {

// The hosts lock as an exclusive flock on the data folder itself. The hosts file cannot carry
// it: a rewrite puts a new file in its place, and a lock on the old one would guard nothing.
// The folder stays, whatever is replaced inside it. The kernel drops the lock when the holder
// ends, however it ends.
class FolderLock : public HostsLock {
public:
    explicit FolderLock(Syscalls& sys = realSyscalls()) : sys_(sys) {}
    FolderLock(const FolderLock&) = delete;
    FolderLock& operator=(const FolderLock&) = delete;
    ~FolderLock() override;

    LockAttempt tryLock(const std::string& dataFolder) override;
    void unlock() override;

private:
    Syscalls& sys_;
    UniqueFd folder_;
    int depth_ = 0;
};

} // namespace palisade
