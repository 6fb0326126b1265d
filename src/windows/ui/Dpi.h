#pragma once

#include "windows/ui/WinApi.h"

namespace palisade::win32 {

// The per-monitor DPI functions of user32, which came with Windows 10 version 1607. Imported,
// they would keep the program from loading on any Windows before it, so they are looked up
// while it runs; where one is missing, the DPI calls below fall back to the system DPI and the
// plain functions, which is what such a Windows gives every window anyway.
struct DpiFunctions {
    UINT(WINAPI* getDpiForWindow)(HWND) = nullptr;
    UINT(WINAPI* getDpiForSystem)() = nullptr;
    BOOL(WINAPI* adjustWindowRectExForDpi)(LPRECT, DWORD, BOOL, DWORD, UINT) = nullptr;
    int(WINAPI* getSystemMetricsForDpi)(int, UINT) = nullptr;

    // Those that module holds; the others stay null.
    static DpiFunctions Of(HMODULE module);
    // This system's, looked up once.
    static const DpiFunctions& System();
};

// The dots per inch of a window's monitor.
UINT WindowDpi(HWND window, const DpiFunctions& f = DpiFunctions::System());
// The dots per inch the system scales for.
UINT SystemDpi(const DpiFunctions& f = DpiFunctions::System());
// Grows a client rectangle to the window rectangle of that style at dpi.
void AdjustWindowRectForDpi(RECT& rect, DWORD style, DWORD exStyle, UINT dpi,
                            const DpiFunctions& f = DpiFunctions::System());
// A system metric (SM_CXICON, ...) at dpi.
int SystemMetricForDpi(int index, UINT dpi, const DpiFunctions& f = DpiFunctions::System());

} // namespace palisade::win32
