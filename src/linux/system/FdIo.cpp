#include "linux/system/FdIo.h"

#include <algorithm>
#include <cerrno>

namespace palisade {

int WriteAll(Syscalls& sys, int fd, std::string_view bytes) {
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

int ReadAll(Syscalls& sys, int fd, std::string& out, size_t expected, size_t limit) {
    // Read straight into the result, sized for what is expected plus one byte, so that the read
    // that finds the end needs no more room. A file that grows meanwhile is still read whole.
    size_t used = 0;
    out.assign(std::max<size_t>(expected + 1, 4096), '\0');
    for (;;) {
        if (used == out.size()) // never more room than one byte past the limit
            out.resize(out.size() <= limit / 2 ? out.size() * 2 : limit + 1);
        const ssize_t n = sys.read(fd, out.data() + used, out.size() - used);
        if (n < 0) {
            if (errno == EINTR)
                continue;
            out.clear();
            return errno;
        }
        if (n == 0) {
            out.resize(used);
            return 0;
        }
        used += static_cast<size_t>(n);
        if (used > limit) {
            out.clear();
            return EFBIG;
        }
    }
}

} // namespace palisade
