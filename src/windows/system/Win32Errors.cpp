#include "windows/system/Win32Errors.h"

#include "platform/RuntimeError.h"

namespace palisade {

namespace {

std::string SystemMessage(DWORD code) {
    char buffer[512];
    const DWORD n = ::FormatMessageA(FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS,
                                     nullptr, code, 0, buffer, sizeof buffer, nullptr);
    std::string text(buffer, n);
    // The system's texts end with a line break that would spoil the error report.
    while (!text.empty() && (text.back() == '\n' || text.back() == '\r' || text.back() == ' '))
        text.pop_back();
    if (text.empty())
        return "Unexpected error " + std::to_string(code);
    return text;
}

} // namespace

std::string DescribeWin32Error(DWORD code) {
    switch (code) {
    case ERROR_FILE_NOT_FOUND:
        return "File not found";
    case ERROR_PATH_NOT_FOUND:
        return "Path not found";
    case ERROR_ACCESS_DENIED:
    case ERROR_SHARING_VIOLATION:
    case ERROR_LOCK_VIOLATION:
        return "Permission denied";
    case ERROR_DISK_FULL:
    case ERROR_HANDLE_DISK_FULL:
        return "Disk full";
    case ERROR_ALREADY_EXISTS:
        return "Path/File access error";
    case ERROR_FILE_EXISTS:
        return "File already exists";
    case ERROR_INVALID_NAME:
        return "Bad file name or number";
    default:
        return SystemMessage(code);
    }
}

void ThrowWin32Error(DWORD code) {
    throw RuntimeError(DescribeWin32Error(code));
}

void ThrowLastWin32Error() {
    ThrowWin32Error(::GetLastError());
}

} // namespace palisade
