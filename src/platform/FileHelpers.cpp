#include "platform/FileHelpers.h"

#include <algorithm>

namespace palisade {

std::string GetSpecialFolder(SystemInfo& system, int id) {
    std::optional<std::string> raw;
    try {
        raw = system.specialFolder(id);
    } catch (...) {
        return {};
    }
    if (!raw)
        return {};
    std::string path = *raw;
    path.erase(std::remove(path.begin(), path.end(), '\0'), path.end());
    const auto first = path.find_first_not_of(' ');
    if (first == std::string::npos)
        return {};
    const auto last = path.find_last_not_of(' ');
    return path.substr(first, last - first + 1);
}

bool PathExists(FileSystem& fs, const std::string& path) {
    try {
        return fs.find(path, EntryFilter::FilesAndFolders);
    } catch (...) {
        return false;
    }
}

void RemoveFile(FileSystem& fs, EventPump& pump, const std::string& path) {
    pump.doEvents();
    try {
        fs.removeFile(path);
    } catch (...) {
        try {
            fs.forceRemoveFile(path);
        } catch (...) {
            // Nothing more can be done; the caller carries on.
        }
    }
}

bool WriteTextFile(FileSystem& fs, SystemInfo& system, const std::string& path,
                   const std::string& text) {
    try {
        fs.writeFile(path, text + system.lineEnd());
        return true;
    } catch (...) {
        return false; // the caller decides what to tell
    }
}

std::string JoinPath(SystemInfo& system, const std::string& folder, const std::string& name) {
    return folder + system.separator() + name;
}

} // namespace palisade
