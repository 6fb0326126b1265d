#pragma once

#include "platform/HostsLock.h"
#include "windows/system/Handles.h"

#include <string>

namespace palisade {

// The name every copy of the program, in every session, locks the hosts file under.
inline constexpr const char* HostsMutexName = "Global\\Quillmoor.Palisade.HostsFile";

// The hosts lock as a named mutex in the global namespace, which all sessions share. Its
// descriptor lets only the system and administrators reach it: whoever may wait on a mutex can
// hold it, and an ordinary user holding it would keep every elevated copy from the hosts file.
// Only a copy that may write the hosts file takes it, and such a copy is elevated. A mutex whose
// holder ended without releasing it counts as taken: every rewrite of the hosts file is atomic and
// every appended line whole, so there is nothing half-done to fear. Re-entrant on its thread.
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
