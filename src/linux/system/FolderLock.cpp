#include "linux/system/FolderLock.h"

#include "linux/system/PathName.h"

#include <cerrno>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

namespace palisade {

namespace {

// Whoever else may write the folder could put a file of their own in the lock's place.
bool IsClosedFolderOf(const struct stat& st, uid_t owner) {
    return S_ISDIR(st.st_mode) && st.st_uid == owner && (st.st_mode & (S_IWGRP | S_IWOTH)) == 0;
}

bool IsPrivateFileOf(const struct stat& st, uid_t owner) {
    return S_ISREG(st.st_mode) && st.st_uid == owner && (st.st_mode & 077) == 0;
}

} // namespace

FolderLock::~FolderLock() {
    if (depth_ > 0) {
        depth_ = 1;
        unlock();
    }
}

LockAttempt FolderLock::tryLock(const std::string& dataFolder) {
    // flock belongs to the open file: a second descriptor of our own would wait for the first.
    if (depth_ > 0) {
        ++depth_;
        return LockAttempt::Taken;
    }
    if (!IsValidPathName(dataFolder))
        return LockAttempt::Unavailable;
    const uid_t owner = ::geteuid();
    struct stat st {};
    if (sys_.stat(dataFolder.c_str(), &st) != 0 || !IsClosedFolderOf(st, owner))
        return LockAttempt::Unavailable;
    const std::string path = dataFolder + "/" + HostsLockFileName;
    // Without waiting: a pipe in the file's place must not hang the program.
    UniqueFd file(
        sys_, sys_.open(path.c_str(), O_RDWR | O_CREAT | O_NOFOLLOW | O_NONBLOCK | O_NOCTTY, 0600));
    if (!file.valid() || sys_.fstat(file.get(), &st) != 0 || !IsPrivateFileOf(st, owner))
        return LockAttempt::Unavailable;
    while (sys_.flock(file.get(), LOCK_EX | LOCK_NB) != 0) {
        if (errno == EWOULDBLOCK)
            return LockAttempt::Busy;
        if (errno != EINTR)
            return LockAttempt::Unavailable;
    }
    file_ = std::move(file);
    depth_ = 1;
    return LockAttempt::Taken;
}

void FolderLock::unlock() {
    if (depth_ == 0 || --depth_ > 0)
        return;
    // Unlocked outright, not only by the close: a child started meanwhile may share the open
    // file and would otherwise keep it locked.
    sys_.flock(file_.get(), LOCK_UN);
    file_.close();
}

} // namespace palisade
