#include "platform/StartUp.h"

namespace palisade {

std::string mStartUp::ExecutableName() {
    const std::string path = system_.executablePath();
    const std::string separator = system_.separator();
    const auto cut = path.rfind(separator);
    if (cut == std::string::npos)
        return path;
    return path.substr(cut + separator.size());
}

bool mStartUp::EnableWindowsStartup() {
    const std::string name = ExecutableName();
    return !name.empty() && regStuff_.AddToRunKey(name) == RegSuccess;
}

bool mStartUp::DisableWindowsStartup() {
    const std::string name = ExecutableName();
    return name.empty() || regStuff_.RemoveFromRunKey(name) == RegSuccess;
}

} // namespace palisade
