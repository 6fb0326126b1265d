#pragma once

#include <cstddef>
#include <string_view>

namespace palisade {

// How much a file's lines are written at a time: few calls, little asked of a failing disk.
inline constexpr std::size_t LinePieceSize = 64 * 1024;

// Where the piece of bytes that starts at from ends: after its last line end within limit
// bytes, or after the first one beyond when a single line is longer, or at the end.
inline std::size_t LinePieceEnd(std::string_view bytes, std::size_t from,
                                std::size_t limit = LinePieceSize) {
    if (bytes.size() - from <= limit)
        return bytes.size();
    const auto last = bytes.rfind('\n', from + limit - 1);
    if (last != std::string_view::npos && last >= from)
        return last + 1;
    const auto next = bytes.find('\n', from + limit);
    return next == std::string_view::npos ? bytes.size() : next + 1;
}

} // namespace palisade
