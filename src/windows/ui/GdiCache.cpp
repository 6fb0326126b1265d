#include "windows/ui/GdiCache.h"

#include "windows/ui/Units.h"
#include "windows/ui/WinApi.h"

namespace palisade::win32 {

HFONT GdiCache::font(const Font& font, UINT dpi) {
    const FontKey key{font.face, font.points, font.bold, font.charset, dpi};
    auto found = fonts_.find(key);
    if (found != fonts_.end())
        return found->second.get();
    HFONT made = ::CreateFontA(
        FontHeight(font.points, dpi), 0, 0, 0, font.bold ? FW_BOLD : FW_NORMAL, FALSE, FALSE, FALSE,
        static_cast<DWORD>(font.charset), OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS,
        CLEARTYPE_QUALITY, DEFAULT_PITCH | FF_SWISS, font.face.c_str());
    return fonts_.emplace(key, UniqueFont(made)).first->second.get();
}

HBRUSH GdiCache::brush(Color color) {
    if (IsSystemColor(color))
        return ::GetSysColorBrush(static_cast<int>(color & 0xFFu));
    auto found = brushes_.find(color);
    if (found != brushes_.end())
        return found->second.get();
    return brushes_.emplace(color, UniqueBrush(::CreateSolidBrush(ColorRefOf(color))))
        .first->second.get();
}

} // namespace palisade::win32
