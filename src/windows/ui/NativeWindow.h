#pragma once

#include "windows/system/Handles.h"
#include "windows/ui/WinApi.h"

namespace palisade::win32 {

// A window of one of the program's own classes. The class's one window procedure finds the
// object through the window's user data (stored when the window is created) and forwards every
// message to it.
class NativeWindow {
public:
    NativeWindow() = default;
    virtual ~NativeWindow();
    NativeWindow(const NativeWindow&) = delete;
    NativeWindow& operator=(const NativeWindow&) = delete;

    HWND hwnd() const { return window_.get(); }

    // Registers a class whose procedure forwards to NativeWindow objects; once per name.
    static void RegisterClass(HINSTANCE instance, const char* className, HICON icon);

protected:
    void create(HINSTANCE instance, const char* className, DWORD exStyle, DWORD style,
                const char* caption);
    // Destroys the window before the derived object's members go.
    void destroy();

    virtual LRESULT handle(UINT message, WPARAM wParam, LPARAM lParam);
    LRESULT defaultHandling(UINT message, WPARAM wParam, LPARAM lParam);

private:
    static LRESULT CALLBACK Procedure(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);

    UniqueWindow window_;
};

} // namespace palisade::win32
