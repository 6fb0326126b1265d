#pragma once

#include "windows/ui/WinApi.h"

#include <string>

namespace palisade::win32 {

// A window's text as bytes in the system code page, exactly as the window holds it.
inline std::string WindowText(HWND hwnd) {
    std::string text(static_cast<std::size_t>(::GetWindowTextLengthA(hwnd)) + 1, '\0');
    const int n = ::GetWindowTextA(hwnd, text.data(), static_cast<int>(text.size()));
    text.resize(n > 0 ? static_cast<std::size_t>(n) : 0);
    return text;
}

} // namespace palisade::win32
