#include "windows/ui/Units.h"

#include "windows/ui/WinApi.h"

#include <cmath>

namespace palisade::win32 {

int TwipsToPixels(int twips, UINT dpi) {
    return ::MulDiv(twips, static_cast<int>(dpi), TwipsPerInch);
}

RECT PixelRect(const Geometry& geometry, const Geometry& container, UINT dpi) {
    const int left = TwipsToPixels(container.left + geometry.left, dpi);
    const int top = TwipsToPixels(container.top + geometry.top, dpi);
    // Sizes from the far edges, so that controls that touch in twips touch in pixels too.
    const int right = TwipsToPixels(container.left + geometry.left + geometry.width, dpi);
    const int bottom = TwipsToPixels(container.top + geometry.top + geometry.height, dpi);
    return RECT{left, top, right, bottom};
}

int FontHeight(double points, UINT dpi) {
    return -static_cast<int>(std::lround(points * static_cast<double>(dpi) / 72.0));
}

bool IsSystemColor(Color color) {
    return (color & 0x80000000u) != 0;
}

COLORREF ColorRefOf(Color color) {
    if (IsSystemColor(color))
        return ::GetSysColor(static_cast<int>(color & 0xFFu));
    return static_cast<COLORREF>(color & 0x00FFFFFFu);
}

} // namespace palisade::win32
