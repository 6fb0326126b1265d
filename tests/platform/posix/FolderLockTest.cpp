#include "platform/posix/FolderLock.h"

#include "PosixTestSupport.h"

#include <gtest/gtest.h>

namespace palisade {
namespace {

// Two locks stand for two copies of the program: flock belongs to each one's own open folder.
TEST(FolderLock, OneHolderAtATimeReentrantForTheHolder) {
    test::TempFolder dir;
    FolderLock mine;
    FolderLock other;
    EXPECT_EQ(mine.tryLock(dir.path()), LockAttempt::Taken);
    EXPECT_EQ(mine.tryLock(dir.path()), LockAttempt::Taken);
    mine.unlock();
    EXPECT_EQ(other.tryLock(dir.path()), LockAttempt::Busy) << "still held once";
    mine.unlock();
    EXPECT_EQ(other.tryLock(dir.path()), LockAttempt::Taken);
    EXPECT_EQ(mine.tryLock(dir.path()), LockAttempt::Busy);
    {
        FolderLock passing; // a holder that goes away gives it up
        other.unlock();
        EXPECT_EQ(passing.tryLock(dir.path()), LockAttempt::Taken);
    }
    EXPECT_EQ(mine.tryLock(dir.path()), LockAttempt::Taken);
}

TEST(FolderLock, NoFolderToLockIsUnavailableNotBusy) {
    test::TempFolder dir;
    test::spit(dir / "file", "x");
    FolderLock lock;
    for (const std::string& folder :
         {dir / "missing", dir / "file", std::string(""), dir.path() + std::string("\0x", 2)})
        EXPECT_EQ(lock.tryLock(folder), LockAttempt::Unavailable) << folder;
}

} // namespace
} // namespace palisade
