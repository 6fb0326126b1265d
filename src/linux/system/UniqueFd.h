#pragma once

#include "linux/system/Syscalls.h"

#include <utility>

namespace palisade {

// Owns one open file descriptor and closes it through the seam that opened it.
class UniqueFd {
public:
    UniqueFd() = default;
    UniqueFd(Syscalls& sys, int fd) : sys_(&sys), fd_(fd) {}
    UniqueFd(const UniqueFd&) = delete;
    UniqueFd& operator=(const UniqueFd&) = delete;
    UniqueFd(UniqueFd&& other) noexcept : sys_(other.sys_), fd_(std::exchange(other.fd_, -1)) {}
    UniqueFd& operator=(UniqueFd&& other) noexcept {
        if (this != &other) {
            reset();
            sys_ = other.sys_;
            fd_ = std::exchange(other.fd_, -1);
        }
        return *this;
    }
    ~UniqueFd() { reset(); }

    int get() const { return fd_; }
    bool valid() const { return fd_ >= 0; }

    // Closes now and reports the close's own result, which can carry a delayed write error.
    int close() {
        if (fd_ < 0)
            return 0;
        return sys_->close(std::exchange(fd_, -1));
    }

private:
    void reset() {
        if (fd_ >= 0)
            sys_->close(std::exchange(fd_, -1));
    }

    Syscalls* sys_ = nullptr;
    int fd_ = -1;
};

} // namespace palisade
