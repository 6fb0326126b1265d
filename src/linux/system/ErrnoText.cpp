#include "linux/system/ErrnoText.h"

#include "platform/RuntimeError.h"

#include <cerrno>
#include <cstring>

namespace palisade {

std::string ParentFolder(const std::string& path) {
    const auto slash = path.find_last_of('/');
    if (slash == std::string::npos)
        return ".";
    if (slash == 0)
        return "/";
    return path.substr(0, slash);
}

std::string DescribeErrno(Syscalls& sys, int error, const std::string& path) {
    switch (error) {
    case ENOENT: {
        // A missing file and a missing folder on the way to it read differently to the user.
        struct stat st {};
        const std::string folder = ParentFolder(path);
        if (sys.stat(folder.c_str(), &st) != 0 || !S_ISDIR(st.st_mode))
            return "Path not found";
        return "File not found";
    }
    case EACCES:
    case EPERM:
    case EROFS:
        return "Permission denied";
    case ENOSPC:
    case EDQUOT:
        return "Disk full";
    case EFBIG:
        return std::string(FileTooLarge);
    case EEXIST:
    case EISDIR:
    case ENOTDIR:
        return "Path/File access error";
    default:
        return std::strerror(error);
    }
}

void ThrowErrno(Syscalls& sys, int error, const std::string& path) {
    throw RuntimeError(DescribeErrno(sys, error, path));
}

} // namespace palisade
