#include "blocking/HostsText.h"

#include <algorithm>

namespace palisade {

namespace {

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

} // namespace

std::string BlockedHost(const std::string& entry) {
    std::string_view rest = entry;
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
        return std::string(rest.substr(1, close - 1));
    }
    if (std::count(rest.begin(), rest.end(), ':') == 1)
        rest = rest.substr(0, rest.find(':'));
    return std::string(rest);
}

std::optional<std::string> BlockLineFor(const std::string& entry) {
    const std::string host = BlockedHost(entry);
    if (host.empty() || host.find_first_of(std::string_view("\r\n\0", 3)) != std::string::npos)
        return std::nullopt;
    return std::string(BlockLinePrefix) + host;
}

std::string_view ComparableLine(std::string_view line) {
    const auto last = line.find_last_not_of(" \t\r\n");
    return last == std::string_view::npos ? std::string_view() : line.substr(0, last + 1);
}

bool HoldsLine(std::string_view content, std::string_view line) {
    const auto wanted = ComparableLine(line);
    bool found = false;
    ForEachLine(content, [&](std::string_view l) { found = found || ComparableLine(l) == wanted; });
    return found;
}

bool EndsWithLineEnd(std::string_view content) {
    return content.empty() || content.back() == '\n';
}

std::string WithoutBlockLines(std::string_view content) {
    std::string kept;
    kept.reserve(content.size());
    ForEachLine(content, [&](std::string_view line) {
        if (!line.starts_with(BlockLinePrefix))
            kept.append(line);
    });
    return kept;
}

} // namespace palisade
