#pragma once

#include "blocking/Blocking.h"
#include "blocking/HostsPaths.h"
#include "common/AppState.h"
#include "platform/Ports.h"
#include "ui/model/Form1Controls.h"

#include <optional>
#include <string>
#include <string_view>
#include <unordered_set>
#include <vector>

namespace palisade {

inline constexpr std::string_view SnapshotName = "hosts";
inline constexpr std::string_view StartFailedText = "Could not start blocking.";
inline constexpr std::string_view RestoreFailedText = "Could not restore settings.";
inline constexpr std::string_view SkippedEntriesText =
    "These entries were not blocked because they are not host names or IP addresses:";
// How many of them the message names; it counts the rest.
inline constexpr std::size_t SkippedEntriesShown = 10;
// Both are followed by the platform's advice on running as administrator (AppState::texts()).

// Blocks the listed sites through the hosts file and unblocks them again. The snapshot in the
// data folder keeps the hosts file as it was before the first block line was written.
class HostsBlocker : public Blocking {
public:
    HostsBlocker(Ports& ports, Form1Controls& controls, AppState& state, HostsPaths paths);
    HostsBlocker(const HostsBlocker&) = delete;
    HostsBlocker& operator=(const HostsBlocker&) = delete;

    void StartBlocking(bool reapply) override;
    void StopBlocking(bool quiet, StopRequest request) override;
    void SettleInterruptedChange() override;

    std::string SnapshotPath() const;
    std::string JournalPath() const;
    std::string HostsPath() const { return paths_.hostsPath(); }

    // The entries a start passed over: neither blank nor a host name or IP address.
    struct Skipped {
        std::vector<std::string> shown; // the first few, as the message shows them
        std::size_t count = 0;
    };
    // The entries at positions (from 0), as the message names them.
    static Skipped SkippedOf(const std::vector<std::string>& entries,
                             const std::vector<std::size_t>& positions);
    static std::string SkippedText(const Skipped& skipped);

private:
    // What a file held when it was looked at.
    struct FileContent {
        enum State { Missing, Unreadable, Read } state = Missing;
        std::string bytes;
    };

    // Copies the hosts file to the snapshot, complete or not at all. Throws when the hosts file
    // cannot be read or the snapshot not written. A re-apply's snapshot leaves out the block
    // lines of the list's hosts: blocking was on, so they are most likely ours.
    void TakeSnapshot(const std::string& hostsPath, bool reapply);
    // Appends the block line of every host the list names that the hosts file does not already
    // hold, in one append flushed to the disk, and notes the entries that name none. True when
    // every host is in the hosts file afterwards.
    bool AppendBlockLines(const std::string& hostsPath, Skipped& skipped);
    // Sets content to what the restore target should hold after unblocking, or to nothing when
    // it is to stay as it is. False when that cannot be worked out: a snapshot that cannot be
    // read, or a hosts file that is there but unreadable with no snapshot to stand in for it.
    bool RestoredContent(const std::string& target, bool haveSnapshot, StopRequest request,
                         std::optional<std::string>& content);
    // The hosts the list's entries name, as views into the list.
    std::unordered_set<std::string_view> ListHosts() const;
    FileContent Inspect(const std::string& path);
    void ShowMessage(const std::string& text);

    Ports& ports_;
    Form1Controls& c_;
    AppState& state_;
    HostsPaths paths_;
};

} // namespace palisade
