#include "blocking/PrivilegedBlocker.h"

#include "blocking/BlockLines.h"
#include "blocking/HostsText.h"
#include "platform/FileHelpers.h"
#include "settings/Settings.h"
#include "ui/ErrorTrap.h"

#include <optional>

namespace palisade {

std::string HelperMessage(const HelperAnswer& answer, std::string_view failedText) {
    namespace hs = helper_status;
    switch (answer.status) {
    case hs::Done:
    case hs::Dismissed:
        return {};
    case hs::NoAgent:
        return std::string(NoAuthenticationAgentText);
    case hs::Missing:
        return std::string(failedText) + "\r\n" + std::string(HelperMissingText) + answer.line +
               ".";
    default:
        break;
    }
    // The helper's own line names the failure already; anything else is put under it.
    if (answer.line.starts_with(failedText))
        return answer.line;
    return answer.line.empty() ? std::string(failedText)
                               : std::string(failedText) + "\r\n" + answer.line;
}

PrivilegedBlocker::PrivilegedBlocker(Ports& ports, Form1Controls& controls, AppState& state,
                                     PrivilegedHosts* helper, HostsBlocker& inProcess)
    : ports_(ports), c_(controls), state_(state), helper_(helper), inProcess_(inProcess) {}

void PrivilegedBlocker::ShowMessage(const std::string& text) {
    if (!text.empty())
        ports_.dialogs.messageBox(text, state_.AppTitle, MessageIcon::None);
}

std::vector<std::string> PrivilegedBlocker::HostEntries(std::vector<std::size_t>& skipped) const {
    const auto& entries = c_.ListView1.items();
    std::vector<std::string> hosts;
    for (std::size_t i = 0; i < entries.size(); ++i) {
        if (IsBlankEntry(entries[i]))
            continue;
        if (const std::string_view host = BlockedHost(entries[i]); IsHostOrAddress(host))
            hosts.emplace_back(host);
        else
            skipped.push_back(i);
    }
    return hosts;
}

bool PrivilegedBlocker::SomethingToAdd(const std::vector<std::string>& entries) {
    std::string hosts;
    try {
        hosts = ports_.fs.readFile(inProcess_.HostsPath());
    } catch (...) {
        return true;
    }
    return BlockLines(entries, hosts, ports_.system.lineEnd(), false).size() != 0;
}

void PrivilegedBlocker::StartBlocking(bool reapply) {
    if (!UsesHelper()) {
        inProcess_.StartBlocking(reapply);
        return;
    }
    ErrorTrap trap(ports_.dialogs, "Form1", "StartBlocking");
    Settings settings(ports_.settings);
    std::optional<std::string> intentBefore;
    std::vector<std::string> hosts; // what the list names, as the helper takes it
    HostsBlocker::Skipped skipped;
    HelperAnswer answer;
    bool failed = false;

    trap(100, [&] { ports_.pump.doEvents(); });
    trap(102, [&] {
        std::vector<std::size_t> positions;
        hosts = HostEntries(positions);
        skipped = HostsBlocker::SkippedOf(c_.ListView1.items(), positions);
    });
    // A log-in with blocking on asks for no password when every line is there already.
    if (trap.when(104, [&] { return !reapply || SomethingToAdd(hosts); })) {
        // The intent goes first, as when the program writes the hosts file itself.
        if (trap.when(106, [&] { return !reapply; })) {
            trap(108, [&] { intentBefore = settings.read(keys::BlockOnStart); });
            trap(110, [&] { settings.write(keys::BlockOnStart, "1"); });
        }
        trap(112, [&] { answer = helper_->start(hosts, reapply); });
        if (trap.when(114, [&] { return answer.status != helper_status::Done; })) {
            if (trap.when(116, [&] { return intentBefore.has_value(); }))
                trap(118, [&] { settings.write(keys::BlockOnStart, *intentBefore); });
            // A re-apply's failure is not reported: the next start tries again.
            if (trap.when(120, [&] { return !reapply; })) {
                trap(122, [&] { c_.PushButton2.setCaption(state_.SavedBlockCaption); });
                trap(124, [&] { failed = true; });
                trap(126, [&] { ShowMessage(HelperMessage(answer, StartFailedText)); });
            }
        } else if (trap.when(128, [&] { return !reapply && skipped.count != 0; })) {
            trap(130, [&] { ShowMessage(HostsBlocker::SkippedText(skipped)); });
        }
    }
    if (trap.when(132, [&] { return !failed; }))
        trap(134, [&] { c_.window.setState(WindowState::Minimized); });
}

void PrivilegedBlocker::StopBlocking(bool quiet, StopRequest request) {
    if (!UsesHelper()) {
        inProcess_.StopBlocking(quiet, request);
        return;
    }
    ErrorTrap trap(ports_.dialogs, "Form1", "StopBlocking");
    Settings settings(ports_.settings);
    std::optional<std::string> intentBefore;
    HelperAnswer answer;

    // At close there is something to undo only when a start left its snapshot or a change its
    // journal: no password is asked for at every close.
    if (trap.when(100, [&] {
            return request == StopRequest::BlockButton ||
                   PathExists(ports_.fs, inProcess_.SnapshotPath()) ||
                   PathExists(ports_.fs, inProcess_.JournalPath());
        })) {
        trap(102, [&] { intentBefore = settings.read(keys::BlockOnStart); });
        trap(104, [&] { settings.write(keys::BlockOnStart, "0"); });
        trap(106, [&] {
            std::vector<std::size_t> positions;
            answer = helper_->stop(HostEntries(positions), request == StopRequest::Close);
        });
        if (trap.when(108, [&] { return answer.status != helper_status::Done; })) {
            if (trap.when(110, [&] { return intentBefore.has_value(); }))
                trap(112, [&] { settings.write(keys::BlockOnStart, *intentBefore); });
            trap(114, [&] { ShowMessage(HelperMessage(answer, RestoreFailedText)); });
        }
    }
    // A dismissed password dialog changes nothing: blocking stays on.
    if (trap.when(116, [&] { return answer.status != helper_status::Dismissed; }))
        trap(118, [&] { c_.PushButton2.setCaption(state_.SavedBlockCaption); });
    trap(120, [&] { ports_.pump.doEvents(); });
}

void PrivilegedBlocker::SettleInterruptedChange() {
    if (!UsesHelper())
        inProcess_.SettleInterruptedChange();
}

} // namespace palisade
