#pragma once

#include <string>
#include <vector>

namespace palisade {

// What the privileged helper answered: its exit status and the one line it printed.
struct HelperAnswer {
    int status = 0;
    std::string line;
};

// The helper's exit statuses, and the launcher's own beside them.
namespace helper_status {
inline constexpr int Done = 0;
inline constexpr int Failed = 1;      // the change failed; the line says why
inline constexpr int Refused = 2;     // a request it does not take: bad arguments, over the limits
inline constexpr int NotRoot = 3;     // started without root's rights
inline constexpr int Dismissed = 126; // the password dialog was dismissed
inline constexpr int NoAgent = 127;   // nothing could ask for a password, or not authorised
inline constexpr int Missing = -1; // the helper is not there; the line is where it was looked for
inline constexpr int NotRun = -2;  // it could not be started; the line says why
} // namespace helper_status

// The writes that need root, done by a small helper program that the system authorises, for a
// window that runs as its user. Each call waits for the helper, letting window events run.
class PrivilegedHosts {
public:
    virtual ~PrivilegedHosts() = default;

    // Appends the block lines of entries (each a host name or address) to the hosts file; on a
    // re-apply the snapshot is taken only when there is none.
    virtual HelperAnswer start(const std::vector<std::string>& entries, bool reapply) = 0;
    // Puts the hosts file back. entries are the list's, for a stop with no snapshot to go by.
    virtual HelperAnswer stop(const std::vector<std::string>& entries, bool atClose) = 0;
    // Writes or removes the machine-wide autostart entry and the startup marker.
    virtual HelperAnswer autostart(bool on) = 0;
};

} // namespace palisade
