#pragma once

#include "platform/LineSource.h"
#include "platform/RuntimeError.h"

#include <cstddef>
#include <string>

namespace palisade {

enum class EntryFilter {
    OrdinaryFiles,   // files that are neither folders nor hidden or system files
    FilesAndFolders, // any entry of that name
};

// The file system as the core sees it. Files are bytes, never re-encoded.
// Every operation but the lookups throws RuntimeError on failure.
class FileSystem {
public:
    virtual ~FileSystem() = default;

    // Whether an entry of the given kind exists at path. Throws for a path that cannot be looked
    // up at all (an invalid name), which is different from "not there".
    virtual bool find(const std::string& path, EntryFilter filter) = 0;

    // Whether path can be opened as an existing file (a folder cannot). Never throws.
    virtual bool canOpenExisting(const std::string& path) = 0;

    virtual void createFolder(const std::string& path) = 0;
    virtual std::string readFile(const std::string& path) = 0;
    // For a file the program reads on its own: opened without waiting, and read only when it is
    // a regular file of at most limit bytes, so that a pipe or a device in its place can neither
    // hang the program nor fill its memory. Throws RuntimeError (NotARegularFile, FileTooLarge).
    virtual std::string readFileUpTo(const std::string& path, std::size_t limit) = 0;
    // Creates or truncates the file, then writes bytes.
    virtual void writeFile(const std::string& path, const std::string& bytes) = 0;
    // Creates the file when missing, never truncates.
    virtual void appendFile(const std::string& path, const std::string& bytes) = 0;
    // Appends lines in one open, a piece at a time as they come, then flushes them to the disk
    // once. Creates the file when missing. When any of it fails, the file is cut back to its
    // size before and the call throws: no part of a line stays. Meanwhile journal (empty for
    // none) records where to cut back to, for finishJournal after a kill, on a platform where a
    // kill can cut a write short.
    virtual void appendLines(const std::string& path, LineSource& lines,
                             const std::string& journal) = 0;
    // Returns once everything written to the file has reached the disk, so that a series of
    // appends pays for one flush rather than one each.
    virtual void syncFile(const std::string& path) = 0;
    // Puts bytes in place of the file's content in one step: afterwards the file holds either
    // its old content or the new one, never a part. Creates the file when missing; an existing
    // file keeps its permissions and owner. A temporary file that an earlier replacement of the
    // same file left behind (a crash) is removed once it is older than a minute.
    virtual void replaceFile(const std::string& path, const std::string& bytes) = 0;
    // replaceFile for a file that a kill must never leave torn. Where the file cannot be put in
    // place in one step but is rewritten where it is (a mount point), the new content first goes
    // to journal, on the disk, so that finishJournal can finish a rewrite cut short.
    virtual void replaceFileJournaled(const std::string& path, const std::string& bytes,
                                      const std::string& journal) = 0;
    // Settles the change that journal records, left by a run that was cut short: a rewrite is
    // made again, an append cut back; then the journal goes. Nothing when there is none; a
    // journal the program did not write (a link, another owner, readable by others) is removed
    // unread. Throws when it cannot be read or its change not settled; it then stays.
    virtual void finishJournal(const std::string& journal) = 0;
    virtual void copyFile(const std::string& source, const std::string& destination) = 0;
    virtual void removeFile(const std::string& path) = 0;
    // Removes a file even when it is read-only.
    virtual void forceRemoveFile(const std::string& path) = 0;
};

} // namespace palisade
