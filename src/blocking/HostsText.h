#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <unordered_set>
#include <vector>

// The text rules of block lines. They depend on nothing else in the program, so that a tool
// that cleans up the hosts file on its own (at uninstall) applies exactly the same rules.
namespace palisade {

// Every block line starts with this: the loopback address and ten spaces.
inline constexpr std::string_view BlockLinePrefix = "127.0.0.1          ";

// Whether an entry of the site list has nothing to block: empty, or spaces and tabs only.
bool IsBlankEntry(std::string_view entry);

// The host that an entry of the site list names, without surrounding spaces or tabs. A URL
// gives its host (no scheme, user, path, query, fragment or port: digits after a single colon);
// a plain host name, an IPv4 address and a bare IPv6 address come back unchanged. The empty text
// when nothing is left. The result is a part of entry.
std::string_view BlockedHost(std::string_view entry);

// Whether a host is one host name or IP address, and so can go into a block line: an IPv6
// address (hex digits, dots and at least two colons), or labels of letters, digits, '-', '_' and
// bytes from 0x80 on (internationalised names) joined by single dots, a dot at the end allowed,
// at most 253 bytes. Blanks, control characters, '#', slashes and the like never pass: they would
// block another name than the one meant, or write a line of their own into the hosts file.
bool IsHostOrAddress(std::string_view host);

// The block line for an entry, without a line end; nothing when the entry names no host or
// address (see IsHostOrAddress).
std::optional<std::string> BlockLineFor(std::string_view entry);

// Whether a line (with or without its line end) is one of ours: the prefix followed by a
// character other than a space or a tab. A line that only starts alike, such as a system line
// aligned with more spaces, belongs to someone else.
bool IsBlockLine(std::string_view line);

// content less the block lines of the given hosts; all other bytes are kept.
std::string WithoutBlockLinesFor(std::string_view content,
                                 const std::unordered_set<std::string_view>& hosts);

// Whether content is empty or its last byte ends a line.
bool EndsWithLineEnd(std::string_view content);

// The hosts file's content after a stop: block lines are taken out, but as many copies of each
// as the snapshot (the file before our lines) holds stay, the first ones; every other byte is
// kept. Lines are the same when they differ only in their line end and trailing blanks. A start
// puts a line end before its first line when the file lacks one (or could not be read); when
// nothing came after our lines but that line end, it goes again.
std::string UnblockedHosts(std::string_view current, std::string_view snapshot);

// The hosts that a hosts file blocks with lines of ours, for checking a whole list against in
// time proportional to the list and the file. Lines are the same when they differ only in their
// line end and trailing blanks. A list is mostly checked in the order in which its lines were
// written, so each host is first compared with the line after the one found last, and only a
// host out of that order is looked up by hash, in a table built the first time one is.
class BlockedHostIndex {
public:
    // Views into content, which must outlive the index.
    explicit BlockedHostIndex(std::string_view content) : content_(content) {}
    BlockedHostIndex(const BlockedHostIndex&) = delete;
    BlockedHostIndex& operator=(const BlockedHostIndex&) = delete;

    bool contains(std::string_view host);

private:
    struct Slot {
        std::size_t hash = 0;
        std::string_view host; // no data: the slot is free
    };
    // The host of the first block line from next_ on, passing other lines for good; no data at
    // the end of the content.
    std::string_view nextHost();
    // Moves next_ to the line after the one that holds host.
    void moveAfter(std::string_view host);
    void buildTable();
    // The slot that holds host, or the free one where it would go.
    std::size_t slotFor(std::string_view host, std::size_t hash) const;

    std::string_view content_;
    std::size_t next_ = 0;    // where the line after the one found last starts
    std::vector<Slot> table_; // a power of two in size, at most half full
    std::size_t tableHosts_ = 0;
};

} // namespace palisade
