#pragma once

#include "ui/model/Control.h"
#include "windows/system/Handles.h"
#include "windows/ui/WinApi.h"

#include <map>
#include <string>
#include <tuple>

namespace palisade::win32 {

// The fonts and brushes one window draws with, made once and kept until the window goes.
// Fonts depend on the monitor's dots per inch and are made again when it changes.
class GdiCache {
public:
    HFONT font(const Font& font, UINT dpi);
    // System colours use the system's own brushes, which are never deleted.
    HBRUSH brush(Color color);
    void dropFonts() { fonts_.clear(); }

private:
    using FontKey = std::tuple<std::string, double, bool, int, UINT>;
    std::map<FontKey, UniqueFont> fonts_;
    std::map<Color, UniqueBrush> brushes_;
};

} // namespace palisade::win32
