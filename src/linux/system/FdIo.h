#pragma once

#include "linux/system/Syscalls.h"

#include <string>
#include <string_view>

namespace palisade {

// Writes every byte, going on after short writes and interruptions. Returns 0, or the errno of
// the call that failed.
int WriteAll(Syscalls& sys, int fd, std::string_view bytes);

// Reads to the end of the file; expected is the size it is likely to have. Returns 0, or the
// errno of the call that failed, or EFBIG once more than limit bytes have come.
int ReadAll(Syscalls& sys, int fd, std::string& out, size_t expected = 0,
            size_t limit = static_cast<size_t>(-1));

} // namespace palisade
