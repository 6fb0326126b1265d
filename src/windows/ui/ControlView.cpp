#include "windows/ui/ControlView.h"

#include "ui/model/CheckBox.h"
#include "ui/model/PushButton.h"
#include "windows/ui/Connect.h"
#include "windows/ui/SiteListView.h"
#include "windows/ui/TextBoxView.h"
#include "windows/ui/WinApi.h"
#include "windows/ui/WindowNames.h"
#include "windows/ui/WindowText.h"

#include <stdexcept>
#include <string>

namespace palisade::win32 {

namespace {

constexpr DWORD ChildStyle = WS_CHILD | WS_CLIPSIBLINGS;

class PushButtonView : public ControlView {
public:
    PushButtonView(Control& model, HWND parent)
        : ControlView(model, parent, "BUTTON", BS_PUSHBUTTON | WS_TABSTOP, 0) {}
    void command(WORD code) override {
        if (code == BN_CLICKED)
            static_cast<PushButton&>(model_).press();
    }
};

class CheckBoxView : public ControlView {
public:
    // Not an automatic box: the model holds the value, and a click asks it to change.
    CheckBoxView(Control& model, HWND parent)
        : ControlView(model, parent, "BUTTON", BS_3STATE | WS_TABSTOP, 0) {}
    void command(WORD code) override {
        if (code != BN_CLICKED)
            return;
        auto& box = static_cast<CheckBox&>(model_);
        box.setValue(box.checked() ? CheckBox::Unchecked : CheckBox::Checked);
    }
    void sync() override {
        ControlView::sync();
        ::SendMessageA(hwnd_, BM_SETCHECK,
                       static_cast<WPARAM>(static_cast<CheckBox&>(model_).value()), 0);
    }
};

} // namespace

ControlView::ControlView(Control& model, HWND parent, const char* className, DWORD style,
                         DWORD exStyle)
    : model_(model) {
    hwnd_ = ::CreateWindowExA(
        exStyle, className, model.caption().c_str(), ChildStyle | style, 0, 0, 0, 0, parent,
        reinterpret_cast<HMENU>(static_cast<INT_PTR>(ControlId(model))),
        reinterpret_cast<HINSTANCE>(::GetWindowLongPtrA(parent, GWLP_HINSTANCE)), nullptr);
    if (hwnd_ == nullptr)
        throw std::runtime_error("cannot create the control " + model.name());
    Connect(model.changed, connections_, [this] { sync(); });
}

// The child window goes with its parent.
ControlView::~ControlView() = default;

void ControlView::place(const RECT& rect, HFONT font, UINT) {
    ::SetWindowPos(hwnd_, nullptr, rect.left, rect.top, rect.right - rect.left,
                   rect.bottom - rect.top, SWP_NOZORDER | SWP_NOACTIVATE);
    ::SendMessageA(hwnd_, WM_SETFONT, reinterpret_cast<WPARAM>(font), TRUE);
}

void ControlView::sync() {
    if (model_.kind() != ControlKind::TextBox && model_.kind() != ControlKind::ListView &&
        WindowText(hwnd_) != model_.caption())
        ::SetWindowTextA(hwnd_, model_.caption().c_str());
    const bool shown = ::IsWindowVisible(hwnd_) != FALSE ||
                       (::GetWindowLongPtrA(hwnd_, GWL_STYLE) & WS_VISIBLE) != 0;
    if (shown != model_.visible())
        ::ShowWindow(hwnd_, model_.visible() ? SW_SHOWNA : SW_HIDE);
    // Colours are asked for while painting (WM_CTLCOLOR*, custom draw).
    ::InvalidateRect(hwnd_, nullptr, TRUE);
}

void ControlView::command(WORD) {}

std::optional<LRESULT> ControlView::notify(NMHDR&) {
    return std::nullopt;
}

std::unique_ptr<ControlView> MakeControlView(Control& model, HWND parent) {
    std::unique_ptr<ControlView> view;
    switch (model.kind()) {
    case ControlKind::PushButton:
        view = std::make_unique<PushButtonView>(model, parent);
        break;
    case ControlKind::CheckBox:
        view = std::make_unique<CheckBoxView>(model, parent);
        break;
    case ControlKind::Frame:
        view = std::make_unique<ControlView>(model, parent, "BUTTON", BS_GROUPBOX, 0);
        break;
    case ControlKind::Label:
        view = std::make_unique<ControlView>(model, parent, "STATIC", SS_LEFT, 0);
        break;
    case ControlKind::TextBox:
        view = std::make_unique<TextBoxView>(model, parent);
        break;
    case ControlKind::ListView:
        view = std::make_unique<SiteListView>(model, parent);
        break;
    case ControlKind::Window:
        throw std::logic_error("a window is not a child control");
    }
    view->sync();
    return view;
}

} // namespace palisade::win32
