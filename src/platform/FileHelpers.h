#pragma once

#include "platform/Ports.h"

#include <string>

namespace palisade {

// Special folder ids.
inline constexpr int CommonAppData = 35;

// The tidied path of a special folder: NULs removed, spaces trimmed at both ends; the empty
// text when the lookup failed. Never throws.
std::string GetSpecialFolder(SystemInfo& system, int id);

// Whether anything exists at path. Never throws.
bool PathExists(FileSystem& fs, const std::string& path);

// Lets pending events run, then deletes the file, forcing it when a plain delete fails.
// Never throws.
void RemoveFile(FileSystem& fs, EventPump& pump, const std::string& path);

// Creates or replaces a file holding text as one line; whether that worked. Never throws.
bool WriteTextFile(FileSystem& fs, SystemInfo& system, const std::string& path,
                   const std::string& text);

// folder, the platform's separator, name.
std::string JoinPath(SystemInfo& system, const std::string& folder, const std::string& name);

} // namespace palisade
