#include "windows/system/Win32FileSystem.h"

#include "windows/system/Handles.h"
#include "windows/system/Win32Errors.h"

#include <algorithm>
#include <atomic>
#include <limits>
#include <string_view>
#include <vector>

namespace palisade {

namespace {

// Large contents are written in pieces: WriteFile takes a 32-bit size, and smaller pieces
// keep a failing disk from being asked for the whole amount at once.
constexpr std::size_t kWriteChunk = 1 << 20;
constexpr DWORD kReadChunk = 1 << 16;

// The attributes a replaced file keeps. The archive bit is left as the write set it: the
// content did change.
constexpr DWORD kKeptAttributes = FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_HIDDEN |
                                  FILE_ATTRIBUTE_SYSTEM | FILE_ATTRIBUTE_NOT_CONTENT_INDEXED |
                                  FILE_ATTRIBUTE_OFFLINE | FILE_ATTRIBUTE_TEMPORARY;

// Characters that FindFirstFileA would take as wildcards (the DOS ones included) or that no
// file name can hold.
bool IsBadLookupName(const std::string& path) {
    if (path.empty())
        return true;
    return std::any_of(path.begin(), path.end(), [](char c) {
        return c == '\0' || std::string_view("*?<>|\"").find(c) != std::string_view::npos;
    });
}

// Failures that another program holding the file open causes; they tend to clear up on their
// own within moments (virus scanners, backup tools, editors).
bool IsPassingConflict(DWORD code) {
    return code == ERROR_SHARING_VIOLATION || code == ERROR_LOCK_VIOLATION ||
           code == ERROR_UNABLE_TO_REMOVE_REPLACED || code == ERROR_UNABLE_TO_MOVE_REPLACEMENT ||
           code == ERROR_UNABLE_TO_MOVE_REPLACEMENT_2 || code == ERROR_ACCESS_DENIED;
}

// Our temporary files beside path are named path + this + process id, "-", counter, ".tmp".
constexpr std::string_view TemporaryMark = ".palisade-";
constexpr std::string_view TemporaryEnd = ".tmp";
// A temporary file this old was left by a replacement that never finished.
constexpr ULONGLONG StaleAfter = 60ULL * 10'000'000ULL; // in 100-nanosecond units

std::string TemporaryNameFor(const std::string& path) {
    static std::atomic<unsigned> counter{0};
    return path + std::string(TemporaryMark) + std::to_string(::GetCurrentProcessId()) + "-" +
           std::to_string(++counter) + std::string(TemporaryEnd);
}

ULONGLONG Ticks(const FILETIME& time) {
    return (static_cast<ULONGLONG>(time.dwHighDateTime) << 32) | time.dwLowDateTime;
}

// A new file beside a target, deleted on every way out unless it was put in place.
class TemporaryFile {
public:
    explicit TemporaryFile(Win32FileApi& api) : api_(api) {}
    ~TemporaryFile() {
        // Closed first: a file still open without delete sharing cannot be deleted.
        file_.reset();
        if (!path_.empty())
            api_.DeleteFileA(path_.c_str());
    }
    TemporaryFile(const TemporaryFile&) = delete;
    TemporaryFile& operator=(const TemporaryFile&) = delete;

    // Beside the target, so that putting it in place is a rename within one volume.
    void createBeside(const std::string& target) {
        for (int tries = 0;; ++tries) {
            std::string name = TemporaryNameFor(target);
            file_.reset(api_.CreateFileA(name.c_str(), GENERIC_WRITE, 0, CREATE_NEW,
                                         FILE_ATTRIBUTE_NORMAL));
            if (file_) {
                path_ = std::move(name);
                return;
            }
            const DWORD code = ::GetLastError();
            if (code != ERROR_FILE_EXISTS || tries >= 100)
                ThrowWin32Error(code);
        }
    }

    HANDLE handle() const { return file_.get(); }
    const std::string& path() const { return path_; }
    void close() { file_.reset(); }
    void keep() { path_.clear(); }

private:
    Win32FileApi& api_;
    UniqueHandle file_;
    std::string path_;
};

} // namespace

Win32FileApi& Win32FileApi::System() {
    static Win32FileApi api;
    return api;
}

bool Win32FileSystem::find(const std::string& path, EntryFilter filter) {
    if (IsBadLookupName(path))
        throw RuntimeError("Bad file name or number");
    WIN32_FIND_DATAA data{};
    UniqueFindHandle found(api_->FindFirstFileA(path.c_str(), &data));
    if (!found) {
        if (::GetLastError() == ERROR_INVALID_NAME)
            throw RuntimeError("Bad file name or number");
        return false;
    }
    if (filter == EntryFilter::FilesAndFolders)
        return true;
    constexpr DWORD notOrdinary =
        FILE_ATTRIBUTE_DIRECTORY | FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM;
    return (data.dwFileAttributes & notOrdinary) == 0;
}

bool Win32FileSystem::canOpenExisting(const std::string& path) {
    UniqueHandle file(api_->CreateFileA(path.c_str(), 0, FILE_SHARE_READ | FILE_SHARE_WRITE,
                                        OPEN_EXISTING,
                                        FILE_FLAG_NO_BUFFERING | FILE_FLAG_SEQUENTIAL_SCAN));
    return file.valid();
}

void Win32FileSystem::createFolder(const std::string& path) {
    if (!api_->CreateDirectoryA(path.c_str()))
        ThrowLastWin32Error();
}

UniqueHandle Win32FileSystem::openForReading(const std::string& path) {
    UniqueHandle file(api_->CreateFileA(path.c_str(), GENERIC_READ,
                                        FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                                        OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL));
    if (!file)
        ThrowLastWin32Error();
    return file;
}

std::string Win32FileSystem::readToEnd(HANDLE file, std::size_t limit) {
    std::string bytes;
    std::string chunk(kReadChunk, '\0');
    for (;;) {
        DWORD read = 0;
        if (!api_->ReadFile(file, chunk.data(), kReadChunk, &read))
            ThrowLastWin32Error();
        if (read == 0)
            return bytes;
        if (read > limit - bytes.size()) // bytes never hold more than limit
            throw RuntimeError(std::string(FileTooLarge));
        bytes.append(chunk, 0, read);
    }
}

std::string Win32FileSystem::readFile(const std::string& path) {
    UniqueHandle file = openForReading(path);
    return readToEnd(file.get(), std::numeric_limits<std::size_t>::max());
}

std::string Win32FileSystem::readFileUpTo(const std::string& path, std::size_t limit) {
    UniqueHandle file = openForReading(path);
    // A pipe or a device (a console waits for its keyboard) is no file to read on our own.
    if (::GetFileType(file.get()) != FILE_TYPE_DISK)
        throw RuntimeError(std::string(NotARegularFile));
    LARGE_INTEGER size{};
    if (!::GetFileSizeEx(file.get(), &size))
        ThrowLastWin32Error();
    if (static_cast<unsigned long long>(size.QuadPart) > limit)
        throw RuntimeError(std::string(FileTooLarge));
    return readToEnd(file.get(), limit);
}

void Win32FileSystem::writeAll(void* file, std::string_view bytes) {
    std::size_t done = 0;
    while (done < bytes.size()) {
        const auto size = static_cast<DWORD>(std::min(bytes.size() - done, kWriteChunk));
        DWORD written = 0;
        if (!api_->WriteFile(file, bytes.data() + done, size, &written))
            ThrowLastWin32Error();
        if (written == 0)
            ThrowWin32Error(ERROR_DISK_FULL);
        done += written;
    }
}

void Win32FileSystem::writeFile(const std::string& path, const std::string& bytes) {
    UniqueHandle file(api_->CreateFileA(path.c_str(), GENERIC_WRITE, FILE_SHARE_READ, CREATE_ALWAYS,
                                        FILE_ATTRIBUTE_NORMAL));
    if (!file)
        ThrowLastWin32Error();
    writeAll(file.get(), bytes);
}

void Win32FileSystem::appendFile(const std::string& path, const std::string& bytes) {
    UniqueHandle file(api_->CreateFileA(path.c_str(), FILE_APPEND_DATA, FILE_SHARE_READ,
                                        OPEN_ALWAYS, FILE_ATTRIBUTE_NORMAL));
    if (!file)
        ThrowLastWin32Error();
    writeAll(file.get(), bytes);
}

void Win32FileSystem::appendLines(const std::string& path, LineSource& lines, const std::string&) {
    // Write access rather than append-only access, so that a failure can cut the file back.
    UniqueHandle file(api_->CreateFileA(path.c_str(), GENERIC_WRITE, FILE_SHARE_READ, OPEN_ALWAYS,
                                        FILE_ATTRIBUTE_NORMAL));
    if (!file)
        ThrowLastWin32Error();
    LARGE_INTEGER before{};
    if (!api_->SetFilePointerEx(file.get(), LARGE_INTEGER{}, &before, FILE_END))
        ThrowLastWin32Error();
    try {
        for (std::string_view piece; lines.next(piece);)
            writeAll(file.get(), piece);
        if (!api_->FlushFileBuffers(file.get()))
            ThrowLastWin32Error();
    } catch (...) {
        // A full disk may have taken part of a line: back to the size before.
        if (api_->SetFilePointerEx(file.get(), before, nullptr, FILE_BEGIN) &&
            api_->SetEndOfFile(file.get()))
            api_->FlushFileBuffers(file.get());
        throw;
    }
}

void Win32FileSystem::syncFile(const std::string& path) {
    UniqueHandle file(api_->CreateFileA(path.c_str(), GENERIC_WRITE,
                                        FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                                        OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL));
    if (!file)
        ThrowLastWin32Error();
    // Flushes the file's buffers whichever handle wrote them.
    if (!api_->FlushFileBuffers(file.get()))
        ThrowLastWin32Error();
}

void Win32FileSystem::removeStaleTemporaries(const std::string& path) {
    // Tidying only: whatever goes wrong here, the replacement itself goes on.
    const std::string prefix = path + std::string(TemporaryMark);
    WIN32_FIND_DATAA data{};
    UniqueFindHandle found(
        api_->FindFirstFileA((prefix + "*" + std::string(TemporaryEnd)).c_str(), &data));
    if (!found)
        return;
    const auto slash = path.find_last_of("\\/");
    const std::string folder =
        slash == std::string::npos ? std::string() : path.substr(0, slash + 1);
    // The wildcard also matches short 8.3 names; the long name must be one of ours.
    const std::string namePrefix = prefix.substr(folder.size());
    FILETIME now{};
    ::GetSystemTimeAsFileTime(&now);
    std::vector<std::string> stale;
    do {
        const std::string_view name = data.cFileName;
        if ((data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) == 0 &&
            name.starts_with(namePrefix) && name.ends_with(TemporaryEnd) &&
            Ticks(now) > Ticks(data.ftLastWriteTime) + StaleAfter)
            stale.push_back(folder + std::string(name));
    } while (api_->FindNextFileA(found.get(), &data));
    found.reset();
    for (const auto& file : stale)
        api_->DeleteFileA(file.c_str());
}

void Win32FileSystem::putInPlace(const std::string& path, const std::string& temporary) {
    for (int attempt = 1;; ++attempt) {
        const DWORD code = tryPutInPlace(path, temporary);
        if (code == ERROR_SUCCESS)
            return;
        if (!IsPassingConflict(code) || attempt >= retry_.attempts)
            ThrowWin32Error(code);
        api_->Sleep(retry_.delayMilliseconds);
    }
}

DWORD Win32FileSystem::tryPutInPlace(const std::string& path, const std::string& temporary) {
    const DWORD attributes = api_->GetFileAttributesA(path.c_str());
    if (attributes == INVALID_FILE_ATTRIBUTES) {
        // Nothing to keep: a rename is all it takes.
        if (api_->MoveFileExA(temporary.c_str(), path.c_str(),
                              MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH))
            return ERROR_SUCCESS;
        return ::GetLastError();
    }

    // ReplaceFileA keeps the target's security and streams. It is given a backup name of our
    // own: without one, a failure part-way may leave the target deleted (and Wine leaves
    // temporary files of its own behind).
    const std::string backup = TemporaryNameFor(path);
    if (api_->ReplaceFileA(path.c_str(), temporary.c_str(), backup.c_str(),
                           REPLACEFILE_IGNORE_MERGE_ERRORS)) {
        api_->DeleteFileA(backup.c_str());
        // Not every implementation carries the attributes over (Wine does not).
        const DWORD now = api_->GetFileAttributesA(path.c_str());
        if (now != INVALID_FILE_ATTRIBUTES &&
            (now & kKeptAttributes) != (attributes & kKeptAttributes)) {
            const DWORD wanted = (attributes & kKeptAttributes) | (now & FILE_ATTRIBUTE_ARCHIVE);
            api_->SetFileAttributesA(path.c_str(), wanted ? wanted : FILE_ATTRIBUTE_NORMAL);
        }
        return ERROR_SUCCESS;
    }
    const DWORD code = ::GetLastError();
    if (code == ERROR_UNABLE_TO_MOVE_REPLACEMENT_2) {
        // The old content went to the backup name; put it back where it belongs. Should even
        // that fail, the backup stays: it is the only copy.
        if (!api_->MoveFileExA(backup.c_str(), path.c_str(), MOVEFILE_REPLACE_EXISTING))
            ThrowLastWin32Error();
    } else {
        api_->DeleteFileA(backup.c_str());
    }
    return code;
}

void Win32FileSystem::replaceFile(const std::string& path, const std::string& bytes) {
    removeStaleTemporaries(path);
    TemporaryFile temporary(*api_);
    temporary.createBeside(path);
    writeAll(temporary.handle(), bytes);
    // On disk before it takes the target's place, so a crash cannot leave an empty target.
    if (!api_->FlushFileBuffers(temporary.handle()))
        ThrowLastWin32Error();
    temporary.close();
    putInPlace(path, temporary.path());
    temporary.keep();
}

void Win32FileSystem::copyFile(const std::string& source, const std::string& destination) {
    if (!api_->CopyFileA(source.c_str(), destination.c_str(), FALSE))
        ThrowLastWin32Error();
}

void Win32FileSystem::removeFile(const std::string& path) {
    if (!api_->DeleteFileA(path.c_str()))
        ThrowLastWin32Error();
}

void Win32FileSystem::forceRemoveFile(const std::string& path) {
    const DWORD attributes = api_->GetFileAttributesA(path.c_str());
    if (attributes == INVALID_FILE_ATTRIBUTES)
        ThrowLastWin32Error();
    const bool readOnly = (attributes & FILE_ATTRIBUTE_READONLY) != 0;
    if (readOnly && !api_->SetFileAttributesA(path.c_str(), attributes & ~FILE_ATTRIBUTE_READONLY))
        ThrowLastWin32Error();
    if (!api_->DeleteFileA(path.c_str())) {
        const DWORD code = ::GetLastError();
        // A file that stays should stay as it was.
        if (readOnly)
            api_->SetFileAttributesA(path.c_str(), attributes);
        ThrowWin32Error(code);
    }
}

} // namespace palisade
