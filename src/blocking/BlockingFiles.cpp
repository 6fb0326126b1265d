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

std::string JournalPathFor(const std::string& snapshotPath) {
    return snapshotPath + "-journal";
}

bool TryAppendLines(FileSystem& fs, const std::string& path, LineSource& lines,
                    const std::string& journal) {
    try {
        fs.appendLines(path, lines, journal);
        return true;
    } catch (...) {
        return false;
    }
}

bool TryReplaceFile(FileSystem& fs, const std::string& path, const std::string& bytes,
                    const std::string& journal) {
    try {
        fs.replaceFileJournaled(path, bytes, journal);
        return true;
    } catch (...) {
        return false;
    }
}

bool TryFinishJournal(FileSystem& fs, const std::string& journal) {
    try {
        fs.finishJournal(journal);
        return true;
    } catch (...) {
        return false;
    }
}

void ForceDeleteFile(FileSystem& fs, const std::string& path) {
    fs.forceRemoveFile(path);
}

} // namespace palisade
