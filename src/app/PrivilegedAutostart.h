#pragma once

#include "common/AppState.h"
#include "platform/Autostart.h"
#include "platform/PrivilegedHosts.h"

namespace palisade {

// The startup registration of an administrator whose window runs without root's rights: the
// helper writes the machine-wide entry and the startup marker together. Everybody else registers
// in process as before.
class PrivilegedAutostart : public Autostart {
public:
    // helper may be null: the program registers itself, or nobody can.
    PrivilegedAutostart(Autostart& inProcess, PrivilegedHosts* helper, const AppState& state)
        : inProcess_(inProcess), helper_(helper), state_(state) {}

    bool EnableWindowsStartup() override { return Change(true); }
    bool DisableWindowsStartup() override { return Change(false); }
    bool keepsMarker() const override { return UsesHelper(); }
    std::optional<std::string> failureMessage() override;

private:
    bool UsesHelper() const { return helper_ != nullptr && state_.UserIsAdmin; }
    bool Change(bool on);

    Autostart& inProcess_;
    PrivilegedHosts* helper_;
    const AppState& state_;
    HelperAnswer last_;
};

} // namespace palisade
