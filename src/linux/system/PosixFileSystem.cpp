#include "linux/system/PosixFileSystem.h"

#include "linux/system/ChangeJournal.h"
#include "linux/system/ErrnoText.h"
#include "linux/system/FdIo.h"
#include "linux/system/FileReplacer.h"
#include "linux/system/PathName.h"
#include "linux/system/UniqueFd.h"

#include <cerrno>
#include <cstdint>
#include <fcntl.h>
#include <optional>

namespace palisade {

PosixFileSystem::PosixFileSystem(Syscalls& sys) : sys_(sys) {}

bool PosixFileSystem::find(const std::string& path, EntryFilter filter) {
    RequireValidPathName(path);
    struct stat st {};
    if (filter == EntryFilter::FilesAndFolders)
        return sys_.lstat(path.c_str(), &st) == 0;
    return sys_.stat(path.c_str(), &st) == 0 && S_ISREG(st.st_mode);
}

bool PosixFileSystem::canOpenExisting(const std::string& path) {
    if (!IsValidPathName(path))
        return false;
    // O_PATH asks for no access at all, like a probe that only wants a handle.
    UniqueFd fd(sys_, sys_.open(path.c_str(), O_PATH, 0));
    if (!fd.valid())
        return false;
    struct stat st {};
    return sys_.fstat(fd.get(), &st) == 0 && !S_ISDIR(st.st_mode);
}

void PosixFileSystem::createFolder(const std::string& path) {
    RequireValidPathName(path);
    if (sys_.mkdir(path.c_str(), 0755) != 0)
        ThrowErrno(sys_, errno, path);
}

std::string PosixFileSystem::readFile(const std::string& path) {
    RequireValidPathName(path);
    UniqueFd fd(sys_, sys_.open(path.c_str(), O_RDONLY, 0));
    if (!fd.valid())
        ThrowErrno(sys_, errno, path);
    struct stat st {};
    const size_t expected =
        sys_.fstat(fd.get(), &st) == 0 && S_ISREG(st.st_mode) ? static_cast<size_t>(st.st_size) : 0;
    std::string bytes;
    if (const int error = ReadAll(sys_, fd.get(), bytes, expected))
        ThrowErrno(sys_, error, path);
    return bytes;
}

std::string PosixFileSystem::readFileUpTo(const std::string& path, std::size_t limit) {
    RequireValidPathName(path);
    // Opening a pipe without a writer would wait for one; a terminal would become ours.
    UniqueFd fd(sys_, sys_.open(path.c_str(), O_RDONLY | O_NONBLOCK | O_NOCTTY, 0));
    if (!fd.valid())
        ThrowErrno(sys_, errno, path);
    struct stat st {};
    if (sys_.fstat(fd.get(), &st) != 0)
        ThrowErrno(sys_, errno, path);
    if (!S_ISREG(st.st_mode))
        throw RuntimeError(std::string(NotARegularFile));
    if (static_cast<std::uintmax_t>(st.st_size) > limit)
        throw RuntimeError(std::string(FileTooLarge));
    std::string bytes;
    // The file may still grow while it is read.
    if (const int error = ReadAll(sys_, fd.get(), bytes, static_cast<size_t>(st.st_size), limit))
        ThrowErrno(sys_, error, path);
    return bytes;
}

void PosixFileSystem::writeFile(const std::string& path, const std::string& bytes) {
    writeWithFlags(path, bytes, O_WRONLY | O_CREAT | O_TRUNC);
}

void PosixFileSystem::appendFile(const std::string& path, const std::string& bytes) {
    writeWithFlags(path, bytes, O_WRONLY | O_CREAT | O_APPEND);
}

void PosixFileSystem::appendLines(const std::string& path, LineSource& lines,
                                  const std::string& journal) {
    RequireValidPathName(path);
    // Not blocking: a FIFO in the file's place must not hang the program.
    UniqueFd fd(sys_, sys_.open(path.c_str(),
                                O_WRONLY | O_CREAT | O_APPEND | O_NONBLOCK | O_CLOEXEC, 0644));
    if (!fd.valid())
        ThrowErrno(sys_, errno, path);
    struct stat before {};
    if (sys_.fstat(fd.get(), &before) != 0)
        ThrowErrno(sys_, errno, path);
    if (!S_ISREG(before.st_mode))
        ThrowErrno(sys_, EISDIR, path);
    // A kill can cut a write short between two pages, inside a line.
    std::optional<ChangeJournal> record;
    if (!journal.empty()) {
        record.emplace(sys_, journal);
        record->recordAppend(path, before, lines.size());
    }

    int error = 0;
    for (std::string_view piece; error == 0 && lines.next(piece);)
        error = WriteAll(sys_, fd.get(), piece);
    if (error == 0 && sys_.fsync(fd.get()) != 0)
        error = errno;
    if (error != 0) {
        // A full disk may have taken part of a line: back to the size before, flushed too.
        // Should that fail as well, the record stays for the next run to cut back.
        if (sys_.ftruncate(fd.get(), before.st_size) == 0 && sys_.fsync(fd.get()) == 0 && record)
            record->remove();
        ThrowErrno(sys_, error, path);
    }
    // Flushed already: a close that fails now changes nothing on the disk.
    fd.close();
    if (record)
        record->remove();
}

void PosixFileSystem::syncFile(const std::string& path) {
    RequireValidPathName(path);
    // fsync flushes the file, whichever descriptor asks; reading is the least access to ask for.
    UniqueFd fd(sys_, sys_.open(path.c_str(), O_RDONLY, 0));
    if (!fd.valid())
        ThrowErrno(sys_, errno, path);
    if (sys_.fsync(fd.get()) != 0)
        ThrowErrno(sys_, errno, path);
}

void PosixFileSystem::writeWithFlags(const std::string& path, const std::string& bytes, int flags) {
    RequireValidPathName(path);
    UniqueFd fd(sys_, sys_.open(path.c_str(), flags, 0644));
    if (!fd.valid())
        ThrowErrno(sys_, errno, path);
    if (const int error = WriteAll(sys_, fd.get(), bytes))
        ThrowErrno(sys_, error, path);
    // Delayed write errors (NFS, quota) surface only at close.
    if (fd.close() != 0)
        ThrowErrno(sys_, errno, path);
}

void PosixFileSystem::replaceFile(const std::string& path, const std::string& bytes) {
    RequireValidPathName(path);
    FileReplacer(sys_).replace(path, bytes);
}

void PosixFileSystem::replaceFileJournaled(const std::string& path, const std::string& bytes,
                                           const std::string& journal) {
    RequireValidPathName(path);
    FileReplacer(sys_, journal).replace(path, bytes);
}

void PosixFileSystem::finishJournal(const std::string& journal) {
    RequireValidPathName(journal);
    ChangeJournal(sys_, journal).finish();
}

void PosixFileSystem::copyFile(const std::string& source, const std::string& destination) {
    RequireValidPathName(destination);
    const std::string bytes = readFile(source);
    FileReplacer(sys_).replace(destination, bytes);
}

void PosixFileSystem::removeFile(const std::string& path) {
    RequireValidPathName(path);
    if (sys_.unlink(path.c_str()) != 0)
        ThrowErrno(sys_, errno, path);
}

void PosixFileSystem::forceRemoveFile(const std::string& path) {
    RequireValidPathName(path);
    struct stat st {};
    if (sys_.lstat(path.c_str(), &st) == 0 && S_ISREG(st.st_mode) && !(st.st_mode & S_IWUSR))
        sys_.chmod(path.c_str(), (st.st_mode & 07777) | S_IWUSR); // unlink goes on regardless
    if (sys_.unlink(path.c_str()) != 0)
        ThrowErrno(sys_, errno, path);
}

} // namespace palisade
