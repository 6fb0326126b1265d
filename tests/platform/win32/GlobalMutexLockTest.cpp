#include "platform/win32/GlobalMutexLock.h"

#include <aclapi.h>
#include <functional>
#include <gtest/gtest.h>
#include <thread>

namespace palisade {
namespace {

// A name of its own per test, so that nothing else in the prefix competes for it.
std::string TestName(const char* test) {
    return std::string("Global\\Palisade.Test.") + test + "." +
           std::to_string(::GetCurrentProcessId());
}

// Runs body on a thread of its own, which owns mutexes apart from the test's, as another copy of
// the program would; returns when the thread has ended.
void OnAnotherThread(const std::function<void()>& body) {
    std::thread other(body);
    other.join();
}

LockAttempt OtherCopyTries(const std::string& name) {
    LockAttempt result = LockAttempt::Unavailable;
    OnAnotherThread([&] {
        GlobalMutexLock other(name);
        result = other.tryLock("");
    }); // a copy that took it gives it back as it ends
    return result;
}

TEST(GlobalMutexLock, OneHolderAtATimeReentrantForTheHolder) {
    const std::string name = TestName("Holder");
    GlobalMutexLock mine(name);
    EXPECT_EQ(mine.tryLock(""), LockAttempt::Taken);
    EXPECT_EQ(OtherCopyTries(name), LockAttempt::Busy);
    EXPECT_EQ(mine.tryLock(""), LockAttempt::Taken);
    mine.unlock();
    EXPECT_EQ(OtherCopyTries(name), LockAttempt::Busy) << "still held once";
    mine.unlock();
    EXPECT_EQ(OtherCopyTries(name), LockAttempt::Taken);
    mine.unlock(); // one too many does nothing
    EXPECT_EQ(OtherCopyTries(name), LockAttempt::Taken);
}

TEST(GlobalMutexLock, MutexWhoseHolderEndedWithoutReleasingCountsAsTaken) {
    const std::string name = TestName("Abandoned");
    GlobalMutexLock mine(name);
    ASSERT_EQ(mine.tryLock(""), LockAttempt::Taken);
    mine.unlock();
    OnAnotherThread([&] {
        HANDLE raw = ::OpenMutexA(SYNCHRONIZE, FALSE, name.c_str());
        ASSERT_NE(raw, nullptr);
        EXPECT_EQ(::WaitForSingleObject(raw, 0), WAIT_OBJECT_0);
        ::CloseHandle(raw); // ends owning it
    });
    EXPECT_EQ(mine.tryLock(""), LockAttempt::Taken);
    EXPECT_EQ(OtherCopyTries(name), LockAttempt::Busy);
    mine.unlock();
}

TEST(GlobalMutexLock, EveryoneMayWaitOnItAndReleaseItButNothingMore) {
    const std::string name = TestName("Descriptor");
    GlobalMutexLock mine(name);
    ASSERT_EQ(mine.tryLock(""), LockAttempt::Taken);
    HANDLE raw = ::OpenMutexA(READ_CONTROL, FALSE, name.c_str());
    ASSERT_NE(raw, nullptr);
    PACL dacl = nullptr;
    PSECURITY_DESCRIPTOR descriptor = nullptr;
    ASSERT_EQ(::GetSecurityInfo(raw, SE_KERNEL_OBJECT, DACL_SECURITY_INFORMATION, nullptr, nullptr,
                                &dacl, nullptr, &descriptor),
              ERROR_SUCCESS);
    ASSERT_NE(dacl, nullptr);
    SID_IDENTIFIER_AUTHORITY world = SECURITY_WORLD_SID_AUTHORITY;
    PSID everyone = nullptr;
    ASSERT_TRUE(
        ::AllocateAndInitializeSid(&world, 1, SECURITY_WORLD_RID, 0, 0, 0, 0, 0, 0, 0, &everyone));
    ACCESS_MASK granted = 0;
    for (DWORD i = 0; i < dacl->AceCount; ++i) {
        void* ace = nullptr;
        ASSERT_TRUE(::GetAce(dacl, i, &ace));
        auto* allowed = static_cast<ACCESS_ALLOWED_ACE*>(ace);
        if (allowed->Header.AceType == ACCESS_ALLOWED_ACE_TYPE &&
            ::EqualSid(&allowed->SidStart, everyone))
            granted |= allowed->Mask;
    }
    ::FreeSid(everyone);
    ::LocalFree(descriptor);
    ::CloseHandle(raw);
    EXPECT_EQ(granted, static_cast<ACCESS_MASK>(SYNCHRONIZE | MUTEX_MODIFY_STATE));
    mine.unlock();
}

TEST(GlobalMutexLock, NameTakenByAnotherKindOfObjectIsUnavailable) {
    const std::string name = TestName("Clash");
    HANDLE event = ::CreateEventA(nullptr, TRUE, FALSE, name.c_str());
    ASSERT_NE(event, nullptr);
    GlobalMutexLock mine(name);
    EXPECT_EQ(mine.tryLock(""), LockAttempt::Unavailable);
    ::CloseHandle(event);
}

} // namespace
} // namespace palisade
