#include "linux/system/OwnerOnlyFile.h"

#include "linux/system/ErrnoText.h"
#include "linux/system/FdIo.h"
#include "linux/system/UniqueFd.h"
#include "platform/RuntimeError.h"

#include <cerrno>
#include <cstdint>
#include <fcntl.h>
#include <sys/stat.h>
#include <vector>

namespace palisade {

namespace {
const char* const TemporaryTag = ".palisade-";
} // namespace

bool OwnerOnlyFile::exists() const {
    struct stat st {};
    return sys_.lstat(path_.c_str(), &st) == 0;
}

std::optional<std::string> OwnerOnlyFile::read() const {
    // Without waiting: a pipe in the file's place would hang the program's start.
    UniqueFd file(sys_, sys_.open(path_.c_str(), O_RDONLY | O_NONBLOCK | O_NOCTTY | O_CLOEXEC, 0));
    if (!file.valid()) {
        if (errno == ENOENT || errno == ENOTDIR)
            return std::nullopt;
        ThrowErrno(sys_, errno, path_);
    }
    struct stat st {};
    if (sys_.fstat(file.get(), &st) != 0)
        ThrowErrno(sys_, errno, path_);
    if (!S_ISREG(st.st_mode))
        throw RuntimeError(std::string(NotARegularFile));
    if (static_cast<std::uintmax_t>(st.st_size) > limit_)
        throw RuntimeError(std::string(FileTooLarge));
    std::string bytes;
    if (const int error = ReadAll(sys_, file.get(), bytes, static_cast<size_t>(st.st_size), limit_))
        ThrowErrno(sys_, error, path_);
    return bytes;
}

void OwnerOnlyFile::replace(const std::string& bytes) const {
    // What could not be read back would cost the next run the whole file.
    if (bytes.size() > limit_)
        throw RuntimeError(std::string(FileTooLarge));
    std::string pattern = path_ + TemporaryTag + "XXXXXX";
    std::vector<char> temporary(pattern.begin(), pattern.end());
    temporary.push_back('\0');
    UniqueFd file(sys_, sys_.mkstemp(temporary.data()));
    if (!file.valid())
        ThrowErrno(sys_, errno, path_);

    int error = WriteAll(sys_, file.get(), bytes);
    if (error == 0)
        keepTimeMovingOn(file.get());
    if (error == 0 && sys_.fsync(file.get()) != 0)
        error = errno;
    if (error == 0 && file.close() != 0)
        error = errno;
    // The folder is not synced: after a crash it holds the old file or the new one, both whole,
    // and a second sync would double the cost of every keystroke in the password box.
    if (error == 0 && sys_.rename(temporary.data(), path_.c_str()) != 0)
        error = errno;
    if (error != 0) {
        file.close();
        sys_.unlink(temporary.data());
        ThrowErrno(sys_, error, path_);
    }
}

void OwnerOnlyFile::keepTimeMovingOn(int fd) const {
    struct stat old {};
    struct stat replacement {};
    if (sys_.stat(path_.c_str(), &old) != 0 || sys_.fstat(fd, &replacement) != 0)
        return;
    const auto millisecond = [](const timespec& t) {
        return static_cast<long long>(t.tv_sec) * 1000 + t.tv_nsec / 1'000'000;
    };
    const long long last = millisecond(old.st_mtim);
    if (millisecond(replacement.st_mtim) > last)
        return;
    const timespec next{static_cast<time_t>((last + 1) / 1000),
                        static_cast<long>((last + 1) % 1000) * 1'000'000};
    const timespec times[2] = {{0, UTIME_OMIT}, next};
    ::futimens(fd, times); // at worst a cached reader sees the change a little later
}

} // namespace palisade
