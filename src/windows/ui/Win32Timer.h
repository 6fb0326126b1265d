#pragma once

#include "platform/Timer.h"
#include "windows/system/Handles.h"
#include "windows/ui/WinApi.h"

#include <map>

namespace palisade::win32 {

// Work for later through SetTimer on a message-only window of its own: the work runs when the
// thread's message loop dispatches the WM_TIMER. Destroying the window ends its timers, so work
// still waiting when this object goes is dropped with it.
class Win32Timer final : public Timer {
public:
    explicit Win32Timer(HINSTANCE instance);
    Win32Timer(const Win32Timer&) = delete;
    Win32Timer& operator=(const Win32Timer&) = delete;

    void singleShot(std::chrono::milliseconds delay, std::function<void()> work) override;

private:
    static LRESULT CALLBACK WindowProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);
    void fire(UINT_PTR id);

    std::map<UINT_PTR, std::function<void()>> waiting_;
    UINT_PTR nextId_ = 1;
    // Last, so that the window (and its timers) go first.
    UniqueWindow window_;
};

} // namespace palisade::win32
