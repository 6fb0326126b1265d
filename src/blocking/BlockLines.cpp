#include "blocking/BlockLines.h"

#include "blocking/HostsText.h"

#include <algorithm>
#include <functional>
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
    // A list seldom names a host twice. Its hashes, sorted, show the few that may repeat, and
    // only those are compared by text: far less memory than a table of every host.
    std::vector<std::size_t> hashes;
    for (std::size_t i = 0; i < entries_.size(); ++i) {
        if (IsBlankEntry(entries_[i]))
            continue; // nothing to block, nothing to tell
        const std::string_view host = BlockedHost(entries_[i]);
        if (!IsHostOrAddress(host)) {
            skipped_.push_back(i);
            continue;
        }
        kinds_[i] = Host;
        hashes.push_back(hash(host));
    }
    std::sort(hashes.begin(), hashes.end());
    std::vector<std::size_t> repeated;
    for (std::size_t i = 1; i < hashes.size(); ++i)
        if (hashes[i] == hashes[i - 1] && (repeated.empty() || repeated.back() != hashes[i]))
            repeated.push_back(hashes[i]);
    hashes = {};

    BlockedHostIndex present(hostsFile);
    std::unordered_set<std::string_view> seen; // of the hosts that may repeat
    for (std::size_t i = 0; i < entries_.size(); ++i) {
        if (kinds_[i] != Host)
            continue;
        const std::string_view host = BlockedHost(entries_[i]);
        if (!repeated.empty() && std::binary_search(repeated.begin(), repeated.end(), hash(host)) &&
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
