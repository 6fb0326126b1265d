#pragma once

#include <QCursor>
#include <optional>
#include <string>

namespace palisade::qt {

// A Windows cursor file (.cur) as a pointer, with the hot spot the file names; nothing when the
// file cannot be read as one.
std::optional<QCursor> LoadCursorFile(const std::string& path);

// The pointer a window's shape shows: 11 the hourglass, 99 the window's own image when it has
// one and otherwise the pointing hand, anything else the ordinary arrow.
QCursor PointerFor(int shape, const std::optional<QCursor>& custom);

} // namespace palisade::qt
