#include "blocking/HostsPaths.h"

#include "blocking/BlockingFiles.h"

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

} // namespace palisade
