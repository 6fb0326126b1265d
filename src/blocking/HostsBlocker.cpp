#include "blocking/HostsBlocker.h"

#include "blocking/BlockLines.h"
#include "blocking/BlockingFiles.h"
#include "blocking/HostsText.h"
#include "platform/FileHelpers.h"
#include "platform/HostsLockHold.h"
#include "settings/Settings.h"
#include "ui/ErrorTrap.h"

#include <algorithm>
#include <unordered_set>

namespace palisade {

HostsBlocker::HostsBlocker(Ports& ports, Form1Controls& controls, AppState& state, HostsPaths paths)
    : ports_(ports), c_(controls), state_(state), paths_(std::move(paths)) {}

std::string HostsBlocker::SnapshotPath() const {
    return JoinPath(ports_.system, state_.DataFolder, std::string(SnapshotName));
}

std::string HostsBlocker::JournalPath() const {
    return JournalPathFor(SnapshotPath());
}

namespace {

// An entry as a message line shows it: control characters, which would break the line or the
// box, as '?', and a long one cut short (at the start of a character, for UTF-8 texts).
std::string Shown(std::string_view entry) {
    constexpr std::size_t Longest = 80;
    std::string shown(entry.substr(0, Longest));
    if (entry.size() > Longest) {
        while (!shown.empty() && (static_cast<unsigned char>(shown.back()) & 0xC0) == 0x80)
            shown.pop_back();
        if (!shown.empty() && static_cast<unsigned char>(shown.back()) >= 0xC0)
            shown.pop_back();
        shown += "...";
    }
    for (char& c : shown)
        if (static_cast<unsigned char>(c) < 0x20 || c == 0x7F)
            c = '?';
    return shown;
}

} // namespace

HostsBlocker::Skipped HostsBlocker::SkippedOf(const std::vector<std::string>& entries,
                                              const std::vector<std::size_t>& positions) {
    Skipped skipped;
    skipped.count = positions.size();
    for (std::size_t i = 0; i < std::min(skipped.count, SkippedEntriesShown); ++i)
        skipped.shown.push_back(Shown(entries[positions[i]]));
    return skipped;
}

std::string HostsBlocker::SkippedText(const Skipped& skipped) {
    std::string text(SkippedEntriesText);
    for (const auto& entry : skipped.shown)
        text.append("\r\n").append(entry);
    if (skipped.count > skipped.shown.size())
        text.append("\r\n...and ")
            .append(std::to_string(skipped.count - skipped.shown.size()))
            .append(" more.");
    return text;
}

void HostsBlocker::ShowMessage(const std::string& text) {
    ports_.dialogs.messageBox(text, state_.AppTitle, MessageIcon::None);
}

void HostsBlocker::StartBlocking(bool reapply) {
    ErrorTrap trap(ports_.dialogs, "Form1", "StartBlocking");
    HostsLockHold lock(ports_.hostsLock, ports_.pump, ports_.clock);
    std::string hostsPath;
    bool failed = false;
    bool allOk = true;
    Skipped skipped;
    Settings settings(ports_.settings);
    std::optional<std::string> intentBefore; // "BlockOnStart" before this start set it

    trap(100, [&] { hostsPath = paths_.hostsPath(); });
    trap(102, [&] { ports_.pump.doEvents(); });
    trap(104, [&] { failed = false; });
    // Copies of the program in other sessions never interleave their hosts-file work with ours.
    // A re-apply by a non-administrator writes nothing and needs no lock.
    if (trap.when(106, [&] { return state_.UserIsAdmin || !reapply; }))
        trap(108, [&] { allOk = lock.acquire(state_.DataFolder); });
    if (trap.when(110, [&] { return lock.held(); })) {
        // A change of the hosts file that a kill cut short is settled before anything else.
        bool settled = true;
        if (trap.when(112, [&] { return state_.UserIsAdmin; }))
            trap(114, [&] { allOk = settled = TryFinishJournal(ports_.fs, JournalPath()); });
        if (trap.when(116, [&] { return settled; })) {
            // An existing snapshot was taken before any of our lines and is never replaced.
            if (reapply) {
                if (trap.when(118, [&] {
                        return state_.UserIsAdmin && !FileExists(ports_.fs, SnapshotPath());
                    }))
                    trap(120, [&] { TakeSnapshot(hostsPath, true); });
            } else if (trap.when(122, [&] { return !FileExists(ports_.fs, SnapshotPath()); })) {
                trap(124, [&] { TakeSnapshot(hostsPath, false); });
            }
            if (trap.when(126, [&] { return state_.UserIsAdmin; })) {
                // The intent goes first: a kill from here on leaves a state that the next start
                // completes as asked. A re-apply finds it recorded already.
                if (trap.when(128, [&] { return !reapply; })) {
                    trap(130, [&] { intentBefore = settings.read(keys::BlockOnStart); });
                    trap(132, [&] { settings.write(keys::BlockOnStart, "1"); });
                }
                trap(134, [&] { allOk = AppendBlockLines(hostsPath, skipped); });
                if (trap.when(136, [&] { return !allOk && intentBefore.has_value(); }))
                    trap(138, [&] { settings.write(keys::BlockOnStart, *intentBefore); });
            }
        }
    }
    trap(140, [&] { lock.release(); });
    if (trap.when(142, [&] { return !reapply && !allOk; })) {
        trap(144, [&] { c_.PushButton2.setCaption(state_.SavedBlockCaption); });
        trap(146, [&] { failed = true; });
        trap(148, [&] {
            ShowMessage(std::string(StartFailedText) + "\r\n" +
                        std::string(state_.texts().adminAdvice));
        });
    } else if (trap.when(150, [&] { return !reapply && skipped.count != 0; })) {
        trap(152, [&] { ShowMessage(SkippedText(skipped)); });
    }
    if (trap.when(154, [&] { return !failed; }))
        trap(156, [&] { c_.window.setState(WindowState::Minimized); });
}

void HostsBlocker::TakeSnapshot(const std::string& hostsPath, bool reapply) {
    std::string bytes = ports_.fs.readFile(hostsPath);
    if (reapply)
        bytes = WithoutBlockLinesFor(bytes, ListHosts());
    ports_.fs.replaceFile(SnapshotPath(), bytes);
}

std::unordered_set<std::string_view> HostsBlocker::ListHosts() const {
    std::unordered_set<std::string_view> hosts;
    for (const auto& entry : c_.ListView1.items())
        if (const std::string_view host = BlockedHost(entry); IsHostOrAddress(host))
            hosts.insert(host);
    return hosts;
}

HostsBlocker::FileContent HostsBlocker::Inspect(const std::string& path) {
    try {
        if (FileExists(ports_.fs, path))
            return {FileContent::Read, ports_.fs.readFile(path)};
    } catch (...) {
        return {FileContent::Unreadable, {}};
    }
    // Something that is there but cannot be opened as a file is not a missing file.
    return {PathExists(ports_.fs, path) ? FileContent::Unreadable : FileContent::Missing, {}};
}

bool HostsBlocker::AppendBlockLines(const std::string& hostsPath, Skipped& skipped) {
    const FileContent current = Inspect(hostsPath);
    // A file we could not read may end mid-line; a blank line costs nothing, a glued one
    // corrupts two entries.
    const bool needLineEnd =
        current.state == FileContent::Unreadable ||
        (current.state == FileContent::Read && !EndsWithLineEnd(current.bytes));
    const auto& entries = c_.ListView1.items();
    BlockLines lines(entries, current.bytes, ports_.system.lineEnd(), needLineEnd);
    skipped = SkippedOf(entries, lines.skipped());
    // One open, one flush; a failure leaves none of the lines.
    return lines.size() == 0 || TryAppendLines(ports_.fs, hostsPath, lines, JournalPath());
}

void HostsBlocker::StopBlocking(bool quiet, StopRequest request) {
    ErrorTrap trap(ports_.dialogs, "Form1", "StopBlocking");
    HostsLockHold lock(ports_.hostsLock, ports_.pump, ports_.clock);
    std::string target;
    bool haveSnapshot = false;
    bool haveJournal = false;
    std::optional<std::string> content;
    bool restored = false; // until shown otherwise the snapshot must stay
    Settings settings(ports_.settings);
    std::optional<std::string> intentBefore; // "BlockOnStart" before this stop set it

    if (trap.when(100, [&] { return state_.UserIsAdmin; })) {
        // The intent goes first: a kill from here on leaves a state that the next close
        // completes as asked.
        trap(102, [&] { intentBefore = settings.read(keys::BlockOnStart); });
        trap(104, [&] { settings.write(keys::BlockOnStart, "0"); });
        trap(106, [&] { target = paths_.restoreTarget(); });
        trap(108, [&] { haveSnapshot = FileExists(ports_.fs, SnapshotPath()); });
        trap(110, [&] { haveJournal = PathExists(ports_.fs, JournalPath()); });
        trap(112, [&] { restored = RestoredContent(target, haveSnapshot, request, content); });
        // With nothing to undo (the close handler stops at every close while blocking is off),
        // there is no need to wait for another copy's lock.
        if (trap.when(114, [&] {
                return haveSnapshot || haveJournal || !restored || content.has_value();
            })) {
            trap(116, [&] { restored = lock.acquire(state_.DataFolder); });
            if (trap.when(118, [&] { return lock.held(); })) {
                // A change that a kill cut short is settled first; then, again under the lock,
                // what another copy may have changed meanwhile is looked at anew.
                trap(120, [&] { restored = TryFinishJournal(ports_.fs, JournalPath()); });
                if (trap.when(122, [&] { return restored; })) {
                    trap(124, [&] { haveSnapshot = FileExists(ports_.fs, SnapshotPath()); });
                    trap(126, [&] {
                        restored = RestoredContent(target, haveSnapshot, request, content);
                    });
                }
                if (trap.when(128, [&] { return restored && content.has_value(); }))
                    trap(130, [&] {
                        restored = TryReplaceFile(ports_.fs, target, *content, JournalPath());
                    });
                if (trap.when(132, [&] { return restored && haveSnapshot; }))
                    trap(134, [&] { RemoveFile(ports_.fs, ports_.pump, SnapshotPath()); });
            }
            trap(136, [&] { lock.release(); });
        }
        if (trap.when(138, [&] { return !restored; })) {
            if (trap.when(140, [&] { return intentBefore.has_value(); }))
                trap(142, [&] { settings.write(keys::BlockOnStart, *intentBefore); });
            trap(144, [&] {
                ShowMessage(std::string(RestoreFailedText) + "\r\n" +
                            std::string(state_.texts().adminAdvice));
            });
        }
        trap(146, [&] { c_.PushButton2.setCaption(state_.SavedBlockCaption); });
    } else if (trap.when(148, [&] {
                   // At close there is something to stop only when a start left its snapshot.
                   return !quiet && (request == StopRequest::BlockButton ||
                                     FileExists(ports_.fs, SnapshotPath()));
               })) {
        trap(150, [&] { ShowMessage(std::string(state_.texts().stopRefused)); });
    }
    trap(152, [&] { ports_.pump.doEvents(); });
}

void HostsBlocker::SettleInterruptedChange() {
    if (!state_.UserIsAdmin || !PathExists(ports_.fs, JournalPath()))
        return;
    HostsLockHold lock(ports_.hostsLock, ports_.pump, ports_.clock);
    // Should this fail, the next start or stop tries again and says so.
    if (lock.acquire(state_.DataFolder))
        TryFinishJournal(ports_.fs, JournalPath());
}

bool HostsBlocker::RestoredContent(const std::string& target, bool haveSnapshot,
                                   StopRequest request, std::optional<std::string>& content) {
    content.reset();
    // Without a snapshot nothing shows which lines a start wrote: the close leaves the file as it
    // is, and the block button takes out only the lines of the list's hosts.
    if (!haveSnapshot && request == StopRequest::Close)
        return true;
    const FileContent snapshot = haveSnapshot ? Inspect(SnapshotPath()) : FileContent{};
    if (haveSnapshot && snapshot.state != FileContent::Read)
        return false; // which lines were there before cannot be told
    const FileContent current = Inspect(target);

    if (current.state == FileContent::Read) {
        std::string kept = haveSnapshot ? UnblockedHosts(current.bytes, snapshot.bytes)
                                        : WithoutBlockLinesFor(current.bytes, ListHosts());
        if (kept != current.bytes)
            content = std::move(kept);
        return true;
    }
    if (haveSnapshot) {
        content = snapshot.bytes;
        return true;
    }
    // Only a hosts file that is not there, with no snapshot, has nothing that may be blocked.
    return current.state == FileContent::Missing;
}

} // namespace palisade
