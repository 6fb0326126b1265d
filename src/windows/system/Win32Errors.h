#pragma once

#include <string>
#include <windows.h>

namespace palisade {

// The description shown for a Windows error code: the program's own wording for the common
// file errors, the system's message text for the rest.
std::string DescribeWin32Error(DWORD code);

// Throws RuntimeError with the description of code.
[[noreturn]] void ThrowWin32Error(DWORD code);

// Throws RuntimeError with the description of GetLastError().
[[noreturn]] void ThrowLastWin32Error();

} // namespace palisade
