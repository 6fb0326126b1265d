#include "platform/posix/FdIo.h"

#include <cerrno>

namespace palisade {

int writeAll(Syscalls& sys, int fd, const std::string& bytes) {
    size_t done = 0;
    while (done < bytes.size()) {
        const ssize_t n = sys.write(fd, bytes.data() + done, bytes.size() - done);
        if (n < 0) {
            if (errno == EINTR)
                continue;
            return errno;
        }
        if (n == 0)
            return EIO; // a write that makes no progress would loop forever
        done += static_cast<size_t>(n);
    }
    return 0;
}

int readAll(Syscalls& sys, int fd, std::string& out) {
    out.clear();
    char buffer[65536];
    for (;;) {
        const ssize_t n = sys.read(fd, buffer, sizeof buffer);
        if (n < 0) {
            if (errno == EINTR)
                continue;
            return errno;
        }
        if (n == 0)
            return 0;
        out.append(buffer, static_cast<size_t>(n));
    }
}

} // namespace palisade
