#include "platform/posix/FolderLock.h"

#include "FaultySyscalls.h"
#include "PosixTestSupport.h"

#include <gtest/gtest.h>
#include <sys/file.h>

namespace palisade {
namespace {

// Two locks stand for two copies of the program: flock belongs to each one's own open folder.
TEST(FolderLock, OneHolderAtATimeReentrantForTheHolder) {
    test::TempFolder dir;
    FolderLock mine;
    FolderLock other;

    EXPECT_EQ(mine.tryLock(dir.path()), LockAttempt::Taken);
    EXPECT_EQ(other.tryLock(dir.path()), LockAttempt::Busy);
    EXPECT_EQ(mine.tryLock(dir.path()), LockAttempt::Taken);
    mine.unlock();
    EXPECT_EQ(other.tryLock(dir.path()), LockAttempt::Busy) << "still held once";
    mine.unlock();
    EXPECT_EQ(other.tryLock(dir.path()), LockAttempt::Taken);
    EXPECT_EQ(mine.tryLock(dir.path()), LockAttempt::Busy);
    other.unlock();
    other.unlock(); // one too many does nothing

    // A holder that goes away gives it up.
    {
        FolderLock passing;
        EXPECT_EQ(passing.tryLock(dir.path()), LockAttempt::Taken);
    }
    EXPECT_EQ(mine.tryLock(dir.path()), LockAttempt::Taken);
    mine.unlock();
    // The folder itself carries the lock, so whatever is replaced inside it does not matter.
    EXPECT_EQ(dir.entries(), std::vector<std::string>{});
}

TEST(FolderLock, NoFolderToLockIsUnavailableNotBusy) {
    test::TempFolder dir;
    test::spit(dir / "file", "x");
    FolderLock lock;
    for (const std::string& folder :
         {dir / "missing", dir / "file", std::string(""), dir.path() + std::string("\0x", 2)})
        EXPECT_EQ(lock.tryLock(folder), LockAttempt::Unavailable) << folder;
}

TEST(FolderLock, InterruptedWaitIsTriedAgain) {
    struct Interrupted : FaultySyscalls {
        int interruptions = 2;
        int flock(int fd, int operation) override {
            if (interruptions > 0 && operation != LOCK_UN) {
                --interruptions;
                errno = EINTR;
                return -1;
            }
            return Syscalls::flock(fd, operation);
        }
    } sys;
    test::TempFolder dir;
    FolderLock lock(sys);
    EXPECT_EQ(lock.tryLock(dir.path()), LockAttempt::Taken);
    EXPECT_EQ(FolderLock().tryLock(dir.path()), LockAttempt::Busy);
}

} // namespace
} // namespace palisade
