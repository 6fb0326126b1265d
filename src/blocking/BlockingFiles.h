#pragma once

#include "platform/FileSystem.h"
#include "platform/SystemInfo.h"

#include <string>

namespace palisade {

// The system directory, without a trailing separator.
std::string GetSystemFolder(SystemInfo& system);

// Whether path can be opened as an existing file; a folder gives false. Never throws.
bool FileExists(FileSystem& fs, const std::string& path);

// Appends whole lines to the file at path in one open and one flush, creating the file when it is
// missing. True when that worked; otherwise the file keeps its old size. Never throws.
bool TryAppendLines(FileSystem& fs, const std::string& path, const std::string& lines);

// Puts bytes in place of the file's content in one step. True when that worked; otherwise the
// file keeps its old content. Never throws.
bool TryReplaceFile(FileSystem& fs, const std::string& path, const std::string& bytes);

// Deletes a file even when it is read-only. Failures pass to the caller.
void ForceDeleteFile(FileSystem& fs, const std::string& path);

} // namespace palisade
