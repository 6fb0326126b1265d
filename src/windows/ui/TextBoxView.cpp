#include "windows/ui/TextBoxView.h"

#include "windows/ui/Connect.h"
#include "windows/ui/WinApi.h"
#include "windows/ui/WindowText.h"

#include <utility>

namespace palisade::win32 {

namespace {

DWORD StyleFor(const Control& model) {
    DWORD style = ES_AUTOHSCROLL | WS_TABSTOP;
    if (static_cast<const TextBox&>(model).passwordChar() != '\0')
        style |= ES_PASSWORD;
    return style;
}

std::pair<std::size_t, std::size_t> SelectionOf(HWND edit) {
    DWORD start = 0;
    DWORD end = 0;
    ::SendMessageA(edit, EM_GETSEL, reinterpret_cast<WPARAM>(&start),
                   reinterpret_cast<LPARAM>(&end));
    return {start, end - start};
}

} // namespace

TextBoxView::TextBoxView(Control& model, HWND parent)
    : ControlView(model, parent, "EDIT", StyleFor(model), WS_EX_CLIENTEDGE) {
    // The themed edit shows a dot for ES_PASSWORD; the layouts ask for their own character.
    if (const char c = box().passwordChar(); c != '\0')
        ::SendMessageA(hwnd_, EM_SETPASSWORDCHAR,
                       static_cast<WPARAM>(static_cast<unsigned char>(c)), 0);
    ::SendMessageA(hwnd_, EM_SETLIMITTEXT, 0, 0);
    Connect(box().focusRequested, connections(), [this] { ::SetFocus(hwnd_); });
}

void TextBoxView::sync() {
    ControlView::sync();
    if (echo_)
        return;
    if (WindowText(hwnd_) != box().text()) {
        echo_ = true;
        ::SetWindowTextA(hwnd_, box().text().c_str());
        echo_ = false;
    }
    // The model learns the caret at every change the user types, so a selection the program
    // asks for differs from the one shown and is applied; otherwise the caret stays put.
    const std::pair<std::size_t, std::size_t> wanted{box().selStart(), box().selLength()};
    if (SelectionOf(hwnd_) != wanted)
        ::SendMessageA(hwnd_, EM_SETSEL, wanted.first, wanted.first + wanted.second);
}

void TextBoxView::command(WORD code) {
    if (code == EN_KILLFOCUS) {
        box().clearFocus();
        return;
    }
    if (code != EN_CHANGE || echo_)
        return;
    echo_ = true;
    box().setText(WindowText(hwnd_));
    const auto [start, length] = SelectionOf(hwnd_);
    box().select(start, length);
    echo_ = false;
}

} // namespace palisade::win32
