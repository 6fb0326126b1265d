#pragma once

#include "platform/LineSource.h"

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace palisade {

// The block lines a start appends for a list: one for each host the list names, at the first
// entry that names it, unless the hosts file holds that line already; with a line end before
// them when the file needs one. Made a piece at a time as the file system asks for them, so that
// a long list needs no second copy of itself in memory.
class BlockLines : public LineSource {
public:
    // Keeps a reference to entries, which must outlive it.
    BlockLines(const std::vector<std::string>& entries, std::string_view hostsFile,
               std::string lineEnd, bool lineEndFirst);

    std::size_t size() const override { return size_; }
    bool next(std::string_view& piece) override;

    // The positions (from 0) of the entries that are neither blank nor a host name or address.
    const std::vector<std::size_t>& skipped() const { return skipped_; }

private:
    // An entry with a host, packed small: a long list has many.
    struct Host {
        std::uint32_t entry; // a list in memory holds far fewer than 2^32
        std::uint32_t slot;  // of its hash, with PlainName set when the entry is the host as is
    };
    static constexpr std::uint32_t PlainName = std::uint32_t{1} << 31;

    // Picks the hosts that get a line and counts their bytes.
    void choose(std::string_view hostsFile);
    std::string_view hostOf(Host host) const;

    const std::vector<std::string>& entries_;
    std::string lineEnd_;
    bool lineEndFirst_;
    std::vector<Host> hosts_; // in list order
    std::vector<std::size_t> skipped_;
    std::size_t size_ = 0;
    std::size_t next_ = 0; // the host the next piece starts at
    std::string piece_;
};

} // namespace palisade
