#include "blocking/BlockLines.h"

#include "blocking/HostsText.h"

#include <array>
#include <cstring>
#include <functional>
#include <limits>
#include <unordered_set>

namespace palisade {

namespace {

// The bytes a label of a host name may hold (see IsHostOrAddress).
constexpr std::array<bool, 256> NameBytes = [] {
    std::array<bool, 256> bytes{};
    for (int c = 0; c < 256; ++c)
        bytes[c] = (c >= '0' && c <= '9') || (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') ||
                   c == '-' || c == '_' || c >= 0x80;
    return bytes;
}();

// An entry that is a valid plain host name as it stands, in one look at each byte: what
// BlockedHost and IsHostOrAddress would make of it, for nearly every entry of a long list.
// False sends the entry through those two instead.
bool IsPlainHostName(std::string_view entry) {
    constexpr std::size_t MaxName = 253;
    constexpr std::size_t MaxLabel = 63;
    std::size_t label = 0;
    for (const char c : entry) {
        if (c == '.') {
            if (label == 0)
                return false;
            label = 0;
        } else if (NameBytes[static_cast<unsigned char>(c)]) {
            if (++label > MaxLabel)
                return false;
        } else {
            return false;
        }
    }
    // Either a last label, or a dot at the end after one.
    return !entry.empty() && entry.size() <= (label == 0 ? MaxName + 1 : MaxName);
}

} // namespace

BlockLines::BlockLines(const std::vector<std::string>& entries, std::string_view hostsFile,
                       std::string lineEnd, bool lineEndFirst)
    : entries_(entries), lineEnd_(std::move(lineEnd)), lineEndFirst_(lineEndFirst) {
    choose(hostsFile);
}

std::string_view BlockLines::hostOf(Host host) const {
    const std::string_view entry = entries_[host.entry];
    return host.slot & PlainName ? entry : BlockedHost(entry);
}

void BlockLines::choose(std::string_view hostsFile) {
    const auto& entries = entries_;
    const std::hash<std::string_view> hash;
    // A list seldom names a host twice. Two bits for each hash value, sixteen times as many
    // values as entries, count the hosts that fall on it up to two: only the few that share one
    // are compared by text. Far less memory, and far less time, than a table of every host.
    unsigned bits = 16;
    while ((std::size_t{1} << bits) < entries.size() * 16 && bits < 30)
        ++bits;
    std::vector<std::uint64_t> counts(((std::size_t{1} << bits) + 31) / 32);
    hosts_.reserve(entries.size());
    for (std::size_t i = 0; i < entries.size(); ++i) {
        std::string_view host = entries[i];
        const bool plain = IsPlainHostName(host);
        if (!plain) {
            if (IsBlankEntry(host))
                continue; // nothing to block, nothing to tell
            host = BlockedHost(host);
            if (!IsHostOrAddress(host)) {
                skipped_.push_back(i);
                continue;
            }
        }
        const auto slot = static_cast<std::uint32_t>(
            hash(host) >> (std::numeric_limits<std::size_t>::digits - bits));
        std::uint64_t& word = counts[slot / 32];
        const unsigned shift = 2 * (slot % 32);
        // 0 none, 1 one host, 3 more than one.
        if ((word >> shift) & 1)
            word |= std::uint64_t{2} << shift;
        word |= std::uint64_t{1} << shift;
        hosts_.push_back({static_cast<std::uint32_t>(i), plain ? slot | PlainName : slot});
    }

    BlockedHostIndex present(hostsFile);
    std::unordered_set<std::string_view> seen; // of the hosts that may repeat
    std::size_t kept = 0;
    for (const Host chosen : hosts_) {
        const std::string_view host = hostOf(chosen);
        const std::uint32_t slot = chosen.slot & ~PlainName;
        const bool shared = (counts[slot / 32] >> (2 * (slot % 32))) & 2;
        if (shared && !seen.insert(host).second)
            continue;
        if (present.contains(host))
            continue;
        hosts_[kept++] = chosen;
        size_ += BlockLinePrefix.size() + host.size() + lineEnd_.size();
    }
    hosts_.resize(kept);
    if (size_ == 0)
        lineEndFirst_ = false;
    if (lineEndFirst_)
        size_ += lineEnd_.size();
}

bool BlockLines::next(std::string_view& piece) {
    // Room for a whole piece, a line end before it and one more line of the longest host (254
    // bytes, see IsHostOrAddress): the copies into it need no checks of their own.
    const std::size_t Room = LinePieceSize + BlockLinePrefix.size() + 254 + 2 * lineEnd_.size();
    if (piece_.size() != Room)
        piece_.resize(Room);
    char* const start = piece_.data();
    char* out = start;
    if (lineEndFirst_) {
        std::memcpy(out, lineEnd_.data(), lineEnd_.size());
        out += lineEnd_.size();
        lineEndFirst_ = false;
    }
    for (; next_ < hosts_.size() && static_cast<std::size_t>(out - start) < LinePieceSize;
         ++next_) {
        const std::string_view host = hostOf(hosts_[next_]);
        std::memcpy(out, BlockLinePrefix.data(), BlockLinePrefix.size());
        out += BlockLinePrefix.size();
        std::memcpy(out, host.data(), host.size());
        out += host.size();
        std::memcpy(out, lineEnd_.data(), lineEnd_.size());
        out += lineEnd_.size();
    }
    piece = std::string_view(start, static_cast<std::size_t>(out - start));
    return !piece.empty();
}

} // namespace palisade
