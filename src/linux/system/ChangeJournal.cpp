#include "linux/system/ChangeJournal.h"

#include "linux/system/ErrnoText.h"
#include "linux/system/FdIo.h"
#include "linux/system/FileReplacer.h"
#include "linux/system/UniqueFd.h"

#include <cerrno>
#include <charconv>
#include <fcntl.h>
#include <string_view>
#include <unistd.h>
#include <vector>

namespace palisade {

namespace {

constexpr std::string_view Header = "palisade change journal 1\n";
constexpr std::string_view Rewrite = "rewrite";
constexpr std::string_view Append = "append";

// The numbers of a record's second line, after its kind; false unless the line holds exactly
// count of them.
bool ParseNumbers(std::string_view line, std::vector<unsigned long long>& numbers,
                  std::size_t count) {
    numbers.clear();
    while (!line.empty()) {
        if (line.front() != ' ')
            return false;
        line.remove_prefix(1);
        unsigned long long value = 0;
        const auto [end, error] = std::from_chars(line.data(), line.data() + line.size(), value);
        if (error != std::errc() || end == line.data())
            return false;
        numbers.push_back(value);
        line.remove_prefix(static_cast<std::size_t>(end - line.data()));
    }
    return numbers.size() == count;
}

} // namespace

void ChangeJournal::recordRewrite(const std::string& target, const std::string& bytes) {
    write(std::string(Header) + std::string(Rewrite) + " " + std::to_string(target.size()) + " " +
          std::to_string(bytes.size()) + "\n" + target + bytes);
}

void ChangeJournal::recordAppend(const std::string& target, const struct stat& file,
                                 std::size_t added) {
    write(std::string(Header) + std::string(Append) + " " + std::to_string(target.size()) + " " +
          std::to_string(file.st_dev) + " " + std::to_string(file.st_ino) + " " +
          std::to_string(file.st_size) + " " + std::to_string(added) + "\n" + target);
}

void ChangeJournal::write(const std::string& record) {
    // Made anew: a record left here was settled already. A kill while it is written leaves fewer
    // bytes than its first line counts, which no run acts on.
    remove();
    UniqueFd fd(
        sys_, sys_.open(path_.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, 0600));
    if (!fd.valid())
        ThrowErrno(sys_, errno, path_);
    // The change may only begin once the record is on the disk. Syncing a new file makes its
    // name last as well on the journalling file systems the data folder lives on.
    int error = WriteAll(sys_, fd.get(), record);
    if (error == 0 && sys_.fsync(fd.get()) != 0)
        error = errno;
    if (error == 0 && fd.close() != 0)
        error = errno;
    if (error != 0) {
        fd.close();
        remove();
        ThrowErrno(sys_, error, path_);
    }
}

void ChangeJournal::remove() {
    sys_.unlink(path_.c_str());
}

void ChangeJournal::finish() {
    UniqueFd fd(sys_, sys_.open(path_.c_str(), O_RDONLY | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC, 0));
    if (!fd.valid()) {
        if (errno == ENOENT || errno == ENOTDIR)
            return;
        if (errno != ELOOP && errno != ENXIO) // a link or a socket: never a record of ours
            ThrowErrno(sys_, errno, path_);
        remove();
        return;
    }
    struct stat st {};
    if (sys_.fstat(fd.get(), &st) != 0)
        ThrowErrno(sys_, errno, path_);
    std::string bytes;
    if (S_ISREG(st.st_mode) && st.st_uid == ::geteuid() && (st.st_mode & 077) == 0) {
        if (const int error = ReadAll(sys_, fd.get(), bytes, static_cast<size_t>(st.st_size)))
            ThrowErrno(sys_, error, path_);
    }
    fd.close();

    // Header, then "<kind> <target size> <numbers...>\n", then the target and any content.
    std::string_view rest(bytes);
    const auto lineEnd = rest.find('\n', Header.size());
    std::vector<unsigned long long> n;
    if (rest.starts_with(Header) && lineEnd != std::string_view::npos) {
        const std::string_view line = rest.substr(Header.size(), lineEnd - Header.size());
        rest.remove_prefix(lineEnd + 1);
        if (line.starts_with(Rewrite) && ParseNumbers(line.substr(Rewrite.size()), n, 2) &&
            n[0] + n[1] == rest.size()) {
            FileReplacer(sys_).replace(std::string(rest.substr(0, n[0])),
                                       std::string(rest.substr(n[0])));
        } else if (line.starts_with(Append) && ParseNumbers(line.substr(Append.size()), n, 5) &&
                   n[0] == rest.size()) {
            settleAppend(std::string(rest), static_cast<dev_t>(n[1]), static_cast<ino_t>(n[2]),
                         static_cast<off_t>(n[3]), static_cast<off_t>(n[4]));
        }
    }
    remove();
}

void ChangeJournal::settleAppend(const std::string& target, dev_t device, ino_t inode, off_t before,
                                 off_t added) {
    UniqueFd file(sys_, sys_.open(target.c_str(), O_WRONLY | O_NONBLOCK | O_CLOEXEC, 0));
    if (!file.valid()) {
        if (errno == ENOENT)
            return;
        ThrowErrno(sys_, errno, target);
    }
    struct stat now {};
    if (sys_.fstat(file.get(), &now) != 0)
        ThrowErrno(sys_, errno, target);
    // Cut back only what can be nothing but that append: the same file, no longer than it made
    // it. A file replaced or grown since is someone else's to keep.
    if (!S_ISREG(now.st_mode) || now.st_dev != device || now.st_ino != inode ||
        now.st_size < before || now.st_size > before + added)
        return;
    if (sys_.ftruncate(file.get(), before) != 0 || sys_.fsync(file.get()) != 0)
        ThrowErrno(sys_, errno, target);
}

} // namespace palisade
