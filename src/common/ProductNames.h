#pragma once

#include <string_view>

namespace palisade {

// The program's name as its window, its tray tip and its data folder show it, and its vendor's,
// under whose folder the data folder is.
inline constexpr std::string_view ProductName = "Palisade Software";
inline constexpr std::string_view VendorName = "Quillmoor";

} // namespace palisade
