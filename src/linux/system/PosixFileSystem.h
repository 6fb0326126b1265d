#pragma once

#include "linux/system/Syscalls.h"
#include "platform/FileSystem.h"

namespace palisade {

// The file system through POSIX calls. Paths are bytes handed to the kernel unchanged.
class PosixFileSystem : public FileSystem {
public:
    explicit PosixFileSystem(Syscalls& sys = RealSyscalls());

    // FilesAndFolders: any entry, a dangling symlink included. OrdinaryFiles: a regular file,
    // following symlinks.
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
    // Goes through replaceFile, so a failed copy never leaves the destination cut short.
    void copyFile(const std::string& source, const std::string& destination) override;
    void removeFile(const std::string& path) override;
    void forceRemoveFile(const std::string& path) override;

private:
    void writeWithFlags(const std::string& path, const std::string& bytes, int flags);

    Syscalls& sys_;
};

} // namespace palisade
