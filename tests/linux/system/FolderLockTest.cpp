#include "linux/system/FolderLock.h"

#include "PosixTestSupport.h"

#include <cerrno>
#include <fcntl.h>
#include <functional>
#include <gtest/gtest.h>
#include <unistd.h>

namespace palisade {
namespace {

constexpr uid_t Nobody = 65534;

int MakeFile(const std::string& path, mode_t mode) {
    test::spit(path, "");
    return ::chmod(path.c_str(), mode);
}

// Two locks stand for two copies of the program: flock belongs to each one's own open file.
TEST(FolderLock, OneHolderAtATimeReentrantForTheHolder) {
    test::TempFolder dir;
    FolderLock mine;
    FolderLock other;
    EXPECT_EQ(mine.tryLock(dir.path()), LockAttempt::Taken);
    EXPECT_EQ(test::statOf(dir / HostsLockFileName).st_mode & 07777, 0600u);
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

// Whatever stands where the lock would be is reported at once, never waited on nor taken.
TEST(FolderLock, AnythingButAPrivateFileInAClosedFolderIsUnavailable) {
    using Plant = std::function<int(const std::string& folder, const std::string& lock)>;
    const std::pair<const char*, Plant> cases[] = {
        {"no folder", [](auto& folder, auto&) { return ::rmdir(folder.c_str()); }},
        {"a folder others may write",
         [](auto& folder, auto&) { return ::chmod(folder.c_str(), 01777); }},
        {"a link to a file of ours",
         [](auto& folder, auto& lock) {
             return MakeFile(folder + "/mine", 0600) |
                    ::symlink((folder + "/mine").c_str(), lock.c_str());
         }},
        {"a pipe", [](auto&, auto& lock) { return ::mkfifo(lock.c_str(), 0600); }},
        {"a file others may open", [](auto&, auto& lock) { return MakeFile(lock, 0644); }},
        {"a file of another user's", [](auto&, auto& lock) {
             return MakeFile(lock, 0600) | ::chown(lock.c_str(), Nobody, Nobody);
         }}};
    for (const auto& [name, plant] : cases) {
        test::TempFolder dir;
        if (plant(dir.path(), dir / HostsLockFileName) != 0) {
            EXPECT_NE(::geteuid(), 0u) << name; // only root can give a file away
            continue;
        }
        EXPECT_EQ(FolderLock().tryLock(dir.path()), LockAttempt::Unavailable) << name;
    }
    test::TempFolder dir;
    test::spit(dir / "file", "x");
    for (const std::string& folder : {std::string(), std::string("\0x", 2), dir / "file"})
        EXPECT_EQ(FolderLock().tryLock(folder), LockAttempt::Unavailable) << folder;
}

// The data folder is open for every user to read: before, any of them could flock it.
TEST(FolderLock, AnotherUserCanNeitherTakeItNorOpenIt) {
    if (::geteuid() != 0)
        GTEST_SKIP() << "needs root to be another user";
    test::TempFolder dir;
    ASSERT_EQ(::chmod(dir.path().c_str(), 0755), 0);
    ASSERT_EQ(FolderLock().tryLock(dir.path()), LockAttempt::Taken); // made, and given up
    EXPECT_EQ(test::runInChild([&] {
                  return ::setgid(Nobody) == 0 && ::setuid(Nobody) == 0 &&
                         FolderLock().tryLock(dir.path()) == LockAttempt::Unavailable &&
                         ::open((dir / HostsLockFileName).c_str(), O_RDONLY) < 0 && errno == EACCES;
              }),
              0);
}

} // namespace
} // namespace palisade
