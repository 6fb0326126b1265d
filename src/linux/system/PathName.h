#pragma once

#include <string>

namespace palisade {

// A name the kernel can be asked about: not empty and free of NUL bytes, which would otherwise
// silently cut the name short and point the call at a different file.
bool IsValidPathName(const std::string& path);

// Throws RuntimeError("Bad file name or number") for a name that is not valid.
void RequireValidPathName(const std::string& path);

} // namespace palisade
