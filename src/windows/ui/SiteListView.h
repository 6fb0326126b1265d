#pragma once

#include "ui/model/ListView.h"
#include "windows/ui/ControlView.h"
#include "windows/ui/WinApi.h"

#include <string>

namespace palisade::win32 {

// A virtual report-view SysListView32 over the list model: the list view asks for each text it
// shows, so a list of any length loads and scrolls at once. Item counts are brought over once
// per pass of the message loop, however many items a command adds.
class SiteListView : public ControlView {
public:
    SiteListView(Control& model, HWND parent);

    void place(const RECT& rect, HFONT font, UINT dpi) override;
    void sync() override;
    std::optional<LRESULT> notify(NMHDR& header) override;
    void deferredSync() override;

private:
    ListView& list() const { return static_cast<ListView&>(model_); }
    void countChanged();
    void syncColumns();
    void syncSelection();
    int viewSelection() const;

    UINT dpi_ = 96;
    int columnsShown_ = 0;
    bool countPending_ = false;
    // Set while the view changes its own selection to the model's.
    bool selecting_ = false;
    // Owned by the form, as its child windows are.
    HWND toolTip_ = nullptr;
    std::string toolTipText_;
};

} // namespace palisade::win32
