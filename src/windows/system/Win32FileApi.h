#pragma once

#include <windows.h>

namespace palisade {

// The file calls of Win32FileSystem, one virtual per Windows function with the same
// parameters and failure reporting (result plus SetLastError). The base class makes the real
// calls; tests override single calls to inject failures the real system cannot be made to show
// on demand.
class Win32FileApi {
public:
    virtual ~Win32FileApi() = default;

    virtual HANDLE CreateFileA(LPCSTR name, DWORD access, DWORD share, DWORD disposition,
                               DWORD flags) {
        return ::CreateFileA(name, access, share, nullptr, disposition, flags, nullptr);
    }
    virtual BOOL ReadFile(HANDLE file, void* buffer, DWORD size, DWORD* read) {
        return ::ReadFile(file, buffer, size, read, nullptr);
    }
    virtual BOOL WriteFile(HANDLE file, const void* buffer, DWORD size, DWORD* written) {
        return ::WriteFile(file, buffer, size, written, nullptr);
    }
    virtual BOOL FlushFileBuffers(HANDLE file) { return ::FlushFileBuffers(file); }
    virtual BOOL SetFilePointerEx(HANDLE file, LARGE_INTEGER distance, LARGE_INTEGER* position,
                                  DWORD method) {
        return ::SetFilePointerEx(file, distance, position, method);
    }
    virtual BOOL SetEndOfFile(HANDLE file) { return ::SetEndOfFile(file); }
    virtual BOOL ReplaceFileA(LPCSTR replaced, LPCSTR replacement, LPCSTR backup, DWORD flags) {
        return ::ReplaceFileA(replaced, replacement, backup, flags, nullptr, nullptr);
    }
    virtual BOOL MoveFileExA(LPCSTR existing, LPCSTR target, DWORD flags) {
        return ::MoveFileExA(existing, target, flags);
    }
    virtual BOOL CopyFileA(LPCSTR existing, LPCSTR target, BOOL failIfExists) {
        return ::CopyFileA(existing, target, failIfExists);
    }
    virtual BOOL DeleteFileA(LPCSTR name) { return ::DeleteFileA(name); }
    virtual BOOL CreateDirectoryA(LPCSTR name) { return ::CreateDirectoryA(name, nullptr); }
    virtual DWORD GetFileAttributesA(LPCSTR name) { return ::GetFileAttributesA(name); }
    virtual BOOL SetFileAttributesA(LPCSTR name, DWORD attributes) {
        return ::SetFileAttributesA(name, attributes);
    }
    virtual HANDLE FindFirstFileA(LPCSTR name, WIN32_FIND_DATAA* data) {
        return ::FindFirstFileA(name, data);
    }
    virtual BOOL FindNextFileA(HANDLE find, WIN32_FIND_DATAA* data) {
        return ::FindNextFileA(find, data);
    }
    virtual void Sleep(DWORD milliseconds) { ::Sleep(milliseconds); }

    // The real calls, shared by every Win32FileSystem that is given no other.
    static Win32FileApi& System();
};

} // namespace palisade
