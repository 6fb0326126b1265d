#pragma once

#include "linux/system/Syscalls.h"

#include <cstddef>
#include <string>
#include <sys/stat.h>

namespace palisade {

// The record of one change to a file that a kill must not leave half made, kept on the disk
// while the change is made so that a later run can settle it: a rewrite in place is made again
// from the record, an append is cut back to where it began. A record is written whole or not at
// all (a record cut short counts as none), synced to the disk, and readable by its owner only.
// What stands at its path and was not written so by this program's user (a link, another owner,
// a mode open to others, bytes that are no whole record) is removed unread.
class ChangeJournal {
public:
    ChangeJournal(Syscalls& sys, std::string path) : sys_(sys), path_(std::move(path)) {}

    // Records, on the disk, that target is about to be rewritten in place with bytes.
    void recordRewrite(const std::string& target, const std::string& bytes);
    // Records, on the disk, that added bytes are about to be appended to the file target, as
    // file describes it now.
    void recordAppend(const std::string& target, const struct stat& file, std::size_t added);
    // Drops the record once its change is made or cut back.
    void remove();
    // Settles the change of a record that an earlier run left, then removes it; nothing when
    // there is none. Throws RuntimeError when the record cannot be read or its change not
    // settled: the record then stays for the next run.
    void finish();

private:
    void write(const std::string& record);
    void settleAppend(const std::string& target, dev_t device, ino_t inode, off_t before,
                      off_t added);

    Syscalls& sys_;
    std::string path_;
};

} // namespace palisade
