#pragma once

#include <string>

namespace palisade {

inline constexpr const char* HelperName = "palisade-helper";
inline constexpr const char* InstalledProgram = "/usr/bin/palisade";
inline constexpr const char* InstalledHelper = "/usr/libexec/palisade/palisade-helper";

// The privileged helper of the program at programPath: the installed one for the installed
// program, otherwise the one beside it (the build tree).
std::string HelperPathFor(const std::string& programPath);

// The reverse, for the autostart entry the helper writes: the program its entry starts.
std::string ProgramPathFor(const std::string& helperPath);

} // namespace palisade
