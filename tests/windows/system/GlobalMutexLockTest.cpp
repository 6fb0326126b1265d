#include "windows/system/GlobalMutexLock.h"

#include <aclapi.h>
#include <functional>
#include <gtest/gtest.h>
#include <sddl.h>
#include <thread>

namespace palisade {
namespace {

// A name of its own per test, so that nothing else in the prefix competes for it.
std::string TestName(const char* test) {
    return std::string("Global\\Palisade.Test.") + test + std::to_string(::GetCurrentProcessId());
}

// Another copy of the program, on a thread of its own (mutexes belong to threads); it gives the
// lock back as it ends if it took it.
LockAttempt OtherCopyTries(const std::string& name) {
    LockAttempt result = LockAttempt::Unavailable;
    std::thread([&] { result = GlobalMutexLock(name).tryLock(""); }).join();
    return result;
}

TEST(GlobalMutexLock, OneHolderAtATimeReentrantForTheHolder) {
    const std::string name = TestName("Holder");
    GlobalMutexLock mine(name);
    EXPECT_EQ(mine.tryLock(""), LockAttempt::Taken);
    EXPECT_EQ(mine.tryLock(""), LockAttempt::Taken);
    mine.unlock();
    EXPECT_EQ(OtherCopyTries(name), LockAttempt::Busy) << "still held once";
    mine.unlock();
    EXPECT_EQ(OtherCopyTries(name), LockAttempt::Taken);

    // A holder that ended without releasing it leaves it abandoned, which counts as taken.
    std::thread([&] {
        HANDLE raw = ::OpenMutexA(SYNCHRONIZE, FALSE, name.c_str());
        EXPECT_EQ(::WaitForSingleObject(raw, 0), WAIT_OBJECT_0);
        ::CloseHandle(raw);
    }).join();
    EXPECT_EQ(mine.tryLock(""), LockAttempt::Taken);
    EXPECT_EQ(OtherCopyTries(name), LockAttempt::Busy);
    mine.unlock();
}

// Whoever may wait on the mutex can hold it: an ordinary user must not even open it.
TEST(GlobalMutexLock, OnlyTheSystemAndAdministratorsMayReachIt) {
    const std::string name = TestName("Descriptor");
    GlobalMutexLock mine(name);
    ASSERT_EQ(mine.tryLock(""), LockAttempt::Taken);
    HANDLE raw = ::OpenMutexA(READ_CONTROL, FALSE, name.c_str());
    PSECURITY_DESCRIPTOR descriptor = nullptr;
    char* text = nullptr;
    ASSERT_EQ(::GetSecurityInfo(raw, SE_KERNEL_OBJECT, DACL_SECURITY_INFORMATION, nullptr, nullptr,
                                nullptr, nullptr, &descriptor),
              ERROR_SUCCESS);
    ASSERT_TRUE(::ConvertSecurityDescriptorToStringSecurityDescriptorA(
        descriptor, SDDL_REVISION_1, DACL_SECURITY_INFORMATION, &text, nullptr));
    // One entry each for the system ("SY") and administrators ("BA"), none for anyone else.
    const std::string dacl = text;
    std::size_t entries = 0;
    for (std::size_t at = dacl.find('('); at != std::string::npos; at = dacl.find('(', at + 1))
        ++entries;
    EXPECT_EQ(entries, 2u) << dacl;
    EXPECT_NE(dacl.find(";;;SY)"), std::string::npos) << dacl;
    EXPECT_NE(dacl.find(";;;BA)"), std::string::npos) << dacl;
    ::LocalFree(text);
    ::LocalFree(descriptor);
    ::CloseHandle(raw);
    mine.unlock();
}

} // namespace
} // namespace palisade
