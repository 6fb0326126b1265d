#pragma once

#include "linux/system/Syscalls.h"

#include <string>

namespace palisade {

// The description the user sees for a failed call on path, in the words the rest of the
// program uses ("File not found", "Permission denied", ...).
std::string describeErrno(Syscalls& sys, int error, const std::string& path);

// Throws RuntimeError carrying describeErrno's text.
[[noreturn]] void throwErrno(Syscalls& sys, int error, const std::string& path);

// The folder part of path: "." for a bare name, "/" for a file at the root.
std::string parentFolder(const std::string& path);

} // namespace palisade
