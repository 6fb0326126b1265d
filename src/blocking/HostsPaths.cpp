#include "blocking/HostsPaths.h"

#include "blocking/BlockingFiles.h"
#include "common/ProductNames.h"
#include "platform/FileHelpers.h"

namespace palisade {

HostsPaths WindowsHostsPaths(SystemInfo& system) {
    return {
        [&system] { return GetSystemFolder(system) + "\\drivers\\etc\\hosts"; },
        [&system] {
            return system.environmentVariable("WINDIR") + "\\system32\\drivers\\etc\\hosts";
        },
    };
}

HostsPaths FixedHostsPaths(std::string path) {
    return {[path] { return path; }, [path] { return path; }};
}

std::string LinuxHostsFile() {
    return "/etc/hosts";
}

std::string VendorDataFolder(SystemInfo& system) {
    return JoinPath(system, GetSpecialFolder(system, CommonAppData), std::string(VendorName));
}

std::string ProgramDataFolder(SystemInfo& system) {
    return JoinPath(system, VendorDataFolder(system), std::string(ProductName));
}

} // namespace palisade
