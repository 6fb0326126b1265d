#include "blocking/HostsText.h"

#include <algorithm>
#include <unordered_map>

namespace palisade {

namespace {

// The rest of the line of content that start is in, line end included.
std::string_view LineAt(std::string_view content, std::size_t start) {
    const auto end = content.find('\n', start);
    return content.substr(start, end == std::string_view::npos ? end : end + 1 - start);
}

// Calls visit with each line of content, line end included.
template <typename Visit> void ForEachLine(std::string_view content, Visit&& visit) {
    for (std::size_t start = 0; start < content.size();) {
        const std::string_view line = LineAt(content, start);
        visit(line);
        start += line.size();
    }
}

// The position of the first of the characters that end a URL's authority, or npos. A plain loop:
// find_first_of searches its set once per character, which costs a great deal over a long list.
std::size_t AuthorityEnd(std::string_view text) {
    for (std::size_t i = 0; i < text.size(); ++i)
        if (text[i] == '/' || text[i] == '?' || text[i] == '#')
            return i;
    return std::string_view::npos;
}

bool IsBlank(char c) {
    return c == ' ' || c == '\t';
}

// ASCII only, whatever the locale says of other bytes.
bool IsDigit(char c) {
    return c >= '0' && c <= '9';
}

bool IsLetterOrDigit(char c) {
    return IsDigit(c) || (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z');
}

bool IsHexDigit(char c) {
    return IsDigit(c) || (c >= 'a' && c <= 'f') || (c >= 'A' && c <= 'F');
}

std::string_view TrimBlanks(std::string_view text) {
    while (!text.empty() && IsBlank(text.front()))
        text.remove_prefix(1);
    while (!text.empty() && IsBlank(text.back()))
        text.remove_suffix(1);
    return text;
}

// A line as it is compared for sameness: without its line end and trailing blanks.
std::string_view ComparableLine(std::string_view line) {
    while (!line.empty() && (IsBlank(line.back()) || line.back() == '\r' || line.back() == '\n'))
        line.remove_suffix(1);
    return line;
}

} // namespace

bool IsBlankEntry(std::string_view entry) {
    return TrimBlanks(entry).empty();
}

std::string_view BlockedHost(std::string_view entry) {
    std::string_view rest = TrimBlanks(entry);
    // Most entries are plain host names: one look at each character settles them.
    if (std::none_of(rest.begin(), rest.end(), [](char c) {
            return c == ':' || c == '/' || c == '@' || c == '?' || c == '#' || c == '[';
        }))
        return rest;
    if (const auto scheme = rest.find("://"); scheme != std::string_view::npos)
        rest.remove_prefix(scheme + 3);

    const auto at = rest.substr(0, AuthorityEnd(rest)).rfind('@');
    if (at != std::string_view::npos)
        rest.remove_prefix(at + 1);
    rest = rest.substr(0, AuthorityEnd(rest));

    if (!rest.empty() && rest.front() == '[') {
        const auto close = rest.find(']');
        // An unclosed bracket names no address.
        if (close == std::string_view::npos)
            return {};
        return TrimBlanks(rest.substr(1, close - 1));
    }
    // One colon before digits sets off a port; any other is part of what the entry names.
    if (const auto colon = rest.find(':');
        colon != std::string_view::npos && rest.find(':', colon + 1) == std::string_view::npos &&
        std::all_of(rest.begin() + colon + 1, rest.end(), IsDigit))
        rest = rest.substr(0, colon);
    return TrimBlanks(rest);
}

bool IsHostOrAddress(std::string_view host) {
    constexpr std::size_t MaxName = 253;
    constexpr std::size_t MaxLabel = 63;
    if (host.empty() || host.size() > MaxName + 1 || (host.size() > MaxName && host.back() != '.'))
        return false;
    if (std::count(host.begin(), host.end(), ':') >= 2)
        return std::all_of(host.begin(), host.end(),
                           [](char c) { return IsHexDigit(c) || c == ':' || c == '.'; });
    if (host.back() == '.')
        host.remove_suffix(1);
    std::size_t label = 0;
    for (const char c : host) {
        const auto byte = static_cast<unsigned char>(c);
        if (c == '.') {
            if (label == 0)
                return false;
            label = 0;
        } else if (IsLetterOrDigit(c) || c == '-' || c == '_' || byte >= 0x80) {
            if (++label > MaxLabel)
                return false;
        } else {
            return false;
        }
    }
    return label != 0;
}

std::optional<std::string> BlockLineFor(std::string_view entry) {
    const std::string_view host = BlockedHost(entry);
    if (!IsHostOrAddress(host))
        return std::nullopt;
    std::string line(BlockLinePrefix);
    line.append(host);
    return line;
}

bool IsBlockLine(std::string_view line) {
    return line.size() > BlockLinePrefix.size() && line.starts_with(BlockLinePrefix) &&
           !IsBlank(line[BlockLinePrefix.size()]);
}

std::string WithoutBlockLinesFor(std::string_view content,
                                 const std::unordered_set<std::string_view>& hosts) {
    std::string kept;
    kept.reserve(content.size());
    ForEachLine(content, [&](std::string_view line) {
        if (!IsBlockLine(line) || !hosts.count(ComparableLine(line.substr(BlockLinePrefix.size()))))
            kept.append(line);
    });
    return kept;
}

bool EndsWithLineEnd(std::string_view content) {
    return content.empty() || content.back() == '\n';
}

std::string UnblockedHosts(std::string_view current, std::string_view snapshot) {
    // How many copies of each block line the snapshot holds: lines that were there before ours.
    std::unordered_map<std::string_view, std::size_t> before;
    ForEachLine(snapshot, [&](std::string_view line) {
        if (IsBlockLine(line))
            ++before[ComparableLine(line)];
    });
    std::string kept;
    kept.reserve(current.size());
    ForEachLine(current, [&](std::string_view line) {
        if (!IsBlockLine(line)) {
            kept.append(line);
        } else if (auto it = before.find(ComparableLine(line)); it != before.end() && it->second) {
            --it->second;
            kept.append(line);
        }
    });
    if (kept.starts_with(snapshot)) {
        const std::string_view tail = std::string_view(kept).substr(snapshot.size());
        if (tail == "\r\n" || tail == "\n")
            return std::string(snapshot);
    }
    return kept;
}

bool BlockedHostIndex::contains(std::string_view host) {
    const std::string_view ahead = nextHost();
    if (ahead.data() != nullptr && ahead == host) {
        moveAfter(ahead);
        return true;
    }
    if (table_.empty())
        buildTable();
    if (tableHosts_ == 0)
        return false; // no line of ours at all: nothing to hash
    const Slot& slot = table_[slotFor(host, std::hash<std::string_view>{}(host))];
    if (slot.host.data() == nullptr)
        return false;
    moveAfter(slot.host);
    return true;
}

std::string_view BlockedHostIndex::nextHost() {
    while (next_ < content_.size()) {
        const std::string_view line = LineAt(content_, next_);
        if (IsBlockLine(line))
            return ComparableLine(line.substr(BlockLinePrefix.size()));
        next_ += line.size();
    }
    return {};
}

void BlockedHostIndex::moveAfter(std::string_view host) {
    const auto at = static_cast<std::size_t>(host.data() - content_.data());
    next_ = at + LineAt(content_, at).size();
}

void BlockedHostIndex::buildTable() {
    std::size_t lines = 0;
    ForEachLine(content_, [&](std::string_view line) { lines += IsBlockLine(line); });
    tableHosts_ = lines;
    std::size_t size = 16;
    while (size < lines * 2)
        size *= 2;
    table_.resize(size);
    ForEachLine(content_, [&](std::string_view line) {
        if (!IsBlockLine(line))
            return;
        const std::string_view host = ComparableLine(line.substr(BlockLinePrefix.size()));
        const std::size_t hash = std::hash<std::string_view>{}(host);
        Slot& slot = table_[slotFor(host, hash)];
        if (slot.host.data() == nullptr)
            slot = {hash, host};
    });
}

std::size_t BlockedHostIndex::slotFor(std::string_view host, std::size_t hash) const {
    const std::size_t mask = table_.size() - 1;
    std::size_t i = hash & mask;
    while (table_[i].host.data() != nullptr && (table_[i].hash != hash || table_[i].host != host))
        i = (i + 1) & mask;
    return i;
}

} // namespace palisade
