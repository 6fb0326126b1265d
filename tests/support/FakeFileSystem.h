#pragma once

#include "platform/FileSystem.h"
#include "support/CallLog.h"

#include <functional>
#include <map>
#include <set>
#include <string>

namespace palisade::test {

enum class FsOp {
    Find,
    CreateFolder,
    Read,
    Write,
    Append, // appendFile and appendLines
    Sync,
    Replace,
    Copy,
    Remove,
    ForceRemove,
    FinishJournal,
};

// An in-memory file system. Paths are compared as given; folders must exist for files in them
// only when strictFolders is set. Failures are injected per operation and path.
class FakeFileSystem : public FileSystem {
public:
    std::map<std::string, std::string> files;
    std::set<std::string> folders;
    std::set<std::string> readOnly; // plain removal fails, forced removal works
    std::set<std::string> hidden;   // not seen by the ordinary-file lookup
    CallLog* log = nullptr;

    // Makes the next matching operations throw; count < 0 means always.
    void fail(FsOp op, const std::string& path, int count = -1);
    // Called before every operation; may throw to inject a failure of its own.
    std::function<void(FsOp, const std::string&)> beforeOp;

    bool find(const std::string& path, EntryFilter filter) override;
    bool canOpenExisting(const std::string& path) override;
    void createFolder(const std::string& path) override;
    std::string readFile(const std::string& path) override;
    std::string readFileUpTo(const std::string& path, std::size_t limit) override;
    void writeFile(const std::string& path, const std::string& bytes) override;
    void appendFile(const std::string& path, const std::string& bytes) override;
    // All or nothing, as the real ones are; they keep no journal.
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
    void check(FsOp op, const std::string& path);
    std::map<std::pair<FsOp, std::string>, int> failures_;
};

} // namespace palisade::test
