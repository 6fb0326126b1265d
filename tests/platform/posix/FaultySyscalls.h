#pragma once

#include "platform/posix/Syscalls.h"

#include <algorithm>
#include <cerrno>
#include <optional>
#include <string>
#include <vector>

namespace palisade {

// The real calls, with the faults a full disk, a flaky device or a mount point would cause.
class FaultySyscalls : public Syscalls {
public:
    int renameError = 0;
    std::optional<size_t> writeBudget; // bytes that get written before writes fail
    int writeError = ENOSPC;
    int fsyncError = 0;
    int mkstempError = 0;
    std::string mountedFile; // stat reports it on a device of its own
    size_t written = 0;
    int renames = 0;
    int setxattrError = 0;
    int fsyncs = 0;
    std::vector<std::string> temporaryTemplates;

    int mkstemp(char* pathTemplate) override {
        temporaryTemplates.push_back(pathTemplate);
        if (mkstempError) {
            errno = mkstempError;
            return -1;
        }
        return Syscalls::mkstemp(pathTemplate);
    }
    int stat(const char* path, struct stat* st) override {
        const int result = Syscalls::stat(path, st);
        if (result == 0 && path == mountedFile)
            st->st_dev += 1;
        return result;
    }

    ssize_t write(int fd, const void* buffer, size_t size) override {
        if (writeBudget) {
            if (written >= *writeBudget) {
                errno = writeError;
                return -1;
            }
            size = std::min(size, *writeBudget - written); // a short write first
        }
        const ssize_t n = Syscalls::write(fd, buffer, size);
        if (n > 0)
            written += static_cast<size_t>(n);
        return n;
    }
    int fsync(int fd) override {
        ++fsyncs;
        if (fsyncError) {
            errno = fsyncError;
            return -1;
        }
        return Syscalls::fsync(fd);
    }
    int fsetxattr(int fd, const char* name, const void* value, size_t size, int flags) override {
        if (setxattrError) {
            errno = setxattrError;
            return -1;
        }
        return Syscalls::fsetxattr(fd, name, value, size, flags);
    }
    int rename(const char* from, const char* to) override {
        ++renames;
        if (renameError) {
            errno = renameError;
            return -1;
        }
        return Syscalls::rename(from, to);
    }
};

} // namespace palisade
