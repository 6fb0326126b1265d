#include "platform/HostsLockHold.h"

#include <algorithm>

namespace palisade {

namespace {

// How often a waiting program looks again; the wait itself sleeps until an event or this.
constexpr std::chrono::milliseconds RetryInterval{100};

} // namespace

bool HostsLockHold::acquire(const std::string& dataFolder, std::chrono::milliseconds patience) {
    if (held_)
        return true;
    try {
        const auto deadline = clock_.now() + patience;
        for (;;) {
            const LockAttempt attempt = lock_.tryLock(dataFolder);
            if (attempt == LockAttempt::Taken) {
                held_ = true;
                return true;
            }
            if (attempt == LockAttempt::Unavailable)
                return false;
            const auto now = clock_.now();
            if (now >= deadline)
                return false;
            const auto left = std::chrono::ceil<std::chrono::milliseconds>(deadline - now);
            pump_.waitEvents(std::min(RetryInterval, left));
        }
    } catch (...) {
        // An event handler that failed while we waited: the lock was not taken.
        return false;
    }
}

void HostsLockHold::release() {
    if (held_) {
        held_ = false;
        lock_.unlock();
    }
}

} // namespace palisade
