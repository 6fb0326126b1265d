#include "windows/ui/Win32NotificationShell.h"

#include "windows/ui/WinApi.h"
#include "windows/ui/WindowNames.h"

#include <cstring>
#include <stdexcept>

namespace palisade::win32 {

namespace {

void CopyText(char* field, std::size_t fieldSize, const std::string& text) {
    const std::size_t n = text.size() < fieldSize ? text.size() : fieldSize - 1;
    std::memcpy(field, text.data(), n);
    field[n] = '\0';
}

} // namespace

Win32NotificationShell::Win32NotificationShell(HINSTANCE instance, HICON icon, bool elevated)
    : icon_(icon), taskbarCreated_(::RegisterWindowMessageA("TaskbarCreated")) {
    WNDCLASSEXA wc{};
    wc.cbSize = sizeof wc;
    wc.lpfnWndProc = &::DefWindowProcA;
    wc.hInstance = instance;
    wc.lpszClassName = TrayClassName;
    ::RegisterClassExA(&wc);
    window_.reset(::CreateWindowExA(0, TrayClassName, "", WS_POPUP, 0, 0, 0, 0, nullptr, nullptr,
                                    instance, nullptr));
    if (!window_)
        throw std::runtime_error("cannot create the notification icon's window");
    // Windows keeps messages of a less privileged process from an elevated one, and the shell
    // that announces its restart may be one.
    if (elevated)
        ::ChangeWindowMessageFilterEx(window_.get(), taskbarCreated_, MSGFLT_ALLOW, nullptr);
}

Win32NotificationShell::~Win32NotificationShell() {
    if (savedWindowProc_ != nullptr)
        removeHook();
}

void Win32NotificationShell::notify(std::uint32_t message, const NotifyIconData& data) {
    NOTIFYICONDATAA record{};
    // The record in its version-2 layout, with the balloon fields. 488 bytes is that layout in a
    // 32-bit program; this program is 64-bit, where the same fields take 504.
    record.cbSize = NOTIFYICONDATAA_V2_SIZE;
    record.hWnd = window_.get();
    record.uID = data.id;
    record.uFlags = data.flags;
    record.uCallbackMessage = data.callbackMessage;
    record.hIcon = reinterpret_cast<HICON>(data.icon);
    CopyText(record.szTip, sizeof record.szTip, data.tip);
    CopyText(record.szInfo, sizeof record.szInfo, data.info);
    CopyText(record.szInfoTitle, sizeof record.szInfoTitle, data.infoTitle);
    record.uTimeout = data.timeoutMs;
    record.dwInfoFlags = data.infoFlags;
    ::Shell_NotifyIconA(message, &record);
}

void Win32NotificationShell::installHook(Callback callback) {
    callback_ = std::move(callback);
    savedWindowProc_ = reinterpret_cast<WNDPROC>(::SetWindowLongPtrA(
        window_.get(), GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&TrayWindowProc)));
    ::SetWindowLongPtrA(window_.get(), GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
}

void Win32NotificationShell::removeHook() {
    if (savedWindowProc_ == nullptr)
        return;
    ::SetWindowLongPtrA(window_.get(), GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(savedWindowProc_));
    ::SetWindowLongPtrA(window_.get(), GWLP_USERDATA, 0);
    savedWindowProc_ = nullptr;
}

bool Win32NotificationShell::available() {
    return ::FindWindowA("Shell_TrayWnd", nullptr) != nullptr;
}

IconHandle Win32NotificationShell::programIcon() {
    return reinterpret_cast<IconHandle>(icon_);
}

LRESULT CALLBACK Win32NotificationShell::TrayWindowProc(HWND hwnd, UINT message, WPARAM wParam,
                                                        LPARAM lParam) {
    auto* self =
        reinterpret_cast<Win32NotificationShell*>(::GetWindowLongPtrA(hwnd, GWLP_USERDATA));
    if (self == nullptr)
        return ::DefWindowProcA(hwnd, message, wParam, lParam);
    // A handler may remove the hook; this message still goes on to the procedure it replaced.
    const WNDPROC saved = self->savedWindowProc_;
    if (message == tray::CallbackMessage && self->callback_) {
        // A copy: the handler may install the hook again with another callback.
        const Callback callback = self->callback_;
        callback(static_cast<std::uint32_t>(lParam), static_cast<std::uint32_t>(wParam));
    } else if (message == self->taskbarCreated_)
        self->restarted();
    return ::CallWindowProcA(saved, hwnd, message, wParam, lParam);
}

} // namespace palisade::win32
