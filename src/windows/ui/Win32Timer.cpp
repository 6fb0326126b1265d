#include "windows/ui/Win32Timer.h"

#include <algorithm>
#include <stdexcept>
#include <utility>

namespace palisade::win32 {

namespace {
constexpr const char* TimerClassName = "Palisade.Timer";
}

Win32Timer::Win32Timer(HINSTANCE instance) {
    WNDCLASSEXA wc{};
    wc.cbSize = sizeof wc;
    wc.lpfnWndProc = &WindowProc;
    wc.hInstance = instance;
    wc.lpszClassName = TimerClassName;
    ::RegisterClassExA(&wc);
    window_.reset(::CreateWindowExA(0, TimerClassName, "", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr,
                                    instance, nullptr));
    if (!window_)
        throw std::runtime_error("cannot create the timer's window");
    ::SetWindowLongPtrA(window_.get(), GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
}

void Win32Timer::singleShot(std::chrono::milliseconds delay, std::function<void()> work) {
    const auto ms = std::clamp<long long>(delay.count(), USER_TIMER_MINIMUM, USER_TIMER_MAXIMUM);
    const UINT_PTR id = nextId_++;
    if (::SetTimer(window_.get(), id, static_cast<UINT>(ms), nullptr) == 0)
        throw std::runtime_error("cannot set a timer");
    waiting_.emplace(id, std::move(work));
}

void Win32Timer::fire(UINT_PTR id) {
    // A WM_TIMER repeats until killed: once is what was asked for.
    ::KillTimer(window_.get(), id);
    const auto it = waiting_.find(id);
    if (it == waiting_.end())
        return;
    auto work = std::move(it->second);
    waiting_.erase(it);
    work();
}

LRESULT CALLBACK Win32Timer::WindowProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    auto* self = reinterpret_cast<Win32Timer*>(::GetWindowLongPtrA(hwnd, GWLP_USERDATA));
    if (message == WM_TIMER && self != nullptr) {
        self->fire(static_cast<UINT_PTR>(wParam));
        return 0;
    }
    return ::DefWindowProcA(hwnd, message, wParam, lParam);
}

} // namespace palisade::win32
