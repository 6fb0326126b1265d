#include "windows/ui/Win32EventPump.h"

#include "windows/ui/WinApi.h"

#include <algorithm>
#include <utility>

namespace palisade::win32 {

void Win32EventPump::dispatch(MSG& message) {
    if (filter_ && filter_(message))
        return;
    ::TranslateMessage(&message);
    ::DispatchMessageA(&message);
}

void Win32EventPump::doEvents() {
    MSG message{};
    while (::PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE)) {
        if (message.message == WM_QUIT) {
            heldQuit_ = static_cast<int>(message.wParam);
            continue;
        }
        dispatch(message);
    }
}

void Win32EventPump::waitEvents(std::chrono::milliseconds timeout) {
    const auto ms = std::clamp<long long>(timeout.count(), 0, INFINITE - 1);
    // Wakes for anything in the queue, also what an earlier look left there.
    ::MsgWaitForMultipleObjectsEx(0, nullptr, static_cast<DWORD>(ms), QS_ALLINPUT,
                                  MWMO_INPUTAVAILABLE);
    doEvents();
}

std::optional<int> Win32EventPump::takeHeldQuit() {
    return std::exchange(heldQuit_, std::nullopt);
}

} // namespace palisade::win32
