#include "linux/system/PosixSystemInfo.h"

#include <cstdlib>
#include <unistd.h>
#include <vector>

namespace palisade {

namespace {

constexpr int CommonAppDataId = 35;

} // namespace

std::string PosixSystemInfo::separator() {
    return "/";
}

std::string PosixSystemInfo::lineEnd() {
    return "\n";
}

std::string PosixSystemInfo::executablePath() {
    // The link's target can be longer than any fixed buffer; grow until it fits.
    std::vector<char> buffer(256);
    for (;;) {
        const ssize_t n = ::readlink("/proc/self/exe", buffer.data(), buffer.size());
        if (n < 0)
            return {};
        if (static_cast<size_t>(n) < buffer.size())
            return std::string(buffer.data(), n);
        buffer.resize(buffer.size() * 2);
    }
}

std::string PosixSystemInfo::programFolder() {
    const std::string path = executablePath();
    const auto slash = path.rfind('/');
    if (slash == std::string::npos)
        return ".";
    if (slash == 0)
        return "/";
    return path.substr(0, slash);
}

std::optional<std::string> PosixSystemInfo::specialFolder(int id) {
    if (id == CommonAppDataId)
        return std::string("/var/lib");
    return std::nullopt;
}

std::string PosixSystemInfo::systemDirectory() {
    return "/etc";
}

std::string PosixSystemInfo::environmentVariable(const std::string& name) {
    const char* value = std::getenv(name.c_str());
    return value ? std::string(value) : std::string();
}

} // namespace palisade
