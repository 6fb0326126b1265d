#pragma once

#include "platform/FileSystem.h"
#include "platform/SystemInfo.h"

#include <string>

namespace palisade {

// The system directory, without a trailing separator.
std::string GetSystemFolder(SystemInfo& system);

// Whether path can be opened as an existing file; a folder gives false. Never throws.
bool FileExists(FileSystem& fs, const std::string& path);

// The journal of changes to the hosts file: beside the snapshot, named after it.
std::string JournalPathFor(const std::string& snapshotPath);

// Appends whole lines to the file at path in one open and one flush, creating the file when it is
// missing, with journal to cut them back after a kill. True when that worked; otherwise the file
// keeps its old size. Never throws.
bool TryAppendLines(FileSystem& fs, const std::string& path, LineSource& lines,
                    const std::string& journal);

// Puts bytes in place of the file's content, with journal to finish a rewrite that a kill cut
// short. True when that worked; otherwise the file keeps its old content or the journal has what
// finishes it. Never throws.
bool TryReplaceFile(FileSystem& fs, const std::string& path, const std::string& bytes,
                    const std::string& journal);

// Settles a change of the hosts file that a kill cut short. True when there was none or it is
// settled. Never throws.
bool TryFinishJournal(FileSystem& fs, const std::string& journal);

// Deletes a file even when it is read-only. Failures pass to the caller.
void ForceDeleteFile(FileSystem& fs, const std::string& path);

} // namespace palisade
