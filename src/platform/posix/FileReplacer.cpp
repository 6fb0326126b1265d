#include "platform/posix/FileReplacer.h"

#include "platform/posix/ErrnoText.h"
#include "platform/posix/FdIo.h"
#include "platform/posix/UniqueFd.h"

#include <cerrno>
#include <fcntl.h>
#include <vector>

namespace palisade {

namespace {

constexpr int MaxLinkHops = 40; // the kernel's own limit

// Removes the temporary file unless it has been renamed into place.
class TemporaryFile {
public:
    TemporaryFile(Syscalls& sys, std::string path) : sys_(sys), path_(std::move(path)) {}
    TemporaryFile(const TemporaryFile&) = delete;
    TemporaryFile& operator=(const TemporaryFile&) = delete;
    ~TemporaryFile() { remove(); }

    const std::string& path() const { return path_; }
    void release() { armed_ = false; }
    void remove() {
        if (armed_) {
            const int saved = errno;
            sys_.unlink(path_.c_str());
            errno = saved;
            armed_ = false;
        }
    }

private:
    Syscalls& sys_;
    std::string path_;
    bool armed_ = true;
};

std::string baseName(const std::string& path) {
    const auto slash = path.find_last_of('/');
    return slash == std::string::npos ? path : path.substr(slash + 1);
}

std::string joinFolder(const std::string& folder, const std::string& name) {
    return folder == "/" ? "/" + name : folder + "/" + name;
}

} // namespace

void FileReplacer::replace(const std::string& path, const std::string& bytes) {
    const std::string target = followLinks(path);

    struct stat old {};
    const bool exists = sys_.stat(target.c_str(), &old) == 0;
    if (!exists && errno != ENOENT)
        throwErrno(sys_, errno, target);
    if (exists && S_ISDIR(old.st_mode))
        throwErrno(sys_, EISDIR, target);

    // Same folder, so the rename stays on one file system; a dot name keeps it out of sight.
    const std::string folder = parentFolder(target);
    std::string pattern = joinFolder(folder, "." + baseName(target) + ".XXXXXX");
    std::vector<char> name(pattern.begin(), pattern.end());
    name.push_back('\0');
    UniqueFd fd(sys_, sys_.mkstemp(name.data()));
    if (!fd.valid()) {
        const int error = errno;
        // A read-only root with a writable file mounted on it: nothing can be made beside the
        // file, but the file itself can still be rewritten.
        if (exists && (error == EROFS || error == EACCES) && isMountedApart(old, folder)) {
            writeInPlace(target, bytes);
            return;
        }
        throwErrno(sys_, error, target);
    }
    TemporaryFile temporary(sys_, name.data());

    if (const int error = writeAll(sys_, fd.get(), bytes))
        throwErrno(sys_, error, target);
    // Owner before mode: changing the owner can clear set-id bits that the mode should keep.
    if (exists && sys_.fchown(fd.get(), old.st_uid, old.st_gid) != 0)
        throwErrno(sys_, errno, target);
    if (sys_.fchmod(fd.get(), exists ? (old.st_mode & 07777) : 0644) != 0)
        throwErrno(sys_, errno, target);
    if (sys_.fsync(fd.get()) != 0 || fd.close() != 0)
        throwErrno(sys_, errno, target);

    if (sys_.rename(temporary.path().c_str(), target.c_str()) == 0) {
        temporary.release();
        syncFolder(folder);
        return;
    }
    const int error = errno;
    temporary.remove();
    if (error == EBUSY || error == EXDEV) {
        writeInPlace(target, bytes);
        return;
    }
    throwErrno(sys_, error, target);
}

std::string FileReplacer::followLinks(const std::string& path) {
    std::string current = path;
    for (int hop = 0; hop < MaxLinkHops; ++hop) {
        struct stat st {};
        if (sys_.lstat(current.c_str(), &st) != 0 || !S_ISLNK(st.st_mode))
            return current;
        std::vector<char> buffer(256);
        ssize_t n = 0;
        for (;;) {
            n = sys_.readlink(current.c_str(), buffer.data(), buffer.size());
            if (n < 0)
                throwErrno(sys_, errno, current);
            if (static_cast<size_t>(n) < buffer.size())
                break;
            buffer.resize(buffer.size() * 2);
        }
        const std::string link(buffer.data(), static_cast<size_t>(n));
        current =
            !link.empty() && link.front() == '/' ? link : joinFolder(parentFolder(current), link);
    }
    throwErrno(sys_, ELOOP, path);
}

bool FileReplacer::isMountedApart(const struct stat& file, const std::string& folder) {
    struct stat st {};
    return sys_.stat(folder.c_str(), &st) == 0 && st.st_dev != file.st_dev;
}

void FileReplacer::writeInPlace(const std::string& target, const std::string& bytes) {
    // Overwrite, then cut to length, rather than truncate first: a restore that shrinks the
    // file then needs no new blocks, so a full disk cannot leave it empty.
    UniqueFd fd(sys_, sys_.open(target.c_str(), O_WRONLY, 0));
    if (!fd.valid())
        throwErrno(sys_, errno, target);
    if (const int error = writeAll(sys_, fd.get(), bytes))
        throwErrno(sys_, error, target);
    if (sys_.ftruncate(fd.get(), static_cast<off_t>(bytes.size())) != 0 ||
        sys_.fsync(fd.get()) != 0 || fd.close() != 0)
        throwErrno(sys_, errno, target);
}

void FileReplacer::syncFolder(const std::string& folder) {
    // Makes the rename itself durable. The new content is already in place, so a failure here
    // is not reported: saying the replacement failed would misdescribe the file.
    UniqueFd fd(sys_, sys_.open(folder.c_str(), O_RDONLY | O_DIRECTORY, 0));
    if (fd.valid())
        sys_.fsync(fd.get());
}

} // namespace palisade
