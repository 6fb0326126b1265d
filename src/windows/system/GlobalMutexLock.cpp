#include "windows/system/GlobalMutexLock.h"

#include <sddl.h>

namespace palisade {

namespace {

// System and administrators: everything. Nobody else: not even waiting on it.
constexpr const char* MutexDescriptor = "D:(A;;GA;;;SY)(A;;GA;;;BA)";
constexpr DWORD MutexAccess = SYNCHRONIZE | MUTEX_MODIFY_STATE;

struct LocalMemoryTraits {
    using Value = PSECURITY_DESCRIPTOR;
    static Value empty() noexcept { return nullptr; }
    static bool isEmpty(Value p) noexcept { return p == nullptr; }
    static void close(Value p) noexcept { ::LocalFree(p); }
};

} // namespace

GlobalMutexLock::~GlobalMutexLock() {
    while (depth_ > 0)
        unlock();
}

bool GlobalMutexLock::open() {
    if (mutex_)
        return true;
    UniqueResource<LocalMemoryTraits> descriptor;
    if (!::ConvertStringSecurityDescriptorToSecurityDescriptorA(MutexDescriptor, SDDL_REVISION_1,
                                                                descriptor.put(), nullptr))
        return false;
    SECURITY_ATTRIBUTES attributes{sizeof attributes, descriptor.get(), FALSE};
    // Asks only for the rights it needs, so that opening a mutex another administrator created
    // works as well as creating it.
    mutex_.reset(::CreateMutexExA(&attributes, name_.c_str(), 0, MutexAccess));
    if (!mutex_ && ::GetLastError() == ERROR_ACCESS_DENIED)
        mutex_.reset(::OpenMutexA(MutexAccess, FALSE, name_.c_str()));
    return mutex_.valid();
}

LockAttempt GlobalMutexLock::tryLock(const std::string&) {
    if (!open())
        return LockAttempt::Unavailable;
    switch (::WaitForSingleObject(mutex_.get(), 0)) {
    case WAIT_OBJECT_0:
    case WAIT_ABANDONED:
        ++depth_;
        return LockAttempt::Taken;
    case WAIT_TIMEOUT:
        return LockAttempt::Busy;
    default:
        return LockAttempt::Unavailable;
    }
}

void GlobalMutexLock::unlock() {
    if (depth_ == 0)
        return;
    --depth_;
    ::ReleaseMutex(mutex_.get());
}

} // namespace palisade
