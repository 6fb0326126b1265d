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

void mStartUp::EnableWindowsStartup() {
    const std::string name = ExecutableName();
    if (name.empty())
        return;
    regStuff_.AddToRunKey(name);
}

void mStartUp::DisableWindowsStartup() {
    const std::string name = ExecutableName();
    if (name.empty())
        return;
    regStuff_.RemoveFromRunKey(name);
}

} // namespace palisade
