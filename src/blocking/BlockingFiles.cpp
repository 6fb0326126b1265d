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

bool TryAppendLines(FileSystem& fs, const std::string& path, const std::string& lines) {
    try {
        fs.appendLines(path, lines);
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
