#pragma once

#include "ui/model/Control.h"
#include "windows/ui/Connect.h"
#include "windows/ui/WinApi.h"

#include <memory>
#include <optional>

namespace palisade::win32 {

// One child window bound to its control model: the model's changes are shown at once, the
// user's actions become the model's events. Behaviour stays in the model's controllers.
class ControlView {
public:
    ControlView(Control& model, HWND parent, const char* className, DWORD style, DWORD exStyle);
    virtual ~ControlView();
    ControlView(const ControlView&) = delete;
    ControlView& operator=(const ControlView&) = delete;

    Control& model() const { return model_; }
    HWND hwnd() const { return hwnd_; }

    // Moves and sizes the window for the monitor's dots per inch and gives it its font.
    virtual void place(const RECT& rect, HFONT font, UINT dpi);
    // Shows the model's state.
    virtual void sync();
    // WM_COMMAND notifications and WM_NOTIFY messages from the child window.
    virtual void command(WORD code);
    virtual std::optional<LRESULT> notify(NMHDR& header);
    // Work put off to the next pass of the message loop (see FormView::DeferredSyncMessage).
    virtual void deferredSync() {}

protected:
    Connections& connections() { return connections_; }

    Control& model_;
    HWND hwnd_ = nullptr;

private:
    Connections connections_;
};

// The view of any control kind, with the style its kind is shown with.
std::unique_ptr<ControlView> MakeControlView(Control& model, HWND parent);

} // namespace palisade::win32
