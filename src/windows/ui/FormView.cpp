#include "windows/ui/FormView.h"

#include "windows/ui/Connect.h"
#include "windows/ui/Dpi.h"
#include "windows/ui/ProgramIcons.h"
#include "windows/ui/PushButtonPaint.h"
#include "windows/ui/Units.h"
#include "windows/ui/WinApi.h"
#include "windows/ui/WindowText.h"

#include <algorithm>

namespace palisade::win32 {

namespace {

// Tab moves through the child windows in their z-order: the controls that take the focus come
// first in the model's tab order; frames and labels go to the bottom, where a frame is painted
// beneath the controls it holds.
std::vector<Control*> CreationOrder(std::vector<Control*> controls) {
    std::stable_sort(controls.begin(), controls.end(), [](const Control* a, const Control* b) {
        if (a->takesFocus() != b->takesFocus())
            return a->takesFocus();
        return a->tabIndex() < b->tabIndex();
    });
    return controls;
}

bool PointerInside(HWND window) {
    POINT p{};
    if (!::GetCursorPos(&p))
        return false;
    HWND under = ::WindowFromPoint(p);
    return under == window || ::IsChild(window, under);
}

} // namespace

FormView::FormView(HINSTANCE instance, const FormStyle& style, Window& model,
                   std::vector<Control*> controls, const ProgramIcons& icons)
    : model_(model), controls_(std::move(controls)), icons_(icons) {
    RegisterClass(instance, style.className, icons.big());
    // Not WS_CLIPCHILDREN: a frame draws only its edge, and the window paints what lies inside.
    style_ = WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU;
    if (style.minimizeBox)
        style_ |= WS_MINIMIZEBOX;
    create(instance, style.className, 0, style_, model.caption().c_str());
    dpi_ = WindowDpi(hwnd());

    HWND previous = HWND_TOP;
    for (Control* control : CreationOrder(controls_)) {
        views_.push_back(MakeControlView(*control, hwnd()));
        ::SetWindowPos(views_.back()->hwnd(), previous, 0, 0, 0, 0,
                       SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
        previous = views_.back()->hwnd();
    }
    resizeToClientArea(0, 0);
    layout();
    Connect(model_.changed, connections_, [this] { syncWindow(); });
    Connect(model_.activateRequested, connections_, [this] { bringForward(); });
    // An unloaded window opens centred again when it is next shown.
    Connect(model_.unloaded, connections_, [this] { placed_ = false; });
    syncWindow();
}

FormView::~FormView() {
    destroy();
}

void FormView::layout() {
    for (const auto& view : views_) {
        const Control& control = view->model();
        Geometry container;
        if (!control.container().empty()) {
            auto found = std::find_if(controls_.begin(), controls_.end(), [&](const Control* c) {
                return c->name() == control.container();
            });
            if (found != controls_.end())
                container = (*found)->geometry();
        }
        view->place(PixelRect(control.geometry(), container, dpi_), gdi_.font(control.font(), dpi_),
                    dpi_);
    }
}

void FormView::resizeToClientArea(int left, int top) {
    const Geometry& client = model_.geometry();
    RECT rect{0, 0, TwipsToPixels(client.width, dpi_), TwipsToPixels(client.height, dpi_)};
    AdjustWindowRectForDpi(rect, style_, 0, dpi_);
    ::SetWindowPos(hwnd(), nullptr, left, top, rect.right - rect.left, rect.bottom - rect.top,
                   SWP_NOZORDER | SWP_NOACTIVATE);
}

void FormView::centre() {
    MONITORINFO monitor{};
    monitor.cbSize = sizeof monitor;
    if (!::GetMonitorInfoA(::MonitorFromPoint(POINT{0, 0}, MONITOR_DEFAULTTOPRIMARY), &monitor))
        return;
    RECT window{};
    ::GetWindowRect(hwnd(), &window);
    const RECT& work = monitor.rcWork;
    const int width = window.right - window.left;
    const int height = window.bottom - window.top;
    const int left = work.left + std::max(0L, (work.right - work.left - width) / 2);
    const int top = work.top + std::max(0L, (work.bottom - work.top - height) / 2);
    ::SetWindowPos(hwnd(), nullptr, left, top, 0, 0, SWP_NOZORDER | SWP_NOSIZE | SWP_NOACTIVATE);
}

void FormView::syncWindow() {
    if (WindowText(hwnd()) != model_.caption())
        ::SetWindowTextA(hwnd(), model_.caption().c_str());
    if (model_.icon() != shownIcon_) {
        shownIcon_ = model_.icon();
        const bool programIcon = shownIcon_ == WindowIcon::Program;
        ::SendMessageA(hwnd(), WM_SETICON, ICON_BIG,
                       reinterpret_cast<LPARAM>(programIcon ? icons_.big() : nullptr));
        ::SendMessageA(hwnd(), WM_SETICON, ICON_SMALL,
                       reinterpret_cast<LPARAM>(programIcon ? icons_.small() : nullptr));
    }

    if (model_.mouseIcon() != customPointerPath_) {
        customPointerPath_ = model_.mouseIcon();
        customPointer_.reset(customPointerPath_.empty()
                                 ? nullptr
                                 : ::LoadCursorFromFileA(customPointerPath_.c_str()));
    }
    // The busy pointer shows at once: the command that sets it works without letting the
    // pointer's own messages run.
    if (model_.mousePointer() != shownPointer_) {
        shownPointer_ = model_.mousePointer();
        if (PointerInside(hwnd()))
            ::SetCursor(
                ::LoadCursorA(nullptr, shownPointer_ == pointers::Busy ? IDC_WAIT : IDC_ARROW));
    }
    // The pointer changes with every hover; only a new colour needs the window drawn again.
    if (model_.backColor() != shownBackColor_) {
        shownBackColor_ = model_.backColor();
        ::RedrawWindow(hwnd(), nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN);
    }
    applyShowing();
}

void FormView::applyShowing() {
    if (applying_)
        return;
    applying_ = true;
    HWND h = hwnd();
    const bool visible = ::IsWindowVisible(h) != FALSE;
    if (!model_.visible()) {
        if (visible)
            ::ShowWindow(h, SW_HIDE);
    } else {
        if (!placed_) {
            centre();
            placed_ = true;
        }
        if (model_.state() == WindowState::Minimized) {
            if (!visible)
                ::ShowWindow(h, SW_SHOWMINNOACTIVE);
            else if (!::IsIconic(h))
                ::ShowWindow(h, SW_MINIMIZE);
        } else if (::IsIconic(h)) {
            ::ShowWindow(h, SW_RESTORE);
        } else if (!visible) {
            ::ShowWindow(h, SW_SHOW);
        }
    }
    applying_ = false;
}

void FormView::bringForward() {
    applyShowing();
    if (!::IsWindowVisible(hwnd()))
        return;
    ::SetForegroundWindow(hwnd());
    ::SetActiveWindow(hwnd());
    HWND focus = ::GetFocus();
    if (focus == nullptr || (focus != hwnd() && !::IsChild(hwnd(), focus)))
        ::SetFocus(::GetNextDlgTabItem(hwnd(), nullptr, FALSE));
}

bool FormView::dialogMessage(MSG& message) {
    if (message.hwnd != hwnd() && !::IsChild(hwnd(), message.hwnd))
        return false;
    return ::IsDialogMessageA(hwnd(), &message) != FALSE;
}

ControlView* FormView::viewOf(HWND child) const {
    for (const auto& view : views_)
        if (view->hwnd() == child)
            return view.get();
    return nullptr;
}

Control* FormView::controlUnderPointer(HWND over) const {
    if (over != hwnd()) {
        HWND child = over;
        while (child != nullptr && ::GetParent(child) != hwnd())
            child = ::GetParent(child);
        ControlView* view = viewOf(child);
        return view != nullptr ? &view->model() : nullptr;
    }
    // A frame lets the pointer through to the window beneath it.
    POINT p{};
    ::GetCursorPos(&p);
    for (const auto& view : views_) {
        if (view->model().kind() != ControlKind::Frame)
            continue;
        RECT r{};
        ::GetWindowRect(view->hwnd(), &r);
        if (::PtInRect(&r, p))
            return &view->model();
    }
    return nullptr;
}

// A BUTTON tells its parent nothing of the mouse moving over it, but every window asks its
// parent for the pointer as the mouse moves: that is where the hover events come from.
bool FormView::setCursor(HWND over, LPARAM lParam) {
    Control* control = controlUnderPointer(over);
    if (HIWORD(lParam) == WM_MOUSEMOVE)
        (control != nullptr ? control->mouseMove : model_.mouseMove)();
    if (LOWORD(lParam) != HTCLIENT)
        return false;
    const int shape = model_.mousePointer();
    if (shape == pointers::Busy) {
        ::SetCursor(::LoadCursorA(nullptr, IDC_WAIT));
        return true;
    }
    // The window's own pointer shows over its surface and its push buttons; other controls
    // keep their own (the text cursor over a text box).
    const bool windowsOwn = control == nullptr || control->kind() == ControlKind::PushButton ||
                            control->kind() == ControlKind::Frame;
    if (shape == pointers::Custom && windowsOwn) {
        ::SetCursor(customPointer_ ? customPointer_.get() : ::LoadCursorA(nullptr, IDC_HAND));
        return true;
    }
    return false;
}

LRESULT FormView::colours(HDC dc, HWND child) {
    const ControlView* view = viewOf(child);
    const Control& control = view != nullptr ? view->model() : model_;
    ::SetTextColor(dc, ColorRefOf(control.foreColor()));
    ::SetBkColor(dc, ColorRefOf(control.backColor()));
    return reinterpret_cast<LRESULT>(gdi_.brush(control.backColor()));
}

std::optional<LRESULT> FormView::command(WPARAM wParam, LPARAM lParam) {
    if (ControlView* view = viewOf(reinterpret_cast<HWND>(lParam))) {
        view->command(HIWORD(wParam));
        return 0;
    }
    // Enter and Escape that the focused control did not take, as IsDialogMessage reports them.
    if (LOWORD(wParam) == IDOK) {
        model_.pressDefault();
        return 0;
    }
    if (LOWORD(wParam) == IDCANCEL) {
        model_.pressCancel();
        return 0;
    }
    return std::nullopt;
}

std::optional<LRESULT> FormView::notify(NMHDR& header) {
    ControlView* view = viewOf(header.hwndFrom);
    if (view == nullptr)
        return std::nullopt;
    const Control& control = view->model();
    if (header.code == NM_CUSTOMDRAW && control.kind() == ControlKind::PushButton)
        return PaintPushButton(reinterpret_cast<NMCUSTOMDRAW&>(header), control,
                               gdi_.font(control.font(), dpi_), gdi_.brush(control.backColor()));
    return view->notify(header);
}

std::optional<LRESULT> FormView::sysCommand(WPARAM wParam) {
    switch (wParam & 0xFFF0) {
    case SC_MINIMIZE:
        model_.setState(WindowState::Minimized);
        applyShowing();
        return 0;
    case SC_RESTORE:
        if (!::IsIconic(hwnd()))
            return std::nullopt;
        model_.setState(WindowState::Normal);
        applyShowing();
        return 0;
    default:
        return std::nullopt;
    }
}

void FormView::stateFromSystem(WPARAM sizeKind) {
    if (applying_)
        return;
    if (sizeKind == SIZE_MINIMIZED && model_.state() != WindowState::Minimized) {
        model_.setState(WindowState::Minimized);
        applyShowing();
    } else if (sizeKind == SIZE_RESTORED && model_.state() == WindowState::Minimized) {
        model_.setState(WindowState::Normal);
        applyShowing();
    }
}

LRESULT FormView::handle(UINT message, WPARAM wParam, LPARAM lParam) {
    if (LRESULT result = 0; extra_ && extra_(message, wParam, lParam, result))
        return result;
    switch (message) {
    case WM_COMMAND:
        if (auto result = command(wParam, lParam))
            return *result;
        break;
    case WM_NOTIFY:
        if (auto result = notify(*reinterpret_cast<NMHDR*>(lParam)))
            return *result;
        break;
    case WM_NOTIFYFORMAT:
        return NFR_ANSI;
    case WM_CTLCOLORSTATIC:
    case WM_CTLCOLOREDIT:
    case WM_CTLCOLORBTN:
        return colours(reinterpret_cast<HDC>(wParam), reinterpret_cast<HWND>(lParam));
    case WM_ERASEBKGND: {
        RECT client{};
        ::GetClientRect(hwnd(), &client);
        ::FillRect(reinterpret_cast<HDC>(wParam), &client, gdi_.brush(model_.backColor()));
        return 1;
    }
    case WM_SETCURSOR: {
        const auto over = reinterpret_cast<HWND>(wParam);
        if (setCursor(over, lParam))
            return TRUE;
        // A child that is not given a pointer here shows its own.
        if (over != hwnd())
            return FALSE;
        break;
    }
    case WM_SYSCOMMAND:
        if (auto result = sysCommand(wParam))
            return *result;
        break;
    case WM_SIZE:
        stateFromSystem(wParam);
        return 0;
    case WM_CLOSE:
        model_.requestClose();
        return 0;
    case WM_ACTIVATE:
        if (LOWORD(wParam) == WA_INACTIVE) {
            HWND focus = ::GetFocus();
            if (focus != nullptr && ::IsChild(hwnd(), focus))
                focus_ = focus;
        } else {
            HWND target =
                focus_ != nullptr && ::IsChild(hwnd(), focus_) && ::IsWindowVisible(focus_)
                    ? focus_
                    : ::GetNextDlgTabItem(hwnd(), nullptr, FALSE);
            if (target != nullptr)
                ::SetFocus(target);
        }
        return 0;
    case WM_DPICHANGED: {
        dpi_ = HIWORD(wParam);
        gdi_.dropFonts();
        const auto* suggested = reinterpret_cast<const RECT*>(lParam);
        resizeToClientArea(suggested->left, suggested->top);
        layout();
        return 0;
    }
    case DeferredSyncMessage:
        for (const auto& view : views_)
            view->deferredSync();
        return 0;
    default:
        break;
    }
    return defaultHandling(message, wParam, lParam);
}

} // namespace palisade::win32
