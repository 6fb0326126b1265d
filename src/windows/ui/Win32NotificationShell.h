#pragma once

#include "platform/NotificationShell.h"
#include "windows/system/Handles.h"
#include "windows/ui/WinApi.h"

namespace palisade::win32 {

// The notification area through Shell_NotifyIconA. The shell talks to a hidden top-level
// window of the tray control's own (a message-only window would never hear that the task bar
// was created again). Its class procedure is DefWindowProcA and it keeps nothing in its user
// data: installing the hook replaces its procedure with TrayWindowProc and puts this object's
// address there, as a control hooks a window it does not own.
class Win32NotificationShell final : public NotificationShell {
public:
    Win32NotificationShell(HINSTANCE instance, HICON icon, bool elevated);
    ~Win32NotificationShell() override;

    void notify(std::uint32_t message, const NotifyIconData& data) override;
    void installHook(Callback callback) override;
    void removeHook() override;
    bool available() override;
    IconHandle programIcon() override;

    HWND window() const { return window_.get(); }

private:
    static LRESULT CALLBACK TrayWindowProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);

    UniqueWindow window_;
    HICON icon_;
    UINT taskbarCreated_;
    WNDPROC savedWindowProc_ = nullptr;
    Callback callback_;
};

} // namespace palisade::win32
