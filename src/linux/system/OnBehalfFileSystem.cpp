#include "linux/system/OnBehalfFileSystem.h"

#include "linux/system/FsIdentity.h"

namespace palisade {

OnBehalfFileSystem::OnBehalfFileSystem(FileSystem& inner, std::optional<UserAccount> user,
                                       PathTest isSystemPath)
    : inner_(inner), user_(std::move(user)), isSystemPath_(std::move(isSystemPath)) {}

std::optional<UserAccount> OnBehalfFileSystem::identityFor(const std::string& path) const {
    if (!user_ || isSystemPath_(path))
        return std::nullopt;
    return user_;
}

bool OnBehalfFileSystem::find(const std::string& path, EntryFilter filter) {
    AsUser as(identityFor(path));
    return inner_.find(path, filter);
}

bool OnBehalfFileSystem::canOpenExisting(const std::string& path) {
    AsUser as(identityFor(path));
    return inner_.canOpenExisting(path);
}

void OnBehalfFileSystem::createFolder(const std::string& path) {
    AsUser as(identityFor(path));
    inner_.createFolder(path);
}

std::string OnBehalfFileSystem::readFile(const std::string& path) {
    AsUser as(identityFor(path));
    return inner_.readFile(path);
}

std::string OnBehalfFileSystem::readFileUpTo(const std::string& path, std::size_t limit) {
    AsUser as(identityFor(path));
    return inner_.readFileUpTo(path, limit);
}

void OnBehalfFileSystem::writeFile(const std::string& path, const std::string& bytes) {
    AsUser as(identityFor(path));
    inner_.writeFile(path, bytes);
}

void OnBehalfFileSystem::appendFile(const std::string& path, const std::string& bytes) {
    AsUser as(identityFor(path));
    inner_.appendFile(path, bytes);
}

void OnBehalfFileSystem::appendLines(const std::string& path, LineSource& lines,
                                     const std::string& journal) {
    AsUser as(identityFor(path));
    inner_.appendLines(path, lines, journal);
}

void OnBehalfFileSystem::syncFile(const std::string& path) {
    AsUser as(identityFor(path));
    inner_.syncFile(path);
}

void OnBehalfFileSystem::replaceFile(const std::string& path, const std::string& bytes) {
    AsUser as(identityFor(path));
    inner_.replaceFile(path, bytes);
}

void OnBehalfFileSystem::replaceFileJournaled(const std::string& path, const std::string& bytes,
                                              const std::string& journal) {
    AsUser as(identityFor(path));
    inner_.replaceFileJournaled(path, bytes, journal);
}

void OnBehalfFileSystem::finishJournal(const std::string& journal) {
    AsUser as(identityFor(journal));
    inner_.finishJournal(journal);
}

void OnBehalfFileSystem::copyFile(const std::string& source, const std::string& destination) {
    const auto from = identityFor(source);
    const auto to = identityFor(destination);
    if ((from.has_value()) == (to.has_value())) {
        AsUser as(from);
        inner_.copyFile(source, destination);
        return;
    }
    // Read with the one identity, write with the other.
    std::string bytes;
    {
        AsUser as(from);
        bytes = inner_.readFile(source);
    }
    AsUser as(to);
    inner_.replaceFile(destination, bytes);
}

void OnBehalfFileSystem::removeFile(const std::string& path) {
    AsUser as(identityFor(path));
    inner_.removeFile(path);
}

void OnBehalfFileSystem::forceRemoveFile(const std::string& path) {
    AsUser as(identityFor(path));
    inner_.forceRemoveFile(path);
}

namespace {

// Whether a path has a ".." step: "/var/lib/app/../../../home/ann/x" starts with a system
// folder's name yet leads anywhere.
bool ClimbsUp(const std::string& path) {
    std::size_t start = 0;
    while (start <= path.size()) {
        const auto slash = path.find('/', start);
        const auto end = slash == std::string::npos ? path.size() : slash;
        if (path.compare(start, end - start, "..") == 0)
            return true;
        start = end + 1;
    }
    return false;
}

} // namespace

OnBehalfFileSystem::PathTest SystemPaths(std::vector<std::string> files,
                                         std::vector<std::string> folders) {
    return [files = std::move(files), folders = std::move(folders)](const std::string& path) {
        // Typed into the open-file dialog, such a path would be read as root.
        if (ClimbsUp(path))
            return false;
        for (const auto& file : files)
            if (path == file)
                return true;
        for (const auto& folder : folders)
            if (path == folder ||
                (path.size() > folder.size() && path.compare(0, folder.size(), folder) == 0 &&
                 path[folder.size()] == '/'))
                return true;
        return false;
    };
}

} // namespace palisade
