#include "blocking/BlockingFiles.h"

namespace palisade {

std::string GetSystemFolder(SystemInfo& system) {
    return system.systemDirectory();
}

bool FileExists(FileSystem& fs, const std::string& path) {
    try {
        return fs.canOpenExisting(path);
    } catch (...) {
        return false;
    }
}

bool AppendLineToFile(FileSystem& fs, const std::string& path, const std::string& text,
                      const std::string& lineEnd) {
    try {
        // One write per line, so a failure never leaves half a line behind.
        fs.appendFile(path, text + lineEnd);
        return true;
    } catch (...) {
        return false;
    }
}

bool TrySyncFile(FileSystem& fs, const std::string& path) {
    try {
        fs.syncFile(path);
        return true;
    } catch (...) {
        return false;
    }
}

bool TryReplaceFile(FileSystem& fs, const std::string& path, const std::string& bytes) {
    try {
        fs.replaceFile(path, bytes);
        return true;
    } catch (...) {
        return false;
    }
}

void ForceDeleteFile(FileSystem& fs, const std::string& path) {
    fs.forceRemoveFile(path);
}

} // namespace palisade
