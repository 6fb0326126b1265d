#include "windows/ui/SiteListView.h"

#include "windows/ui/Connect.h"
#include "windows/ui/FormView.h"
#include "windows/ui/Units.h"
#include "windows/ui/WinApi.h"

#include <cstring>

namespace palisade::win32 {

namespace {

constexpr DWORD ListStyle =
    LVS_REPORT | LVS_OWNERDATA | LVS_SINGLESEL | LVS_SHOWSELALWAYS | WS_TABSTOP;

// Shift state as the key event passes it: 1 Shift, 2 Ctrl, 4 Alt.
int ShiftState() {
    int state = 0;
    if (::GetKeyState(VK_SHIFT) < 0)
        state |= 1;
    if (::GetKeyState(VK_CONTROL) < 0)
        state |= 2;
    if (::GetKeyState(VK_MENU) < 0)
        state |= 4;
    return state;
}

} // namespace

SiteListView::SiteListView(Control& model, HWND parent)
    : ControlView(model, parent, WC_LISTVIEWA, ListStyle, WS_EX_CLIENTEDGE) {
    ListView_SetExtendedListViewStyle(hwnd_, LVS_EX_FULLROWSELECT | LVS_EX_DOUBLEBUFFER);
    Connect(list().itemAdded, connections(), [this](std::size_t) { countChanged(); });
    Connect(list().itemRemoved, connections(), [this](std::size_t) { countChanged(); });
    Connect(list().itemsCleared, connections(), [this] { countChanged(); });
    countChanged();

    toolTip_ =
        ::CreateWindowExA(WS_EX_TOPMOST, TOOLTIPS_CLASSA, nullptr,
                          WS_POPUP | TTS_ALWAYSTIP | TTS_NOPREFIX, CW_USEDEFAULT, CW_USEDEFAULT,
                          CW_USEDEFAULT, CW_USEDEFAULT, parent, nullptr, nullptr, nullptr);
}

void SiteListView::place(const RECT& rect, HFONT font, UINT dpi) {
    ControlView::place(rect, font, dpi);
    dpi_ = dpi;
    columnsShown_ = 0;
    syncColumns();
}

void SiteListView::countChanged() {
    if (countPending_)
        return;
    countPending_ = true;
    ::PostMessageA(::GetParent(hwnd_), FormView::DeferredSyncMessage, 0, 0);
}

void SiteListView::deferredSync() {
    if (!countPending_)
        return;
    countPending_ = false;
    ListView_SetItemCountEx(hwnd_, static_cast<int>(list().count()), LVSICF_NOSCROLL);
    ::InvalidateRect(hwnd_, nullptr, FALSE);
    syncSelection();
}

void SiteListView::sync() {
    ControlView::sync();
    syncColumns();
    if (!countPending_)
        syncSelection();
    if (toolTip_ && toolTipText_ != list().toolTip()) {
        toolTipText_ = list().toolTip();
        TTTOOLINFOA tool{};
        tool.cbSize = sizeof tool;
        tool.uFlags = TTF_IDISHWND | TTF_SUBCLASS;
        tool.hwnd = ::GetParent(hwnd_);
        tool.uId = reinterpret_cast<UINT_PTR>(hwnd_);
        tool.lpszText = toolTipText_.data();
        ::SendMessageA(toolTip_, TTM_DELTOOLA, 0, reinterpret_cast<LPARAM>(&tool));
        if (!toolTipText_.empty())
            ::SendMessageA(toolTip_, TTM_ADDTOOLA, 0, reinterpret_cast<LPARAM>(&tool));
    }
}

void SiteListView::syncColumns() {
    const auto& columns = list().columns();
    for (int i = 0; i < static_cast<int>(columns.size()); ++i) {
        LVCOLUMNA column{};
        column.mask = LVCF_TEXT | LVCF_WIDTH;
        column.pszText = const_cast<char*>(columns[static_cast<std::size_t>(i)].text.c_str());
        column.cx = TwipsToPixels(columns[static_cast<std::size_t>(i)].width, dpi_);
        if (i < columnsShown_)
            ::SendMessageA(hwnd_, LVM_SETCOLUMNA, static_cast<WPARAM>(i),
                           reinterpret_cast<LPARAM>(&column));
        else if (::SendMessageA(hwnd_, LVM_INSERTCOLUMNA, static_cast<WPARAM>(i),
                                reinterpret_cast<LPARAM>(&column)) >= 0)
            columnsShown_ = i + 1;
    }
}

int SiteListView::viewSelection() const {
    return ListView_GetNextItem(hwnd_, -1, LVNI_SELECTED);
}

void SiteListView::syncSelection() {
    const int wanted = static_cast<int>(list().selectedIndex()) - 1;
    if (viewSelection() == wanted)
        return;
    selecting_ = true;
    ListView_SetItemState(hwnd_, -1, 0, LVIS_SELECTED);
    if (wanted >= 0) {
        ListView_SetItemState(hwnd_, wanted, LVIS_SELECTED | LVIS_FOCUSED,
                              LVIS_SELECTED | LVIS_FOCUSED);
        ListView_EnsureVisible(hwnd_, wanted, FALSE);
    }
    selecting_ = false;
}

std::optional<LRESULT> SiteListView::notify(NMHDR& header) {
    switch (header.code) {
    case LVN_GETDISPINFOA: {
        auto& item = reinterpret_cast<NMLVDISPINFOA&>(header).item;
        if ((item.mask & LVIF_TEXT) != 0 && item.pszText != nullptr && item.cchTextMax > 0) {
            // The view may ask for a row the model has just removed, before its count follows.
            const auto index = static_cast<std::size_t>(item.iItem) + 1;
            const std::string text = index >= 1 && index <= list().count() && item.iItem >= 0
                                         ? ShownItemText(list().item(index))
                                         : std::string();
            ::lstrcpynA(item.pszText, text.c_str(), item.cchTextMax);
        }
        return 0;
    }
    case LVN_ODFINDITEMA:
        return -1;
    case LVN_ITEMCHANGED: {
        if (selecting_)
            return 0;
        const int selected = viewSelection();
        const std::size_t index = selected >= 0 ? static_cast<std::size_t>(selected) + 1 : 0;
        if (index <= list().count() && index != list().selectedIndex())
            list().select(index);
        return 0;
    }
    case LVN_KEYDOWN:
        list().keyDown(reinterpret_cast<NMLVKEYDOWN&>(header).wVKey, ShiftState());
        return 0;
    case NM_CLICK:
        list().click();
        return 0;
    case NM_DBLCLK:
        list().dblClick();
        return 0;
    default:
        return std::nullopt;
    }
}

} // namespace palisade::win32
