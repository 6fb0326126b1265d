#include "linux/system/FileReplacer.h"

#include "linux/system/ChangeJournal.h"
#include "linux/system/ErrnoText.h"
#include "linux/system/FdIo.h"
#include "linux/system/UniqueFd.h"

#include <cerrno>
#include <cstring>
#include <ctime>
#include <fcntl.h>
#include <optional>
#include <string_view>
#include <vector>

namespace palisade {

namespace {

constexpr int MaxLinkHops = 40; // the kernel's own limit

// Our temporary files are named "." + the target's name + this + six random characters.
constexpr std::string_view TemporaryMark = ".palisade-";
constexpr std::size_t RandomPart = 6;
// A temporary file this old was left by a replacement that never finished.
constexpr time_t StaleAfterSeconds = 60;

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

std::string BaseName(const std::string& path) {
    const auto slash = path.find_last_of('/');
    return slash == std::string::npos ? path : path.substr(slash + 1);
}

std::string JoinFolder(const std::string& folder, const std::string& name) {
    return folder == "/" ? "/" + name : folder + "/" + name;
}

// Fills out through query(buffer, size), which answers like listxattr and getxattr: asked with no
// buffer, the size needed. Goes on while the value grows between the two calls. 0 or an errno.
template <typename Query> int ReadSized(Query&& query, std::vector<char>& out) {
    for (;;) {
        const ssize_t size = query(nullptr, 0);
        if (size < 0)
            return errno;
        out.resize(static_cast<size_t>(size));
        if (size == 0)
            return 0;
        const ssize_t got = query(out.data(), out.size());
        if (got >= 0) {
            out.resize(static_cast<size_t>(got));
            return 0;
        }
        if (errno != ERANGE)
            return errno;
    }
}

} // namespace

void FileReplacer::replace(const std::string& path, const std::string& bytes) {
    const std::string target = followLinks(path);

    struct stat old {};
    const bool exists = sys_.stat(target.c_str(), &old) == 0;
    if (!exists && errno != ENOENT)
        ThrowErrno(sys_, errno, target);
    if (exists && S_ISDIR(old.st_mode))
        ThrowErrno(sys_, EISDIR, target);

    // Same folder, so the rename stays on one file system; a dot name keeps it out of sight.
    const std::string folder = ParentFolder(target);
    const std::string temporaryPrefix = "." + BaseName(target) + std::string(TemporaryMark);
    removeStaleTemporaries(folder, temporaryPrefix);
    std::string pattern = JoinFolder(folder, temporaryPrefix + std::string(RandomPart, 'X'));
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
        ThrowErrno(sys_, error, target);
    }
    TemporaryFile temporary(sys_, name.data());

    if (const int error = WriteAll(sys_, fd.get(), bytes))
        ThrowErrno(sys_, error, target);
    // Owner before mode: changing the owner can clear set-id bits that the mode should keep.
    if (exists && sys_.fchown(fd.get(), old.st_uid, old.st_gid) != 0)
        ThrowErrno(sys_, errno, target);
    // After the owner, which would clear a file capability; before the mode, which then sets the
    // permission bits exactly as they were whatever an access list made of them.
    if (exists)
        copyAttributes(target, fd.get());
    if (sys_.fchmod(fd.get(), exists ? (old.st_mode & 07777) : 0644) != 0)
        ThrowErrno(sys_, errno, target);
    if (sys_.fsync(fd.get()) != 0 || fd.close() != 0)
        ThrowErrno(sys_, errno, target);

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
    ThrowErrno(sys_, error, target);
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
                ThrowErrno(sys_, errno, current);
            if (static_cast<size_t>(n) < buffer.size())
                break;
            buffer.resize(buffer.size() * 2);
        }
        const std::string link(buffer.data(), static_cast<size_t>(n));
        current =
            !link.empty() && link.front() == '/' ? link : JoinFolder(ParentFolder(current), link);
    }
    ThrowErrno(sys_, ELOOP, path);
}

void FileReplacer::removeStaleTemporaries(const std::string& folder, const std::string& prefix) {
    // Tidying only: whatever goes wrong here, the replacement itself goes on.
    DIR* dir = sys_.opendir(folder.c_str());
    if (dir == nullptr)
        return;
    std::vector<std::string> stale;
    const time_t now = ::time(nullptr);
    while (const struct dirent* entry = sys_.readdir(dir)) {
        const std::string_view name(entry->d_name);
        if (name.size() != prefix.size() + RandomPart || !name.starts_with(prefix))
            continue;
        const std::string path = JoinFolder(folder, std::string(name));
        struct stat st {};
        if (sys_.lstat(path.c_str(), &st) == 0 && S_ISREG(st.st_mode) &&
            now - st.st_mtime > StaleAfterSeconds)
            stale.push_back(path);
    }
    sys_.closedir(dir);
    for (const auto& path : stale)
        sys_.unlink(path.c_str());
}

void FileReplacer::copyAttributes(const std::string& from, int to) {
    std::vector<char> names;
    const int listError = ReadSized(
        [&](char* buffer, size_t size) { return sys_.listxattr(from.c_str(), buffer, size); },
        names);
    if (listError == ENOTSUP)
        return; // a file system without them
    if (listError != 0)
        ThrowErrno(sys_, listError, from);

    std::vector<char> value;
    for (size_t at = 0; at < names.size(); at += std::strlen(names.data() + at) + 1) {
        const char* name = names.data() + at;
        const int error =
            ReadSized([&](char* buffer,
                          size_t size) { return sys_.getxattr(from.c_str(), name, buffer, size); },
                      value);
        if (error == ENODATA)
            continue; // removed since it was listed
        if (error != 0)
            ThrowErrno(sys_, error, from);
        // An attribute this file system or this user cannot set is left out rather than
        // keeping the old content.
        if (sys_.fsetxattr(to, name, value.data(), value.size(), 0) != 0 && errno != ENOTSUP &&
            errno != EPERM)
            ThrowErrno(sys_, errno, from);
    }
}

bool FileReplacer::isMountedApart(const struct stat& file, const std::string& folder) {
    struct stat st {};
    return sys_.stat(folder.c_str(), &st) == 0 && st.st_dev != file.st_dev;
}

void FileReplacer::writeInPlace(const std::string& target, const std::string& bytes) {
    std::optional<ChangeJournal> record;
    if (!journal_.empty()) {
        record.emplace(sys_, journal_);
        record->recordRewrite(target, bytes);
    }
    // Overwrite, then cut to length, rather than truncate first: a restore that shrinks the
    // file then needs no new blocks, so a full disk cannot leave it empty. Should this fail
    // part-way, the record stays for the next run to write again.
    UniqueFd fd(sys_, sys_.open(target.c_str(), O_WRONLY, 0));
    if (!fd.valid()) {
        const int error = errno;
        if (record)
            record->remove(); // nothing was written
        ThrowErrno(sys_, error, target);
    }
    if (const int error = WriteAll(sys_, fd.get(), bytes))
        ThrowErrno(sys_, error, target);
    if (sys_.ftruncate(fd.get(), static_cast<off_t>(bytes.size())) != 0 ||
        sys_.fsync(fd.get()) != 0 || fd.close() != 0)
        ThrowErrno(sys_, errno, target);
    if (record)
        record->remove();
}

void FileReplacer::syncFolder(const std::string& folder) {
    // Makes the rename itself durable. The new content is already in place, so a failure here
    // is not reported: saying the replacement failed would misdescribe the file.
    UniqueFd fd(sys_, sys_.open(folder.c_str(), O_RDONLY | O_DIRECTORY, 0));
    if (fd.valid())
        sys_.fsync(fd.get());
}

} // namespace palisade
