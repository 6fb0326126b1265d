#include "windows/ui/Win32Dialogs.h"

#include "windows/ui/OpenFileText.h"
#include "windows/ui/WinApi.h"
#include "windows/ui/WindowText.h"
#include "windows/ui/resource.h"

#include <vector>

namespace palisade::win32 {

namespace {

// The program's window the user works in, to own a box; none while every window is hidden.
HWND Owner() {
    HWND active = ::GetActiveWindow();
    return active != nullptr && ::IsWindowVisible(active) ? active : nullptr;
}

// Without an owner a box is made modal to all of the program's windows.
UINT Modality(HWND owner) {
    return owner != nullptr ? 0 : MB_TASKMODAL;
}

struct InputBoxState {
    const std::string& prompt;
    const std::string& title;
    const std::string& defaultText;
    std::string answer;
};

INT_PTR CALLBACK InputBoxProcedure(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_INITDIALOG: {
        ::SetWindowLongPtrA(dialog, DWLP_USER, lParam);
        const auto& state = *reinterpret_cast<InputBoxState*>(lParam);
        ::SetWindowTextA(dialog, state.title.c_str());
        ::SetDlgItemTextA(dialog, IDC_INPUT_PROMPT, state.prompt.c_str());
        HWND answer = ::GetDlgItem(dialog, IDC_INPUT_ANSWER);
        ::SendMessageA(answer, EM_SETLIMITTEXT, 0, 0);
        ::SetWindowTextA(answer, state.defaultText.c_str());
        ::SendMessageA(answer, EM_SETSEL, 0, -1);
        ::SetFocus(answer);
        ::SetForegroundWindow(dialog);
        return FALSE; // the focus is set
    }
    case WM_COMMAND:
        // Enter is OK and Escape is Cancel, through the dialog manager.
        if (LOWORD(wParam) == IDOK) {
            auto* state = reinterpret_cast<InputBoxState*>(::GetWindowLongPtrA(dialog, DWLP_USER));
            state->answer = WindowText(::GetDlgItem(dialog, IDC_INPUT_ANSWER));
            ::EndDialog(dialog, IDOK);
            return TRUE;
        }
        if (LOWORD(wParam) == IDCANCEL) {
            ::EndDialog(dialog, IDCANCEL);
            return TRUE;
        }
        return FALSE;
    default:
        return FALSE;
    }
}

BOOL CALLBACK CancelBox(HWND window, LPARAM) {
    char className[16] = {};
    ::GetClassNameA(window, className, sizeof className);
    // Message boxes, the input box and the open-file dialog are all dialog-class windows.
    if (std::string(className) == "#32770")
        ::PostMessageA(window, WM_COMMAND, MAKEWPARAM(IDCANCEL, BN_CLICKED), 0);
    return TRUE;
}

} // namespace

void Win32Dialogs::messageBox(const std::string& text, const std::string& title, MessageIcon icon) {
    HWND owner = Owner();
    const UINT iconFlag = icon == MessageIcon::Warning ? MB_ICONWARNING : 0;
    ::MessageBoxA(owner, text.c_str(), title.c_str(),
                  MB_OK | iconFlag | Modality(owner) | MB_SETFOREGROUND);
}

std::string Win32Dialogs::inputBox(const std::string& prompt, const std::string& title,
                                   const std::string& defaultText) {
    InputBoxState state{prompt, title, defaultText, {}};
    const INT_PTR result = ::DialogBoxParamA(instance_, MAKEINTRESOURCEA(IDD_INPUTBOX), Owner(),
                                             &InputBoxProcedure, reinterpret_cast<LPARAM>(&state));
    return result == IDOK ? state.answer : std::string();
}

std::string Win32Dialogs::openFile(const OpenFileRequest& request) {
    std::vector<char> buffer(OpenFileBufferSize, '\0');
    const std::string filter = FilterForDialog(request.filter);
    OPENFILENAMEA dialog{};
    dialog.lStructSize = sizeof dialog;
    dialog.hwndOwner = Owner();
    dialog.lpstrFilter = filter.c_str();
    dialog.nFilterIndex = 1;
    dialog.lpstrFile = buffer.data();
    dialog.nMaxFile = static_cast<DWORD>(buffer.size());
    dialog.lpstrTitle = request.title.c_str();
    dialog.Flags = static_cast<DWORD>(request.flags);
    if (::GetOpenFileNameA(&dialog))
        return ResultFromBuffer(buffer.data(), buffer.size());
    // A partial list would load some files and silently leave out others.
    if (::CommDlgExtendedError() == FNERR_BUFFERTOOSMALL)
        messageBox("Too many files were chosen at once for their names to be read. "
                   "Please choose fewer files at a time.",
                   request.appTitle, MessageIcon::None);
    return {};
}

void Win32Dialogs::cancelAll() {
    ::EnumThreadWindows(::GetCurrentThreadId(), &CancelBox, 0);
}

} // namespace palisade::win32
