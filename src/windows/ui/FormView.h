#pragma once

#include "ui/model/Window.h"
#include "windows/system/Handles.h"
#include "windows/ui/Connect.h"
#include "windows/ui/ControlView.h"
#include "windows/ui/GdiCache.h"
#include "windows/ui/NativeWindow.h"
#include "windows/ui/WinApi.h"

#include <functional>
#include <memory>
#include <vector>

namespace palisade::win32 {

class ProgramIcons;

struct FormStyle {
    const char* className;
    bool minimizeBox;
};

// A top-level window laid out from its window model: the designed geometry in twips turned into
// pixels for the monitor it is on (again whenever that changes), the designed fonts, colours
// and pointers, and the tab order of the model. The user's minimise, restore and close reach
// the model; the model decides what the window shows.
class FormView : public NativeWindow {
public:
    // Posted to a form to finish work its controls put off (see ControlView::deferredSync).
    static constexpr UINT DeferredSyncMessage = WM_APP + 1;

    // Messages the form does not handle itself may be answered here first; true when answered.
    using ExtraHandler = std::function<bool(UINT, WPARAM, LPARAM, LRESULT&)>;

    FormView(HINSTANCE instance, const FormStyle& style, Window& model,
             std::vector<Control*> controls, const ProgramIcons& icons);
    ~FormView() override;

    Window& model() const { return model_; }
    // Tab, Shift+Tab, Enter and Escape for this window; true when the message was used.
    bool dialogMessage(MSG& message);
    void setExtraHandler(ExtraHandler handler) { extra_ = std::move(handler); }
    // Shows the window if the model has it shown, brings it to the front and gives it the focus.
    void bringForward();
    UINT dpi() const { return dpi_; }

private:
    LRESULT handle(UINT message, WPARAM wParam, LPARAM lParam) override;

    void layout();
    void resizeToClientArea(int left, int top);
    void centre();
    void syncWindow();
    void applyShowing();
    ControlView* viewOf(HWND child) const;
    Control* controlUnderPointer(HWND over) const;
    bool setCursor(HWND over, LPARAM lParam);
    LRESULT colours(HDC dc, HWND child);
    std::optional<LRESULT> command(WPARAM wParam, LPARAM lParam);
    std::optional<LRESULT> notify(NMHDR& header);
    std::optional<LRESULT> sysCommand(WPARAM wParam);
    void stateFromSystem(WPARAM sizeKind);

    Window& model_;
    std::vector<Control*> controls_;
    const ProgramIcons& icons_;
    std::vector<std::unique_ptr<ControlView>> views_;
    GdiCache gdi_;
    UINT dpi_ = 96;
    DWORD style_ = 0;
    UniqueCursor customPointer_;
    std::string customPointerPath_;
    int shownPointer_ = 0;
    WindowIcon shownIcon_ = WindowIcon::Designed;
    Color shownBackColor_ = 0xFFFFFFFFu; // none yet
    HWND focus_ = nullptr;
    bool placed_ = false;
    bool applying_ = false;
    ExtraHandler extra_;
    Connections connections_;
};

} // namespace palisade::win32
