#include "platform/posix/FolderLock.h"

#include "PosixTestSupport.h"

#include <cerrno>
#include <fcntl.h>
#include <functional>
#include <gtest/gtest.h>
#include <unistd.h>

namespace palisade {
namespace {

constexpr uid_t Nobody = 65534;

std::string LockFileIn(const test::TempFolder& dir) {
    return dir / HostsLockFileName;
}

// Two locks stand for two copies of the program: flock belongs to each one's own open file.
TEST(FolderLock, OneHolderAtATimeReentrantForTheHolder) {
    test::TempFolder dir;
    FolderLock mine;
    FolderLock other;
    EXPECT_EQ(mine.tryLock(dir.path()), LockAttempt::Taken);
    EXPECT_EQ(test::statOf(LockFileIn(dir)).st_mode & 07777, 0600u);
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

// Whatever stands where the lock would be, it is reported at once and never waited on.
TEST(FolderLock, AnythingButAPrivateFileInAClosedFolderIsUnavailable) {
    const bool root = ::geteuid() == 0;
    const std::pair<const char*, std::function<std::string(const test::TempFolder&)>> cases[] = {
        {"no folder", [](auto& dir) { return dir / "missing"; }},
        {"a file for a folder",
         [](auto& dir) {
             test::spit(dir / "file", "x");
             return dir / "file";
         }},
        {"an empty name", [](auto&) { return std::string(); }},
        {"a NUL in the name", [](auto& dir) { return dir.path() + std::string("\0x", 2); }},
        {"a folder its group may write",
         [](auto& dir) { return ::chmod(dir.path().c_str(), 0775), dir.path(); }},
        {"a folder everyone may write",
         [](auto& dir) { return ::chmod(dir.path().c_str(), 01777), dir.path(); }},
        {"a link to a file of ours",
         [](auto& dir) {
             test::spit(dir / "mine", "");
             ::chmod((dir / "mine").c_str(), 0600);
             return ::symlink((dir / "mine").c_str(), LockFileIn(dir).c_str()), dir.path();
         }},
        {"a pipe", [](auto& dir) { return ::mkfifo(LockFileIn(dir).c_str(), 0600), dir.path(); }},
        {"a folder", [](auto& dir) { return ::mkdir(LockFileIn(dir).c_str(), 0700), dir.path(); }},
        {"a file others may open",
         [](auto& dir) {
             test::spit(LockFileIn(dir), "");
             return ::chmod(LockFileIn(dir).c_str(), 0644), dir.path();
         }},
        {"a file of another user's",
         [](auto& dir) {
             test::spit(LockFileIn(dir), "");
             ::chmod(LockFileIn(dir).c_str(), 0600);
             return ::chown(LockFileIn(dir).c_str(), Nobody, Nobody), dir.path();
         }},
        {"a folder of another user's",
         [](auto& dir) { return ::chown(dir.path().c_str(), Nobody, Nobody), dir.path(); }},
    };
    for (const auto& [name, make] : cases) {
        if (!root && std::string(name).find("another user") != std::string::npos)
            continue; // only root can give a file away
        test::TempFolder dir;
        const std::string folder = make(dir);
        FolderLock lock;
        EXPECT_EQ(lock.tryLock(folder), LockAttempt::Unavailable) << name;
    }
}

// The data folder is open for every user to read: before, any of them could flock it.
TEST(FolderLock, AnotherUserCanNeitherTakeItNorKeepRootWaiting) {
    if (::geteuid() != 0)
        GTEST_SKIP() << "needs root to be another user";
    test::TempFolder dir;
    ASSERT_EQ(::chmod(dir.path().c_str(), 0755), 0);
    {
        FolderLock made; // the lock file is there, as after the first start
        ASSERT_EQ(made.tryLock(dir.path()), LockAttempt::Taken);
    }
    const int status = test::runInChild([&] {
        if (::setgid(Nobody) != 0 || ::setuid(Nobody) != 0)
            return false;
        FolderLock theirs;
        // Nor can they open the file to lock it by hand.
        return theirs.tryLock(dir.path()) != LockAttempt::Taken &&
               ::open(LockFileIn(dir).c_str(), O_RDONLY | O_NONBLOCK) < 0 && errno == EACCES;
    });
    EXPECT_EQ(status, 0);
    FolderLock mine;
    EXPECT_EQ(mine.tryLock(dir.path()), LockAttempt::Taken);
}

} // namespace
} // namespace palisade
