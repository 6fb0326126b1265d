#pragma once

#include "blocking/HelperRequest.h"
#include "platform/Ports.h"
#include "platform/PrivilegedHosts.h"

#include <string>
#include <vector>

namespace palisade {

// Where the privileged helper works; fixed by the helper itself, never by its caller.
struct HelperPlaces {
    std::string hostsFile;
    std::string dataFolder;
};

// The ports the helper's work reaches; it has no window, tray, timer or settings of the user's.
struct HelperPorts {
    FileSystem& fs;
    EventPump& pump;
    Autostart& autostart;
    SystemInfo& system;
    Clock& clock;
    HostsLock& hostsLock;
};

// Carries out one request of the privileged helper with the blocker's own rules, on a model of
// the window that nobody sees: the start of an administrator who may write the hosts file (under
// the hosts lock, a cut-short change settled first), the stop, or the startup registration with
// its marker. Invalid entries are skipped silently: the
// window has named them already.
//
// The answer's status is Done or Failed; its line is empty on success, otherwise the failure's
// message and its cause (a busy hosts file, a full disk, ...) as one line.
HelperAnswer RunHelperRequest(const HelperPorts& ports, const HelperPlaces& places,
                              const HelperRequest& request,
                              const std::vector<std::string>& entries);

} // namespace palisade
