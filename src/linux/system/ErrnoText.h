#pragma once

#include "linux/system/Syscalls.h"

#include <string>

namespace palisade {

// The description the user sees for a failed call on path, in the words the rest of the
// program uses ("File not found", "Permission denied", ...).
std::string DescribeErrno(Syscalls& sys, int error, const std::string& path);

// Throws RuntimeError carrying describeErrno's text.
[[noreturn]] void ThrowErrno(Syscalls& sys, int error, const std::string& path);

// The folder part of path: "." for a bare name, "/" for a file at the root.
std::string ParentFolder(const std::string& path);

} // namespace palisade
