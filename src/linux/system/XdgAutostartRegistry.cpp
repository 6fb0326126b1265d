#include "linux/system/XdgAutostartRegistry.h"

#include "linux/system/DesktopEntry.h"
#include "linux/system/UniqueFd.h"

#include <algorithm>
#include <cctype>
#include <cerrno>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#include <utility>
#include <vector>

namespace palisade {

namespace {

constexpr RegStatus RegDiskFull = 112;
constexpr RegStatus RegWriteFault = 29;

// Access bits that change a key: set value, create sub-key, and the write rights.
constexpr std::uint32_t WritingAccess = 0x0002 | 0x0004 | 0x00020000 | 0x00040000 | 0x00080000;

RegStatus StatusFromErrno(int error) {
    switch (error) {
    case ENOENT:
    case ENOTDIR:
        return RegFileNotFound;
    case EACCES:
    case EPERM:
    case EROFS:
        return RegAccessDenied;
    case ENOSPC:
    case EDQUOT:
        return RegDiskFull;
    case ENAMETOOLONG:
        return RegInvalidParameter;
    default:
        return RegWriteFault;
    }
}

bool SameKeyName(const std::string& a, const std::string& b) {
    return std::equal(a.begin(), a.end(), b.begin(), b.end(), [](char x, char y) {
        return std::toupper(static_cast<unsigned char>(x)) ==
               std::toupper(static_cast<unsigned char>(y));
    });
}

// A value name must stay one file inside the folder.
bool UsableName(const std::string& name) {
    return !name.empty() && name.find('/') == std::string::npos &&
           name.find('\0') == std::string::npos;
}

bool WriteAll(int fd, const std::string& bytes) {
    std::size_t done = 0;
    while (done < bytes.size()) {
        const ssize_t n = ::write(fd, bytes.data() + done, bytes.size() - done);
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0)
            return false;
        done += static_cast<std::size_t>(n);
    }
    return true;
}

// Writes the whole file beside its final name and renames it into place, so that a desktop
// session never reads half an entry. Returns 0 or the errno of the failure.
int ReplaceAtomically(const std::string& folder, const std::string& name, const std::string& path,
                      const std::string& bytes) {
    // A dot name that does not end in ".desktop" is never read as an entry.
    std::string pattern = folder + "/." + name + ".desktop.XXXXXX";
    std::vector<char> buffer(pattern.begin(), pattern.end());
    buffer.push_back('\0');
    UniqueFd file(RealSyscalls(), ::mkstemp(buffer.data()));
    if (file.get() < 0)
        return errno;
    const std::string temp(buffer.data());
    int error = 0;
    // Readable by every user's session; mkstemp makes it private.
    if (::fchmod(file.get(), 0644) != 0 || !WriteAll(file.get(), bytes) ||
        ::fsync(file.get()) != 0 || file.close() != 0 || ::rename(temp.c_str(), path.c_str()) != 0)
        error = errno;
    if (error != 0) {
        ::unlink(temp.c_str());
        return error;
    }
    UniqueFd dir(RealSyscalls(), ::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
    if (dir.get() >= 0)
        ::fsync(dir.get());
    return 0;
}

} // namespace

XdgAutostartRegistry::XdgAutostartRegistry(std::string folder) : folder_(std::move(folder)) {}

std::string XdgAutostartRegistry::EntryPath(const std::string& name) const {
    return folder_ + "/" + name + ".desktop";
}

RegStatus XdgAutostartRegistry::openKey(std::uint32_t hive, const std::string& subKey,
                                        std::uint32_t access, Key& key) {
    if (hive != HiveLocalMachine || !SameKeyName(subKey, RunSubKey))
        return RegFileNotFound;
    struct stat st {};
    if (::stat(folder_.c_str(), &st) != 0)
        return StatusFromErrno(errno);
    if (!S_ISDIR(st.st_mode))
        return RegFileNotFound;
    if ((access & WritingAccess) != 0 && ::access(folder_.c_str(), W_OK | X_OK) != 0)
        return StatusFromErrno(errno);
    key = next_++;
    open_.insert(key);
    return RegSuccess;
}

RegStatus XdgAutostartRegistry::setValue(Key key, const std::string& name, std::uint32_t type,
                                         const std::string& data) {
    if (!open_.contains(key))
        return RegInvalidHandle;
    if (type != RegTypeSz || !UsableName(name))
        return RegInvalidParameter;
    const std::string path = data.substr(0, data.find('\0'));
    const int error =
        ReplaceAtomically(folder_, name, EntryPath(name), AutostartDesktopEntry(name, path));
    return error == 0 ? RegSuccess : StatusFromErrno(error);
}

RegStatus XdgAutostartRegistry::deleteValue(Key key, const std::string& name) {
    if (!open_.contains(key))
        return RegInvalidHandle;
    if (!UsableName(name))
        return RegFileNotFound;
    if (::unlink(EntryPath(name).c_str()) != 0)
        return StatusFromErrno(errno);
    return RegSuccess;
}

RegStatus XdgAutostartRegistry::closeKey(Key key) {
    return open_.erase(key) == 1 ? RegSuccess : RegInvalidHandle;
}

} // namespace palisade
