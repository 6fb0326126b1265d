#pragma once

#include "linux/system/Syscalls.h"

#include <cstddef>
#include <optional>
#include <string>

namespace palisade {

// A file that only its owner may read or write, read and replaced whole. A replacement goes to
// a temporary file beside it (mode 0600, "palisade" in its name), is synced to the disk and is
// then renamed over the file, so a crash leaves the old content or the new one, never a part.
// It holds at most limit bytes: what is there is read only when it is a regular file within the
// limit, opened without waiting, and nothing larger is written.
class OwnerOnlyFile {
public:
    OwnerOnlyFile(Syscalls& sys, std::string path, std::size_t limit)
        : sys_(sys), path_(std::move(path)), limit_(limit) {}

    const std::string& path() const { return path_; }
    bool exists() const;

    // The file's bytes; nothing when there is no file. Throws RuntimeError when something is
    // there but cannot be read: unreadable, no regular file, or larger than the limit.
    std::optional<std::string> read() const;

    // Throws RuntimeError, FileTooLarge for more than the limit; the file then keeps its old
    // content and no temporary file is left. The folder must exist.
    void replace(const std::string& bytes) const;

private:
    // Gives the new file a modification time at least a millisecond past the old one's: a
    // reader that caches a file by its size and time to the millisecond (the INI parser does)
    // then sees every replacement, even one of the same size made within the same millisecond.
    void keepTimeMovingOn(int fd) const;

    Syscalls& sys_;
    std::string path_;
    std::size_t limit_;
};

} // namespace palisade
