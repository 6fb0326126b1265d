#include "MountNamespace.h"

#include <unistd.h>
#include <vector>

namespace palisade::test {

namespace {
std::string MountNamespaceOf(const std::string& process) {
    std::vector<char> link(256, '\0');
    const std::string path = "/proc/" + process + "/ns/mnt";
    const ssize_t n = ::readlink(path.c_str(), link.data(), link.size() - 1);
    return n > 0 ? std::string(link.data(), static_cast<std::size_t>(n)) : std::string();
}
} // namespace

bool InPrivateMountNamespace() {
    const std::string own = MountNamespaceOf("self");
    const std::string parent = MountNamespaceOf(std::to_string(::getppid()));
    return !own.empty() && !parent.empty() && own != parent;
}

} // namespace palisade::test
