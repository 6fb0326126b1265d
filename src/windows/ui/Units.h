#pragma once

#include "ui/model/Control.h"
#include "windows/ui/WinApi.h"

namespace palisade::win32 {

// The layouts are designed in twips: 1440 to the inch, 15 to a pixel at 96 dots per inch.
inline constexpr UINT DesignDpi = 96;
inline constexpr int TwipsPerInch = 1440;

// Pixels for a length in twips on a monitor of the given dots per inch, rounded to nearest.
int TwipsToPixels(int twips, UINT dpi);

// The rectangle of a designed geometry, in pixels at dpi, offset by the container's origin.
RECT PixelRect(const Geometry& geometry, const Geometry& container, UINT dpi);

// The character height (negative, as CreateFontA takes it) of a font of points size at dpi.
int FontHeight(double points, UINT dpi);

// A model colour as GDI takes it: fixed colours are already 0x00BBGGRR; a colour with the high
// bit set names a system colour by the index in its low byte.
COLORREF ColorRefOf(Color color);
bool IsSystemColor(Color color);

} // namespace palisade::win32
