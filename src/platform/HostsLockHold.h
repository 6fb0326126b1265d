#pragma once

#include "platform/Clock.h"
#include "platform/EventPump.h"
#include "platform/HostsLock.h"

#include <chrono>
#include <string>

namespace palisade {

// How long work on the hosts file waits for another copy of the program to finish its own.
inline constexpr std::chrono::milliseconds HostsLockPatience{10000};

// Holds the hosts lock from a successful acquire() until release() or the end of its scope.
class HostsLockHold {
public:
    HostsLockHold(HostsLock& lock, EventPump& pump, Clock& clock)
        : lock_(lock), pump_(pump), clock_(clock) {}
    ~HostsLockHold() { release(); }
    HostsLockHold(const HostsLockHold&) = delete;
    HostsLockHold& operator=(const HostsLockHold&) = delete;

    // Takes the lock, waiting while another program holds it and letting window events run
    // meanwhile. False when it could not be had within patience, or not at all. Never throws.
    bool acquire(const std::string& dataFolder,
                 std::chrono::milliseconds patience = HostsLockPatience);
    void release();
    bool held() const { return held_; }

private:
    HostsLock& lock_;
    EventPump& pump_;
    Clock& clock_;
    bool held_ = false;
};

} // namespace palisade
