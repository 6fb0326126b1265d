#pragma once

#include "blocking/Blocking.h"
#include "blocking/HostsBlocker.h"
#include "common/AppState.h"
#include "platform/Ports.h"
#include "platform/PrivilegedHosts.h"
#include "ui/model/Form1Controls.h"

#include <string>
#include <string_view>
#include <vector>

namespace palisade {

inline constexpr std::string_view NoAuthenticationAgentText =
    "No authentication agent is running: start this program from your desktop's menu, or with "
    "sudo";
inline constexpr std::string_view HelperMissingText =
    "The program that writes the hosts file for this one is missing; it was looked for at ";

// What the user is told after a helper's answer to a request that failedText names: the empty
// text for success and for a password dialog the user dismissed.
std::string HelperMessage(const HelperAnswer& answer, std::string_view failedText);

// Blocking for an administrator whose window runs without root's rights: the writes go through
// the privileged helper, which asks for an administrator's password. Everybody else, and a
// program without a helper, blocks in process as before.
class PrivilegedBlocker : public Blocking {
public:
    // helper may be null: the program writes the hosts file itself, or nobody does.
    PrivilegedBlocker(Ports& ports, Form1Controls& controls, AppState& state,
                      PrivilegedHosts* helper, HostsBlocker& inProcess);
    PrivilegedBlocker(const PrivilegedBlocker&) = delete;
    PrivilegedBlocker& operator=(const PrivilegedBlocker&) = delete;

    void StartBlocking(bool reapply) override;
    void StopBlocking(bool quiet, StopRequest request) override;
    // The helper settles a cut-short change itself at its next run; nothing asks for a password
    // just for that.
    void SettleInterruptedChange() override;

private:
    bool UsesHelper() const { return helper_ != nullptr && state_.UserIsAdmin; }
    // The hosts the entries name, all the helper is sent (no entry's other bytes can reach its
    // input); the positions of the entries that name none go to skipped.
    std::vector<std::string> HostEntries(std::vector<std::size_t>& skipped) const;
    // Whether a listed host has no block line in the hosts file, which anybody may read. When it
    // cannot be read, the helper is asked all the same.
    bool SomethingToAdd(const std::vector<std::string>& entries);
    void ShowMessage(const std::string& text);

    Ports& ports_;
    Form1Controls& c_;
    AppState& state_;
    PrivilegedHosts* helper_;
    HostsBlocker& inProcess_;
};

} // namespace palisade
