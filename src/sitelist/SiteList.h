#pragma once

#include "ui/model/ListView.h"

#include <string>
#include <string_view>

namespace palisade {

// Follows every entry in the stored form of the list, the last one included.
inline constexpr std::string_view ListSeparator = "||My_Separator||";
inline constexpr std::string_view ListColumnHeader = "Blocked Website(s)";
inline constexpr int ListColumnWidth = 7000;

// Adds the list's single column.
void SetUpSiteListColumn(ListView& list);

// Appends the entries of a stored list in stored order; empty pieces are skipped.
void RestoreSiteList(ListView& list, const std::string& stored);

// Every entry followed by the separator; the empty text for an empty list.
std::string SerializeSiteList(const ListView& list);

} // namespace palisade
