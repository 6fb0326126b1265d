#include "windows/ui/PushButtonPaint.h"

#include "windows/ui/Units.h"
#include "windows/ui/WinApi.h"

namespace palisade::win32 {

LRESULT PaintPushButton(const NMCUSTOMDRAW& draw, const Control& model, HFONT font, HBRUSH face) {
    if (draw.dwDrawStage != CDDS_PREPAINT)
        return CDRF_DODEFAULT;
    HDC dc = draw.hdc;
    RECT rect = draw.rc;
    const bool pressed = (draw.uItemState & CDIS_SELECTED) != 0;
    const bool hot = (draw.uItemState & CDIS_HOT) != 0;
    const bool disabled = (draw.uItemState & CDIS_DISABLED) != 0;

    ::FillRect(dc, &rect, face);
    ::FrameRect(dc, &rect, ::GetSysColorBrush(hot || pressed ? COLOR_HIGHLIGHT : COLOR_BTNSHADOW));
    if (pressed) {
        RECT inner = rect;
        ::InflateRect(&inner, -1, -1);
        ::FrameRect(dc, &inner, ::GetSysColorBrush(COLOR_HIGHLIGHT));
        ::OffsetRect(&rect, 1, 1);
    }

    HGDIOBJ oldFont = ::SelectObject(dc, font);
    ::SetBkMode(dc, TRANSPARENT);
    ::SetTextColor(dc, disabled ? ::GetSysColor(COLOR_GRAYTEXT) : ColorRefOf(model.foreColor()));
    RECT text = rect;
    ::DrawTextA(dc, model.caption().c_str(), static_cast<int>(model.caption().size()), &text,
                DT_CENTER | DT_VCENTER | DT_SINGLELINE);
    ::SelectObject(dc, oldFont);

    if ((draw.uItemState & CDIS_FOCUS) != 0 &&
        (::SendMessageA(draw.hdr.hwndFrom, WM_QUERYUISTATE, 0, 0) & UISF_HIDEFOCUS) == 0) {
        RECT focus = draw.rc;
        ::InflateRect(&focus, -3, -3);
        ::DrawFocusRect(dc, &focus);
    }
    return CDRF_SKIPDEFAULT;
}

} // namespace palisade::win32
