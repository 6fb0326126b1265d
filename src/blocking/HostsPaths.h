#pragma once

#include "platform/SystemInfo.h"

#include <functional>
#include <string>

namespace palisade {

// Where the hosts file is. Blocking appends to hostsPath; unblocking reads and writes
// restoreTarget. Both are worked out each time they are needed, as the system reports them then.
struct HostsPaths {
    std::function<std::string()> hostsPath;
    std::function<std::string()> restoreTarget;
};

// Windows: the hosts path from the system directory, the restore target from %WINDIR%. On a
// standard installation both name the same file.
HostsPaths WindowsHostsPaths(SystemInfo& system);

// One fixed path for both, as on Linux.
HostsPaths FixedHostsPaths(std::string path);

// The Linux hosts file: "/etc/hosts".
std::string LinuxHostsFile();

// The shared program-data folder's vendor folder ("Quillmoor"), and the program's own data folder
// in it, where the snapshot of the hosts file and the start-up marker are kept.
std::string VendorDataFolder(SystemInfo& system);
std::string ProgramDataFolder(SystemInfo& system);

} // namespace palisade
