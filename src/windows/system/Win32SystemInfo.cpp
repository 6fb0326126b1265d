#include "windows/system/Win32SystemInfo.h"

#include "windows/system/Handles.h"

#include <vector>

namespace palisade {

namespace {

// The shell only uses the owner window to parent a dialog it might show; it has never needed a
// real window for the folders asked for here.
const HWND kOwnerWindow = reinterpret_cast<HWND>(static_cast<INT_PTR>(100));

constexpr DWORD kPathBufferSize = 512;
constexpr UINT kSystemDirBufferSize = 255;

} // namespace

std::string Win32SystemInfo::separator() {
    return "\\";
}

std::string Win32SystemInfo::lineEnd() {
    return "\r\n";
}

std::string Win32SystemInfo::executablePath() {
    // Paths may be longer than MAX_PATH; grow until the name fits.
    std::vector<char> buffer(MAX_PATH);
    for (;;) {
        const DWORD n =
            ::GetModuleFileNameA(nullptr, buffer.data(), static_cast<DWORD>(buffer.size()));
        if (n == 0)
            return {};
        if (n < buffer.size())
            return std::string(buffer.data(), n);
        buffer.resize(buffer.size() * 2);
    }
}

std::string Win32SystemInfo::programFolder() {
    return FolderOfPath(executablePath());
}

std::optional<std::string> Win32SystemInfo::specialFolder(int id) {
    UniquePidl pidl;
    HRESULT hr = ::SHGetSpecialFolderLocation(kOwnerWindow, id, pidl.put());
    if (FAILED(hr)) {
        // Should a shell ever insist on a real window, ask again without one.
        hr = ::SHGetSpecialFolderLocation(nullptr, id, pidl.put());
    }
    if (FAILED(hr) || !pidl)
        return std::nullopt;
    std::string buffer(kPathBufferSize, '\0');
    ::SHGetPathFromIDListA(pidl.get(), buffer.data());
    return buffer;
}

std::string Win32SystemInfo::systemDirectory() {
    std::string buffer(kSystemDirBufferSize, '\0');
    const UINT n = ::GetSystemDirectoryA(buffer.data(), kSystemDirBufferSize);
    // A result larger than the buffer is the size it would have needed: nothing was written.
    if (n >= kSystemDirBufferSize)
        return {};
    return buffer.substr(0, n);
}

std::string Win32SystemInfo::environmentVariable(const std::string& name) {
    std::string buffer(256, '\0');
    for (;;) {
        const DWORD n = ::GetEnvironmentVariableA(name.c_str(), buffer.data(),
                                                  static_cast<DWORD>(buffer.size()));
        if (n == 0)
            return {};
        if (n < buffer.size())
            return buffer.substr(0, n);
        // Too small: n is the size needed, terminator included.
        buffer.assign(n, '\0');
    }
}

std::string FolderOfPath(const std::string& path) {
    const auto cut = path.find_last_of("\\/");
    if (cut == std::string::npos)
        return {};
    // "C:\x.exe" keeps the root's backslash.
    if (cut == 2 && path[1] == ':')
        return path.substr(0, 3);
    if (cut == 0)
        return path.substr(0, 1);
    return path.substr(0, cut);
}

} // namespace palisade
