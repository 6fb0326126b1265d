#pragma once

#include "platform/FileSystem.h"
#include "windows/system/Handles.h"
#include "windows/system/Win32FileApi.h"

namespace palisade {

// How long replaceFile keeps trying while another program holds the target open.
struct ReplaceRetry {
    int attempts = 10;
    DWORD delayMilliseconds = 100;
};

// The file system through the Windows ANSI file API. Paths and contents are bytes in the
// system code page, passed through unchanged.
class Win32FileSystem final : public FileSystem {
public:
    Win32FileSystem() = default;
    explicit Win32FileSystem(Win32FileApi& api, ReplaceRetry retry = {})
        : api_(&api), retry_(retry) {}

    bool find(const std::string& path, EntryFilter filter) override;
    bool canOpenExisting(const std::string& path) override;
    void createFolder(const std::string& path) override;
    std::string readFile(const std::string& path) override;
    std::string readFileUpTo(const std::string& path, std::size_t limit) override;
    void writeFile(const std::string& path, const std::string& bytes) override;
    void appendFile(const std::string& path, const std::string& bytes) override;
    // Keeps no journal: ending the process does not cut a write short, and a replacement is
    // always put in place in one step.
    void appendLines(const std::string& path, LineSource& lines,
                     const std::string& journal) override;
    void syncFile(const std::string& path) override;
    void replaceFile(const std::string& path, const std::string& bytes) override;
    void replaceFileJournaled(const std::string& path, const std::string& bytes,
                              const std::string&) override {
        replaceFile(path, bytes);
    }
    void finishJournal(const std::string&) override {}
    void copyFile(const std::string& source, const std::string& destination) override;
    void removeFile(const std::string& path) override;
    void forceRemoveFile(const std::string& path) override;

private:
    UniqueHandle openForReading(const std::string& path);
    // Reads to the end rather than trusting the size, as the file may grow while it is read, but
    // never past limit.
    std::string readToEnd(HANDLE file, std::size_t limit);
    void writeAll(HANDLE file, std::string_view bytes);
    // Deletes the temporary files of earlier replacements of path that never finished.
    void removeStaleTemporaries(const std::string& path);
    void putInPlace(const std::string& path, const std::string& temporary);
    // ERROR_SUCCESS, or the error code of a failure that left the target as it was.
    DWORD tryPutInPlace(const std::string& path, const std::string& temporary);

    Win32FileApi* api_ = &Win32FileApi::System();
    ReplaceRetry retry_;
};

} // namespace palisade
