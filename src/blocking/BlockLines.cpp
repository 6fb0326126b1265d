#include "blocking/BlockLines.h"

#include "blocking/HostsText.h"

#include <algorithm>
#include <functional>
#include <limits>
#include <unordered_set>

namespace palisade {

BlockLines::BlockLines(const std::vector<std::string>& entries, std::string_view hostsFile,
                       std::string lineEnd, bool lineEndFirst)
    : entries_(entries), lineEnd_(std::move(lineEnd)), lineEndFirst_(lineEndFirst),
      kinds_(entries.size(), NoHost) {
    choose(hostsFile);
}

void BlockLines::choose(std::string_view hostsFile) {
    const std::hash<std::string_view> hash;
    // A list seldom names a host twice. A bit for each hash, sixteen times as many as entries,
    // shows the few hosts that may repeat, and only those are compared by text: far less memory,
    // and far less time, than a table of every host.
    unsigned bits = 16;
    while ((std::size_t{1} << bits) < entries_.size() * 16 && bits < 30)
        ++bits;
    const auto slot = [&](std::string_view host) {
        return hash(host) >> (std::numeric_limits<std::size_t>::digits - bits);
    };
    std::vector<std::uint64_t> filter(((std::size_t{1} << bits) + 63) / 64);
    std::vector<std::size_t> twice; // the slots more than one host fell in
    for (std::size_t i = 0; i < entries_.size(); ++i) {
        if (IsBlankEntry(entries_[i]))
            continue; // nothing to block, nothing to tell
        const std::string_view host = BlockedHost(entries_[i]);
        if (!IsHostOrAddress(host)) {
            skipped_.push_back(i);
            continue;
        }
        kinds_[i] = Host;
        const std::size_t at = slot(host);
        std::uint64_t& word = filter[at / 64];
        const std::uint64_t bit = std::uint64_t{1} << (at % 64);
        if (word & bit)
            twice.push_back(at);
        word |= bit;
    }
    filter = {};
    std::sort(twice.begin(), twice.end());

    BlockedHostIndex present(hostsFile);
    std::unordered_set<std::string_view> seen; // of the hosts that may repeat
    for (std::size_t i = 0; i < entries_.size(); ++i) {
        if (kinds_[i] != Host)
            continue;
        const std::string_view host = BlockedHost(entries_[i]);
        if (!twice.empty() && std::binary_search(twice.begin(), twice.end(), slot(host)) &&
            !seen.insert(host).second)
            continue;
        if (present.contains(host))
            continue;
        kinds_[i] = Written;
        size_ += BlockLinePrefix.size() + host.size() + lineEnd_.size();
    }
    if (size_ == 0)
        lineEndFirst_ = false;
    if (lineEndFirst_)
        size_ += lineEnd_.size();
}

bool BlockLines::next(std::string_view& piece) {
    piece_.clear();
    if (lineEndFirst_) {
        piece_.append(lineEnd_);
        lineEndFirst_ = false;
    }
    for (; next_ < entries_.size() && piece_.size() < LinePieceSize; ++next_)
        if (kinds_[next_] == Written)
            piece_.append(BlockLinePrefix).append(BlockedHost(entries_[next_])).append(lineEnd_);
    piece = piece_;
    return !piece_.empty();
}

} // namespace palisade
