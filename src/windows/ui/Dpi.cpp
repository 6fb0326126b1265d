#include "windows/ui/Dpi.h"

namespace palisade::win32 {

namespace {

// GetProcAddress hands out every function as one type; void (*)() converts to any other
// without a warning.
template <typename Function> void Find(HMODULE module, const char* name, Function& function) {
    function = module == nullptr ? nullptr
                                 : reinterpret_cast<Function>(reinterpret_cast<void (*)()>(
                                       ::GetProcAddress(module, name)));
}

// The screen's dots per inch, as Windows before per-monitor DPI reports them.
UINT ScreenDpi() {
    HDC screen = ::GetDC(nullptr);
    const int dpi = screen != nullptr ? ::GetDeviceCaps(screen, LOGPIXELSX) : 0;
    if (screen != nullptr)
        ::ReleaseDC(nullptr, screen);
    return dpi > 0 ? static_cast<UINT>(dpi) : USER_DEFAULT_SCREEN_DPI;
}

} // namespace

DpiFunctions DpiFunctions::Of(HMODULE module) {
    DpiFunctions f;
    Find(module, "GetDpiForWindow", f.getDpiForWindow);
    Find(module, "GetDpiForSystem", f.getDpiForSystem);
    Find(module, "AdjustWindowRectExForDpi", f.adjustWindowRectExForDpi);
    Find(module, "GetSystemMetricsForDpi", f.getSystemMetricsForDpi);
    return f;
}

const DpiFunctions& DpiFunctions::System() {
    static const DpiFunctions functions = Of(::GetModuleHandleA("user32.dll"));
    return functions;
}

UINT WindowDpi(HWND window, const DpiFunctions& f) {
    const UINT dpi = f.getDpiForWindow != nullptr ? f.getDpiForWindow(window) : 0;
    return dpi != 0 ? dpi : SystemDpi(f);
}

UINT SystemDpi(const DpiFunctions& f) {
    return f.getDpiForSystem != nullptr ? f.getDpiForSystem() : ScreenDpi();
}

void AdjustWindowRectForDpi(RECT& rect, DWORD style, DWORD exStyle, UINT dpi,
                            const DpiFunctions& f) {
    if (f.adjustWindowRectExForDpi != nullptr)
        f.adjustWindowRectExForDpi(&rect, style, FALSE, exStyle, dpi);
    else
        ::AdjustWindowRectEx(&rect, style, FALSE, exStyle);
}

int SystemMetricForDpi(int index, UINT dpi, const DpiFunctions& f) {
    if (f.getSystemMetricsForDpi != nullptr)
        return f.getSystemMetricsForDpi(index, dpi);
    return ::MulDiv(::GetSystemMetrics(index), static_cast<int>(dpi),
                    static_cast<int>(SystemDpi(f)));
}

} // namespace palisade::win32
