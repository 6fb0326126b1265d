#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace palisade {

// Every block line starts with this: the loopback address and ten spaces.
inline constexpr std::string_view BlockLinePrefix = "127.0.0.1          ";

// The host that an entry of the site list names. A URL gives its host (no scheme, user, path,
// query, fragment or port); a plain host name, an IPv4 address and a bare IPv6 address come
// back unchanged. The empty text when nothing is left.
std::string BlockedHost(const std::string& entry);

// The block line for an entry, without a line end; nothing when the entry names no host or the
// line would carry a carriage return, a line feed or a NUL, which would let an entry write lines
// of its own into the hosts file.
std::optional<std::string> BlockLineFor(const std::string& entry);

// A line as it is compared for sameness: without its line end and trailing blanks.
std::string_view ComparableLine(std::string_view line);

// Whether content holds a line that compares the same as line.
bool HoldsLine(std::string_view content, std::string_view line);

// Whether content is empty or its last byte ends a line.
bool EndsWithLineEnd(std::string_view content);

// content less every line that begins with the block-line prefix; all other bytes are kept.
std::string WithoutBlockLines(std::string_view content);

} // namespace palisade
