#include "windows/ui/NativeWindow.h"

#include "windows/ui/WinApi.h"

#include <stdexcept>
#include <string>

namespace palisade::win32 {

NativeWindow::~NativeWindow() {
    destroy();
}

void NativeWindow::RegisterClass(HINSTANCE instance, const char* className, HICON icon) {
    WNDCLASSEXA existing{};
    existing.cbSize = sizeof existing;
    if (::GetClassInfoExA(instance, className, &existing))
        return;
    WNDCLASSEXA wc{};
    wc.cbSize = sizeof wc;
    wc.lpfnWndProc = &NativeWindow::Procedure;
    wc.hInstance = instance;
    wc.hIcon = icon;
    wc.hIconSm = icon;
    wc.hCursor = ::LoadCursorA(nullptr, IDC_ARROW);
    wc.lpszClassName = className;
    if (!::RegisterClassExA(&wc))
        throw std::runtime_error(std::string("cannot register the window class ") + className);
}

void NativeWindow::create(HINSTANCE instance, const char* className, DWORD exStyle, DWORD style,
                          const char* caption) {
    // The procedure takes the object from the creation parameters at WM_NCCREATE.
    HWND hwnd = ::CreateWindowExA(exStyle, className, caption, style, 0, 0, 100, 100, nullptr,
                                  nullptr, instance, this);
    if (hwnd == nullptr)
        throw std::runtime_error(std::string("cannot create a window of class ") + className);
    // WM_NCCREATE has taken the window already.
    if (window_.get() != hwnd)
        window_.reset(hwnd);
}

void NativeWindow::destroy() {
    if (!window_)
        return;
    // Messages sent while the window goes must not reach an object that is going too.
    ::SetWindowLongPtrA(window_.get(), GWLP_USERDATA, 0);
    window_.reset();
}

LRESULT NativeWindow::handle(UINT message, WPARAM wParam, LPARAM lParam) {
    return defaultHandling(message, wParam, lParam);
}

LRESULT NativeWindow::defaultHandling(UINT message, WPARAM wParam, LPARAM lParam) {
    return ::DefWindowProcA(hwnd(), message, wParam, lParam);
}

LRESULT CALLBACK NativeWindow::Procedure(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_NCCREATE) {
        auto* create = reinterpret_cast<CREATESTRUCTA*>(lParam);
        auto* self = static_cast<NativeWindow*>(create->lpCreateParams);
        ::SetWindowLongPtrA(hwnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(self));
        self->window_.release();
        self->window_ = UniqueWindow(hwnd);
    }
    auto* self = reinterpret_cast<NativeWindow*>(::GetWindowLongPtrA(hwnd, GWLP_USERDATA));
    if (self == nullptr)
        return ::DefWindowProcA(hwnd, message, wParam, lParam);
    if (message == WM_NCDESTROY) {
        ::SetWindowLongPtrA(hwnd, GWLP_USERDATA, 0);
        self->window_.release();
        return ::DefWindowProcA(hwnd, message, wParam, lParam);
    }
    return self->handle(message, wParam, lParam);
}

} // namespace palisade::win32
