#include "platform/posix/FolderLock.h"

#include "platform/posix/PathName.h"

#include <cerrno>
#include <fcntl.h>
#include <sys/file.h>

namespace palisade {

FolderLock::~FolderLock() {
    if (depth_ > 0) {
        depth_ = 1;
        unlock();
    }
}

LockAttempt FolderLock::tryLock(const std::string& dataFolder) {
    // flock belongs to the open folder: a second descriptor of our own would wait for the first.
    if (depth_ > 0) {
        ++depth_;
        return LockAttempt::Taken;
    }
    if (!isValidPathName(dataFolder))
        return LockAttempt::Unavailable;
    UniqueFd folder(sys_, sys_.open(dataFolder.c_str(), O_RDONLY | O_DIRECTORY, 0));
    if (!folder.valid())
        return LockAttempt::Unavailable;
    while (sys_.flock(folder.get(), LOCK_EX | LOCK_NB) != 0) {
        if (errno == EWOULDBLOCK)
            return LockAttempt::Busy;
        if (errno != EINTR)
            return LockAttempt::Unavailable;
    }
    folder_ = std::move(folder);
    depth_ = 1;
    return LockAttempt::Taken;
}

void FolderLock::unlock() {
    if (depth_ == 0 || --depth_ > 0)
        return;
    // Unlocked outright, not only by the close: a child started meanwhile may share the open
    // folder and would otherwise keep it locked.
    sys_.flock(folder_.get(), LOCK_UN);
    folder_.close();
}

} // namespace palisade
