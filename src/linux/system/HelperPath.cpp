#include "linux/system/HelperPath.h"

namespace palisade {

namespace {

std::string Beside(const std::string& path, const std::string& name) {
    const auto slash = path.rfind('/');
    return slash == std::string::npos ? name : path.substr(0, slash + 1) + name;
}

} // namespace

std::string HelperPathFor(const std::string& programPath) {
    return programPath == InstalledProgram ? InstalledHelper : Beside(programPath, HelperName);
}

std::string ProgramPathFor(const std::string& helperPath) {
    return helperPath == InstalledHelper ? InstalledProgram : Beside(helperPath, "palisade");
}

} // namespace palisade
