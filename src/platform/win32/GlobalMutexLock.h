#pragma once

#include "platform/HostsLock.h"
#include "platform/win32/Handles.h"

#include <string>

namespace palisade {

// The name every copy of the program, in every session, locks the hosts file under.
inline constexpr const char* HostsMutexName = "Global\\Quillmoor.Palisade.HostsFile";

// The hosts lock as a named mutex in the global namespace, which all sessions share. Whoever
// creates it gives it a descriptor that lets every user wait on it and release it, so a copy
// started by another user can wait for ours rather than fail to open it. A mutex whose holder
// ended without releasing it counts as taken: every rewrite of the hosts file is atomic and every
// appended line whole, so there is nothing half-done to fear. Re-entrant on its thread.
class GlobalMutexLock : public HostsLock {
public:
    explicit GlobalMutexLock(std::string name = HostsMutexName) : name_(std::move(name)) {}
    GlobalMutexLock(const GlobalMutexLock&) = delete;
    GlobalMutexLock& operator=(const GlobalMutexLock&) = delete;
    ~GlobalMutexLock() override;

    // The data folder plays no part here.
    LockAttempt tryLock(const std::string& dataFolder) override;
    void unlock() override;

private:
    bool open();

    std::string name_;
    UniqueHandle mutex_;
    int depth_ = 0;
};

} // namespace palisade
