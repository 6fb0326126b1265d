#pragma once

#include "platform/posix/Syscalls.h"

#include <string>
#include <string_view>

namespace palisade {

// Writes every byte, going on after short writes and interruptions. Returns 0, or the errno of
// the call that failed.
int writeAll(Syscalls& sys, int fd, std::string_view bytes);

// Reads to the end of the file; expected is the size it is likely to have. Returns 0, or the
// errno of the call that failed.
int readAll(Syscalls& sys, int fd, std::string& out, size_t expected = 0);

} // namespace palisade
