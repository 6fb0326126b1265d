#pragma once

#include <string>

namespace palisade {

enum class LockAttempt {
    Taken,       // this program holds the lock now
    Busy,        // another program holds it; trying again later may work
    Unavailable, // the lock cannot be reached at all; trying again will not help
};

// One lock for the whole computer, held around work on the hosts file, so that copies of the
// program in different users' sessions (and the package's own clean-up tool) never interleave
// their reads and writes. Re-entrant: while this program holds it, taking it again succeeds at
// once. Every Taken is matched by one unlock(); the lock is free again after the last.
// A program that ends while holding it gives it up.
class HostsLock {
public:
    virtual ~HostsLock() = default;

    // Tries once, without waiting. dataFolder is the program's data folder, shared by all users;
    // a platform may keep its lock there.
    virtual LockAttempt tryLock(const std::string& dataFolder) = 0;
    virtual void unlock() = 0;
};

} // namespace palisade
