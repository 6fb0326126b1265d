#pragma once

#include "linux/system/UserAccount.h"
#include "platform/FileSystem.h"

#include <functional>
#include <optional>
#include <vector>

namespace palisade {

// The file system of a copy run as root for a user: the system's own files (the hosts file and
// the shared data folder) are worked on as root, everything else (the list files the user
// chooses, the program folder's optional files) as the user, so that the user reaches nothing
// through this program that they could not reach themselves.
class OnBehalfFileSystem : public FileSystem {
public:
    using PathTest = std::function<bool(const std::string& path)>;

    OnBehalfFileSystem(FileSystem& inner, std::optional<UserAccount> user, PathTest isSystemPath);

    bool find(const std::string& path, EntryFilter filter) override;
    bool canOpenExisting(const std::string& path) override;
    void createFolder(const std::string& path) override;
    std::string readFile(const std::string& path) override;
    std::string readFileUpTo(const std::string& path, std::size_t limit) override;
    void writeFile(const std::string& path, const std::string& bytes) override;
    void appendFile(const std::string& path, const std::string& bytes) override;
    void appendLines(const std::string& path, LineSource& lines,
                     const std::string& journal) override;
    void syncFile(const std::string& path) override;
    void replaceFile(const std::string& path, const std::string& bytes) override;
    void replaceFileJournaled(const std::string& path, const std::string& bytes,
                              const std::string& journal) override;
    void finishJournal(const std::string& journal) override;
    void copyFile(const std::string& source, const std::string& destination) override;
    void removeFile(const std::string& path) override;
    void forceRemoveFile(const std::string& path) override;

private:
    // The identity to work on path with: nothing for root's own work.
    std::optional<UserAccount> identityFor(const std::string& path) const;

    FileSystem& inner_;
    std::optional<UserAccount> user_;
    PathTest isSystemPath_;
};

// Whether path is one of the given files or inside one of the given folders. A path with a ".."
// step is never the system's: what it names is not what its beginning says.
OnBehalfFileSystem::PathTest SystemPaths(std::vector<std::string> files,
                                         std::vector<std::string> folders);

} // namespace palisade
