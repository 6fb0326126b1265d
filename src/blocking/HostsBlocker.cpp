#include "blocking/HostsBlocker.h"

#include "blocking/BlockingFiles.h"
#include "blocking/HostsText.h"
#include "common/ErrorTrap.h"
#include "platform/FileHelpers.h"

#include <set>

namespace palisade {

HostsBlocker::HostsBlocker(Ports& ports, Form1Controls& controls, AppState& state, HostsPaths paths)
    : ports_(ports), c_(controls), state_(state), paths_(std::move(paths)) {}

std::string HostsBlocker::SnapshotPath() const {
    return JoinPath(ports_.system, state_.DataFolder, std::string(SnapshotName));
}

void HostsBlocker::ShowMessage(const std::string& text) {
    ports_.dialogs.messageBox(text, state_.AppTitle, MessageIcon::None);
}

void HostsBlocker::StartBlocking(bool reapply) {
    ErrorTrap trap(ports_.dialogs, "Form1", "StartBlocking");
    std::string hostsPath;
    bool failed = false;
    bool allOk = true;

    trap(100, [&] { hostsPath = paths_.hostsPath(); });
    trap(102, [&] { ports_.pump.doEvents(); });
    trap(104, [&] { failed = false; });
    // An existing snapshot was taken before any of our lines and is never replaced.
    if (reapply) {
        if (trap.when(106,
                      [&] { return state_.UserIsAdmin && !FileExists(ports_.fs, SnapshotPath()); }))
            trap(108, [&] { TakeSnapshot(hostsPath); });
    } else if (trap.when(110, [&] { return !FileExists(ports_.fs, SnapshotPath()); })) {
        trap(112, [&] { TakeSnapshot(hostsPath); });
    }
    if (trap.when(114, [&] { return state_.UserIsAdmin; })) {
        trap(116, [&] { allOk = true; });
        trap(118, [&] { allOk = AppendBlockLines(hostsPath); });
        if (trap.when(120, [&] { return !reapply && !allOk; })) {
            trap(122, [&] { c_.PushButton2.setCaption(state_.SavedBlockCaption); });
            trap(124, [&] { failed = true; });
            trap(126, [&] {
                ShowMessage(std::string(StartFailedText) + "\r\n" +
                            std::string(state_.texts().adminAdvice));
            });
        }
    }
    if (trap.when(128, [&] { return !failed; }))
        trap(130, [&] { c_.window.setState(WindowState::Minimized); });
}

void HostsBlocker::TakeSnapshot(const std::string& hostsPath) {
    ports_.fs.replaceFile(SnapshotPath(), ports_.fs.readFile(hostsPath));
}

std::optional<std::string> HostsBlocker::ReadIfPossible(const std::string& path) {
    try {
        if (FileExists(ports_.fs, path))
            return ports_.fs.readFile(path);
    } catch (...) {
        // An unreadable file is treated like a missing one.
    }
    return std::nullopt;
}

bool HostsBlocker::AppendBlockLines(const std::string& hostsPath) {
    const std::string lineEnd = ports_.system.lineEnd();
    const bool exists = FileExists(ports_.fs, hostsPath);
    const auto current = ReadIfPossible(hostsPath);
    // A file we could not read may end mid-line; a blank line costs nothing, a glued one
    // corrupts two entries.
    bool needLineEnd = exists && !(current && EndsWithLineEnd(*current));
    std::set<std::string> written;
    bool allOk = true;

    for (const auto& entry : c_.ListView1.items()) {
        const auto line = BlockLineFor(entry);
        if (!line) {
            allOk = false;
            continue;
        }
        const std::string key(ComparableLine(*line));
        if (written.count(key) || (current && HoldsLine(*current, key)))
            continue;
        if (AppendLineToFile(ports_.fs, hostsPath, needLineEnd ? lineEnd + *line : *line,
                             lineEnd)) {
            needLineEnd = false;
            written.insert(key);
        } else {
            allOk = false;
        }
    }
    return allOk;
}

void HostsBlocker::StopBlocking(bool quiet) {
    ErrorTrap trap(ports_.dialogs, "Form1", "StopBlocking");
    std::string target;
    bool haveSnapshot = false;
    std::optional<std::string> content;
    bool restored = false; // until shown otherwise the snapshot must stay

    if (trap.when(100, [&] { return state_.UserIsAdmin; })) {
        trap(102, [&] { target = paths_.restoreTarget(); });
        trap(104, [&] { haveSnapshot = FileExists(ports_.fs, SnapshotPath()); });
        trap(106, [&] { restored = RestoredContent(target, haveSnapshot, content); });
        if (trap.when(108, [&] { return content.has_value(); }))
            trap(110, [&] { restored = TryReplaceFile(ports_.fs, target, *content); });
        if (trap.when(112, [&] { return !restored; })) {
            trap(114, [&] {
                ShowMessage(std::string(RestoreFailedText) + "\r\n" +
                            std::string(state_.texts().adminAdvice));
            });
        } else if (trap.when(116, [&] { return haveSnapshot; })) {
            trap(118, [&] { RemoveFile(ports_.fs, ports_.pump, SnapshotPath()); });
        }
        trap(120, [&] { c_.PushButton2.setCaption(state_.SavedBlockCaption); });
    } else if (trap.when(122, [&] { return !quiet; })) {
        trap(124, [&] { ShowMessage(std::string(state_.texts().stopRefused)); });
    }
    trap(126, [&] { ports_.pump.doEvents(); });
}

bool HostsBlocker::RestoredContent(const std::string& target, bool haveSnapshot,
                                   std::optional<std::string>& content) {
    content.reset();
    const auto snapshot = haveSnapshot ? ReadIfPossible(SnapshotPath()) : std::nullopt;
    const auto current = ReadIfPossible(target);
    if (!current) {
        content = snapshot;
        return snapshot || !haveSnapshot;
    }
    std::string kept = WithoutBlockLines(*current);
    // A start puts a line end before its first line when the file may lack one; with nothing
    // after it, it goes again.
    if (snapshot && kept.starts_with(*snapshot)) {
        const std::string_view tail = std::string_view(kept).substr(snapshot->size());
        if (tail == "\r\n" || tail == "\n")
            kept = *snapshot;
    }
    if (kept != *current)
        content = std::move(kept);
    return true;
}

} // namespace palisade
