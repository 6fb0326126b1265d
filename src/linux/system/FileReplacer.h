#pragma once

#include "linux/system/Syscalls.h"

#include <string>

namespace palisade {

// Puts new content in place of a file so that the file holds either its old content or the new
// one, never a part: the bytes go to a synced temporary file beside the target, which is then
// renamed over it. A symlink at the path stays a link; the file it leads to is replaced. An
// existing file keeps its mode, owner and extended attributes (access lists, security labels),
// but for attributes that cannot be set here; a new one gets 0644. The temporary file is named
// "." + the file's name + ".palisade-" + six characters; one of those older than a minute, left by
// a replacement that never finished, is removed.
//
// A target that is a mount point (a bind-mounted /etc/hosts in a container) cannot be renamed
// over, and on a read-only root nothing can be made beside it; its content is then rewritten in
// place, which is not atomic. Given a journal, the new content is recorded there first (see
// ChangeJournal), so that a later run finishes a rewrite that a kill or a failure cut short;
// without one, callers that care keep their own copy until this returns.
class FileReplacer {
public:
    explicit FileReplacer(Syscalls& sys, std::string journal = {})
        : sys_(sys), journal_(std::move(journal)) {}

    // Throws RuntimeError; on failure no temporary file is left behind.
    void replace(const std::string& path, const std::string& bytes);

private:
    std::string followLinks(const std::string& path);
    void removeStaleTemporaries(const std::string& folder, const std::string& prefix);
    // Copies the extended attributes of the file at from to the open file to.
    void copyAttributes(const std::string& from, int to);
    // Whether the file sits on another file system than its folder, as a mounted file does.
    bool isMountedApart(const struct stat& file, const std::string& folder);
    void writeInPlace(const std::string& target, const std::string& bytes);
    void syncFolder(const std::string& folder);

    Syscalls& sys_;
    std::string journal_;
};

} // namespace palisade
