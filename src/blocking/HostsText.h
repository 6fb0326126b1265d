#pragma once

#include <deque>
#include <optional>
#include <string>
#include <string_view>
#include <unordered_set>

// The text rules of block lines. They depend on nothing else in the program, so that a tool
// that cleans up the hosts file on its own (at uninstall) applies exactly the same rules.
namespace palisade {

// Every block line starts with this: the loopback address and ten spaces.
inline constexpr std::string_view BlockLinePrefix = "127.0.0.1          ";

// Whether an entry of the site list has nothing to block: empty, or spaces and tabs only.
bool IsBlankEntry(std::string_view entry);

// The host that an entry of the site list names, without surrounding spaces or tabs. A URL
// gives its host (no scheme, user, path, query, fragment or port); a plain host name, an IPv4
// address and a bare IPv6 address come back unchanged. The empty text when nothing is left.
// The result is a part of entry.
std::string_view BlockedHost(std::string_view entry);

// Whether a host can go into a block line: not empty, and no carriage return, line feed or NUL,
// which would let an entry write lines of its own into the hosts file.
bool IsWritableHost(std::string_view host);

// The block line for an entry, without a line end; nothing when the entry's host cannot be
// written (see IsWritableHost).
std::optional<std::string> BlockLineFor(std::string_view entry);

// Whether a line (with or without its line end) is one of ours: the prefix followed by a
// character other than a space or a tab. A line that only starts alike, such as a system line
// aligned with more spaces, belongs to someone else.
bool IsBlockLine(std::string_view line);

// content less every block line; all other bytes are kept.
std::string WithoutBlockLines(std::string_view content);

// Whether content is empty or its last byte ends a line.
bool EndsWithLineEnd(std::string_view content);

// The hosts that a hosts file blocks with lines of ours, for lookups in constant time. Lines are
// the same when they differ only in their line end and trailing blanks.
class BlockedHostSet {
public:
    // Views into content, which must outlive the set.
    explicit BlockedHostSet(std::string_view content);
    BlockedHostSet(const BlockedHostSet&) = delete;
    BlockedHostSet& operator=(const BlockedHostSet&) = delete;

    bool contains(std::string_view host) const { return hosts_.count(host) != 0; }
    // Keeps a copy of host.
    void insert(std::string_view host);

private:
    std::deque<std::string> added_; // stable storage for the views of inserted hosts
    std::unordered_set<std::string_view> hosts_;
};

} // namespace palisade
