#include "blocking/HostsText.h"

#include <algorithm>

namespace palisade {

namespace {

constexpr std::string_view Blanks = " \t";

// Calls visit with each line of content, line end included.
template <typename Visit> void ForEachLine(std::string_view content, Visit&& visit) {
    std::size_t start = 0;
    while (start < content.size()) {
        const auto end = content.find('\n', start);
        const auto next = end == std::string_view::npos ? content.size() : end + 1;
        visit(content.substr(start, next - start));
        start = next;
    }
}

std::string_view TrimBlanks(std::string_view text) {
    const auto first = text.find_first_not_of(Blanks);
    if (first == std::string_view::npos)
        return {};
    return text.substr(first, text.find_last_not_of(Blanks) - first + 1);
}

// A line as it is compared for sameness: without its line end and trailing blanks.
std::string_view ComparableLine(std::string_view line) {
    const auto last = line.find_last_not_of(" \t\r\n");
    return last == std::string_view::npos ? std::string_view() : line.substr(0, last + 1);
}

} // namespace

bool IsBlankEntry(std::string_view entry) {
    return entry.find_first_not_of(Blanks) == std::string_view::npos;
}

std::string_view BlockedHost(std::string_view entry) {
    std::string_view rest = TrimBlanks(entry);
    if (const auto scheme = rest.find("://"); scheme != std::string_view::npos)
        rest.remove_prefix(scheme + 3);

    const auto authorityEnd = rest.find_first_of("/?#");
    const auto at = rest.substr(0, authorityEnd).rfind('@');
    if (at != std::string_view::npos)
        rest.remove_prefix(at + 1);
    rest = rest.substr(0, rest.find_first_of("/?#"));

    if (!rest.empty() && rest.front() == '[') {
        const auto close = rest.find(']');
        // An unclosed bracket names no address.
        if (close == std::string_view::npos)
            return {};
        return TrimBlanks(rest.substr(1, close - 1));
    }
    if (std::count(rest.begin(), rest.end(), ':') == 1)
        rest = rest.substr(0, rest.find(':'));
    return TrimBlanks(rest);
}

bool IsWritableHost(std::string_view host) {
    return !host.empty() && host.find_first_of(std::string_view("\r\n\0", 3)) == std::string::npos;
}

std::optional<std::string> BlockLineFor(std::string_view entry) {
    const std::string_view host = BlockedHost(entry);
    if (!IsWritableHost(host))
        return std::nullopt;
    std::string line(BlockLinePrefix);
    line.append(host);
    return line;
}

bool IsBlockLine(std::string_view line) {
    return line.size() > BlockLinePrefix.size() && line.starts_with(BlockLinePrefix) &&
           Blanks.find(line[BlockLinePrefix.size()]) == std::string_view::npos;
}

std::string WithoutBlockLines(std::string_view content) {
    std::string kept;
    kept.reserve(content.size());
    ForEachLine(content, [&](std::string_view line) {
        if (!IsBlockLine(line))
            kept.append(line);
    });
    return kept;
}

bool EndsWithLineEnd(std::string_view content) {
    return content.empty() || content.back() == '\n';
}

BlockedHostSet::BlockedHostSet(std::string_view content) {
    hosts_.reserve(static_cast<std::size_t>(std::count(content.begin(), content.end(), '\n')) + 1);
    ForEachLine(content, [&](std::string_view line) {
        if (IsBlockLine(line))
            hosts_.insert(ComparableLine(line.substr(BlockLinePrefix.size())));
    });
}

void BlockedHostSet::insert(std::string_view host) {
    if (!contains(host))
        hosts_.insert(added_.emplace_back(host));
}

} // namespace palisade
